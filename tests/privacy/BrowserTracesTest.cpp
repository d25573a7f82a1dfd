// The Firefox, Chrome, Opera and Safari collectors on planted profiles, one
// leaf at a time and all together, with and without the browsers running.
#include "BrowserProfiles.h"

#include "Fixtures.h"

#include "base/Text.h"
#include "system/Routines.h"

using namespace velmora;
using namespace velmora::test;

namespace {

std::wstring ItemLine(int items) {
  return L"Total: " + std::to_wstring(items) + L" items to be removed";
}

TEST_F(BrowserTest, EachLeafGivesItsOwnLinesAndItems) {
  PlantFirefox();
  PlantChrome();
  PlantOpera();
  PlantSafari();
  for (int p = 7; p <= 23; ++p) {
    SCOPED_TRACE(p);
    Analyze(SelectionOf({p}));
    EXPECT_EQ(Details(), LinesOf(p));
    ASSERT_GE(report.lines.size(), 2u);
    EXPECT_EQ(report.lines[1], ItemLine(ItemsOf(p)));
    EXPECT_EQ(scanner.Targets.size(), scanner.DetailLines.size());
    // Only the leaf's own database is remembered.
    EXPECT_EQ(scanner.FirefoxCookiesFound, p == 7);
    EXPECT_EQ(scanner.FirefoxHistoryFound, p == 9);
    EXPECT_EQ(scanner.ChromeCookiesFound, p == 12);
    EXPECT_EQ(scanner.ChromeDownloadsFound, p == 13);
    EXPECT_EQ(scanner.ChromeHistoryFound, p == 14);
    EXPECT_EQ(scanner.ChromeFormsFound, p == 15);
  }
  EXPECT_EQ(scanner.FirefoxCookieDb, L""); // reset by the last analysis
}

TEST_F(BrowserTest, AllLeavesTogetherInCatalogueOrder) {
  PlantFirefox();
  PlantChrome();
  PlantOpera();
  PlantSafari();
  Analyze(SelectionOf({7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23}));
  std::vector<std::wstring> lines;
  int items = 0;
  int64_t bytes = 0;
  for (int p = 7; p <= 23; ++p) {
    const auto more = LinesOf(p);
    lines.insert(lines.end(), more.begin(), more.end());
    items += ItemsOf(p);
  }
  for (const std::wstring &file : PlantedFileTargets())
    bytes += static_cast<int64_t>(ReadFileBytes(Backslashed(file)).size());
  EXPECT_EQ(Details(), lines);
  EXPECT_EQ(report.lines[1], ItemLine(items));
  EXPECT_EQ(scanner.TotalBytes, bytes);
  EXPECT_EQ(report.lines[3], L"Total: " + SizeTextNoBytes(bytes) + L" files to be removed");
  // The databases are remembered for the cleaning, never recorded as files.
  EXPECT_EQ(scanner.FirefoxCookieDb, firefox + L"\\cookies.sqlite");
  EXPECT_EQ(scanner.FirefoxHistoryDb, firefox + L"\\places.sqlite");
  EXPECT_EQ(scanner.ChromeCookieDb, chrome + L"\\Cookies");
  EXPECT_EQ(scanner.ChromeDownloadDb, chrome + L"\\History");
  EXPECT_EQ(scanner.ChromeHistoryDb, chrome + L"\\History");
  EXPECT_EQ(scanner.ChromeWebDataDb, chrome + L"\\Web Data");
  EXPECT_EQ(scanner.ChromeBookmarksFile, chrome + L"\\Bookmarks");
  EXPECT_EQ(scanner.ChromeThumbnailsDb, chrome + L"\\Thumbnails");
}

TEST_F(BrowserTest, FirefoxWithoutProfileSectionLooksInTheFirefoxFolder) {
  const std::wstring folder = roaming + L"\\Mozilla\\Firefox";
  WriteFileBytes(folder + L"\\profiles.ini", "[Profile1]\r\nPath=Profiles/second\r\n");
  WriteFileBytes(folder + L"\\cookies.txt", std::string(5, 'c'));
  WriteFileBytes(folder + L"\\Profiles\\second\\cookies.txt", std::string(6, 'c'));
  Analyze(SelectionOf({7}));
  // An empty Path gives a doubled backslash; the second profile is never read.
  EXPECT_EQ(Details(), (std::vector<std::wstring>{folder + L"\\\\cookies.txt   5 bytes"}));
}

TEST_F(BrowserTest, FirefoxEmptyCookieDatabaseIsRememberedButNotCounted) {
  PlantFirefox();
  MakeFirefoxCookies(Backslashed(firefox) + L"\\cookies.sqlite", {});
  ::DeleteFileW((Backslashed(firefox) + L"\\cookies.txt").c_str());
  Analyze(SelectionOf({7}));
  EXPECT_TRUE(Details().empty());
  EXPECT_EQ(report.lines[1], ItemLine(0));
  EXPECT_TRUE(scanner.FirefoxCookiesFound);
}

TEST_F(BrowserTest, FirefoxOldFilesHeldOpenAreLeftOutButCookiesTxtIsNot) {
  PlantFirefox();
  std::vector<UniqueFile> held;
  for (const wchar_t *name :
       {L"\\cookies.txt", L"\\downloads.rdf", L"\\history.dat", L"\\formhistory.dat"})
    held.emplace_back(::CreateFileW((Backslashed(firefox) + name).c_str(), GENERIC_READ, 0, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
  Analyze(SelectionOf({7, 8, 9, 10}));
  EXPECT_EQ(Details(), (std::vector<std::wstring>{firefox + L"\\cookies.txt   10 bytes",
                                                  L"FireFox 3 Cookie: example.com",
                                                  L"FireFox 3 Cookie: www.mozilla.org",
                                                  firefox + L"\\downloads.sqlite   1.00 KB",
                                                  firefox + L"\\formhistory.sqlite   2.00 KB"}));
}

TEST_F(BrowserTest, RunningFirefoxLeavesOutItsDatabasesFilesAndCaches) {
  PlantFirefox();
  TFakeProcess firefoxProcess(scratch, L"FireFox.exe");
  ASSERT_TRUE(firefoxProcess.Started());
  scanner.ShowFirefoxNote = true;
  Analyze(SelectionOf({7, 8, 9, 10, 11}));
  EXPECT_TRUE(scanner.FirefoxRunning);
  EXPECT_TRUE(note.visible);
  EXPECT_EQ(report.lines[2], L"Note: Cannot erase privacy of Firefox while it is running.");
  EXPECT_EQ(Details(),
            (std::vector<std::wstring>{
                firefox + L"\\cookies.txt   10 bytes", L"FireFox 3 Cookie: example.com",
                L"FireFox 3 Cookie: www.mozilla.org", firefox + L"\\downloads.rdf   20 bytes",
                firefox + L"\\history.dat   30 bytes", firefox + L"\\formhistory.dat   40 bytes"}));
  EXPECT_TRUE(scanner.FirefoxCookiesFound);
  EXPECT_TRUE(scanner.FirefoxHistoryFound);
}

TEST_F(BrowserTest, RunningChromeStillListsItsCookiesOnly) {
  PlantChrome();
  TFakeProcess chromeProcess(scratch, L"chrome.exe");
  ASSERT_TRUE(chromeProcess.Started());
  progress.captions.clear();
  Analyze(SelectionOf({12, 13, 14, 15, 16}));
  EXPECT_TRUE(scanner.ChromeRunning);
  EXPECT_EQ(Details(), LinesOf(12));
  EXPECT_TRUE(scanner.ChromeCookiesFound);
  EXPECT_FALSE(scanner.ChromeDownloadsFound || scanner.ChromeHistoryFound ||
               scanner.ChromeFormsFound);
  // Nothing but the cookie leaf showed a caption.
  EXPECT_EQ(progress.captions, (std::vector<std::wstring>{L"", L"Cookies"}));
}

TEST_F(BrowserTest, RunningSafariLeavesOutOnlyItsCache) {
  PlantSafari();
  TFakeProcess safariProcess(scratch, L"Safari.exe");
  ASSERT_TRUE(safariProcess.Started());
  Analyze(SelectionOf({20, 21, 22, 23}));
  std::vector<std::wstring> lines = LinesOf(20);
  for (int p : {22, 23})
    for (const std::wstring &line : LinesOf(p))
      lines.push_back(line);
  EXPECT_EQ(Details(), lines);
}

TEST_F(BrowserTest, OperaTakesTheLastEntryOfItsFolderAsTheProfile) {
  // The listing gives names in order (NTFS and Wine both do); these names
  // sort alike with or without regard to case: "Aside" < "Opera" < "Zz".
  const std::wstring folder = roaming + L"\\Opera\\";
  WriteFileBytes(folder + L"Zz stray.txt", "x"); // made first, listed last
  PlantOpera();
  WriteFileBytes(folder + L"Aside.txt", "x");
  WriteFileBytes(folder + L"Aside\\profile\\cookies4.dat", "a folder listed first");

  // A file listed last is taken, and nothing lies below a file.
  EXPECT_EQ(scanner.FindOperaFolder(), folder + L"Zz stray.txt");
  Analyze(SelectionOf({17, 18, 19}));
  EXPECT_TRUE(Details().empty());

  // With the file gone the profile folder is last.
  ASSERT_TRUE(DeleteFileW((folder + L"Zz stray.txt").c_str()));
  EXPECT_EQ(scanner.FindOperaFolder(), opera);
  Analyze(SelectionOf({17, 18, 19}));
  std::vector<std::wstring> lines;
  for (int p : {17, 18, 19})
    for (const std::wstring &line : LinesOf(p))
      lines.push_back(line);
  EXPECT_EQ(Details(), lines);

  RemoveTree(roaming + L"\\Opera");
  MakeFolders(roaming + L"\\Opera");
  EXPECT_EQ(scanner.FindOperaFolder(), L"");
  Analyze(SelectionOf({17, 18, 19}));
  EXPECT_TRUE(Details().empty());
}

TEST_F(BrowserTest, NoProfilesRecordNothingAndSetNoFlag) {
  Analyze(SelectionOf({7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23}));
  EXPECT_EQ(report.lines, ReportFrame(L"0", L"0 Byte"));
  EXPECT_FALSE(scanner.FirefoxCookiesFound || scanner.FirefoxHistoryFound ||
               scanner.ChromeCookiesFound || scanner.ChromeDownloadsFound ||
               scanner.ChromeHistoryFound || scanner.ChromeFormsFound);
}

} // namespace
