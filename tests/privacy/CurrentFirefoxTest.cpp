// Today's Firefox: every profile of profiles.ini, the install defaults that
// name the default profile, the local counterpart of each profile, and the
// databases, session files and caches of today's layout.
#include "BrowserProfiles.h"

#include "CurrentFirefoxFixtures.h"
#include "Fixtures.h"

#include "base/FolderEntries.h"
#include "base/Text.h"

using namespace velmora;
using namespace velmora::test;

namespace {

using Lines = std::vector<std::wstring>;
using Ids = std::vector<std::string>;

Ids Rows(const std::wstring &path, const std::string &sql) {
  TTestDb db(path);
  return db.Column(sql);
}

class CurrentFirefoxTest : public BrowserTest {
protected:
  CurrentFirefoxTest() { OwnPath(work); }
  ~CurrentFirefoxTest() override { ForgetPendingBelow(roaming); }

  // Profile0 "default" (Default=1 but unused, as after an upgrade),
  // Profile1 "default-release" (the install's default, Firefox 128),
  // Profile2 "work" kept outside the Firefox folder (IsRelative=0,
  // Firefox 115).
  void PlantProfiles() {
    const std::wstring firefoxFolder = roaming + L"\\Mozilla\\Firefox";
    WriteFileBytes(firefoxFolder + L"\\installs.ini",
                   "[308046B0AF4A39CB]\r\nDefault=Profiles/abcd.default-release\r\nLocked=1\r\n");
    WriteFileBytes(firefoxFolder + L"\\profiles.ini",
                   "[Install308046B0AF4A39CB]\r\nDefault=Profiles/abcd.default-release\r\n"
                   "Locked=1\r\n\r\n[Profile2]\r\nName=work\r\nIsRelative=0\r\nPath=" +
                       ToUtf8(Backslashed(work)) +
                       "\r\n\r\n[Profile1]\r\nName=default-release\r\nIsRelative=1\r\n"
                       "Path=Profiles/abcd.default-release\r\n\r\n[Profile0]\r\nName=default\r\n"
                       "IsRelative=1\r\nPath=Profiles/old.default\r\nDefault=1\r\n\r\n"
                       "[General]\r\nStartWithLastProfile=1\r\nVersion=2\r\n");
    WriteFileBytes(Backslashed(old) + L"\\times.json", "{}");

    for (const std::wstring &profile : {Backslashed(main), Backslashed(work)}) {
      const bool isMain = profile == Backslashed(main);
      MakeFolders(profile);
      MakeCurrentCookies(profile + L"\\cookies.sqlite", isMain ? 13 : 12,
                         isMain ? std::vector<std::string>{".example.com", "www.mozilla.org"}
                                : std::vector<std::string>{".work.example"});
      MakeCurrentPlaces(profile, isMain ? TFirefoxVersion::Esr128 : TFirefoxVersion::Esr115,
                        isMain ? "a" : "w");
      MakeCurrentFormHistory(
          profile + L"\\formhistory.sqlite",
          isMain ? std::vector<std::pair<std::string, std::string>>{{"searchbar-history", "q"},
                                                                    {"email", "me@a.example"}}
                 : std::vector<std::pair<std::string, std::string>>{{"username", "worker"}});
      WriteFileBytes(profile + L"\\sessionstore.jsonlz4", std::string(isMain ? 50 : 51, 's'));
      for (const wchar_t *kept :
           {L"\\logins.json", L"\\key4.db", L"\\prefs.js", L"\\permissions.sqlite",
            L"\\extensions\\addon@example.xpi", L"\\bookmarkbackups\\bookmarks.jsonlz4"})
        WriteFileBytes(profile + kept, "kept " + ToUtf8(kept));
    }
    WriteFileBytes(Backslashed(main) + L"\\sessionstore-backups\\recovery.jsonlz4",
                   std::string(60, 'r'));
    WriteFileBytes(Backslashed(mainLocal) + L"\\cache2\\entries\\0A1B", std::string(300, 'c'));
    WriteFileBytes(Backslashed(mainLocal) + L"\\startupCache\\startupCache.8.little",
                   std::string(70, 'u'));
    WriteFileBytes(Backslashed(mainLocal) + L"\\thumbnails\\t.png", std::string(80, 't'));
    WriteFileBytes(Backslashed(work) + L"\\cache2\\entries\\FF00", std::string(310, 'c'));
  }

  std::vector<std::string> KeptBytes() const {
    std::vector<std::string> bytes;
    for (const std::wstring &profile : {Backslashed(main), Backslashed(work)})
      for (const wchar_t *kept :
           {L"\\logins.json", L"\\key4.db", L"\\prefs.js", L"\\permissions.sqlite",
            L"\\extensions\\addon@example.xpi", L"\\bookmarkbackups\\bookmarks.jsonlz4"})
        bytes.push_back(ReadFileBytes(profile + kept));
    return bytes;
  }

