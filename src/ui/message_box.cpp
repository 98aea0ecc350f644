// Message boxes with their texts formatted into blocks of exactly the needed size.
#include "ui/message_box.h"

#include <memory>
#include <new>

#include "ui/cp932.h"
#include "ui/modal_scope.h"
#include "ui/text_format.h"

int ShowMessage(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type) {
  ModalScope modal;
  return MessageBoxW(owner, text, caption, type);
}

int ShowMessageWithName(HWND owner, const wchar_t* format, const char* name, const wchar_t* caption,
                        UINT type) {
  std::unique_ptr<wchar_t[]> wideName = cp932::ToWide(name);
  std::unique_ptr<wchar_t[]> text = wideName ? FormatWithText(format, wideName.get()) : nullptr;
  return ShowMessage(owner, text ? text.get() : format, caption, type);
}

int ShowMessageWithNumber(HWND owner, const wchar_t* format, int number, const wchar_t* caption,
                          UINT type) {
  // "%d" becomes at most 11 characters; the formats are short, far below wsprintfW's 1024.
  size_t size = wcslen(format) - 2 + 11 + 1;
  std::unique_ptr<wchar_t[]> text(new (std::nothrow) wchar_t[size]);
  if (!text) return ShowMessage(owner, format, caption, type);
  wsprintfW(text.get(), format, number);
  return ShowMessage(owner, text.get(), caption, type);
}
