// Velmora.exe: one instance per executable name, then the main window and
// its message loop.
#include "app/UniqueInstance.h"
#include "app/UnitMain.h"
#include "base/Com.h"
#include "base/ProgramLibrary.h"

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
    TFormMain form(std::move(settings));
    HookAppWindow(form.Handle(), form.Handle());
    form.Show();
    exitCode = RunMessageLoop(form.Handle());
  } catch (...) {
    exitCode = 1;
  }
  return exitCode;
}
