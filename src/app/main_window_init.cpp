// WM_INITDIALOG: the construction of the one MainWindow, and the window icons for its DPI.
#include <cstring>

#include "app/command_line_args.h"
#include "resource.h"
#include "store/file_layer.h"
#include "ui/main_window.h"
#include "ui/texts.h"

namespace {

// Per-monitor values where Windows has them (10, version 1607 on), the system's elsewhere.
int SystemMetricForDpi(int index, UINT dpi) {
  using ForDpi = int(WINAPI*)(int, UINT);
  const auto forDpi = reinterpret_cast<ForDpi>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetSystemMetricsForDpi")));
  return forDpi != nullptr ? forDpi(index, dpi) : GetSystemMetrics(index);
}

UINT DpiOf(HWND window) {
  using ForWindow = UINT(WINAPI*)(HWND);
  const auto forWindow = reinterpret_cast<ForWindow>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  if (forWindow != nullptr) return forWindow(window);
  HDC screen = GetDC(nullptr);
  UINT dpi = static_cast<UINT>(GetDeviceCaps(screen, LOGPIXELSY));
  ReleaseDC(nullptr, screen);
  return dpi;
}

// The user data goes first: the subclass procedure reads the MainWindow from it. The procedure
// is set as a Unicode one so that the control stays a Unicode window: an ANSI procedure would
// get each typed double-byte character as two WM_CHARs and pass them on one by one.
WNDPROC Subclass(HWND control, MainWindow* window, WNDPROC procedure) {
  SetWindowLongPtrW(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
  return reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));
}

// "/x" in any case.
bool IsBatchOption(const char* token) {
  return token[0] == '/' && (token[1] == 'x' || token[1] == 'X') && token[2] == '\0';
}

void CenterOnScreen(HWND dialog) {
  int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  int screenHeight = GetSystemMetrics(SM_CYSCREEN);
  RECT frame;
  GetWindowRect(dialog, &frame);
  int width = frame.right - frame.left;
  int height = frame.bottom - frame.top;
  int x = screenWidth / 2 - width / 2;
  int y = screenHeight / 2 - height / 2;
  MoveWindow(dialog, x < 0 ? 0 : x, y < 0 ? 0 : y, width, height, TRUE);
}

}  // namespace

MainWindow::MainWindow(HINSTANCE instance, HWND dialog, const CommandLineArgs& args)
    : instance(instance),
      dialog(dialog),
      mode(UiMode::None),
      list(new LaunchSettingList),
      currentIndex(-1),
      editBuffer{},
      listBoxProc(nullptr),
      nameEditProc(nullptr),
      pathEditProc(nullptr),
      optionsEditProc(nullptr),
      bringForwardMessage(RegisterWindowMessageW(kBringForwardMessageName)),
      taskbarButtonCreatedMessage(RegisterWindowMessageW(L"TaskbarButtonCreated")) {
  // A copy run as administrator would otherwise never hear a normal second copy ask it forward,
  // nor Explorer say that its taskbar button exists: Windows filters registered messages from
  // lower integrity levels.
  for (UINT message : {bringForwardMessage, taskbarButtonCreatedMessage}) {
    if (message != 0) ChangeWindowMessageFilterEx(dialog, message, MSGFLT_ALLOW, nullptr);
  }
  // Nor would Explorer's drops reach the drop targets: a drop is WM_DROPFILES, its file names
  // carried across by WM_COPYGLOBALDATA (0x0049). Nothing else is let through.
  for (int id : kDropTargets) {
    for (UINT message : {UINT{WM_DROPFILES}, UINT{0x0049}}) {
      ChangeWindowMessageFilterEx(Control(id), message, MSGFLT_ALLOW, nullptr);
    }
  }
  UpdateIcons(DpiOf(dialog));
  listBoxProc = Subclass(Control(IDC_SETTING_LIST), this, ListBoxSubclassProc);
  nameEditProc = Subclass(Control(IDC_NAME), this, NameEditSubclassProc);
  pathEditProc = Subclass(Control(IDC_PATH), this, PathEditSubclassProc);
  optionsEditProc = Subclass(Control(IDC_OPTIONS), this, OptionsEditSubclassProc);
  SendMessageW(Control(IDC_SETTING_LIST), LB_RESETCONTENT, 0, 0);
  SendMessageW(Control(IDC_NAME), EM_LIMITTEXT, sizeof editBuffer.name - 1, 0);
  SendMessageW(Control(IDC_PATH), EM_LIMITTEXT, sizeof editBuffer.path - 1, 0);
  SendMessageW(Control(IDC_OPTIONS), EM_LIMITTEXT, sizeof editBuffer.options - 1, 0);
  for (int i = 0; i < 3; ++i) {
    SendMessageW(Control(IDC_WINDOW_STATE), CB_INSERTSTRING, i,
                 reinterpret_cast<LPARAM>(texts::kWindowStateItems[i]));
  }
  ClearFields();
  SetMode(UiMode::Idle);
  CenterOnScreen(dialog);

  bool startBatch = false;
  bool firstListLoaded = false;
  // However many files are named, one wait before the window, which has nothing to answer yet.
  file_layer::HoldWait hold;
  for (int32_t i = 1; i < args.count; ++i) {
    if (i == 1 && IsBatchOption(args.items[i])) {
      startBatch = true;
      continue;
    }
    // Failures are silent, and a failed first file still makes the next one an append.
    list->LoadFromFile(args.items[i], kListFileSignature, !firstListLoaded);
    firstListLoaded = true;
  }
  RefillList();
  UpdateTitle();
  // Posted, so it runs from the message loop once mainWindow is set.
  if (startBatch) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_BATCH, BN_CLICKED),
                 reinterpret_cast<LPARAM>(Control(IDC_BATCH)));
  }
}

void MainWindow::UpdateIcons(UINT dpi) {
  for (WPARAM type : {ICON_SMALL, ICON_BIG}) {
    int width = SystemMetricForDpi(type == ICON_BIG ? SM_CXICON : SM_CXSMICON, dpi);
    int height = SystemMetricForDpi(type == ICON_BIG ? SM_CYICON : SM_CYSMICON, dpi);
    auto icon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_MAIN), IMAGE_ICON,
                                              width, height, LR_DEFAULTCOLOR));
    // One that cannot be had at the new size leaves the window the one it shows.
    if (icon != nullptr) ReplaceIcon(type, icon);
  }
}

void MainWindow::ReplaceIcon(WPARAM type, HICON icon) {
  SendMessageW(dialog, WM_SETICON, type, reinterpret_cast<LPARAM>(icon));
  // Only once the window no longer shows it.
  if (icons[type] != nullptr) DestroyIcon(icons[type]);
  icons[type] = icon;
}

INT_PTR InitMainDialog(HWND dialog, LPARAM start) {
  HINSTANCE instance = reinterpret_cast<const DialogStart*>(start)->instance;
  // Read wide and split as UTF-8: the list files' names need not fit any code page.
  std::unique_ptr<char[]> commandLine =
      CommandLineUtf8(reinterpret_cast<const char16_t*>(GetCommandLineW()));
  auto* args = new CommandLineArgs(commandLine ? commandLine.get() : "");
  mainWindow = new MainWindow(instance, dialog, *args);
  delete args;
  SetPropW(dialog, kMainWindowMark, reinterpret_cast<HANDLE>(1));
  // SetMode has already given IDC_NEW_ENTRY the focus and the default look; FALSE keeps the
  // dialog manager from setting the focus a second time.
  return FALSE;
}
