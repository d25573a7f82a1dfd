// Times the privacy analysis on a large planted tree.
//   privacy_bench plant   plants 100,000 files in 2,000 folders under the
//                         Internet cache and History folders and 10,000
//                         registry values; prints the two planted folders
//   privacy_bench run     runs AnalyzeSelection (PauseSteps off) over them
//                         and prints the time it took in seconds
//   privacy_bench walk    times the bare folder listing of the planted trees
//   privacy_bench clean   removes what plant made
// bench/privacy-bench.sh drives it and compares with a native find.
#include "privacy/PrivacyScanner.h"

#include "FakeScreen.h"
#include "TestSupport.h"
#include "base/FolderEntries.h"
#include "base/Text.h"

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>

using namespace velmora;
using namespace velmora::test;

namespace {

constexpr int kFoldersPerRoot = 1000, kFilesPerFolder = 50;
constexpr int kTypedUrls = 5000, kRecentDocsSubkeys = 50, kValuesPerSubkey = 100;
const wchar_t kPlantName[] = L"VelmoraBench";
const wchar_t kTypedUrlsKey[] = L"Software\\Microsoft\\Internet Explorer\\TypedURLs";
const wchar_t kRecentDocsKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RecentDocs";

std::wstring PlantRoot(int kind) {
  TAppFrame frame;
  return IncludeTrailingBackslash(frame.FolderOfKind(kind)) + kPlantName;
}

void PrintLine(const std::wstring &text) { std::printf("%s\n", ToUtf8(text).c_str()); }

void Plant() {
  const std::string content(300, 'x');
  for (int kind : {fkInternetCache, fkHistory}) {
    const std::wstring root = PlantRoot(kind);
    RemoveTree(root);
    for (int d = 0; d < kFoldersPerRoot; ++d) {
      // Two levels, as caches keep them.
      const std::wstring folder =
          root + L"\\g" + std::to_wstring(d / 50) + L"\\f" + std::to_wstring(d) + L"\\";
      MakeFolders(folder);
      for (int f = 0; f < kFilesPerFolder; ++f)
        WriteFileBytes(folder + L"entry" + std::to_wstring(f) + L".htm", content);
    }
    PrintLine(root);
  }
  RegDeleteTree(kTypedUrlsKey);
  RegDeleteTree(kRecentDocsKey);
  for (int i = 1; i <= kTypedUrls; ++i)
    RegWriteString(kTypedUrlsKey, L"url" + std::to_wstring(i),
                   L"http://site" + std::to_wstring(i) + L".test/");
  for (int k = 0; k < kRecentDocsSubkeys; ++k)
    for (int v = 0; v < kValuesPerSubkey; ++v)
      RegWriteBinary(std::wstring(kRecentDocsKey) + L"\\.e" + std::to_wstring(k),
                     std::to_wstring(v), "recent");
}

void Clean() {
  RemoveTree(PlantRoot(fkInternetCache));
  RemoveTree(PlantRoot(fkHistory));
  RegDeleteTree(kTypedUrlsKey);
  RegDeleteTree(kRecentDocsKey);
}

// The window's pump: every waiting message is handled.
void PumpWindowMessages() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

int Run() {
  TPrivacyScanner scanner(DefaultPrivacyReportTexts(), PumpWindowMessages);
  scanner.PauseSteps = false;
  TRecordingLabel progress, note;
  TRecordingReport report;
  TRecordingBar bar;
  // TypedURLs, History, Index.dat (walks the whole Internet cache), Recent.
  std::wstring selection(42, L'0');
  for (int p : {1, 3, 4, 24})
    selection[p - 1] = L'1';
  const auto start = std::chrono::steady_clock::now();
  scanner.AnalyzeSelection(progress, note, report, selection, bar);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("%.3f %lld %d %zu\n", seconds, static_cast<long long>(scanner.ItemCount),
              scanner.RegistryItemCount, report.lines.size());
  return 0;
}

// The floor under Wine: the bare folder listing of the planted trees, with
// nothing recorded and no messages processed.
long long CountFiles(const std::wstring &folder) {
  long long files = 0;
  TFolderEntries entries(folder + L"\\*.*");
  TFolderEntry e;
  while (entries.Next(e))
    files += e.IsFolder() ? CountFiles(folder + L"\\" + e.Name) : 1;
  return files;
}

int Walk() {
  const auto start = std::chrono::steady_clock::now();
  const long long files = CountFiles(PlantRoot(fkInternetCache)) + CountFiles(PlantRoot(fkHistory));
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("%.3f %lld\n", seconds, files);
  return 0;
}

} // namespace

int wmain(int argc, wchar_t **argv) {
  const std::wstring mode = argc > 1 ? argv[1] : L"";
  if (mode == L"plant")
    Plant();
  else if (mode == L"run")
    return Run();
  else if (mode == L"walk")
    return Walk();
  else if (mode == L"clean")
    Clean();
  else {
    std::fprintf(stderr, "usage: privacy_bench plant|run|walk|clean\n");
    return 2;
  }
  return 0;
}
