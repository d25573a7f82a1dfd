// Drives a running Velmora.exe from outside, for the screenshot script:
//   velmora_drive wait            waits for the window, prints its client
//                                 area as WIDTHxHEIGHT+X+Y
//   velmora_drive view <name>     opens a view: privacy, junk or options
//   velmora_drive tab <index>     shows a tab of the options view
//   velmora_drive report          waits up to a minute for the privacy
//                                 analysis to end, prints its report (UTF-8)
//   velmora_drive close           closes the window
#include "VelmoraProcess.h"

#include "base/Text.h"

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
  if (command == L"report") {
    HWND privacy = FindPanel(window, L"pnlPrivacy");
    HWND memo = privacy ? FindControl(privacy, L"Edit") : nullptr;
    if (!memo)
      return 1;
    // Done when the report is there and the button reads "Analyze" again.
    std::wstring report;
    for (int i = 0; i < 600; ++i, Sleep(100)) {
      report = TextOf(memo);
      if (report.rfind(L"Privacy Analysis Report", 0) == 0 &&
          FindControl(privacy, L"Button", L"Analyze"))
        break;
    }
    std::fputs(velmora::ToUtf8(report).c_str(), stdout);
    std::fputs("\n", stdout);
    return 0;
  }
  if (command == L"close") {
    PostMessageW(window, WM_CLOSE, 0, 0);
    return 0;
  }
  return 2;
}
