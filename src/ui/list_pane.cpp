// Keeps the list box rows and the entry pane in step with the list.
#include <cstring>
#include <iterator>
#include <memory>
#include <new>

#include "resource.h"
#include "ui/cp932.h"
#include "ui/main_window.h"
#include "ui/message_box.h"
#include "ui/texts.h"

namespace {

// A row's text, with room for one more unit; null when there is no such row or it is longer than
// most units (what the list box tells may be more than the text's length, never less).
std::unique_ptr<wchar_t[]> RowText(HWND listBox, int row, size_t most, size_t* length) {
  LRESULT told = SendMessageW(listBox, LB_GETTEXTLEN, row, 0);
  if (told == LB_ERR || static_cast<size_t>(told) > most) return nullptr;
  // LB_GETTEXT takes no size: the buffer is sized by what the list box told.
  std::unique_ptr<wchar_t[]> text(new (std::nothrow) wchar_t[told + 2]());
  if (!text ||
      SendMessageW(listBox, LB_GETTEXT, row, reinterpret_cast<LPARAM>(text.get())) == LB_ERR) {
    return nullptr;
  }
  *length = wcsnlen(text.get(), static_cast<size_t>(told));
  return text;
}

// Twice a name's bytes: each unit is at least one byte, and the told length may be doubled.
constexpr size_t kLongestRow = 2 * (sizeof LaunchSetting::name - 1);

// The list box's font in a screen device context: rows measured as the list box draws them.
class RowMeasure {
 public:
  explicit RowMeasure(HWND listBox)
      : screen_(CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr)),
        previousFont_(SelectObject(
            screen_, reinterpret_cast<HGDIOBJ>(SendMessageW(listBox, WM_GETFONT, 0, 0)))) {}
  ~RowMeasure() {
    SelectObject(screen_, previousFont_);
    DeleteDC(screen_);
  }
  RowMeasure(const RowMeasure&) = delete;
  RowMeasure& operator=(const RowMeasure&) = delete;

  // A row's width with one space after it, so that its last letter is not flush with the edge;
  // text has room for one unit more than length.
  LONG Width(wchar_t* text, size_t length) {
    text[length] = L' ';
    SIZE extent = {};
    GetTextExtentPoint32W(screen_, text, static_cast<int>(length + 1), &extent);
    text[length] = L'\0';
    return extent.cx;
  }
  // A name is at most 255 bytes, so at most 255 units, and one more for the measured space.
  LONG Width(const char* name) {
    wchar_t row[sizeof LaunchSetting::name + 1];
    return Width(row, cp932::ToWideInto(name, row, std::size(row) - 1));
  }

 private:
  HDC screen_;
  HGDIOBJ previousFont_;
};

void SetText(HWND window, const char* text) {
  std::unique_ptr<wchar_t[]> wide = cp932::ToWide(text);
  SetWindowTextW(window, wide ? wide.get() : L"");
}

}  // namespace

bool MainWindow::ReadRow(int row, char* text, size_t size) const {
  text[0] = '\0';
  size_t length = 0;
  std::unique_ptr<wchar_t[]> wide = RowText(Control(IDC_SETTING_LIST), row, kLongestRow, &length);
  if (!wide) return false;
  size_t bytes = 0;
  std::unique_ptr<char[]> narrow = cp932::FromWide(wide.get(), length, &bytes);
  if (!narrow || bytes >= size) return false;
  std::memcpy(text, narrow.get(), bytes + 1);
  return true;
}

bool MainWindow::InsertRow(int row, const char* name) {
  std::unique_ptr<wchar_t[]> wide = cp932::ToWide(name);
  LRESULT answer = SendMessageW(Control(IDC_SETTING_LIST), LB_INSERTSTRING, row,
                                reinterpret_cast<LPARAM>(wide ? wide.get() : L""));
  return answer != LB_ERR && answer != LB_ERRSPACE;
}

