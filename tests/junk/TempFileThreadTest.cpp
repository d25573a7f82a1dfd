// The junk-file worker on a real thread, against files planted where the
// system keeps them in the Wine prefix: the Internet cache, the temporary
// folders, the Windows folder and the wbem logs.
#include "base/Handles.h"
#include "base/Text.h"
#include "junk/RemovalThread.h"
#include "system/Routines.h"
#include "tests/junk/JunkTestSupport.h"

#include <gtest/gtest.h>

#include <set>

using namespace velmora;
using namespace velmora::test;

namespace {

const wchar_t kSeparator[] = L"--------------------------------------------------------";

std::wstring CacheFolder() {
  return IncludeTrailingBackslash(TAppFrame().FolderOfKind(fkInternetCache)) + L"vtest-junk\\";
}

// The entries of list that lie under folder.
std::set<std::wstring> Under(const std::vector<std::wstring> &list, const std::wstring &folder) {
  std::set<std::wstring> out;
  for (const std::wstring &s : list)
    if (s.starts_with(folder))
      out.insert(s);
  return out;
}

// ---- The report and its 3 MiB rule --------------------------------------

struct TReportCase {
  const char *name;
  int64_t firstSize, secondSize;
  bool full; // false: the four-line empty report
};

class JunkReportTest : public ::testing::TestWithParam<TReportCase> {};

TEST_P(JunkReportTest, ReportsFromThreeMebibytesOn) {
  const TReportCase &c = GetParam();
  TJunkConfig config(L"0", L"1", L"0", 7);
  TPlantedFolder cache(CacheFolder());
  WriteFileBytes(cache / L"one.htm", std::string(static_cast<size_t>(c.firstSize), 'a'));
  WriteFileBytes(cache / L"two.js", std::string(static_cast<size_t>(c.secondSize), 'b'));

  TJunkRun run;
  TempThread &worker = run.Analyze(false);

  ASSERT_TRUE(worker.Finished());
  EXPECT_EQ(worker.FileCount(), 2); // kept also when the report shows nothing
  EXPECT_EQ(Under(worker.FileList(), cache.Path()),
            (std::set<std::wstring>{cache / L"one.htm", cache / L"two.js"}));
  std::vector<std::wstring> expected{L"Temporary File Analysis Report", kSeparator};
  if (c.full) {
    expected.push_back(L"Total 2 file(s) found.");
    expected.push_back(L"Files size: " + SizeText(c.firstSize + c.secondSize) +
                       L" (Approximate size)");
    expected.emplace_back();
    expected.insert(expected.end(), worker.FileList().begin(), worker.FileList().end());
    EXPECT_EQ(worker.IECacheCount(), 2);
    EXPECT_EQ(worker.TotalSize(), c.firstSize + c.secondSize);
  } else {
    expected.push_back(L"Total 0 file(s) found.");
    expected.push_back(L"Files size: 0 (Approximate size)");
    EXPECT_EQ(worker.IECacheCount(), 0);
    EXPECT_EQ(worker.IECacheSize(), 0);
    EXPECT_EQ(worker.TotalSize(), 0);
  }
  EXPECT_EQ(run.memo.lines, expected);
  EXPECT_TRUE(run.memo.scrolledToEnd);
  EXPECT_EQ(run.bar.maximum, 100);
  EXPECT_EQ(run.bar.position, 100);
}

INSTANTIATE_TEST_SUITE_P(SizeRule, JunkReportTest,
                         ::testing::Values(TReportCase{"just_under", 2 << 20, (1 << 20) - 1, false},
                                           TReportCase{"two_point_nine", 2 << 20, 943718, false},
                                           TReportCase{"exactly_three", 2 << 20, 1 << 20, true}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(JunkReportTest, LanguagePackTextsNeverReachPrintf) {
  // A pack may swap the conversions; the report fills in text, never
  // reads a missing argument.
  TJunkConfig config(L"0", L"1", L"0", 7);
  TPlantedFolder cache(CacheFolder());
  WriteFileBytes(cache / L"big.bin", std::string(3 << 20, 'c'));
  TJunkRun run;
  auto texts = DefaultJunkTexts();
  texts[jtCountLine] = L"%s files, 100%% sure %d";
  texts[jtSizeLine] = L"size %d %s";
  texts.resize(3); // the removal captions missing
  run.worker = std::make_unique<TempThread>(run.label, texts, false, run.memo, run.bar, run.gui);
  run.worker->StopScan();
  run.Wait();
  ASSERT_GE(run.memo.lines.size(), 4u);
  EXPECT_EQ(run.memo.lines[2], L"%s files, 100% sure 1");
  EXPECT_EQ(run.memo.lines[3], L"size %d 3.00 MB");
}

// ---- Which files count ---------------------------------------------------

TEST(JunkRulesTest, CacheSkipsDatIconsLowerDesktopIniAndOwnCookies) {
  TJunkConfig config(L"0", L"1", L"0", 7);
  TPlantedFolder cache(CacheFolder());
  const std::wstring user = TempThread::CurrentUserName();
  const std::vector<std::wstring> counted{L"page.htm", L"upper\\Desktop.ini", L"someone@site.txt",
                                          L"deep\\er\\style.css", L"dat.txt"};
  const std::vector<std::wstring> skipped{
      L"lower\\desktop.ini", L"x.dat", L"index.dat", L"a.datx", L"fav.ico", user + L"@site[1].txt"};
  for (const auto &name : counted)
    WriteFileBytes(cache / name, "x");
  for (const auto &name : skipped)
    WriteFileBytes(cache / name, "x");

  TJunkRun run;
  TempThread &worker = run.Analyze(true);

  std::set<std::wstring> expected;
  for (const auto &name : counted)
    expected.insert(cache / name);
  EXPECT_EQ(Under(worker.FileList(), cache.Path()), expected);
  EXPECT_EQ(worker.CookiePrefix(), user + L"@");
  EXPECT_EQ(worker.IECacheFolder(), TAppFrame().FolderOfKind(fkInternetCache));
}

TEST(JunkRulesTest, TemporaryFoldersCountAgedFilesAndWindowsLogs) {
  TJunkConfig config(L"1", L"0", L"0", 30);
  const std::wstring user = TempThread::CurrentUserName();
  TScratchFolder temp(L"junk-aged"); // inside the temporary folder
  TPlantedFolder winTemp(WindowsFolder() + L"\\temp\\vtest-junk");
  TWbemLogs wbem;
  TPlantedFolder wbemSub(wbem.Path() + L"vtest-junk");
  TPlantedFolder winSub(WindowsFolder() + L"\\vtest-junk-sub");

  struct TPlant {
    std::wstring path;
    double ageDays; // 0: now
    bool counted;
  };
  const std::vector<TPlant> plants{
      {temp / L"old.tmp", 30.5, true},
      {temp / L"young.tmp", 29.5, false},
      {temp / L"cache.dat", 40, true},
      {temp / L"index.dat", 40, false},
      {temp / L"my.index.dat.bak", 40, false},
      {temp / (user + L"@site.txt"), 40, false},
      {temp / L"sub\\deeper\\old.log", 40, true},
      {winTemp / L"old.tmp", 40, true},
      {winTemp / L"new.tmp", 1, false},
      {wbemSub / L"any-age.txt", 0, true},
      {winSub / L"nested.log", 40, false},
  };
  for (const auto &p : plants) {
    WriteFileBytes(p.path, "junk");
    if (p.ageDays > 0)
      SetFileAgeDays(p.path, p.ageDays);
  }
  WriteFileBytes(temp / L"future.tmp", "junk");
  SetFileAgeDays(temp / L"future.tmp", -40); // dated 40 days ahead
  TPlantedFile upperLog(WindowsFolder() + L"\\vtest-junk-a.LOG", "log");
  TPlantedFile lockedLog(WindowsFolder() + L"\\vtest-junk-b.log", "log");
  TPlantedFile notLog(WindowsFolder() + L"\\vtest-junk-c.txt", "log");
  TLockedFile lock(lockedLog.Path());
  ASSERT_TRUE(lock.Locked());

  TJunkRun run;
  TempThread &worker = run.Analyze(true);

  const auto &list = worker.FileList();
  for (const auto &p : plants)
    EXPECT_EQ(Contains(list, p.path), p.counted) << ToUtf8(p.path);
  EXPECT_TRUE(Contains(list, temp / L"future.tmp")) << "age counts in both directions";
  EXPECT_TRUE(Contains(list, upperLog.Path()));
  EXPECT_FALSE(Contains(list, lockedLog.Path()));
  EXPECT_FALSE(Contains(list, notLog.Path()));
  EXPECT_EQ(worker.IECacheCount(), 0);
  EXPECT_EQ(worker.TempCount(), worker.FileCount());
}

TEST(JunkRulesTest, OptionsOffFindNothing) {
  TJunkConfig config(L"0", L"true", L"0", 0); // only the exact text "1" is on
  TPlantedFolder cache(CacheFolder());
  WriteFileBytes(cache / L"page.htm", "x");
  TJunkRun run;
  TempThread &worker = run.Analyze(false);
  EXPECT_EQ(worker.FileCount(), 0);
  EXPECT_EQ(run.memo.lines, (std::vector<std::wstring>{L"Temporary File Analysis Report",
                                                       kSeparator, L"Total 0 file(s) found.",
                                                       L"Files size: 0 (Approximate size)"}));
}

TEST(JunkRulesTest, UserNameIsTheLoggedOnUser) {
  wchar_t name[256];
  DWORD size = 256;
  ASSERT_TRUE(::GetUserNameW(name, &size));
  EXPECT_EQ(TempThread::CurrentUserName(), std::wstring(name));
}

// ---- Windows Vista leaves the wbem and Windows logs alone ---------------

// Runs junk_probe (copied to folder when given, and started there) and
// returns its output lines.
std::vector<std::wstring> RunProbe(const std::wstring &mode, const std::wstring &folder = {}) {
  std::wstring exe = ProgramFolder() + L"junk_probe.exe";
  const std::wstring dir = folder.empty() ? ProgramFolder() : folder;
  if (!folder.empty()) {
    const std::wstring copy = folder + L"junk_probe.exe";
    if (!::CopyFileW(exe.c_str(), copy.c_str(), FALSE))
      return {L"<copy failed>"};
    exe = copy;
  }
  TScratchFolder out(L"junk-probe-out");
  const std::wstring outFile = out / L"out.txt";
  SECURITY_ATTRIBUTES sa{sizeof(sa), nullptr, TRUE};
  UniqueFile file(::CreateFileW(outFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &sa, CREATE_ALWAYS,
                                0, nullptr));
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = file.Get();
  si.hStdError = file.Get();
  PROCESS_INFORMATION pi{};
  std::wstring cmd = L"\"" + exe + L"\" " + mode;
  if (!::CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, TRUE, 0, nullptr, dir.c_str(),
                        &si, &pi))
    return {L"<probe did not start>"};
  ::WaitForSingleObject(pi.hProcess, 120000);
  ::CloseHandle(pi.hThread);
  ::CloseHandle(pi.hProcess);
  file.Reset();
  std::vector<std::wstring> lines;
  const std::wstring text = FromUtf8(ReadFileBytes(outFile));
  size_t start = 0;
  for (size_t nl; (nl = text.find(L'\n', start)) != std::wstring::npos; start = nl + 1)
    lines.push_back(Trim(text.substr(start, nl - start))); // text mode writes "\r\n"
  return lines;
}

struct TVersionCase {
  const char *name;
  const wchar_t *version;
  bool logsLooked;
};

class JunkVersionTest : public ::testing::TestWithParam<TVersionCase> {
protected:
  void TearDown() override {
    RegDeleteTree(L"Software\\Wine\\Version");
    SetWineVersion(L"win7");
  }
};

TEST_P(JunkVersionTest, VistaSkipsWbemAndWindowsLogs) {
  const TVersionCase &c = GetParam();
  TJunkConfig config(L"1", L"0", L"0", 30);
  TWbemLogs wbem;
  TPlantedFolder wbemSub(wbem.Path() + L"vtest-junk");
  WriteFileBytes(wbemSub / L"trace.txt", "x");
  TPlantedFile log(WindowsFolder() + L"\\vtest-junk-v.log", "log");
  TScratchFolder temp(L"junk-version");
  WriteFileBytes(temp / L"old.tmp", "x");
  SetFileAgeDays(temp / L"old.tmp", 40);

  SetWineVersion(c.version);
  const std::vector<std::wstring> list = RunProbe(L"analyze");

  EXPECT_EQ(Contains(list, wbemSub / L"trace.txt"), c.logsLooked);
  EXPECT_EQ(Contains(list, log.Path()), c.logsLooked);
  EXPECT_TRUE(Contains(list, temp / L"old.tmp")) << "the temporary folders are walked on all";
}

INSTANTIATE_TEST_SUITE_P(Versions, JunkVersionTest,
                         ::testing::Values(TVersionCase{"vista", L"vista", false},
                                           TVersionCase{"xp", L"winxp", true},
                                           TVersionCase{"win7_unnamed", L"win7", true}),
                         [](const auto &info) { return std::string(info.param.name); });

// ---- Stopping ------------------------------------------------------------

TEST(JunkStopTest, StopDuringIntroShortensTheIntroOnly) {
  TJunkConfig config(L"0", L"1", L"0", 7);
  TPlantedFolder cache(CacheFolder());
  for (const wchar_t *name : {L"a.htm", L"b.htm", L"c.htm"})
    WriteFileBytes(cache / name, "x");
  TJunkRun run;
  bool stopped = false;
  run.gui.afterCall = [&run, &stopped] {
    if (run.bar.steps == 10 && !stopped) {
      run.worker->StopScan();
      stopped = true;
    }
  };
  run.Start(true, false);
  run.Wait();
  EXPECT_EQ(run.bar.steps, 10);
  EXPECT_EQ(Under(run.worker->FileList(), cache.Path()).size(), 3u);
}

TEST(JunkStopTest, StopDuringScanEndsEveryWalkAndReportsWhatWasFound) {
  TJunkConfig config(L"1", L"1", L"0", 0); // temporary walks would find plenty
  TPlantedFolder cache(CacheFolder());
  for (const wchar_t *name : {L"a.htm", L"b.htm", L"c.htm", L"d.htm", L"e.htm"})
    WriteFileBytes(cache / name, "x");
  TJunkRun run;
  run.gui.afterCall = [&run] {
    if (run.worker && run.worker->FileCount() == 1)
      run.worker->StopScan();
  };
  run.Start(true);
  run.Wait();
  ASSERT_EQ(run.worker->FileList().size(), 1u);
  EXPECT_EQ(run.memo.lines, (std::vector<std::wstring>{L"Temporary File Analysis Report",
                                                       kSeparator, L"Total 1 file(s) found.",
                                                       L"Files size: 1 Byte (Approximate size)",
                                                       L"", run.worker->FileList()[0]}));
}

TEST(JunkStopTest, DestroyingARunningWorkerStopsAndWaitsForIt) {
  TJunkConfig config(L"0", L"1", L"0", 7);
  TJunkRun run;
  run.Start(true, false);
  run.worker.reset(); // must neither hang nor leave the thread using the object
  EXPECT_LT(run.bar.steps, 186);
}

TEST(JunkStopTest, WaitForServicesTheWorkersCallsUntilFinished) {
  TJunkConfig config(L"0", L"0", L"0", 7);
  TJunkRun run;
  run.Start(false, false); // full intro: 186 synchronous bar steps
  run.Wait();
  EXPECT_TRUE(run.worker->Finished());
  EXPECT_EQ(run.bar.steps, 186);
  EXPECT_EQ(::WaitForSingleObject(run.worker->ThreadHandle(), 5000), WAIT_OBJECT_0);
}

// ---- Removal hand-off ----------------------------------------------------

TEST(RemoveJunkFilesTest, StepDelayFollowsTheFileCount) {
  const std::pair<int64_t, int> cases[] = {
      {0, 30},       {499, 30},     {500, 40},     {10000, 230},
      {58499, 1190}, {58500, 1200}, {59000, 1200}, {int64_t(1) << 40, 1200}};
  for (const auto &[count, delay] : cases)
    EXPECT_EQ(TempThread::RemovalStepDelay(count), delay) << count;
}

TEST(RemoveJunkFilesTest, CaptionFollowsSecureDeletionAndBarTakesHundredSteps) {
  TJunkConfig config(L"0", L"0", L"0", 7); // the library finds nothing to remove
  TJunkRun run;
  TempThread &worker = run.Analyze(false);
  for (bool secure : {false, true}) {
    TRecordingLabel status;
    const int before = run.bar.steps;
    worker.RemoveJunkFiles(status, secure, run.gui.Pumper());
    EXPECT_EQ(status.caption,
              secure ? L"Removing junk files (Secure Deletion)..." : L"Removing junk files...");
    EXPECT_EQ(worker.SecureDeletion(), secure);
    EXPECT_EQ(run.bar.steps - before, 100);
    EXPECT_EQ(run.bar.minimum, 0);
    EXPECT_EQ(run.bar.maximum, 100);
    EXPECT_EQ(run.bar.position, 100);
  }
}

TEST(RemoveJunkFilesTest, WithoutTheLibraryCleanCompletesAndTouchesNothing) {
  TJunkConfig config(L"0", L"1", L"0", 7);
  TPlantedFolder cache(CacheFolder());
  WriteFileBytes(cache / L"page.htm", "x");
  WriteFileBytes(cache / L"style.css", "y");
  // A folder without Tosmir.dll, which is also the probe's working folder.
  TScratchFolder bare(L"junk-no-library");
  ASSERT_FALSE(PathExists(bare / L"Tosmir.dll"));

  const std::vector<std::wstring> out = RunProbe(L"clean", bare.Path());

  EXPECT_TRUE(Contains(out, cache / L"page.htm")) << "the analysis found the junk";
  EXPECT_TRUE(Contains(out, L"caption=Removing junk files..."));
  EXPECT_TRUE(Contains(out, L"steps=100"));
  EXPECT_TRUE(Contains(out, L"completed"));
  EXPECT_EQ(ReadFileBytes(cache / L"page.htm"), "x");
  EXPECT_EQ(ReadFileBytes(cache / L"style.css"), "y");
}

TEST(RemoveJunkFilesTest, MissingLibraryOrEntryPointIsSwallowed) {
  EXPECT_FALSE(RunRemovalLibrary(L"NoSuchRemovalLibrary.dll", L"C:\\nowhere.ini"));
  EXPECT_FALSE(RunRemovalLibrary(L"kernel32.dll", L"C:\\nowhere.ini")); // no such exports
}

} // namespace
