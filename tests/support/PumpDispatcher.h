#pragma once
// A GUI-thread dispatcher for tests, built as a window would build it: a
// worker's call is posted to a hidden message-only window of the thread
// that created the dispatcher, and the worker waits until that thread has
// dispatched it. Any Win32 message pump of that thread (Pump() below, or a
// MsgWaitForMultipleObjects loop) services the calls, so workers are driven
// on a real thread with a real synchronous hand-off and no visible window.
#include "base/Screen.h"

#include <windows.h>

#include <atomic>
#include <exception>
#include <functional>

namespace velmora::test {

class TPumpDispatcher : public IGuiDispatcher {
public:
  TPumpDispatcher() : owner_(::GetCurrentThreadId()) {
    static const wchar_t kClass[] = L"VelmoraTestDispatcher";
    WNDCLASSW wc{};
    wc.lpfnWndProc = &TPumpDispatcher::WndProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = kClass;
    ::RegisterClassW(&wc); // fails harmlessly when already registered
    window_ = ::CreateWindowExW(0, kClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance,
                                nullptr);
  }
  ~TPumpDispatcher() override { ::DestroyWindow(window_); }
  TPumpDispatcher(const TPumpDispatcher &) = delete;
  TPumpDispatcher &operator=(const TPumpDispatcher &) = delete;

  void Synchronize(const std::function<void()> &call) override {
    if (::GetCurrentThreadId() == owner_) {
      Run(call);
      return;
    }
    TRequest request{&call, this, ::CreateEventW(nullptr, TRUE, FALSE, nullptr), nullptr};
    ::PostMessageW(window_, kCallMessage, 0, reinterpret_cast<LPARAM>(&request));
    ::WaitForSingleObject(request.done, INFINITE);
    ::CloseHandle(request.done);
    if (request.error)
      std::rethrow_exception(request.error);
  }

  // Dispatches every window message waiting on the calling thread.
  static void Pump() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
  }
  TMessagePump Pumper() const {
    return [] { Pump(); };
  }

  // Runs after every serviced call, on the GUI thread, while the worker
  // still waits: tests act there at a known point of the worker's run.
  std::function<void()> afterCall;
  int Calls() const { return calls_.load(); }

private:
  static constexpr UINT kCallMessage = WM_APP + 17;
  struct TRequest {
    const std::function<void()> *call;
    TPumpDispatcher *owner;
    HANDLE done;
    std::exception_ptr error;
  };

  void Run(const std::function<void()> &call) {
    ++calls_;
    call();
    if (afterCall)
      afterCall();
  }

  static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg != kCallMessage)
      return ::DefWindowProcW(hwnd, msg, wp, lp);
    auto *request = reinterpret_cast<TRequest *>(lp);
    try {
      request->owner->Run(*request->call);
    } catch (...) {
      request->error = std::current_exception();
    }
    ::SetEvent(request->done);
    return 0;
  }

  DWORD owner_;
  HWND window_ = nullptr;
  std::atomic<int> calls_{0};
};

} // namespace velmora::test
