// The cleaning run: files, registry values and keys, cookie cache entries
// and browser database rows, as the last analysis recorded them.
#include "BrowserProfiles.h"

#include "CookieCacheEntry.h"
#include "Fixtures.h"
#include "FolderLink.h"

#include "base/Error.h"
#include "base/Handles.h"
#include "base/RegistryKey.h"
#include "base/Text.h"
#include "privacy/ProcessCheck.h"
#include "system/Routines.h"

#include <wininet.h>

#include <algorithm>

using namespace velmora;
using namespace velmora::test;

namespace {

using Lines = std::vector<std::wstring>;
using Ids = std::vector<std::string>;

bool IsPendingDeletion(const std::wstring &path) {
  for (const auto &[source, target] : PendingRestartOperations())
    if (source.ends_with(path) && target.empty())
      return true;
  return false;
}

Lines Joined(Lines a, const Lines &b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

bool CacheEntryExists(const std::wstring &url) {
  DWORD size = 0;
  ::GetUrlCacheEntryInfoW(url.c_str(), nullptr, &size);
  return ::GetLastError() == ERROR_INSUFFICIENT_BUFFER;
}

Ids Column(const std::wstring &path, const std::string &sql) {
  TTestDb db(path);
  return db.Column(sql);
}

const std::wstring kAllBrowserLeaves =
    SelectionOf({7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23});

class CleaningTest : public BrowserTest {
protected:
  ~CleaningTest() override { ForgetPendingBelow(roaming); }
  void Clean() { scanner.CleanCollected(progress, note, bar); }
  void PlantAll() {
    PlantFirefox();
    PlantChrome();
    PlantOpera();
    PlantSafari();
  }
  std::wstring Fx(const wchar_t *name) const { return Backslashed(firefox) + name; }
  std::wstring Fl(const wchar_t *name) const { return Backslashed(firefoxLocal) + name; }
};

TEST_F(CleaningTest, RemovesExactlyWhatTheAnalysisRecorded) {
  PlantAll();
  TCookieCacheEntry cookie(L"Cookie:velmora@cleaning.example/", 70);
  ASSERT_TRUE(cookie.Ok());
  std::wstring selection = kAllBrowserLeaves;
  selection[1] = L'1'; // Internet Explorer's cookie entries
  Analyze(selection);
  ASSERT_EQ(scanner.IeCookieUrls, Lines{L"Cookie:velmora@cleaning.example/"});
  // Not recorded: must survive the cleaning.
  WriteFileBytes(chrome + L"\\Cache\\arrived-later", "x");
  WriteFileBytes(Backslashed(firefox) + L"\\prefs.js", "x");

  Clean();

  for (const std::wstring &file : PlantedFileTargets())
    EXPECT_FALSE(PathExists(Backslashed(file))) << file;
  EXPECT_TRUE(PathExists(chrome + L"\\Cache\\arrived-later"));
  EXPECT_TRUE(PathExists(Backslashed(firefox) + L"\\prefs.js"));
  EXPECT_FALSE(CacheEntryExists(L"Cookie:velmora@cleaning.example/"));
  EXPECT_TRUE(scanner.RestartMarked.empty());
  // Database rows: every cookie; history but what is bookmarked; downloads; forms.
  EXPECT_EQ(Column(Fx(L"\\cookies.sqlite"), "select count(*) from moz_cookies"), Ids{"0"});
  EXPECT_EQ(Column(Fx(L"\\places.sqlite"), "select id from moz_places order by id"),
            (Ids{"2", "4", "5"}));
  EXPECT_EQ(Column(chrome + L"\\Cookies", "select count(*) from cookies"), Ids{"0"});
  EXPECT_EQ(Column(chrome + L"\\History", "select count(*) from downloads"), Ids{"0"});
  // Kept: the bookmarks and url 4, which the Bookmarks text quotes as a name.
  EXPECT_EQ(Column(chrome + L"\\History", "select id from urls order by id"), (Ids{"1", "2", "4"}));
  EXPECT_EQ(Column(chrome + L"\\Web Data", "select count(*) from autofill"), Ids{"0"});
  EXPECT_TRUE(PathExists(chrome + L"\\Bookmarks"));
  EXPECT_EQ(bar.maximum, 100);
  EXPECT_EQ(bar.position, 100);

  ::DeleteFileW((chrome + L"\\Cache\\arrived-later").c_str());
  Analyze(selection);
  EXPECT_EQ(report.lines, ReportFrame(L"0", L"0 Byte"));
}

TEST_F(CleaningTest, RunningFirefoxKeepsItsFilesAndHistoryButNotItsCookies) {
  PlantFirefox();
  Analyze(SelectionOf({7, 8, 9, 10, 11}));
  TFakeProcess firefoxProcess(scratch, L"FireFox.exe");
  ASSERT_TRUE(firefoxProcess.Started());
  scanner.ShowFirefoxNote = true;
  Clean();
  EXPECT_TRUE(scanner.FirefoxRunning);
  EXPECT_TRUE(note.visible);
  EXPECT_EQ(note.caption, L"Note: Cannot erase privacy of Firefox while it is running.");
  // The old-format files go when nothing holds them open.
  for (const wchar_t *gone :
       {L"\\cookies.txt", L"\\downloads.rdf", L"\\history.dat", L"\\formhistory.dat"})
    EXPECT_FALSE(PathExists(Fx(gone))) << gone;
  for (const std::wstring &kept :
       {Fx(L"\\downloads.sqlite"), Fx(L"\\formhistory.sqlite"), Fl(L"\\Cache\\_CACHE_001_"),
        Fl(L"\\OfflineCache\\index.sqlite")})
    EXPECT_TRUE(PathExists(kept)) << kept;
  EXPECT_EQ(Column(Fx(L"\\cookies.sqlite"), "select count(*) from moz_cookies"), Ids{"0"});
  EXPECT_EQ(Column(Fx(L"\\places.sqlite"), "select count(*) from moz_places"), Ids{"6"});
}

TEST_F(CleaningTest, RunningChromeKeepsItsFilesAndDatabasesButNotItsCookies) {
  PlantChrome();
  PlantOpera();
  Analyze(SelectionOf({12, 13, 14, 15, 16, 17}));
  TFakeProcess chromeProcess(scratch, L"chrome.exe");
  ASSERT_TRUE(chromeProcess.Started());
  Clean();
  EXPECT_TRUE(scanner.ChromeRunning);
  for (const wchar_t *kept :
       {L"\\Archived History", L"\\History Index 2009-05", L"\\Cache\\data_0"})
    EXPECT_TRUE(PathExists(chrome + kept)) << kept;
  EXPECT_FALSE(PathExists(opera + L"\\profile\\cookies4.dat")); // other browsers go on
  EXPECT_EQ(Column(chrome + L"\\Cookies", "select count(*) from cookies"), Ids{"0"});
  EXPECT_EQ(Column(chrome + L"\\History", "select count(*) from downloads"), Ids{"1"});
  EXPECT_EQ(Column(chrome + L"\\History", "select count(*) from urls"), Ids{"6"});
  EXPECT_EQ(Column(chrome + L"\\Web Data", "select count(*) from autofill"), Ids{"2"});
}

TEST_F(CleaningTest, LockedFileIsMarkedForRestartAndReportedSoNext) {
  PlantFirefox();
  PlantOpera();
  Analyze(SelectionOf({7, 17}));
  const std::wstring locked = opera + L"\\profile\\cookies4.dat";
  UniqueFile holdOpera(
      ::CreateFileW(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  UniqueFile holdFirefox(::CreateFileW(Fx(L"\\cookies.txt").c_str(), GENERIC_READ, 0, nullptr,
                                       OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(holdOpera.Valid() && holdFirefox.Valid());

  Clean();
  // Firefox's cookies.txt in use is passed over; the other file is scheduled.
  EXPECT_EQ(scanner.RestartMarked, Lines{locked});
  EXPECT_TRUE(IsPendingDeletion(locked));
  EXPECT_FALSE(IsPendingDeletion(Fx(L"\\cookies.txt")));
  EXPECT_TRUE(PathExists(locked));
  EXPECT_TRUE(PathExists(Fx(L"\\cookies.txt")));

  holdFirefox.Reset();
  Analyze(SelectionOf({7, 17}));
  EXPECT_EQ(Details(),
            (Lines{firefox + L"\\cookies.txt   10 bytes",
                   L"Marked for deletion when you restart computer: " + locked + L"   11 bytes"}));
  EXPECT_EQ(report.lines[1], L"Total: 1 items to be removed");
}

TEST_F(CleaningTest, OnlyPlainFilesAreDeleted) {
  PlantOpera();
  Analyze(SelectionOf({17, 18}));
  // Since the analysis, one file became a folder and one a link to a folder.
  const std::wstring becameFolder = opera + L"\\profile\\cookies4.dat";
  const std::wstring becameLink = opera + L"\\profile\\global.dat";
  const std::wstring elsewhere = scratch / L"elsewhere";
  WriteFileBytes(elsewhere + L"\\keep.txt", "keep");
  ::DeleteFileW(becameFolder.c_str());
  ::DeleteFileW(becameLink.c_str());
  WriteFileBytes(becameFolder + L"\\inside.txt", "inside");
  ASSERT_TRUE(MakeFolderLink(becameLink, elsewhere));

  Clean();
  EXPECT_TRUE(PathExists(becameFolder + L"\\inside.txt"));
  EXPECT_TRUE(PathExists(elsewhere + L"\\keep.txt"));
  EXPECT_TRUE(PathExists(becameLink));
  EXPECT_TRUE(scanner.RestartMarked.empty());
  EXPECT_FALSE(PathExists(opera + L"\\profile\\opera.dir")); // the plain ones go
  RemoveFolderLink(becameLink);
}

TEST_F(CleaningTest, RegistryTargetsByKind) {
  const std::wstring root = L"Software\\VelmoraCleaningTest";
  OwnKey(root);
  RegWriteString(root + L"\\Values", L"gone", L"1");
  RegWriteString(root + L"\\Values", L"", L"default");
  RegWriteString(root + L"\\Values", L"kept", L"1");
  RegWriteString(root, L"kept", L"1");
  RegWriteString(root + L"\\Tree\\Sub\\Deeper", L"v", L"1");
  RegWriteString(root + L"\\Guarded", L"v", L"1");
  const std::wstring hk = L"HKEY_CURRENT_USER\\" + root;
  scanner.Targets = {
      hk + L"\\Values/gone",
      hk + L"\\Values/",      // the default value
      hk + L"\\Missing/kept", // a key that is gone: no other key's value is touched
      hk + L"\\Tree",
      L"Typed URLs",
      // Cookie host lines name hosts, whatever characters the host holds.
      L"Google Chrome Cookie: evil\\" + root + L"\\Guarded",
      L"FireFox 3 Cookie: evil\\" + root + L"\\Guarded/v",
  };
  scanner.DetailLines = scanner.Targets;
  Clean();
  EXPECT_FALSE(RegValueExists(root + L"\\Values", L"gone"));
  EXPECT_FALSE(RegValueExists(root + L"\\Values", L""));
  EXPECT_TRUE(RegValueExists(root + L"\\Values", L"kept"));
  EXPECT_TRUE(RegValueExists(root, L"kept"));
  EXPECT_FALSE(RegKeyExists(root + L"\\Tree"));
  EXPECT_TRUE(RegValueExists(root + L"\\Guarded", L"v"));
  EXPECT_EQ(progress.captions.back(), L"Guarded/v");
}

TEST_F(CleaningTest, LeadInThenProgressInProportionToTheTargets) {
  scanner.Targets.assign(150, L"display only");
  scanner.DetailLines = scanner.Targets;
  std::vector<int> positions;
  onPump = [&] { positions.push_back(bar.position); };
  Clean();
  // The lead-in: 100 steps of one on a bar of targets + 100.
  ASSERT_GE(positions.size(), 250u);
  for (int i = 0; i < 100; ++i)
    ASSERT_EQ(positions[i], i + 1);
  // Then one pump per target: i * 150 / 249 + 100 from the third on.
  EXPECT_EQ(positions[100], 100);
  EXPECT_EQ(positions[101], 100);
  EXPECT_EQ(positions[102], 101);
  EXPECT_EQ(positions[249], 189);
  EXPECT_EQ(bar.maximum, 100);
  EXPECT_EQ(bar.position, 100);
}

TEST_F(CleaningTest, AfterACancelledAnalysisOnlyCookieEntriesAndDatabasesAreCleaned) {
  PlantFirefox();
  PlantOpera();
  TCookieCacheEntry cookie(L"Cookie:velmora@cancelled.example/", 30);
  ASSERT_TRUE(cookie.Ok());
  Analyze(SelectionOf({2, 7, 9, 17}));
  scanner.CancelScan();
  Clean();
  EXPECT_TRUE(PathExists(opera + L"\\profile\\cookies4.dat"));
  EXPECT_TRUE(PathExists(Fx(L"\\cookies.txt")));
  EXPECT_FALSE(CacheEntryExists(L"Cookie:velmora@cancelled.example/"));
  EXPECT_EQ(Column(Fx(L"\\cookies.sqlite"), "select count(*) from moz_cookies"), Ids{"0"});
  EXPECT_EQ(Column(Fx(L"\\places.sqlite"), "select id from moz_places order by id"),
            (Ids{"2", "4", "5"}));
  EXPECT_EQ(bar.position, 100);
}

// Waits (at most 10 s) until no COM surrogate process (dllhost.exe) runs.
void WaitForSurrogatesToEnd() {
  for (int i = 0; i < 100 && IsProcessRunning(L"dllhost.exe"); ++i)
    ::Sleep(100);
}

// The URL history object made impossible to create: its class points at a
// library that does not exist (the prefix's registration is put back after).
// Wine then also starts a surrogate process (dllhost.exe) for the class,
// which looks the library up once it runs; it is let fail and end before the
// registration comes back, or it would load the real library and serve the
// class to a later test.
class TBrokenUrlHistory {
public:
  TBrokenUrlHistory() : key_(HKEY_LOCAL_MACHINE, kServerKey, KEY_QUERY_VALUE | KEY_SET_VALUE) {
    if (!key_.Valid())
      return;
    saved_ = key_.ReadString(L"");
    savedType_ = key_.ValueType(L"");
    Set(REG_SZ, L"C:\\velmora-missing\\none.dll");
  }
  ~TBrokenUrlHistory() {
    if (!key_.Valid())
      return;
    WaitForSurrogatesToEnd();
    Set(savedType_, saved_);
  }
  bool Valid() const { return key_.Valid() && !saved_.empty(); }

private:
  void Set(DWORD type, const std::wstring &server) {
    ::RegSetValueExW(key_.Get(), nullptr, 0, type, reinterpret_cast<const BYTE *>(server.c_str()),
                     static_cast<DWORD>((server.size() + 1) * sizeof(wchar_t)));
  }
  static constexpr wchar_t kServerKey[] =
      L"Software\\Classes\\CLSID\\{3C374A40-BAE4-11CF-BF7D-00AA006946EE}\\InprocServer32";
  TRegistryKey key_;
  std::wstring saved_;
  DWORD savedType_ = REG_SZ;
};

TEST_F(CleaningTest, UrlHistoryFailureStillCleansTheBrowserDatabases) {
  PlantFirefox();
  PlantChrome();
  Analyze(SelectionOf({3, 7, 9, 12, 13, 14, 15}));
  ASSERT_TRUE(scanner.IeHistorySelected);
  TBrokenUrlHistory broken;
  ASSERT_TRUE(broken.Valid());
  ASSERT_THROW(scanner.ClearIeHistory(), EAppError);
  Clean();
  EXPECT_EQ(Column(Fx(L"\\cookies.sqlite"), "select count(*) from moz_cookies"), Ids{"0"});
  EXPECT_EQ(Column(Fx(L"\\places.sqlite"), "select count(*) from moz_places"), Ids{"3"});
  EXPECT_EQ(Column(chrome + L"\\Cookies", "select count(*) from cookies"), Ids{"0"});
  EXPECT_EQ(Column(chrome + L"\\History", "select count(*) from urls"), Ids{"3"});
  EXPECT_EQ(Column(chrome + L"\\Web Data", "select count(*) from autofill"), Ids{"0"});
  EXPECT_EQ(bar.position, 100);
}

// Runs a copy of the probe program from a folder that holds no Drevka.dll.
TEST_F(CleaningTest, WithoutTheLibraryAnalysisAndCleaningStillFinish) {
  PlantFirefox();
  PlantChrome();
  Lines fileLines, files;
  int64_t bytes = 0;
  for (int p = 7; p <= 16; ++p)
    for (const std::wstring &line : LinesOf(p))
      if (line.find(L" Cookie: ") == std::wstring::npos) {
        fileLines.push_back(line);
        files.push_back(Backslashed(line.substr(0, line.find(L"   "))));
        bytes += static_cast<int64_t>(ReadFileBytes(files.back()).size());
      }
  const std::wstring probe = scratch / L"probe.exe";
  ASSERT_TRUE(
      ::CopyFileW((ProgramFolder() + L"privacy_drevka_probe.exe").c_str(), probe.c_str(), FALSE));
  ASSERT_FALSE(PathExists(scratch / L"Drevka.dll"));
  const std::wstring output = scratch / L"probe.txt";
  std::wstring command = L"\"" + probe + L"\" " +
                         SelectionOf({7, 8, 9, 10, 11, 12, 13, 14, 15, 16}) + L" \"" + output +
                         L"\" \"" + (scratch / L"none.ini") + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  ASSERT_TRUE(::CreateProcessW(probe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               scratch.Path().c_str(), &si, &pi));
  UniqueKernelHandle process(pi.hProcess);
  ::CloseHandle(pi.hThread);
  ASSERT_EQ(::WaitForSingleObject(process.Get(), 120000), WAIT_OBJECT_0);
  DWORD exitCode = 1;
  ::GetExitCodeProcess(process.Get(), &exitCode);
  ASSERT_EQ(exitCode, 0u);

  const std::wstring text = FromUtf8(ReadFileBytes(output));
  Lines lines;
  for (size_t start = 0, end; (end = text.find(L'\n', start)) != std::wstring::npos;
       start = end + 1)
    lines.push_back(text.substr(start, end - start));
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0], L"library:absent");
  // No cookie hosts are listed (and none counted); every file trace is.
  const auto cleaned = std::find(lines.begin(), lines.end(), L"cleaned");
  EXPECT_EQ(Lines(lines.begin() + 1, cleaned),
            Joined(ReportFrame(std::to_wstring(files.size()), SizeTextNoBytes(bytes)), fileLines));
  // The files went; no database row did.
  for (const std::wstring &file : files)
    EXPECT_FALSE(PathExists(file)) << file;
  EXPECT_EQ(Column(Fx(L"\\cookies.sqlite"), "select count(*) from moz_cookies"), Ids{"2"});
  EXPECT_EQ(Column(Fx(L"\\places.sqlite"), "select count(*) from moz_places"), Ids{"6"});
  EXPECT_EQ(Column(chrome + L"\\Cookies", "select count(*) from cookies"), Ids{"2"});
  EXPECT_EQ(Column(chrome + L"\\History", "select count(*) from downloads"), Ids{"1"});
  ASSERT_NE(cleaned, lines.end());
  EXPECT_EQ(Lines(cleaned + 1, lines.end()), ReportFrame(L"0", L"0 Byte"));
}

// ---- Honest results: what a cleaning could not do is told, not hidden ----

// The fallback texts of the message (no language pack).
std::wstring Fallback(const std::wstring &, const std::wstring &fallback) { return fallback; }

class TRecordingNotice : public ICleaningNotice {
public:
  void ShowCleaningProblems(const std::wstring &message) override { shown.push_back(message); }
  Lines shown;
};

TEST_F(CleaningTest, RestartMarkedOnlyWhenTheSchedulingSucceeded) {
  // Windows grants a delete at restart to administrators only; Wine to
  // anyone, so the scheduler is put in.
  struct TCase {
    const char *name;
    bool granted;
  };
  for (const TCase c : {TCase{"refused", false}, TCase{"granted", true}}) {
    SCOPED_TRACE(c.name);
    PlantOpera();
    Analyze(SelectionOf({17}));
    const std::wstring locked = opera + L"\\profile\\cookies4.dat";
    Lines asked;
    scanner.ScheduleDeleteAtRestart = [&](const std::wstring &path) {
      asked.push_back(path);
      return c.granted;
    };
    {
      UniqueFile hold(
          ::CreateFileW(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
      ASSERT_TRUE(hold.Valid());
      Clean();
    }
    EXPECT_EQ(asked, Lines{locked});
    EXPECT_TRUE(PathExists(locked));
    TRecordingNotice notice;
    scanner.ReportCleaningProblems(notice, Fallback);
    Analyze(SelectionOf({17}));
    if (c.granted) {
      EXPECT_EQ(scanner.RestartMarked, Lines{locked});
      EXPECT_TRUE(notice.shown.empty());
      EXPECT_EQ(Details(), (Lines{L"Marked for deletion when you restart computer: " + locked +
                                  L"   11 bytes"}));
    } else {
      // Not listed as marked: the next analysis shows it as a trace again,
      // and the user was told.
      EXPECT_TRUE(scanner.RestartMarked.empty());
      EXPECT_EQ(notice.shown,
                Lines{L"Some items could not be cleaned:\r\n" + locked +
                      L": could not be deleted, nor marked for deletion when you restart "
                      L"computer."});
      EXPECT_EQ(Details(), (Lines{locked + L"   11 bytes"}));
    }
  }
}

TEST_F(CleaningTest, UrlHistoryFailureIsToldAfterTheOtherSteps) {
  PlantFirefox();
  PlantOpera();
  Analyze(SelectionOf({3, 7, 9, 17}));
  ASSERT_TRUE(scanner.IeHistorySelected);
  TBrokenUrlHistory broken;
  ASSERT_TRUE(broken.Valid());
  Clean();
  // Every other step ran ...
  EXPECT_FALSE(PathExists(opera + L"\\profile\\cookies4.dat"));
  EXPECT_EQ(Column(Fx(L"\\cookies.sqlite"), "select count(*) from moz_cookies"), Ids{"0"});
  EXPECT_EQ(Column(Fx(L"\\places.sqlite"), "select count(*) from moz_places"), Ids{"3"});
  // ... and one message names what was left, in the words of the pack.
  TRecordingNotice notice;
  scanner.ReportCleaningProblems(
      notice, [](const std::wstring &key, const std::wstring &) { return L"<" + key + L">"; });
  EXPECT_EQ(notice.shown, Lines{L"<CleanFailTitle>\r\n<CleanFailIeHistory>"});
}

TEST_F(CleaningTest, FailedRepairsAreTold) {
  // Chrome's History is damaged and Firefox's places.sqlite is held by a
  // writer (the browser busy): both repairs return false and are named.
  PlantFirefox();
  PlantChrome();
  Analyze(SelectionOf({9, 13, 14}));
  WriteFileBytes(chrome + L"\\History", "not a database at all, but long enough to look like one");
  TTestDb firefoxWriting(Fx(L"\\places.sqlite"));
  firefoxWriting.Exec("BEGIN EXCLUSIVE");
  Clean();
  firefoxWriting.Exec("ROLLBACK");
  EXPECT_EQ(scanner.CleaningProblems.size(), 3u);
  TRecordingNotice notice;
  scanner.ReportCleaningProblems(notice, Fallback);
  ASSERT_EQ(notice.shown.size(), 1u);
  for (const wchar_t *part :
       {L"Firefox history: ", L"Google Chrome download history: ", L"Google Chrome history: "})
    EXPECT_NE(notice.shown[0].find(part), std::wstring::npos) << ToUtf8(part);
}

TEST_F(CleaningTest, UnwritableProgramFolderStillCleansFirefoxHistory) {
  // The log beside the program is held by another program (as a folder
  // under Program Files refuses it): the history is cleaned all the same.
  PlantFirefox();
  Analyze(SelectionOf({9}));
  {
    UniqueFile held(::CreateFileW(RepairLogPath().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(held.Valid());
    Clean();
  }
  EXPECT_EQ(Column(Fx(L"\\places.sqlite"), "select count(*) from moz_places"), Ids{"3"});
  EXPECT_TRUE(scanner.CleaningProblems.empty());
}

TEST_F(CleaningTest, ServerRootedTargetIsDeletedAsAFile) {
  // A roaming folder redirected to a server gives "\\server\share\..."
  // targets; the same rule holds for "\\?\C:\..." which the prefix can show.
  const std::wstring path = scratch / L"redirected\\history.txt";
  WriteFileBytes(path, "visited");
  scanner.Targets = {L"\\\\?\\" + path};
  scanner.DetailLines = scanner.Targets;
  Clean();
  EXPECT_FALSE(PathExists(path));
  EXPECT_TRUE(scanner.CleaningProblems.empty());
}

TEST_F(CleaningTest, FileBehindAJunctionMadeAfterTheAnalysisIsLeft) {
  // A folder of the recorded path became a junction to another folder
  // holding a file of the same name: the final path differs, nothing goes.
  PlantOpera();
  Analyze(SelectionOf({17}));
  const std::wstring folder = opera + L"\\profile";
  const std::wstring elsewhere = scratch / L"elsewhere";
  WriteFileBytes(elsewhere + L"\\cookies4.dat", "someone else's");
  ASSERT_TRUE(::MoveFileW(folder.c_str(), (folder + L"-moved").c_str()));
  OwnPath(folder + L"-moved");
  ASSERT_TRUE(MakeFolderLink(folder, elsewhere));
  Clean();
  EXPECT_TRUE(PathExists(elsewhere + L"\\cookies4.dat"));
  RemoveFolderLink(folder);
}

TEST(FirefoxProfilesIniTest, PathTakenAsProfilesIniIntends) {
  const TScratchFolder scratch(L"profiles-ini");
  const std::wstring firefox = scratch / L"Firefox";
  const std::wstring profile = scratch / L"elsewhere\\p.default";
  const std::wstring empty = scratch / L"empty";
  WriteFileBytes(profile + L"\\prefs.js", "user_pref();");
  ::CreateDirectoryW(empty.c_str(), nullptr);
  struct TCase {
    std::string iniLines;
    std::wstring expected;
  };
  const std::string absolute = ToUtf8(profile);
  const TCase kCases[] = {
      {"IsRelative=1\r\nPath=Profiles/t1.default", firefox + L"\\Profiles/t1.default"},
      {"Path=Profiles/t1.default", firefox + L"\\Profiles/t1.default"},
      {"IsRelative=0\r\nPath=" + absolute, profile},
      {"IsRelative=0\r\nPath=" + ToUtf8(empty), L""},             // no profile there
      {"IsRelative=0\r\nPath=Profiles/t1.default", L""},          // not absolute
      {"IsRelative=1\r\nPath=..\\..\\elsewhere\\p.default", L""}, // climbs out
      {"IsRelative=1\r\nPath=Profiles/../../..", L""},
      {"IsRelative=0\r\nPath=" + absolute + "\\..\\p.default", L""},
      {"IsRelative=1\r\nPath=" + absolute, L""}, // a drive where a relative path belongs
      {"IsRelative=1\r\nPath=\\\\server\\share\\p", L""},
      {"IsRelative=1\r\nPath=\\Windows", L""},
  };
  for (const TCase &c : kCases) {
    SCOPED_TRACE(c.iniLines);
    WriteFileBytes(firefox + L"\\profiles.ini",
                   "[Profile0]\r\nName=default\r\n" + c.iniLines + "\r\n");
    EXPECT_EQ(FirefoxProfileFolder(firefox), c.expected);
  }
}

TEST_F(CleaningTest, ProfilePathClimbingOutRecordsNothing) {
  // A Path with ".." naming a folder that holds the file names Firefox's
  // collector lists: nothing of it is recorded, so nothing there is touched.
  const std::wstring victim = roaming + L"\\Victim";
  OwnPath(victim);
  WriteFileBytes(victim + L"\\cookies.txt", "not firefox's");
  WriteFileBytes(victim + L"\\history.dat", "not firefox's");
  WriteFileBytes(roaming + L"\\Mozilla\\Firefox\\profiles.ini",
                 "[Profile0]\r\nIsRelative=1\r\nPath=..\\..\\Victim\r\n");
  Analyze(SelectionOf({7, 8, 9, 10, 11}));
  EXPECT_TRUE(Details().empty());
  Clean();
  EXPECT_TRUE(PathExists(victim + L"\\cookies.txt"));
}

TEST_F(CleaningTest, LibraryPlantedInTheCurrentFolderIsNeverLoaded) {
  // The probe runs from a folder without Drevka.dll, with its current
  // folder holding a "Drevka.dll" whose loading leaves a marker file.
  PlantFirefox();
  const std::wstring programFolder = scratch / L"program";
  const std::wstring current = scratch / L"current";
  ::CreateDirectoryW(programFolder.c_str(), nullptr);
  ::CreateDirectoryW(current.c_str(), nullptr);
  const std::wstring probe = programFolder + L"\\probe.exe";
  ASSERT_TRUE(
      ::CopyFileW((ProgramFolder() + L"privacy_drevka_probe.exe").c_str(), probe.c_str(), FALSE));
  ASSERT_TRUE(::CopyFileW((ProgramFolder() + L"privacy_planted_library.dll").c_str(),
                          (current + L"\\Drevka.dll").c_str(), FALSE));
  const std::wstring marker = current + L"\\planted-library-loaded.txt";
  const std::wstring output = scratch / L"probe.txt";
  std::wstring command = L"\"" + probe + L"\" " + SelectionOf({7, 9}) + L" \"" + output + L"\" \"" +
                         (scratch / L"none.ini") + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  ASSERT_TRUE(::CreateProcessW(probe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               current.c_str(), &si, &pi));
  UniqueKernelHandle process(pi.hProcess);
  ::CloseHandle(pi.hThread);
  ASSERT_EQ(::WaitForSingleObject(process.Get(), 120000), WAIT_OBJECT_0);
  EXPECT_TRUE(PathExists(output));
  EXPECT_FALSE(PathExists(marker));
  // The marker library itself works: loaded by path, it leaves its marker
  // in the current folder (here this test's own).
  const std::wstring ownMarker = L"planted-library-loaded.txt";
  ::DeleteFileW(ownMarker.c_str());
  {
    UniqueModule planted(::LoadLibraryW((current + L"\\Drevka.dll").c_str()));
    ASSERT_TRUE(planted.Valid());
  }
  EXPECT_TRUE(PathExists(ownMarker));
  ::DeleteFileW(ownMarker.c_str());
}

} // namespace
