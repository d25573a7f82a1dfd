#pragma once
// The one message pump of long work on the GUI thread.

namespace velmora {

// Dispatches the window messages waiting on the calling thread and returns.
// A WM_QUIT met on the way is posted again for the outer message loop.
void ProcessMessages();

} // namespace velmora
