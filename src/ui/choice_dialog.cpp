// The choice dialog: the first option is pre-selected, so Enter takes it at once.
#include "ui/choice_dialog.h"

#include <cwchar>
#include <new>

#include "resource.h"

namespace {

wchar_t* CopyOf(const wchar_t* text) {
  size_t size = std::wcslen(text) + 1;
  wchar_t* copy = new (std::nothrow) wchar_t[size];
  if (copy != nullptr) std::wmemcpy(copy, text, size);
  return copy;
}

// Only one choice dialog can be open at a time.
ChoiceDialogParams* choiceParams = nullptr;
HWND firstRadio = nullptr;
HWND secondRadio = nullptr;

}  // namespace

ChoiceDialogParams::ChoiceDialogParams(const wchar_t* title, const wchar_t* firstOption,
                                       const wchar_t* secondOption)
    : title(CopyOf(title)), firstOption(CopyOf(firstOption)), secondOption(CopyOf(secondOption)) {}

ChoiceDialogParams::~ChoiceDialogParams() {
  delete[] title;
  delete[] firstOption;
  delete[] secondOption;
}

INT_PTR CALLBACK ChoiceDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      choiceParams = reinterpret_cast<ChoiceDialogParams*>(lParam);
      firstRadio = GetDlgItem(dialog, IDC_CHOICE_FIRST);
      secondRadio = GetDlgItem(dialog, IDC_CHOICE_SECOND);
      SetWindowTextW(dialog, choiceParams->title ? choiceParams->title : L"");
      SetWindowTextW(firstRadio, choiceParams->firstOption ? choiceParams->firstOption : L"");
      SetWindowTextW(secondRadio, choiceParams->secondOption ? choiceParams->secondOption : L"");
      SendMessageW(firstRadio, BM_SETCHECK, BST_CHECKED, 0);
      // The focus starts on the checked option, so a screen reader names what Enter takes, and
      // Enter, through the default OK button, takes it.
      SetFocus(firstRadio);
      return FALSE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK:
          choiceParams->result = SendMessageW(firstRadio, BM_GETCHECK, 0, 0) == BST_CHECKED
                                     ? IDC_CHOICE_FIRST
                                     : IDC_CHOICE_SECOND;
          EndDialog(dialog, IDOK);
          return TRUE;
        case IDCANCEL:
          EndDialog(dialog, IDCANCEL);
          return TRUE;
        default:
          return TRUE;
      }
    default:
      return FALSE;
  }
}
