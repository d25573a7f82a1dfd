#include "app/UniqueInstance.h"

#include "base/Handles.h"
#include "base/Text.h"

namespace velmora {

namespace {

struct TInstanceState {
  std::wstring Name;
  UINT Message = 0;
  UniqueKernelHandle Mutex;  // owned and held until the process ends
  UniqueKernelHandle Ending; // set once this instance has started to end
  HWND AppWindow = nullptr;
  HWND MainWindow = nullptr;
  WNDPROC PreviousProc = nullptr;
};

TInstanceState &State() {
  static TInstanceState state;
  return state;
}

std::wstring ModuleFileName() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD got = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (got < path.size()) {
      path.resize(got);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

std::wstring EndingEventName(const std::wstring &name) { return name + L" ending"; }

// True when this process now owns the instance mutex: the instance that
// held it had already ended, or it was ending and ended within the bound.
bool TakeOverEndingInstance(HANDLE mutex, const std::wstring &name) {
  const DWORD now = WaitForSingleObject(mutex, 0);
  if (now == WAIT_ABANDONED)
    return true; // it ended between its close and our start
  if (now == WAIT_OBJECT_0) {
    ReleaseMutex(mutex); // this very thread holds it already: not a new start
    return false;
  }
  const UniqueKernelHandle ending(OpenEventW(SYNCHRONIZE, FALSE, EndingEventName(name).c_str()));
  if (!ending)
    return false; // it runs: it is told to come forward
  const DWORD waited = WaitForSingleObject(mutex, kEndingInstanceWaitMs);
  return waited == WAIT_ABANDONED || waited == WAIT_OBJECT_0;
}

} // namespace

TInstanceStart CheckSingleInstance() {
  return CheckSingleInstanceNamed(ExtractFileName(ModuleFileName()));
}

TInstanceStart CheckSingleInstanceNamed(const std::wstring &name) {
  TInstanceState &state = State();
  state.Name = name;
  state.Message = RegisterWindowMessageW(name.c_str());
  // The first instance owns the mutex, so that a later start can wait for
  // its end: the ownership is given up (abandoned) when its process ends.
  state.Mutex.Reset(CreateMutexW(nullptr, TRUE, name.c_str()));
  if (!state.Mutex)
    return TInstanceStart::Failed;
  if (GetLastError() != ERROR_ALREADY_EXISTS)
    return TInstanceStart::First;
  if (TakeOverEndingInstance(state.Mutex.Get(), name))
    return TInstanceStart::First;
  DWORD recipients = BSM_APPLICATIONS;
  BroadcastSystemMessageW(BSF_IGNORECURRENTTASK | BSF_POSTMESSAGE, &recipients, state.Message, 0,
                          0);
  return TInstanceStart::Another;
}

void MarkInstanceEnding() {
  TInstanceState &state = State();
  if (state.Name.empty() || state.Ending)
    return;
  state.Ending.Reset(CreateEventW(nullptr, TRUE, TRUE, EndingEventName(state.Name).c_str()));
}

const std::wstring &InstanceName() { return State().Name; }

UINT InstanceMessage() { return State().Message; }

void HookAppWindow(HWND appWindow, HWND mainWindow) {
  TInstanceState &state = State();
  state.AppWindow = appWindow;
  state.MainWindow = mainWindow;
  state.PreviousProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(appWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AppWindowProc)));
}

LRESULT CALLBACK AppWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  TInstanceState &state = State();
  if (message != state.Message || state.Message == 0)
    return CallWindowProcW(state.PreviousProc, window, message, wParam, lParam);
  if (IsIconic(state.AppWindow))
    ShowWindow(state.AppWindow, SW_RESTORE);
  SetForegroundWindow(state.AppWindow);
  BringToFront(state.MainWindow);
  return 0;
}

bool BringToFront(HWND window) {
  if (IsIconic(window))
    ShowWindow(window, SW_RESTORE);
  if (GetForegroundWindow() == window)
    return true;
  OSVERSIONINFOW version = {sizeof(version)};
  GetVersionExW(&version);
  const bool modern =
      (version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion > 4) ||
      (version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS &&
       (version.dwMajorVersion > 4 || (version.dwMajorVersion == 4 && version.dwMinorVersion > 0)));
  if (!modern) {
    BringWindowToTop(window);
    SetForegroundWindow(window);
    return GetForegroundWindow() == window;
  }
  const DWORD foregroundThread = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
  const DWORD windowThread = GetWindowThreadProcessId(window, nullptr);
  bool done = false;
  if (AttachThreadInput(windowThread, foregroundThread, TRUE)) {
    BringWindowToTop(window);
    SetForegroundWindow(window);
    AttachThreadInput(windowThread, foregroundThread, FALSE);
    done = GetForegroundWindow() == window;
  }
  if (!done) {
    DWORD timeout = 0;
    SystemParametersInfoW(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &timeout, 0);
    SystemParametersInfoW(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, nullptr, SPIF_SENDCHANGE);
    BringWindowToTop(window);
    SetForegroundWindow(window);
    SystemParametersInfoW(SPI_SETFOREGROUNDLOCKTIMEOUT, 0,
                          reinterpret_cast<void *>(static_cast<uintptr_t>(timeout)),
                          SPIF_SENDCHANGE);
  }
  return GetForegroundWindow() == window;
}

} // namespace velmora
