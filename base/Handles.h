#pragma once
// Move-only owners for the Win32 handles the program opens.
#include <windows.h>

#include <utility>

namespace velmora {

template <class Traits> class UniqueHandle {
public:
  using Type = typename Traits::Type;

  UniqueHandle() = default;
  explicit UniqueHandle(Type h) : h_(h) {}
  UniqueHandle(const UniqueHandle &) = delete;
  UniqueHandle &operator=(const UniqueHandle &) = delete;
  UniqueHandle(UniqueHandle &&o) noexcept : h_(o.Release()) {}
  UniqueHandle &operator=(UniqueHandle &&o) noexcept {
    if (this != &o)
      Reset(o.Release());
    return *this;
  }
  ~UniqueHandle() { Reset(); }

  Type Get() const { return h_; }
  bool Valid() const { return h_ != Traits::Invalid(); }
  explicit operator bool() const { return Valid(); }
  Type Release() { return std::exchange(h_, Traits::Invalid()); }
  void Reset(Type h = Traits::Invalid()) {
    if (Valid())
      Traits::Close(h_);
    h_ = h;
  }
  // For APIs that hand a handle back through a pointer.
  Type *Receive() {
    Reset();
    return &h_;
  }

private:
  Type h_ = Traits::Invalid();
};

struct FileTraits { // CreateFileW, CreateToolhelp32Snapshot
  using Type = HANDLE;
  static Type Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(Type h) { ::CloseHandle(h); }
};
struct KernelTraits { // threads, mutexes, events: NULL when absent
  using Type = HANDLE;
  static Type Invalid() { return nullptr; }
  static void Close(Type h) { ::CloseHandle(h); }
};
struct FindTraits {
  using Type = HANDLE;
  static Type Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(Type h) { ::FindClose(h); }
};
struct RegKeyTraits {
  using Type = HKEY;
  static Type Invalid() { return nullptr; }
  static void Close(Type h) { ::RegCloseKey(h); }
};
struct ModuleTraits {
  using Type = HMODULE;
  static Type Invalid() { return nullptr; }
  static void Close(Type h) { ::FreeLibrary(h); }
};

// GDI objects made with Create* (fonts, brushes, bitmaps, regions, pens).
// They must not be selected into a device context when the owner goes.
template <class T> struct GdiObjectTraits {
  using Type = T;
  static Type Invalid() { return nullptr; }
  static void Close(Type h) { ::DeleteObject(h); }
};
struct MemoryDcTraits { // CreateCompatibleDC
  using Type = HDC;
  static Type Invalid() { return nullptr; }
  static void Close(Type h) { ::DeleteDC(h); }
};

using UniqueFile = UniqueHandle<FileTraits>;
using UniqueKernelHandle = UniqueHandle<KernelTraits>;
using UniqueFind = UniqueHandle<FindTraits>;
using UniqueRegKey = UniqueHandle<RegKeyTraits>;
using UniqueModule = UniqueHandle<ModuleTraits>;
using UniqueFont = UniqueHandle<GdiObjectTraits<HFONT>>;
using UniqueBrush = UniqueHandle<GdiObjectTraits<HBRUSH>>;
using UniqueBitmap = UniqueHandle<GdiObjectTraits<HBITMAP>>;
using UniqueRegion = UniqueHandle<GdiObjectTraits<HRGN>>;
using UniqueMemoryDc = UniqueHandle<MemoryDcTraits>;

// Selects an object into a device context for the scope and puts the
// previous one back, so that the owner can delete it afterwards.
class TSelectObject {
public:
  TSelectObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(::SelectObject(dc, object)) {}
  ~TSelectObject() { ::SelectObject(dc_, old_); }
  TSelectObject(const TSelectObject &) = delete;
  TSelectObject &operator=(const TSelectObject &) = delete;

private:
  HDC dc_;
  HGDIOBJ old_;
};

} // namespace velmora
