#pragma once
// Colours and placement shared by the parts of the main window.
#include <windows.h>

namespace velmora {

constexpr COLORREF kNavigationColor = RGB(0xEE, 0xF4, 0xFB);
constexpr COLORREF kBorderColor = RGB(0xB9, 0xCF, 0xE6);
constexpr COLORREF kViewColor = RGB(0xF7, 0xF9, 0xFC);
constexpr COLORREF kStripColor = RGB(0xE6, 0xEF, 0xF8);
constexpr COLORREF kCaptionColor = RGB(0x1F, 0x35, 0x50);

// A rectangle from its top-left corner and its size.
constexpr RECT Box(int x, int y, int width, int height) {
  return RECT{x, y, x + width, y + height};
}

} // namespace velmora
