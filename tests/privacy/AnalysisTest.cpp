// The analysis run: reset, catalogue walk, browser checks and report.
#include "ScannerFixture.h"

#include "base/Handles.h"
#include "base/Text.h"
#include "settings/ConfigFile.h"
#include "system/Routines.h"

#include <algorithm>

using namespace velmora;
using namespace velmora::test;

namespace {

const wchar_t kRunMru[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";
const wchar_t kRecentDocs[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RecentDocs";
const std::wstring kRunMruTrace =
    L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";

std::vector<std::wstring> Joined(std::vector<std::wstring> a, const std::vector<std::wstring> &b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

using AnalysisTest = ScannerTest;

TEST_F(AnalysisTest, NothingSelectedGivesTheBareReportFrame) {
  Analyze(std::wstring(42, L'0'));
  EXPECT_EQ(report.lines, ReportFrame(L"0", L"0 Byte"));
  EXPECT_EQ(report.clears, 1);
  EXPECT_TRUE(report.caretAtStart);
  EXPECT_EQ(bar.position, 100);
  EXPECT_EQ(bar.steps, 42);
  EXPECT_EQ(bar.step, 2);
  EXPECT_EQ(pumps, 42);
  EXPECT_EQ(scanner.ReportLines, report.lines);
  EXPECT_FALSE(note.visible);
}

// The bar steps 2 per row walked and never starts over: the first version's
// 42 rows (also for a shorter selection) on 0-100, the 57 rows of today's
// selection on a range that holds them.
TEST_F(AnalysisTest, TheBarOnlyMovesForwardAndEndsFull) {
  const struct {
    size_t length;
    int rows, maximum;
  } cases[] = {{0, 42, 100}, {42, 42, 100}, {57, 57, 114}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.length);
    bar = TRecordingBar();
    std::vector<int> positions;
    onPump = [&] { positions.push_back(bar.position); };
    Analyze(std::wstring(c.length, L'0'));
    EXPECT_EQ(bar.steps, c.rows);
    EXPECT_EQ(bar.maximum, c.maximum);
    EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end()));
    ASSERT_FALSE(positions.empty());
    EXPECT_EQ(positions.back(), 2 * c.rows);
    EXPECT_EQ(bar.position, c.maximum);
  }
}

TEST_F(AnalysisTest, ShortOrEmptySelectionAndShortTextListAreHarmless) {
  Analyze(L"");
  EXPECT_EQ(report.lines, ReportFrame(L"0", L"0 Byte"));

  // A language pack may lack texts or carry stray '%' signs: they are shown
  // as written, never used as a printf pattern.
  TPrivacyScanner odd({L"Title %d %n", L"%s items, %% done, %s again"}, nullptr, configFile);
  odd.PauseSteps = false;
  TRecordingReport oddReport;
  odd.AnalyzeSelection(progress, note, oddReport, L"1", bar);
  ASSERT_GE(oddReport.lines.size(), 2u);
  EXPECT_EQ(oddReport.lines[0], L"Title %d %n");
  EXPECT_EQ(oddReport.lines[1], L"0 items, % done, 0 again");
}

TEST_F(AnalysisTest, OnlyPosition25RecordsRunMruStringValues) {
  OwnKey(kRunMru);
  PlantString(kRunMru, L"a", L"notepad\\1");
  PlantString(kRunMru, L"MRUList", L"a");
  RegWriteBinary(kRunMru, L"bin", "\x01\x02");
  RegWriteDword(kRunMru, L"num", 7);
  Analyze(SelectionOf({25}));

  const std::vector<std::wstring> details = {kRunMruTrace + L"\\a", kRunMruTrace + L"\\MRUList"};
  EXPECT_EQ(report.lines, Joined(ReportFrame(L"2", L"0 Byte"), details));
  EXPECT_EQ(scanner.Targets,
            (std::vector<std::wstring>{kRunMruTrace + L"/a", kRunMruTrace + L"/MRUList"}));
  EXPECT_EQ(scanner.RegistryItemCount, 2);
  EXPECT_EQ(scanner.ItemCount, 0);
  EXPECT_EQ(progress.captions, (std::vector<std::wstring>{L"", L"StartMenu"}));
}

TEST_F(AnalysisTest, ASecondAnalysisStartsFromAFreshState) {
  OwnKey(kRunMru);
  PlantString(kRunMru, L"a", L"x");
  Analyze(SelectionOf({25}));
  scanner.CancelScan();
  scanner.IeHistorySelected = true;
  scanner.FirefoxCookieDb = L"C:\\x";
  scanner.ChromeFormsFound = true;
  Analyze(SelectionOf({25}));
  EXPECT_EQ(scanner.Targets.size(), 1u);
  EXPECT_EQ(report.lines.size(), ReportFrame(L"1", L"").size() + 1);
  EXPECT_EQ(report.lines[1], L"Total: 1 items to be removed");
  EXPECT_FALSE(scanner.Cancelled);
  EXPECT_FALSE(scanner.IeHistorySelected);
  EXPECT_TRUE(scanner.FirefoxCookieDb.empty());
  EXPECT_FALSE(scanner.ChromeFormsFound);
}

TEST_F(AnalysisTest, CancelledRunStillReportsWhatWasFoundBefore) {
  const std::wstring recent = scanner.Locations.FolderOfKind(fkRecent);
  ASSERT_FALSE(recent.empty());
  const std::wstring folder = IncludeTrailingBackslash(recent);
  const size_t kPlanted = 500; // a long listing, whatever the pumping interval
  OwnKey(kRecentDocs);
  for (size_t i = 0; i < kPlanted; ++i)
    PlantFile(folder + L"velmora-cancel-" + std::to_wstring(i) + L".lnk", 100);
  OwnKey(kRunMru);
  PlantString(kRunMru, L"a", L"x");
  // The user cancels while the Recent folder is listed, once something is
  // found; the listing stops there and the RunMRU row that follows records
  // nothing.
  size_t foundAtCancel = 0;
  onPump = [&] {
    if (progress.caption == recent.substr(0, 60) && !scanner.Targets.empty() &&
        !scanner.Cancelled) {
      foundAtCancel = scanner.Targets.size();
      scanner.CancelScan();
    }
  };
  scanner.PauseSteps = true; // skipped once cancelled: the run stays quick
  Analyze(SelectionOf({24, 25}));

  ASSERT_TRUE(scanner.Cancelled) << "no message pump while the folder was listed";
  EXPECT_LT(foundAtCancel, kPlanted);
  EXPECT_EQ(scanner.Targets.size(), foundAtCancel);
  EXPECT_EQ(scanner.DetailLines.size(), scanner.Targets.size());
  EXPECT_EQ(report.lines, Joined(ReportFrame(std::to_wstring(foundAtCancel),
                                             SizeText(static_cast<int64_t>(foundAtCancel) * 100)),
                                 scanner.DetailLines));
  EXPECT_EQ(bar.position, 100);
}

TEST_F(AnalysisTest, IndexDatLinesAreMarkedAndLeftOutOfTheItemTotal) {
  const std::wstring cache =
      IncludeTrailingBackslash(scanner.Locations.FolderOfKind(fkInternetCache));
  const std::wstring planted = cache + L"VelmoraPlant\\index.dat";
  OwnPath(cache + L"VelmoraPlant");
  PlantFile(planted, 2000);
  Analyze(SelectionOf({4}));

  ASSERT_FALSE(scanner.Targets.empty());
  ASSERT_EQ(report.lines.size(), 6 + scanner.Targets.size());
  // Every line of this leaf is an index.dat file, marked for restart.
  for (size_t i = 0; i < scanner.Targets.size(); ++i)
    EXPECT_EQ(report.lines[6 + i],
              L"Marked for deletion when you restart computer: " + scanner.DetailLines[i]);
  EXPECT_NE(std::find(scanner.Targets.begin(), scanner.Targets.end(), planted),
            scanner.Targets.end());
  EXPECT_EQ(report.lines[1], L"Total: 0 items to be removed");
  EXPECT_EQ(scanner.ItemCount, static_cast<int64_t>(scanner.Targets.size()));
  EXPECT_GE(scanner.TotalBytes, 2000);
}

TEST_F(AnalysisTest, AFileMarkedByAnEarlierRunIsReportedAsMarkedCaseSensitively) {
  const std::wstring recent = IncludeTrailingBackslash(scanner.Locations.FolderOfKind(fkRecent));
  const std::wstring locked = recent + L"velmora-locked.lnk", other = recent + L"velmora-other.lnk";
  OwnKey(kRecentDocs);
  PlantFile(locked, 10);
  PlantFile(other, 20);
  scanner.RestartMarked = {locked, UpperCase(other)};
  Analyze(SelectionOf({24}));

  ASSERT_EQ(scanner.Targets.size(), 2u);
  std::vector<std::wstring> details(report.lines.begin() + 6, report.lines.end());
  std::sort(details.begin(), details.end());
  EXPECT_EQ(details, (std::vector<std::wstring>{other + L"   20 bytes",
                                                L"Marked for deletion when you restart computer: " +
                                                    locked + L"   10 bytes"}));
  EXPECT_EQ(report.lines[1], L"Total: 1 items to be removed");
  EXPECT_EQ(report.lines[3], L"Total: 0 Byte files to be removed"); // 30 bytes: below 1 KB
  EXPECT_EQ(scanner.RestartMarked.size(), 2u);                      // an analysis does not reset it
}

TEST_F(AnalysisTest, KeepListIsReloadedFromTheConfigurationFile) {
  TConfigFile config(configFile);
  config.WriteString(L"Cookie", L"user@site.test/", L"1");
  config.WriteString(L"Cookie", L"Other.Test/", L"1");
  Analyze(std::wstring(42, L'0'));
  EXPECT_EQ(scanner.KeepCookies, (std::vector<std::wstring>{L"user@site.test/", L"Other.Test/"}));
  ::DeleteFileW(configFile.c_str());
  Analyze(std::wstring(42, L'0'));
  EXPECT_TRUE(scanner.KeepCookies.empty());
}

TEST_F(AnalysisTest, RunningFirefoxShowsTheNoteOnlyWhenAFirefoxLeafIsSelected) {
  TFakeProcess firefox(scratch, L"firefox.exe"); // lower case: still found
  ASSERT_TRUE(firefox.Started());
  scanner.ShowFirefoxNote = true;

  Analyze(SelectionOf({25}));
  EXPECT_FALSE(scanner.FirefoxRunning);
  EXPECT_FALSE(note.visible);
  EXPECT_EQ(report.lines, ReportFrame(L"0", L"0 Byte"));

  Analyze(SelectionOf({9}));
  EXPECT_TRUE(scanner.FirefoxRunning);
  EXPECT_FALSE(scanner.ChromeRunning);
  EXPECT_TRUE(note.visible);
  EXPECT_EQ(note.caption, L"Note: Cannot erase privacy of Firefox while it is running.");
  EXPECT_EQ(report.lines, ReportFrame(L"0", L"0 Byte", true));

  // Without ShowFirefoxNote the report still carries the note, the label not.
  note.visible = false;
  scanner.ShowFirefoxNote = false;
  Analyze(SelectionOf({11}));
  EXPECT_FALSE(note.visible);
  EXPECT_EQ(report.lines, ReportFrame(L"0", L"0 Byte", true));
}

TEST_F(AnalysisTest, RunningChromeIsNotedOnlyWithAChromeLeaf) {
  TFakeProcess chrome(scratch, L"Chrome.EXE");
  ASSERT_TRUE(chrome.Started());
  Analyze(SelectionOf({7}));
  EXPECT_FALSE(scanner.ChromeRunning);
  Analyze(SelectionOf({16}));
  EXPECT_TRUE(scanner.ChromeRunning);
  EXPECT_EQ(report.lines, ReportFrame(L"0", L"0 Byte")); // no note for Chrome
}

} // namespace
