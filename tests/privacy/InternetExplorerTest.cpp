// Internet Explorer and Windows traces, planted where they really live.
#include "CookieCacheEntry.h"
#include "ScannerFixture.h"

#include "base/Text.h"
#include "settings/ConfigFile.h"
#include "system/Routines.h"

#include <wininet.h>

#include <algorithm>

using namespace velmora;
using namespace velmora::test;

namespace {

const std::wstring kHkcu = L"HKEY_CURRENT_USER\\";
const wchar_t kTypedUrls[] = L"Software\\Microsoft\\Internet Explorer\\TypedURLs";
const wchar_t kIntelliForms[] = L"Software\\Microsoft\\Internet Explorer\\IntelliForms";
const wchar_t kProtected[] = L"Software\\Microsoft\\Protected Storage System Provider";
const wchar_t kRecentDocs[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RecentDocs";

size_t IndexOf(const std::vector<std::wstring> &list, const std::wstring &item) {
  return static_cast<size_t>(std::find(list.begin(), list.end(), item) - list.begin());
}

using InternetExplorerTest = ScannerTest;

TEST_F(InternetExplorerTest, TypedUrlsTakesPlainStringValuesOnly) {
  OwnKey(kTypedUrls);
  PlantString(kTypedUrls, L"url1", L"http://one.test/");
  PlantDword(kTypedUrls, L"url2", 2);
  PlantString(kTypedUrls, L"url3", L"http://three.test/");
  Analyze(SelectionOf({1}));

  const std::wstring key = kHkcu + kTypedUrls;
  EXPECT_EQ(scanner.DetailLines, (std::vector<std::wstring>{key + L"\\url1", key + L"\\url3"}));
  EXPECT_EQ(scanner.Targets, (std::vector<std::wstring>{key + L"/url1", key + L"/url3"}));
  EXPECT_EQ(scanner.ItemCount, 2);
  EXPECT_EQ(scanner.RegistryItemCount, 0);
  EXPECT_EQ(report.lines[1], L"Total: 2 items to be removed");
  EXPECT_EQ(progress.caption, L"TypedURLs");
}

TEST_F(InternetExplorerTest, FormStoresTakeValuesOfTheKeyAndOfItsSubkeysOneLevelDown) {
  struct Case {
    int position;
    const wchar_t *key;
    const wchar_t *caption;
  };
  for (const Case &c : {Case{6, kIntelliForms, L"IntelliForms"},
                        Case{5, kProtected, L"Protected Storage System Provider"}}) {
    OwnKey(c.key);
    const std::wstring key = c.key;
    PlantDword(key, L"top", 1);
    PlantString(key + L"\\S1", L"inner", L"x");
    PlantString(key + L"\\S1\\Deep", L"deeper", L"x"); // not visited
    Analyze(SelectionOf({c.position}));

    const std::wstring trace = kHkcu + key;
    EXPECT_EQ(scanner.DetailLines,
              (std::vector<std::wstring>{trace + L"\\top", trace + L"\\S1\\inner"}));
    EXPECT_EQ(scanner.Targets, (std::vector<std::wstring>{trace + L"/top", trace + L"\\S1/inner"}));
    EXPECT_EQ(scanner.ItemCount, 2);
    EXPECT_EQ(progress.caption, c.caption);
    RegDeleteTree(key);
  }
}

TEST_F(InternetExplorerTest, HistoryTakesEveryFileBelowAndAsksForTheUrlHistoryToBeCleared) {
  const std::wstring history = scanner.Locations.FolderOfKind(fkHistory);
  ASSERT_FALSE(history.empty());
  const std::wstring plant = IncludeTrailingBackslash(history) + L"VelmoraPlant";
  OwnPath(plant);
  WriteFileBytes(plant + L"\\day\\visit.url", std::string(3000, 'x'));
  WriteFileBytes(plant + L"\\index.dat", "12345");
  Analyze(SelectionOf({3}));

  EXPECT_TRUE(scanner.IeHistorySelected);
  EXPECT_EQ(progress.caption, ExtractFileName(ExcludeTrailingBackslash(history)));
  const size_t visit = IndexOf(scanner.Targets, plant + L"\\day\\visit.url");
  const size_t index = IndexOf(scanner.Targets, plant + L"\\index.dat");
  ASSERT_LT(visit, scanner.Targets.size());
  ASSERT_LT(index, scanner.Targets.size());
  EXPECT_EQ(scanner.DetailLines[visit], plant + L"\\day\\visit.url   2.93 KB");
  EXPECT_EQ(scanner.DetailLines[index], plant + L"\\index.dat   5 bytes");
  // Recorded as an ordinary file here: only the Index.dat leaf marks it.
  EXPECT_FALSE(scanner.IsMarkedForRestart(plant + L"\\index.dat"));
}

TEST_F(InternetExplorerTest, IndexDatTakesTheCacheFolderBeforeTheCookiesFolder) {
  const std::wstring cache =
      IncludeTrailingBackslash(scanner.Locations.FolderOfKind(fkInternetCache));
  const std::wstring cookies = IncludeTrailingBackslash(scanner.Locations.FolderOfKind(fkCookies));
  OwnPath(cache + L"VelmoraPlant");
  OwnPath(cookies + L"VelmoraPlant");
  WriteFileBytes(cache + L"VelmoraPlant\\Index.DAT", "1");
  WriteFileBytes(cookies + L"VelmoraPlant\\index.dat", "2");
  WriteFileBytes(cookies + L"VelmoraPlant\\cookie.txt", "3");
  Analyze(SelectionOf({4}));

  const size_t inCache = IndexOf(scanner.Targets, cache + L"VelmoraPlant\\Index.DAT");
  const size_t inCookies = IndexOf(scanner.Targets, cookies + L"VelmoraPlant\\index.dat");
  ASSERT_LT(inCookies, scanner.Targets.size());
  EXPECT_LT(inCache, inCookies);
  EXPECT_EQ(IndexOf(scanner.Targets, cookies + L"VelmoraPlant\\cookie.txt"),
            scanner.Targets.size());
  EXPECT_TRUE(scanner.IsMarkedForRestart(cache + L"VelmoraPlant\\Index.DAT"));
  EXPECT_EQ(progress.caption, L"Index.dat");
}

TEST_F(InternetExplorerTest, CookiesListsCacheEntriesExceptThoseOfKeptSites) {
  TCookieCacheEntry gone(L"Cookie:user@gone.test/", 1500), kept(L"Cookie:user@kept.test/", 10),
      keptParent(L"Cookie:user@www.parent.test/", 20);
  ASSERT_TRUE(gone.Ok() && kept.Ok() && keptParent.Ok());
  TConfigFile config(configFile);
  config.WriteString(L"Cookie", L"kept.test/", L"1");
  config.WriteString(L"Cookie", L"parent.test/", L"1"); // a parent domain keeps nothing
  config.WriteString(L"Cookie", L"GONE.TEST/", L"1");   // nor does another letter case
  Analyze(SelectionOf({2}));

  std::vector<std::wstring> urls = scanner.IeCookieUrls;
  std::sort(urls.begin(), urls.end());
  EXPECT_EQ(urls, (std::vector<std::wstring>{L"Cookie:user@gone.test/",
                                             L"Cookie:user@www.parent.test/"}));
  ASSERT_EQ(scanner.Targets.size(), 2u);
  for (size_t i = 0; i < scanner.Targets.size(); ++i) {
    const bool isGone = scanner.IeCookieUrls[i] == L"Cookie:user@gone.test/";
    EXPECT_EQ(scanner.DetailLines[i], scanner.Targets[i] + L"   " + SizeText(isGone ? 1500 : 20));
    EXPECT_EQ(scanner.Targets[i].substr(1, 1), L":");
  }
  EXPECT_EQ(scanner.ItemCount, 2);
  EXPECT_EQ(scanner.TotalBytes, 1520);
  EXPECT_EQ(report.lines[3], L"Total: 1.48 KB files to be removed");
  const std::wstring cookies = scanner.Locations.FolderOfKind(fkCookies);
  EXPECT_EQ(progress.caption, ExtractFileName(ExcludeTrailingBackslash(cookies)));
}

TEST_F(InternetExplorerTest, AnEntryWithoutAtSignIsKeptByItsWholeUrl) {
  scanner.KeepCookies = {L"Cookie:plain/"};
  scanner.AddIeCookie(L"Cookie:plain/", L"C:\\c\\plain.txt", 5);
  scanner.AddIeCookie(L"Cookie:other/", L"C:\\c\\other.txt", 5);
  EXPECT_EQ(scanner.IeCookieUrls, std::vector<std::wstring>{L"Cookie:other/"});
  EXPECT_EQ(scanner.DetailLines, std::vector<std::wstring>{L"C:\\c\\other.txt   5 Byte"});
}

TEST_F(InternetExplorerTest, ClearingTheUrlHistoryIsQuietWhereTheObjectExists) {
  // Wine creates the history object; its methods do nothing there.
  EXPECT_NO_THROW(scanner.ClearIeHistory());
}

using WindowsTracesTest = ScannerTest;

TEST_F(WindowsTracesTest, RecentTakesTheFolderThenEveryRecentDocsValue) {
  const std::wstring recent = IncludeTrailingBackslash(scanner.Locations.FolderOfKind(fkRecent));
  OwnKey(kRecentDocs);
  PlantFile(recent + L"velmora-a.lnk", 1100);
  PlantFolder(recent + L"velmora-sub");
  RegWriteBinary(kRecentDocs, L"0", "doc");
  RegWriteBinary(kRecentDocs, L"MRUListEx", std::string(4, '\0'));
  for (int k = 0; k < 7; ++k)
    RegWriteBinary(std::wstring(kRecentDocs) + L"\\.t" + std::to_wstring(k),
                   L"v" + std::to_wstring(k), "x");
  Analyze(SelectionOf({24}));

  ASSERT_EQ(scanner.Targets.size(), 11u);
  std::vector<std::wstring> files(scanner.DetailLines.begin(), scanner.DetailLines.begin() + 2);
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files, (std::vector<std::wstring>{recent + L"velmora-a.lnk   1.07 KB",
                                              recent + L"velmora-sub   0 bytes"}));
  const std::wstring key = kHkcu + kRecentDocs;
  EXPECT_EQ(scanner.DetailLines[2], key + L"\\0");
  EXPECT_EQ(scanner.Targets[3], key + L"/MRUListEx");
  for (int k = 0; k < 7; ++k) {
    const std::wstring sub = L".t" + std::to_wstring(k), name = L"v" + std::to_wstring(k);
    EXPECT_EQ(scanner.DetailLines[4 + k], key + L"\\" + sub + L"\\" + name);
    EXPECT_EQ(scanner.Targets[4 + k], key + L"\\" + sub + L"/" + name);
  }
  EXPECT_EQ(scanner.ItemCount, 2);
  EXPECT_EQ(scanner.RegistryItemCount, 9);
  EXPECT_EQ(report.lines[1], L"Total: 11 items to be removed");
  // The caption follows the key's values and every fifth subkey's values.
  const std::vector<std::wstring> tail(progress.captions.end() - 4, progress.captions.end());
  EXPECT_EQ(tail, (std::vector<std::wstring>{L"0", L"MRUListEx", L"v0", L"v5"}));
}

TEST_F(WindowsTracesTest, CancelDuringRecentDocsStopsBeforeTheNextValue) {
  OwnKey(kRecentDocs);
  RegWriteBinary(kRecentDocs, L"0", "a");
  RegWriteBinary(kRecentDocs, L"1", "b");
  RegWriteBinary(std::wstring(kRecentDocs) + L"\\.txt", L"0", "c");
  onPump = [this] { scanner.CancelScan(); }; // comes in at the first value
  scanner.CollectRecentDocs(progress);
  const std::wstring key = kHkcu + kRecentDocs;
  EXPECT_EQ(scanner.Targets, std::vector<std::wstring>{key + L"/0"});
  EXPECT_EQ(scanner.RegistryItemCount, 1);
}

} // namespace
