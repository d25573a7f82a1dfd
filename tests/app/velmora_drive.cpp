// Drives a running Velmora.exe from outside, for the screenshot script:
//   velmora_drive wait            waits for the window, prints its client
//                                 area as WIDTHxHEIGHT+X+Y
//   velmora_drive view <name>     opens a view: privacy, junk or options
//   velmora_drive tab <index>     shows a tab of the options view
//   velmora_drive close           closes the window
#include "VelmoraProcess.h"

#include <commctrl.h>

#include <cstdio>
#include <string>

using namespace velmora::test;

int wmain(int argc, wchar_t **argv) {
  if (argc < 2)
    return 2;
  // Sizes and points of the program's window as they are on the screen,
  // whatever its scale.
  SetProcessDPIAware();
  const std::wstring command = argv[1];
  HWND window = nullptr;
  for (int i = 0; i < 300 && !window; ++i) {
    window = FindMainWindow(0);
    if (!window || !IsWindowVisible(window)) {
      window = nullptr;
      Sleep(100);
    }
  }
  if (!window)
    return 1;
  if (command == L"wait") {
    RECT r;
    GetClientRect(window, &r);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    std::printf("%ldx%ld+%ld+%ld\n", r.right, r.bottom, origin.x, origin.y);
    return 0;
  }
  if (command == L"view" && argc > 2)
    return ClickNavigation(window, argv[2]) ? 0 : 1;
  if (command == L"tab" && argc > 2) {
    HWND tabs = FindControl(window, WC_TABCONTROLW);
    if (!tabs)
      return 1;
    SendMessageW(tabs, TCM_SETCURFOCUS, static_cast<WPARAM>(_wtoi(argv[2])), 0);
    return 0;
  }
  if (command == L"close") {
    PostMessageW(window, WM_CLOSE, 0, 0);
    return 0;
  }
  return 2;
}