bool MainWindow::ClearFields() {
  SetWindowTextW(Control(IDC_NAME), L"");
  SetWindowTextW(Control(IDC_PATH), L"");
  SetWindowTextW(Control(IDC_OPTIONS), L"");
  SendMessageW(Control(IDC_WINDOW_STATE), CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  SendMessageW(Control(IDC_ENABLED), BM_SETCHECK, BST_UNCHECKED, 0);
  return true;
}

void MainWindow::ShowSetting(const LaunchSetting& setting) {
  SetText(Control(IDC_NAME), setting.name);
  SetText(Control(IDC_PATH), setting.path);
  SetText(Control(IDC_OPTIONS), setting.options);
  SendMessageW(Control(IDC_WINDOW_STATE), CB_SETCURSEL, setting.windowState, 0);
  SendMessageW(Control(IDC_ENABLED), BM_SETCHECK, setting.enabled ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool MainWindow::SelectRow(int index) {
  // The list box answers LB_ERR to -1 although it removed the selection.
  LRESULT answer = SendMessageW(Control(IDC_SETTING_LIST), LB_SETCURSEL, index, 0);
  return index == -1 || answer != LB_ERR;
}

void MainWindow::RefillList() {
  HWND listBox = Control(IDC_SETTING_LIST);
  // A long list: room for every row made at once, no repaint for each, and each row measured as
  // it goes in rather than read back.
  SendMessageW(listBox, WM_SETREDRAW, FALSE, 0);
  SendMessageW(listBox, LB_RESETCONTENT, 0, 0);
  SendMessageW(listBox, LB_INITSTORAGE, static_cast<WPARAM>(list->count()),
               static_cast<LPARAM>(list->count()) * 16 * sizeof(wchar_t));
  widestRow = 0;
  widestRows = 0;
  if (list->count() > 0) {
    RowMeasure measure(listBox);
    wchar_t row[sizeof LaunchSetting::name + 1];  // as RowMeasure::Width(name) sizes it
    int index = 0;
    for (const LaunchSettingNode* node = list->head(); node != nullptr; node = node->next) {
      size_t length = cp932::ToWideInto(node->setting.name, row, std::size(row) - 1);
      SendMessageW(listBox, LB_INSERTSTRING, index++, reinterpret_cast<LPARAM>(row));
      CountRowWidth(measure.Width(row, length));
    }
  }
  SendMessageW(listBox, LB_SETHORIZONTALEXTENT, widestRow, 0);
  SendMessageW(listBox, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(listBox, nullptr, TRUE);
}

void MainWindow::UpdateHorizontalExtent() {
  HWND listBox = Control(IDC_SETTING_LIST);
  LRESULT rows = SendMessageW(listBox, LB_GETCOUNT, 0, 0);
  widestRow = 0;
  widestRows = 0;
  if (rows != LB_ERR && rows > 0) {
    RowMeasure measure(listBox);
    for (LRESULT row = 0; row < rows; ++row) {
      size_t length = 0;
      std::unique_ptr<wchar_t[]> text =
          RowText(listBox, static_cast<int>(row), kLongestRow, &length);
      if (text) CountRowWidth(measure.Width(text.get(), length));
    }
  }
  // With no rows there is nothing to measure, and no device context is made for it.
  SendMessageW(listBox, LB_SETHORIZONTALEXTENT, widestRow, 0);
}

void MainWindow::CountRowWidth(LONG width) {
  if (width > widestRow) {
    widestRow = width;
    widestRows = 0;
  }
  if (width == widestRow) ++widestRows;
}

void MainWindow::AddRow(int row, const char* name) {
  InsertRow(row, name);
  LONG widestBefore = widestRow;
  CountRowWidth(RowMeasure(Control(IDC_SETTING_LIST)).Width(name));
  if (widestRow != widestBefore) {
    SendMessageW(Control(IDC_SETTING_LIST), LB_SETHORIZONTALEXTENT, widestRow, 0);
  }
}

void MainWindow::RemoveRow(int row) {
  char name[sizeof LaunchSetting::name];
  bool read = ReadRow(row, name, sizeof name);
  SendMessageW(Control(IDC_SETTING_LIST), LB_DELETESTRING, row, 0);
  // Only the last of the widest rows going makes every row be measured again.
  if (!read ||
      (RowMeasure(Control(IDC_SETTING_LIST)).Width(name) == widestRow && --widestRows <= 0)) {
    UpdateHorizontalExtent();
  }
}

bool MainWindow::ShowSelected() {
  HWND listBox = Control(IDC_SETTING_LIST);
  currentIndex = static_cast<int32_t>(SendMessageW(listBox, LB_GETCURSEL, 0, 0));
  std::memset(&editBuffer, 0, sizeof editBuffer);
  if (list->Get(currentIndex, &editBuffer)) {
    ShowSetting(editBuffer);
    return true;
  }
  ReadRow(currentIndex, editBuffer.name, sizeof editBuffer.name);
  ShowMessageWithName(dialog, texts::kReadSettingFailedFormat, editBuffer.name,
                      texts::kErrorCaption, MB_OK | MB_ICONERROR);
  return false;
}
