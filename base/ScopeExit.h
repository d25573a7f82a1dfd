#pragma once
// Runs a call when the scope is left, by return or by exception: the place
// for restoring state that every exit path must restore.
#include <utility>

namespace velmora {

template <class F> class TScopeExit {
public:
  explicit TScopeExit(F call) : call_(std::move(call)) {}
  ~TScopeExit() {
    try {
      call_();
    } catch (...) {
      // Nothing may leave a destructor that can run during unwinding.
    }
  }
  TScopeExit(const TScopeExit &) = delete;
  TScopeExit &operator=(const TScopeExit &) = delete;

private:
  F call_;
};

} // namespace velmora
