// Velmora.exe: one instance per executable name, then the main window and
// its message loop.
#include "app/UniqueInstance.h"
#include "app/UnitMain.h"
#include "base/Com.h"
#include "base/Error.h"
#include "base/Handles.h"
#include "base/ProgramLibrary.h"
#include "base/Text.h"

#include <commctrl.h>
#include <shellapi.h>

using namespace velmora;

namespace {

std::vector<std::wstring> CommandLineArguments() {
  std::vector<std::wstring> arguments;
  int count = 0;
  wchar_t **list = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!list)
    return arguments;
  for (int i = 1; i < count; ++i)
    arguments.emplace_back(list[i]);
  LocalFree(list);
  return arguments;
}

// Once the user has closed the window, the process ends within this time
// whatever the stopping work does (a removal library that does not return
// is given TempThread::kAbandonRemovalMs of it).
const DWORD kExitBoundMs = 8000;

DWORD WINAPI EndAfterBound(void *) {
  Sleep(kExitBoundMs);
  // Still here: something below the window does not return. The settings
  // were written when the window closed; nothing else is waited for.
  TerminateProcess(GetCurrentProcess(), 0);
  return 0;
}

void OnClosing(bool) {
  MarkInstanceEnding();
  // Ends with the process when the normal way out comes first.
  UniqueKernelHandle watchdog(CreateThread(nullptr, 0, &EndAfterBound, nullptr, 0, nullptr));
}

void ShowStartupError(const std::wstring &message) {
  MessageBoxW(nullptr, (message + L".").c_str(), L"Quorvix", MB_OK | MB_ICONERROR);
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // Libraries loaded later come from the system folder or ours, never from
  // the current folder or PATH.
  RestrictLibrarySearch();
  // Before any window of the program exists.
  if (CheckSingleInstance() != TInstanceStart::First)
    return 0;
  const TComApartment com;
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES | ICC_TAB_CLASSES |
                                                         ICC_PROGRESS_CLASS | ICC_LISTVIEW_CLASSES |
                                                         ICC_TREEVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  int exitCode = 0;
  try {
    TFormSettings settings;
    settings.Arguments = CommandLineArguments();
    settings.QuitOnDestroy = true;
    settings.OnClosing = &OnClosing;
    TFormMain form(std::move(settings));
    HookAppWindow(form.Handle(), form.Handle());
    form.Show();
    exitCode = RunMessageLoop(form.Handle());
  } catch (const EAppError &e) {
    ShowStartupError(e.Message());
    exitCode = 1;
  } catch (const std::exception &e) {
    ShowStartupError(FromAnsi(e.what()));
    exitCode = 1;
  } catch (...) {
    exitCode = 1;
  }
  return exitCode;
}
