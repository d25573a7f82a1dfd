#pragma once
// Velmora.exe started as a separate process and found and driven from
// outside, through its windows: used by the end-to-end test and by the
// screenshot driver.
#include <windows.h>

#include <string>

namespace velmora::test {

class TVelmoraProcess {
public:
  // Starts the program of that file name in the test program's folder.
  explicit TVelmoraProcess(const std::wstring &arguments = L"",
                           const std::wstring &exeName = L"Velmora.exe");
  ~TVelmoraProcess(); // closes the window and ends the process if still there
  TVelmoraProcess(const TVelmoraProcess &) = delete;
  TVelmoraProcess &operator=(const TVelmoraProcess &) = delete;

  bool Started() const { return process_ != nullptr; }
  DWORD Id() const { return id_; }
  // The main window once shown, waited for up to timeoutMs; null when it
  // never came.
  HWND WaitForWindow(DWORD timeoutMs = 30000);
  // Waits for the process to end; its exit code, or STILL_ACTIVE.
  DWORD WaitForExit(DWORD timeoutMs = 30000);

private:
  HANDLE process_ = nullptr;
  DWORD id_ = 0;
  HWND window_ = nullptr;
};

// The main windows (class "TFormMain") of a process; 0 for any process.
int CountMainWindows(DWORD processId);
HWND FindMainWindow(DWORD processId);
// A panel of the window by its name ("pnl1", "pnlPrivacy", ...).
HWND FindPanel(HWND root, const std::wstring &name);
// The first child control of a window class ("Edit", "Button", ...) below
// a window whose text is text (empty: any text).
HWND FindControl(HWND parent, const wchar_t *className, const std::wstring &text = L"");
std::wstring TextOf(HWND hwnd);
// Presses a navigation button: "privacy", "junk" or "options".
bool ClickNavigation(HWND mainWindow, const std::wstring &view);

} // namespace velmora::test
