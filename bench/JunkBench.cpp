// Junk worker figures (bench/junk-bench.sh):
//   junk_bench wait      GUI-thread CPU time while waiting for a full
//                        analysis (3.7 s paced intro): WaitFor against a
//                        loop that only pumps messages
//   junk_bench scan N    analysis of N planted Internet cache files, each
//                        costing one synchronous call into the GUI thread
//   junk_bench clean N [secure]
//                        the same analysis, then its Clean through
//                        Tosmir.dll: every listed file re-checked and
//                        removed through its own handle
#include "base/Text.h"
#include "junk/RemovalThread.h"
#include "tests/junk/JunkTestSupport.h"

#include <chrono>
#include <cstdio>

using namespace velmora;
using namespace velmora::test;

namespace {

double ThreadCpuSeconds() {
  FILETIME created, exited, kernel, user;
  ::GetThreadTimes(::GetCurrentThread(), &created, &exited, &kernel, &user);
  auto secs = [](const FILETIME &f) {
    return ((static_cast<uint64_t>(f.dwHighDateTime) << 32) | f.dwLowDateTime) / 1e7;
  };
  return secs(kernel) + secs(user);
}

void WaitFigures() {
  TJunkConfig config(L"0", L"0", L"0", 7);
  for (bool busy : {false, true}) {
    TJunkRun run;
    const double cpu0 = ThreadCpuSeconds();
    const auto t0 = std::chrono::steady_clock::now();
    run.Start(false, false);
    if (busy) {
      while (!run.worker->Finished())
        TPumpDispatcher::Pump();
    } else {
      run.Wait();
    }
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    std::printf("%s: wall %.2f s, GUI thread CPU %.3f s\n",
                busy ? "pump-only loop" : "WaitFor (MsgWaitForMultipleObjectsEx)", wall,
                ThreadCpuSeconds() - cpu0);
  }
}

void ScanFigures(int count, bool clean, bool secure) {
  TJunkConfig config(L"0", L"1", L"0", 7, secure);
  TPlantedFolder cache(IncludeTrailingBackslash(TAppFrame().FolderOfKind(fkInternetCache)) +
                       L"vtest-bench");
  for (int i = 0; i < count; ++i)
    WriteFileBytes(cache / (L"f" + std::to_wstring(i / 500) + L"\\" + std::to_wstring(i) + L".htm"),
                   "x");
  TJunkRun run;
  const auto t0 = std::chrono::steady_clock::now();
  run.Analyze(true); // the whole list in the report, whatever its size
  const double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  std::printf("scan: %lld files in %.2f s (%.0f files/s), %d GUI calls, %zu report lines\n",
              static_cast<long long>(run.worker->FileCount()), secs, run.worker->FileCount() / secs,
              run.gui.Calls(), run.memo.lines.size());
  if (!clean)
    return;
  const auto c0 = std::chrono::steady_clock::now();
  RunRemovalLibrary(tosmir::kTosmirLibrary, config.Path());
  const double cleanSecs =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - c0).count();
  int left = 0;
  for (const std::wstring &path : run.worker->FileList())
    left += PathExists(path) ? 1 : 0;
  const size_t listed = run.worker->ReportedList().Files.size();
  std::printf("clean%s: %zu listed files in %.2f s (%.0f files/s), %d left\n",
              secure ? " (secure)" : "", listed, cleanSecs, listed / cleanSecs, left);
}

} // namespace

int wmain(int argc, wchar_t **argv) {
  const std::wstring mode = argc > 1 ? argv[1] : L"wait";
  if (mode == L"scan" || mode == L"clean")
    ScanFigures(argc > 2 ? _wtoi(argv[2]) : 20000, mode == L"clean",
                argc > 3 && std::wstring(argv[3]) == L"secure");
  else
    WaitFigures();
  return 0;
}
