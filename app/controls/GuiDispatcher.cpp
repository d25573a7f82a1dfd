#include "app/controls/GuiDispatcher.h"

#include "base/Handles.h"

namespace velmora {

namespace {
const wchar_t kDispatcherClass[] = L"TVelmoraDispatcher";
const UINT kRunPending = WM_APP + 1;
} // namespace

TGuiDispatcher::TGuiDispatcher() : guiThread_(GetCurrentThreadId()) {
  RegisterClassOnce(kDispatcherClass);
  CreateHandle(0, kDispatcherClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE);
}

TGuiDispatcher::~TGuiDispatcher() { Shutdown(); }

void TGuiDispatcher::Synchronize(const std::function<void()> &call) {
  if (GetCurrentThreadId() == guiThread_) {
    call();
    return;
  }
  auto entry = std::make_shared<TCall>();
  entry->Call = call;
  UniqueKernelHandle done(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!done)
    return;
  entry->Done = done.Get();
  {
    std::lock_guard<std::mutex> guard(lock_);
    if (closed_)
      return;
    queue_.push_back(entry);
  }
  if (!PostMessageW(Handle(), kRunPending, 0, 0)) {
    std::lock_guard<std::mutex> guard(lock_);
    for (auto it = queue_.begin(); it != queue_.end(); ++it)
      if (*it == entry) {
        queue_.erase(it);
        return;
      }
    // Already taken by the GUI thread: wait for it below.
  }
  WaitForSingleObject(done.Get(), INFINITE);
  if (entry->Error)
    std::rethrow_exception(entry->Error);
}

void TGuiDispatcher::RunPending() {
  for (;;) {
    std::shared_ptr<TCall> entry;
    {
      std::lock_guard<std::mutex> guard(lock_);
      if (queue_.empty() || closed_)
        return;
      entry = queue_.front();
      queue_.pop_front();
    }
    try {
      entry->Call();
    } catch (...) {
      entry->Error = std::current_exception();
    }
    SetEvent(entry->Done);
  }
}

void TGuiDispatcher::Shutdown() {
  std::lock_guard<std::mutex> guard(lock_);
  closed_ = true;
  for (auto &entry : queue_)
    SetEvent(entry->Done);
  queue_.clear();
}

LRESULT TGuiDispatcher::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kRunPending) {
    RunPending();
    return 0;
  }
  return DefaultProc(message, wParam, lParam);
}

} // namespace velmora