  Lines LinesOf(int position) const {
    switch (position) {
    case 7:
      return {L"FireFox 3 Cookie: example.com", L"FireFox 3 Cookie: www.mozilla.org",
              L"FireFox 3 (work) Cookie: work.example"};
    case 8:
      return {L"FireFox 3 Download: https://dl-a.example/file.zip",
              L"FireFox 3 (work) Download: https://dl-w.example/file.zip"};
    case 9:
      return {main + L"\\sessionstore.jsonlz4   50 bytes",
              main + L"\\sessionstore-backups\\recovery.jsonlz4   60 bytes",
              work + L"\\sessionstore.jsonlz4   51 bytes"};
    case 10:
      return {L"FireFox 3 Form: searchbar-history", L"FireFox 3 Form: email",
              L"FireFox 3 (work) Form: username"};
    default:
      return {mainLocal + L"\\cache2\\entries\\0A1B   300 bytes",
              mainLocal + L"\\startupCache\\startupCache.8.little   70 bytes",
              mainLocal + L"\\thumbnails\\t.png   80 bytes",
              work + L"\\cache2\\entries\\FF00   310 bytes"};
    }
  }
  // Databases are one item each; files one each.
  static int ItemsOf(int position) {
    return position == 7 || position == 8 || position == 10 ? 2 : position == 9 ? 3 : 4;
  }

  void Clean() { scanner.CleanCollected(progress, note, bar); }

