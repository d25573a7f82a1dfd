#pragma once
// One running instance per executable name: a mutex and a registered
// window message, both named with the executable's file name. A later
// start posts the message to all applications and ends; the first one
// brings its window to the front. While the first instance is ending (its
// window closed, its work stopping), a later start waits for that end
// (bounded) and then runs as the first.
#include <windows.h>

#include <string>

namespace velmora {

enum class TInstanceStart {
  First,   // this process holds the name; go on
  Another, // an earlier instance runs and was told; end now
  Failed,  // the mutex could not be made; end now
};

// Runs before any window of the program exists.
TInstanceStart CheckSingleInstance();
// The same for a given instance name (tests use their own names).
TInstanceStart CheckSingleInstanceNamed(const std::wstring &name);

// How long a start waits for an ending instance; above the time an ending
// instance may take (the program's exit bound).
constexpr DWORD kEndingInstanceWaitMs = 15000;

// Tells later starts that this instance is ending: they wait for it
// instead of asking it to come forward. Nothing when no instance name was
// taken (CheckSingleInstance did not run).
void MarkInstanceEnding();

const std::wstring &InstanceName();
UINT InstanceMessage();

// Replaces the window procedure of the application window with
// AppWindowProc, which answers the instance message by bringing
// mainWindow to the front. In this program both are the main window.
void HookAppWindow(HWND appWindow, HWND mainWindow);
LRESULT CALLBACK AppWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Restores a window and makes it the foreground window; true when it is
// the foreground window afterwards.
bool BringToFront(HWND window);

} // namespace velmora
