#pragma once
// Screen scale. The window's layout is written in pixels of a 96-DPI
// screen; every coordinate, font and picture size goes through Scaled on
// its way to the screen, so the window is laid out at the scale of the
// monitor it is on.
#include <windows.h>

namespace velmora {

constexpr int kDesignDpi = 96;

// The DPI a window is shown at: GetDpiForWindow where the system has it
// (Windows 10 1607 and later), else the DPI its top-level window last
// received in WM_DPICHANGED, else its monitor's (Windows 8.1), else the
// screen's LOGPIXELSY.
int WindowDpi(HWND window);
// Remembers the DPI a top-level window was moved to, for WindowDpi on
// systems without GetDpiForWindow.
void RememberWindowDpi(HWND topLevel, int dpi);
void ForgetWindowDpi(HWND topLevel);

// A length of the 96-DPI layout at the given DPI, and back.
inline int Scaled(int value, int dpi) { return MulDiv(value, dpi, kDesignDpi); }
inline int Unscaled(int value, int dpi) { return MulDiv(value, kDesignDpi, dpi); }
// A rectangle of the 96-DPI layout at the given DPI. Each edge is scaled on
// its own, so rectangles that touch at 96 DPI touch at every scale, never
// overlapping or leaving a gap.
inline RECT Scaled(const RECT &r, int dpi) {
  return RECT{Scaled(r.left, dpi), Scaled(r.top, dpi), Scaled(r.right, dpi), Scaled(r.bottom, dpi)};
}

// A part of a window that lays itself out again when the window moves to a
// screen of another DPI.
class TScalable {
public:
  virtual ~TScalable() = default;
  virtual void SetDpi(int dpi) = 0;
};

} // namespace velmora