  const std::wstring main = roaming + L"\\Mozilla\\Firefox\\Profiles/abcd.default-release";
  const std::wstring mainLocal = local + L"\\Mozilla\\Firefox\\Profiles/abcd.default-release";
  const std::wstring old = roaming + L"\\Mozilla\\Firefox\\Profiles/old.default";
  const std::wstring work = scratch / L"FxWork";
};

std::wstring ItemLine(int items) {
  return L"Total: " + std::to_wstring(items) + L" items to be removed";
}

TEST_F(CurrentFirefoxTest, EveryProfileGivesItsLinesLeafByLeafAndAllTogether) {
  PlantProfiles();
  Lines all;
  int items = 0;
  for (int p = 7; p <= 11; ++p) {
    SCOPED_TRACE(p);
    Analyze(SelectionOf({p}));
    EXPECT_EQ(Details(), LinesOf(p));
    EXPECT_EQ(report.lines[1], ItemLine(ItemsOf(p)));
    const Lines more = LinesOf(p);
    all.insert(all.end(), more.begin(), more.end());
    items += ItemsOf(p);
  }
  Analyze(SelectionOf({7, 8, 9, 10, 11}));
  EXPECT_EQ(Details(), all);
  EXPECT_EQ(report.lines[1], ItemLine(items));
  EXPECT_EQ(scanner.TotalBytes, 50 + 60 + 51 + 300 + 70 + 80 + 310);
  EXPECT_EQ(scanner.FirefoxCookieDbs,
            (Lines{main + L"\\cookies.sqlite", work + L"\\cookies.sqlite"}));
  EXPECT_EQ(scanner.FirefoxHistoryDbs,
            (Lines{main + L"\\places.sqlite", work + L"\\places.sqlite"}));
  EXPECT_EQ(scanner.FirefoxCookieDb, main + L"\\cookies.sqlite");
}

TEST_F(CurrentFirefoxTest, CleaningRemovesExactlyTheListedTracesAndASecondAnalysisFindsNone) {
  PlantProfiles();
  const Ids bookmarks = Rows(Backslashed(main) + L"\\places.sqlite",
                             "select id || '|' || ifnull(fk, '') || '|' || title || '|' || guid "
                             "from moz_bookmarks order by id");
  const Ids keptPlaces = Rows(Backslashed(main) + L"\\places.sqlite",
                              "select id || url || title || guid || visit_count || "
                              "ifnull(last_visit_date, '') from moz_places where id in (2, 4)");
  const Ids keptIcons =
      Rows(Backslashed(main) + L"\\favicons.sqlite",
           "select id || icon_url || hex(data) from moz_icons where id in (2, 4)");
  const auto keptBytes = KeptBytes();
  Analyze(SelectionOf({7, 8, 9, 10, 11}));
  Clean();
  EXPECT_TRUE(scanner.CleaningProblems.empty());

  for (int p : {9, 11})
    for (const std::wstring &line : LinesOf(p))
      EXPECT_FALSE(FileExists(Backslashed(line.substr(0, line.find(L"   "))))) << line;
  EXPECT_EQ(KeptBytes(), keptBytes);
  for (const std::wstring &profile : {Backslashed(main), Backslashed(work)}) {
    SCOPED_TRACE(profile);
    EXPECT_EQ(Rows(profile + L"\\cookies.sqlite", "select count(*) from moz_cookies"), Ids{"0"});
    EXPECT_EQ(Rows(profile + L"\\formhistory.sqlite", "select count(*) from moz_formhistory"),
              Ids{"0"});
    EXPECT_EQ(Rows(profile + L"\\places.sqlite", "select id from moz_places order by id"),
              (Ids{"2", "4", "5"}));
    EXPECT_EQ(Rows(profile + L"\\places.sqlite", "select count(*) from moz_annos"), Ids{"0"});
    EXPECT_EQ(Rows(profile + L"\\favicons.sqlite", "select id from moz_icons order by id"),
              (Ids{"2", "4"}));
    EXPECT_EQ(Rows(profile + L"\\places.sqlite", "PRAGMA journal_mode"), Ids{"wal"});
  }
  EXPECT_EQ(Rows(Backslashed(main) + L"\\places.sqlite",
                 "select id || '|' || ifnull(fk, '') || '|' || title || '|' || guid from "
                 "moz_bookmarks order by id"),
            bookmarks);
  EXPECT_EQ(Rows(Backslashed(main) + L"\\places.sqlite",
                 "select id || url || title || guid || visit_count || "
                 "ifnull(last_visit_date, '') from moz_places where id in (2, 4)"),
            keptPlaces);
  EXPECT_EQ(Rows(Backslashed(main) + L"\\favicons.sqlite",
                 "select id || icon_url || hex(data) from moz_icons where id in (2, 4)"),
            keptIcons);
  // The unused profile's folder is as it was.
  EXPECT_EQ(ReadFileBytes(Backslashed(old) + L"\\times.json"), "{}");

  Analyze(SelectionOf({7, 8, 9, 10, 11}));
  EXPECT_TRUE(Details().empty());
  EXPECT_EQ(report.lines[1], ItemLine(0));
}

TEST_F(CurrentFirefoxTest, RunningFirefoxKeepsSessionsDatabasesAndFilesOfEveryProfile) {
  PlantProfiles();
  {
    // While it runs, the analysis lists only the cookies.
    TFakeProcess firefoxProcess(scratch, L"FireFox.exe");
    ASSERT_TRUE(firefoxProcess.Started());
    Analyze(SelectionOf({7, 8, 9, 10, 11}));
    EXPECT_EQ(Details(), LinesOf(7));
  }
  // Analysed while Firefox was closed, cleaned once it runs again.
  Analyze(SelectionOf({7, 8, 9, 10, 11}));
  const std::string session = ReadFileBytes(Backslashed(work) + L"\\sessionstore.jsonlz4");
  TFakeProcess firefoxProcess(scratch, L"FireFox.exe");
  ASSERT_TRUE(firefoxProcess.Started());
  Clean();
  EXPECT_TRUE(scanner.FirefoxRunning);
  // The absolute profile's files too, though its path names no Firefox folder.
  EXPECT_EQ(ReadFileBytes(Backslashed(work) + L"\\sessionstore.jsonlz4"), session);
  EXPECT_TRUE(FileExists(Backslashed(work) + L"\\cache2\\entries\\FF00"));
  EXPECT_TRUE(FileExists(Backslashed(mainLocal) + L"\\cache2\\entries\\0A1B"));
  for (const std::wstring &profile : {Backslashed(main), Backslashed(work)}) {
    EXPECT_EQ(Rows(profile + L"\\places.sqlite", "select count(*) from moz_places"), Ids{"5"});
    EXPECT_EQ(Rows(profile + L"\\places.sqlite", "select count(*) from moz_annos"), Ids{"3"});
    EXPECT_NE(Rows(profile + L"\\formhistory.sqlite", "select count(*) from moz_formhistory"),
              Ids{"0"});
  }
}

TEST_F(CurrentFirefoxTest, DatabasesFirefoxHoldsAreLeftAndTheUserIsTold) {
  PlantProfiles();
  Analyze(SelectionOf({8, 9, 10}));
  {
    // Firefox keeps its databases open in exclusive locking mode.
    TTestDb places(Backslashed(work) + L"\\places.sqlite"),
        forms(Backslashed(work) + L"\\formhistory.sqlite");
    for (TTestDb *db : {&places, &forms}) {
      db->Exec("PRAGMA locking_mode = EXCLUSIVE");
      db->Exec("BEGIN IMMEDIATE");
    }
    places.Exec("update moz_meta set value = value where 0");
    forms.Exec("update moz_sources set source = source where 0");
    Clean();
    for (TTestDb *db : {&places, &forms})
      db->Exec("COMMIT");
  }
  EXPECT_EQ(Rows(Backslashed(work) + L"\\places.sqlite", "select count(*) from moz_annos"),
            Ids{"3"});
  EXPECT_EQ(
      Rows(Backslashed(work) + L"\\formhistory.sqlite", "select count(*) from moz_formhistory"),
      Ids{"1"});
  // The default profile's databases are cleaned all the same.
  EXPECT_EQ(Rows(Backslashed(main) + L"\\places.sqlite", "select count(*) from moz_annos"),
            Ids{"0"});
  const std::wstring message = scanner.CleaningProblemsMessage(
      [](const std::wstring &, const std::wstring &fallback) { return fallback; });
  EXPECT_EQ(
      message,
      L"Some items could not be cleaned:\r\n"
      L"Firefox history: the database could not be cleaned. Close Firefox and try again.\r\n"
      L"Firefox download history: the database could not be cleaned. Close Firefox and try "
      L"again.\r\n"
      L"Firefox saved forms: the database could not be cleaned. Close Firefox and try again.");
}

TEST(FirefoxProfilesTest, EveryListedProfileWithItsDefault) {
  TScratchFolder scratch(L"firefox-profiles");
  const std::wstring firefox = scratch / L"Firefox", local = scratch / L"Local";
  const std::wstring absolute = scratch / L"Elsewhere";
  WriteFileBytes(absolute + L"\\prefs.js", "x");
  struct TCase {
    const char *name;
    std::string profilesIni, installsIni;
    Lines expected; // name|folder|local|default
  } const cases[] = {
      {"install default in installs.ini",
       "[Profile0]\r\nName=a\r\nPath=Profiles/a\r\nDefault=1\r\n[Profile1]\r\nName=b\r\n"
       "Path=Profiles/b\r\n",
       "[X]\r\nDefault=Profiles\\b\r\n",
       {L"a|" + firefox + L"\\Profiles/a|" + local + L"\\Profiles/a|0",
        L"b|" + firefox + L"\\Profiles/b|" + local + L"\\Profiles/b|1"}},
      {"Default=1 without an install",
       "[Profile0]\r\nName=a\r\nPath=Profiles/a\r\n[Profile1]\r\nName=b\r\nPath=Profiles/b\r\n"
       "Default=1\r\n",
       "",
       {L"a|" + firefox + L"\\Profiles/a|" + local + L"\\Profiles/a|0",
        L"b|" + firefox + L"\\Profiles/b|" + local + L"\\Profiles/b|1"}},
      {"neither: Profile0, and an absolute profile is its own local folder",
       "[Profile0]\r\nName=a\r\nPath=Profiles/a\r\n[Profile1]\r\nName=c\r\nIsRelative=0\r\nPath=" +
           ToUtf8(absolute) + "\r\n",
       "",
       {L"a|" + firefox + L"\\Profiles/a|" + local + L"\\Profiles/a|1",
        L"c|" + absolute + L"|" + absolute + L"|0"}},
      {"unsafe paths are skipped, the others kept",
       "[Profile0]\r\nName=up\r\nPath=Profiles/../../x\r\n[Profile1]\r\nName=rel0\r\n"
       "IsRelative=0\r\nPath=Profiles/b\r\n[Profile2]\r\nName=abs1\r\nPath=" +
           ToUtf8(absolute) + "\r\n[Profile3]\r\nName=ok\r\nPath=Profiles/ok\r\n",
       "",
       {L"ok|" + firefox + L"\\Profiles/ok|" + local + L"\\Profiles/ok|0"}},
      {"reading stops at the first number missing; one folder counts once",
       "[Profile0]\r\nName=a\r\nPath=Profiles/a\r\n[Profile1]\r\nName=again\r\nPath=Profiles\\A\r\n"
       "[Profile3]\r\nName=late\r\nPath=Profiles/late\r\n",
       "",
       {L"a|" + firefox + L"\\Profiles/a|" + local + L"\\Profiles/a|1"}},
      {"no name: the folder's",
       "[Profile0]\r\nPath=Profiles/x\r\n[Profile1]\r\nPath=Profiles/y\r\n[InstallZ]\r\n"
       "Default=Profiles/x\r\n",
       "",
       {L"x|" + firefox + L"\\Profiles/x|" + local + L"\\Profiles/x|1",
        L"y|" + firefox + L"\\Profiles/y|" + local + L"\\Profiles/y|0"}},
  };
  for (const TCase &c : cases) {
    SCOPED_TRACE(c.name);
    WriteFileBytes(firefox + L"\\profiles.ini", c.profilesIni);
    ::DeleteFileW((firefox + L"\\installs.ini").c_str());
    if (!c.installsIni.empty())
      WriteFileBytes(firefox + L"\\installs.ini", c.installsIni);
    Lines actual;
    for (const TFirefoxProfile &p : FirefoxProfiles(firefox, local))
      actual.push_back(p.Name + L"|" + p.Folder + L"|" + p.LocalFolder + L"|" +
                       (p.IsDefault ? L"1" : L"0"));
    EXPECT_EQ(actual, c.expected);
  }
}

} // namespace
