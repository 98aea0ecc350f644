// ITaskbarList3 through the COM call bound on first use: nothing is loaded until Windows says the
// button exists.
#include "ui/taskbar_button.h"

#include "ui/shell_calls.h"

namespace {

// {56FDF344-FD6D-11d0-958A-006097C9A090} and {EA1AFB91-9E28-4B86-90E9-9E9F8A5EEFAF}, spelled
// here so that no import library of GUIDs is linked.
constexpr CLSID kTaskbarListClass = {
    0x56FDF344, 0xFD6D, 0x11D0, {0x95, 0x8A, 0x00, 0x60, 0x97, 0xC9, 0xA0, 0x90}};
constexpr IID kTaskbarList3Interface = {
    0xEA1AFB91, 0x9E28, 0x4B86, {0x90, 0xE9, 0x9E, 0x9F, 0x8A, 0x5E, 0xEF, 0xAF}};

}  // namespace

TaskbarButton::~TaskbarButton() {
  if (taskbar_ != nullptr) taskbar_->Release();
}

void TaskbarButton::Created(HWND window) {
  if (taskbar_ != nullptr) taskbar_->Release();
  taskbar_ = nullptr;
  window_ = window;
  void* taskbar = nullptr;
  if (FAILED(shell_calls::CoCreateInstance(kTaskbarListClass, nullptr, CLSCTX_INPROC_SERVER,
                                           kTaskbarList3Interface, &taskbar))) {
    return;
  }
  taskbar_ = static_cast<ITaskbarList3*>(taskbar);
  if (FAILED(taskbar_->HrInit())) {
    taskbar_->Release();
    taskbar_ = nullptr;
  }
}

void TaskbarButton::Progress(int done, int total) {
  if (taskbar_ == nullptr) return;
  taskbar_->SetProgressState(window_, TBPF_NORMAL);
  taskbar_->SetProgressValue(window_, static_cast<ULONGLONG>(done), static_cast<ULONGLONG>(total));
}

void TaskbarButton::Pause(bool paused) {
  if (taskbar_ != nullptr) taskbar_->SetProgressState(window_, paused ? TBPF_PAUSED : TBPF_NORMAL);
}

void TaskbarButton::Clear() {
  if (taskbar_ != nullptr) taskbar_->SetProgressState(window_, TBPF_NOPROGRESS);
}
