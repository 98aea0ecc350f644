// Message boxes with their texts formatted into blocks of exactly the needed size.
#include "ui/message_box.h"

#include <cstring>
#include <memory>
#include <new>

#include "ui/modal_scope.h"
#include "ui/text_format.h"

int ShowMessage(HWND owner, const char* text, const char* caption, UINT type) {
  ModalScope modal;
  return MessageBoxA(owner, text, caption, type);
}

int ShowMessageWithName(HWND owner, const char* format, const char* name, const char* caption,
                        UINT type) {
  std::unique_ptr<char[]> text = FormatWithText(format, name);
  return ShowMessage(owner, text ? text.get() : format, caption, type);
}

int ShowMessageWithNumber(HWND owner, const char* format, int number, const char* caption,
                          UINT type) {
  // "%d" becomes at most 11 bytes; the formats are short, far below wsprintfA's 1024.
  size_t size = std::strlen(format) - 2 + 11 + 1;
  std::unique_ptr<char[]> text(new (std::nothrow) char[size]);
  if (!text) return ShowMessage(owner, format, caption, type);
  wsprintfA(text.get(), format, number);
  return ShowMessage(owner, text.get(), caption, type);
}
