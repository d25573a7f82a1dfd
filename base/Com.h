#pragma once
// Owners for COM: a reference-counted interface pointer and the apartment
// of the calling thread.
#include <objbase.h>

#include <utility>

namespace velmora {

template <class T> class TComPtr {
public:
  TComPtr() = default;
  TComPtr(const TComPtr &) = delete;
  TComPtr &operator=(const TComPtr &) = delete;
  TComPtr(TComPtr &&o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
  TComPtr &operator=(TComPtr &&o) noexcept {
    if (this != &o) {
      Reset();
      p_ = std::exchange(o.p_, nullptr);
    }
    return *this;
  }
  ~TComPtr() { Reset(); }

  T *Get() const { return p_; }
  T *operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  void Reset() {
    if (p_)
      std::exchange(p_, nullptr)->Release();
  }
  // For the APIs that hand an interface back through a pointer.
  T **Receive() {
    Reset();
    return &p_;
  }
  void **ReceiveVoid() { return reinterpret_cast<void **>(Receive()); }

private:
  T *p_ = nullptr;
};

// Joins the calling thread to a single-threaded apartment for the owner's
// life; a thread that already has COM keeps it (the extra reference is
// given back).
class TComApartment {
public:
  TComApartment() : hr_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  TComApartment(const TComApartment &) = delete;
  TComApartment &operator=(const TComApartment &) = delete;
  ~TComApartment() {
    if (SUCCEEDED(hr_))
      ::CoUninitialize();
  }

private:
  HRESULT hr_;
};

} // namespace velmora
