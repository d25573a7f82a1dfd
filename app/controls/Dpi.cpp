#include "app/controls/Dpi.h"

namespace velmora {

namespace {

const wchar_t kDpiProperty[] = L"VelmoraDpi";

using GetDpiForWindowFn = UINT(WINAPI *)(HWND);

// Windows 7 and 8.1 lack GetDpiForWindow: looked up, never imported.
GetDpiForWindowFn DpiForWindowFunction() {
  static const GetDpiForWindowFn function = reinterpret_cast<GetDpiForWindowFn>(
      reinterpret_cast<void *>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  return function;
}

int ScreenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : kDesignDpi;
  if (screen)
    ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kDesignDpi;
}

} // namespace

int WindowDpi(HWND window) {
  if (window) {
    if (GetDpiForWindowFn function = DpiForWindowFunction()) {
      const UINT dpi = function(window);
      if (dpi > 0)
        return static_cast<int>(dpi);
    }
    const HANDLE remembered = GetPropW(GetAncestor(window, GA_ROOT), kDpiProperty);
    if (remembered)
      return static_cast<int>(reinterpret_cast<INT_PTR>(remembered));
  }
  return ScreenDpi();
}

void RememberWindowDpi(HWND topLevel, int dpi) {
  SetPropW(topLevel, kDpiProperty, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(dpi)));
}

void ForgetWindowDpi(HWND topLevel) { RemovePropW(topLevel, kDpiProperty); }

} // namespace velmora
