#pragma once
// Runs calls of worker threads on the GUI thread: the call is queued, a
// message is posted to a hidden window of the GUI thread, and the worker
// waits until whatever message loop runs there has carried it out.
#include "app/controls/Window.h"
#include "base/Screen.h"

#include <deque>
#include <exception>
#include <memory>
#include <mutex>

namespace velmora {

class TGuiDispatcher : public TWindow, public IGuiDispatcher {
public:
  // Create on the GUI thread.
  TGuiDispatcher();
  ~TGuiDispatcher() override;

  // From a worker: waits until the call has run on the GUI thread and
  // rethrows what it threw. On the GUI thread itself: runs it at once.
  // After Shutdown: returns at once without running it.
  void Synchronize(const std::function<void()> &call) override;
  // Runs the queued calls (GUI thread; also done by the posted message).
  void RunPending();
  // Releases every waiting worker without running its call; used when the
  // window goes away while a worker still runs.
  void Shutdown();

protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
  struct TCall {
    std::function<void()> Call;
    HANDLE Done = nullptr;
    std::exception_ptr Error;
  };
  DWORD guiThread_;
  std::mutex lock_;
  std::deque<std::shared_ptr<TCall>> queue_;
  bool closed_ = false;
};

} // namespace velmora
