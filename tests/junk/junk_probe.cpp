// Runs the junk worker in a process of its own, for what a process fixes
// at its start: the Windows version, and the folder it loads libraries
// from. Writes UTF-8 lines to stdout:
//   junk_probe analyze   the analysis's file list, one path a line
//   junk_probe clean     then "caption=", "steps=" of RemoveJunkFiles and
//                        "completed" once it has returned
#include "base/Text.h"
#include "tests/junk/JunkTestSupport.h"

#include <cstdio>

int wmain(int argc, wchar_t **argv) {
  using namespace velmora;
  const std::wstring mode = argc > 1 ? argv[1] : L"analyze";
  test::TJunkRun run;
  TempThread &worker = run.Analyze(true);
  for (const std::wstring &path : worker.FileList())
    std::printf("%s\n", ToUtf8(path).c_str());
  if (mode == L"clean") {
    test::TRecordingLabel status;
    const int before = run.bar.steps;
    worker.RemoveJunkFiles(status, false, run.gui.Pumper());
    std::printf("caption=%s\nsteps=%d\ncompleted\n", ToUtf8(status.caption).c_str(),
                run.bar.steps - before);
  }
  return 0;
}
