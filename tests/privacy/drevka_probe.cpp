// Runs one analysis, a cleaning and a second analysis with the real
// binding of Drevka.dll, from wherever it is started; the tests start a
// copy of it from a folder without the library.
//   privacy_drevka_probe <selection> <output file> <configuration file>
// Writes "library:present" or "library:absent", the first report, a line
// "cleaned", and the second report, as UTF-8 lines; exit code 0 when both
// runs returned.
#include "privacy/PrivacyScanner.h"

#include "FakeScreen.h"

#include "base/ProgramLibrary.h"
#include "base/Text.h"
#include "browserdb/DrevkaApi.h"

#include <windows.h>

#include <cstdio>
#include <string>

using namespace velmora;

int wmain(int argc, wchar_t **argv) {
  if (argc < 4)
    return 2;
  std::string out;
  // Looked for beside the program only, as the engine looks for it.
  out += LoadProgramLibrary(drevka::kDrevkaLibrary) ? "library:present\n" : "library:absent\n";

  TPrivacyScanner scanner(DefaultPrivacyReportTexts(), TMessagePump(), argv[3]);
  scanner.PauseSteps = false;
  test::TRecordingLabel progress, note;
  test::TRecordingReport report;
  test::TRecordingBar bar;
  auto analyze = [&] {
    scanner.AnalyzeSelection(progress, note, report, argv[1], bar);
    for (const std::wstring &line : report.lines)
      out += ToUtf8(line) + "\n";
  };
  analyze();
  scanner.CleanCollected(progress, note, bar);
  out += "cleaned\n";
  analyze();

  FILE *f = _wfopen(argv[2], L"wb");
  if (!f)
    return 3;
  fwrite(out.data(), 1, out.size(), f);
  fclose(f);
  return 0;
}
