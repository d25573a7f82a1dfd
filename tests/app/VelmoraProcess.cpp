#include "VelmoraProcess.h"

#include "TestSupport.h"

#include <vector>

namespace velmora::test {

TVelmoraProcess::TVelmoraProcess(const std::wstring &arguments, const std::wstring &exeName) {
  const std::wstring exe = ProgramFolder() + exeName;
  std::wstring commandLine = L"\"" + exe + L"\"";
  if (!arguments.empty())
    commandLine += L" " + arguments;
  STARTUPINFOW si = {sizeof(si)};
  PROCESS_INFORMATION pi = {};
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      ProgramFolder().c_str(), &si, &pi))
    return;
  CloseHandle(pi.hThread);
  process_ = pi.hProcess;
  id_ = pi.dwProcessId;
}

TVelmoraProcess::~TVelmoraProcess() {
  if (!process_)
    return;
  if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
    if (HWND window = FindMainWindow(id_))
      PostMessageW(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process_, 20000) == WAIT_TIMEOUT)
      TerminateProcess(process_, 1);
  }
  CloseHandle(process_);
}

HWND TVelmoraProcess::WaitForWindow(DWORD timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  // The window exists before its controls; it is shown when they are all there.
  while (!window_ && GetTickCount64() < deadline && process_) {
    HWND found = FindMainWindow(id_);
    if (found && IsWindowVisible(found))
      window_ = found;
    else
      Sleep(100);
  }
  return window_;
}

DWORD TVelmoraProcess::WaitForExit(DWORD timeoutMs) {
  DWORD code = STILL_ACTIVE;
  if (process_ && WaitForSingleObject(process_, timeoutMs) == WAIT_OBJECT_0)
    GetExitCodeProcess(process_, &code);
  return code;
}

namespace {

struct TSearch {
  DWORD ProcessId;
  std::vector<HWND> Found;
};

BOOL CALLBACK CollectMainWindow(HWND hwnd, LPARAM data) {
  auto *search = reinterpret_cast<TSearch *>(data);
  wchar_t cls[64] = L"";
  GetClassNameW(hwnd, cls, 64);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (lstrcmpW(cls, L"TFormMain") == 0 && (search->ProcessId == 0 || pid == search->ProcessId))
    search->Found.push_back(hwnd);
  return TRUE;
}

} // namespace

int CountMainWindows(DWORD processId) {
  TSearch search{processId, {}};
  EnumWindows(&CollectMainWindow, reinterpret_cast<LPARAM>(&search));
  return static_cast<int>(search.Found.size());
}

HWND FindMainWindow(DWORD processId) {
  TSearch search{processId, {}};
  EnumWindows(&CollectMainWindow, reinterpret_cast<LPARAM>(&search));
  return search.Found.empty() ? nullptr : search.Found.front();
}

HWND FindPanel(HWND root, const std::wstring &name) {
  for (HWND child = FindWindowExW(root, nullptr, nullptr, nullptr); child;
       child = FindWindowExW(root, child, nullptr, nullptr)) {
    wchar_t cls[64] = L"";
    GetClassNameW(child, cls, 64);
    if (lstrcmpW(cls, L"TVelmoraPanel") == 0 && TextOf(child) == name)
      return child;
    if (HWND found = FindPanel(child, name))
      return found;
  }
  return nullptr;
}

HWND FindControl(HWND parent, const wchar_t *className, const std::wstring &text) {
  for (HWND child = FindWindowExW(parent, nullptr, nullptr, nullptr); child;
       child = FindWindowExW(parent, child, nullptr, nullptr)) {
    wchar_t cls[64] = L"";
    GetClassNameW(child, cls, 64);
    if (lstrcmpiW(cls, className) == 0 && (text.empty() || TextOf(child) == text))
      return child;
    if (HWND found = FindControl(child, className, text))
      return found;
  }
  return nullptr;
}

std::wstring TextOf(HWND hwnd) {
  const LRESULT length = SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const LRESULT got =
      SendMessageW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(got));
  return text;
}

bool ClickNavigation(HWND mainWindow, const std::wstring &view) {
  HWND bar = FindPanel(mainWindow, L"pnl1");
  if (!bar)
    return false;
  POINT p;
  if (view == L"privacy")
    p = {55, 59};
  else if (view == L"junk")
    p = {54, 164};
  else if (view == L"options")
    p = {54, 273};
  else
    return false;
  // The points are in the 96-DPI layout, where the bar is 490 high; the
  // window may be shown at another scale.
  RECT client;
  GetClientRect(bar, &client);
  p = {MulDiv(p.x, client.bottom, 490), MulDiv(p.y, client.bottom, 490)};
  SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
  SendMessageW(bar, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
  return true;
}

} // namespace velmora::test
