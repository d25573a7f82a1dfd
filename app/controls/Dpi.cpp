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

// Windows 8.1 knows each monitor's DPI (shcore.dll); Windows 7 has no
// such library.
int MonitorDpi(HWND window) {
  using GetDpiForMonitorFn = HRESULT(WINAPI *)(HMONITOR, int, UINT *, UINT *);
  static const GetDpiForMonitorFn function = [] {
    HMODULE shcore = LoadLibraryW(L"shcore.dll");
    return shcore ? reinterpret_cast<GetDpiForMonitorFn>(
                        reinterpret_cast<void *>(GetProcAddress(shcore, "GetDpiForMonitor")))
                  : nullptr;
  }();
  UINT x = 0, y = 0;
  if (!function || FAILED(function(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST),
                                   0 /* effective */, &x, &y)))
    return 0;
  return static_cast<int>(y);
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
    if (const int dpi = MonitorDpi(window); dpi > 0)
      return dpi;
  }
  return ScreenDpi();
}

void RememberWindowDpi(HWND topLevel, int dpi) {
  SetPropW(topLevel, kDpiProperty, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(dpi)));
}

void ForgetWindowDpi(HWND topLevel) { RemovePropW(topLevel, kDpiProperty); }

} // namespace velmora
