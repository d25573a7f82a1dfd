#include "base/MessagePump.h"

#include <windows.h>

namespace velmora {

void ProcessMessages() {
  MSG msg;
  bool quit = false;
  int exitCode = 0;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      quit = true;
      exitCode = static_cast<int>(msg.wParam);
      break;
    }
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  if (quit)
    ::PostQuitMessage(exitCode);
}

} // namespace velmora
