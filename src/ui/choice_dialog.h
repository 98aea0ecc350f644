// The two-option choice dialog IDD_CHOICE, used by the load and save commands.
#pragma once

#include <windows.h>

#include <cstdint>

class ChoiceDialogParams {
 public:
  ChoiceDialogParams(const wchar_t* title, const wchar_t* firstOption, const wchar_t* secondOption);
  ~ChoiceDialogParams();
  ChoiceDialogParams(const ChoiceDialogParams&) = delete;
  ChoiceDialogParams& operator=(const ChoiceDialogParams&) = delete;

  wchar_t* title;
  wchar_t* firstOption;
  wchar_t* secondOption;
  int32_t result = 0;  // IDC_CHOICE_FIRST or IDC_CHOICE_SECOND after OK; 0 when cancelled
};

INT_PTR CALLBACK ChoiceDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
