// A junk cleaning through the real Tosmir.dll removes exactly the files the
// last analysis showed: whatever the options say by then, whatever appeared,
// changed or was swapped in since, and nothing at all without a sound list.
#include "FolderLink.h"
#include "removal/JunkList.h"
#include "tests/removal/RemovalTestSupport.h"

#include <gtest/gtest.h>

#include <set>

using namespace velmora;
using namespace velmora::test;

namespace {

std::wstring CacheFolder() {
  return IncludeTrailingBackslash(TAppFrame().FolderOfKind(fkInternetCache)) + L"vtest-list\\";
}

// Changes one junk option after the analysis, as the Options view does.
void SetOption(const wchar_t *key, const std::wstring &value) {
  TConfigFile(ConfigFilePath(TAppFrame())).WriteString(cfg::kJunkSection, key, value);
}

std::set<std::wstring> Listed(const TempThread &worker) {
  std::set<std::wstring> paths;
  for (const TListedJunkFile &f : worker.ReportedList().Files)
    paths.insert(f.Path);
  return paths;
}

std::set<std::wstring> Minus(std::set<std::wstring> a, const std::set<std::wstring> &b) {
  for (const std::wstring &s : b)
    a.erase(s);
  return a;
}

// Cleans through the library; afterwards the junk folders must hold what
// they held before less exactly `gone`, and the list must be used up.
void CleanAndExpectGone(const std::set<std::wstring> &gone) {
  const std::set<std::wstring> before = JunkFolderFiles();
  ASSERT_TRUE(CleanThroughLibrary());
  EXPECT_EQ(JunkFolderFiles(), Minus(before, gone));
  EXPECT_FALSE(PathExists(JunkListFile())) << "one list serves one cleaning";
}

// ---- What the report showed, whatever happened since ---------------------

TEST(RemovalListTest, LoweringTheAgeLimitAfterTheAnalysisRemovesNoYoungerFile) {
  TJunkConfig config(L"1", L"0", L"0", 7);
  TScratchFolder temp(L"list-week");
  WriteFileBytes(temp / L"old.tmp", "old");
  SetFileAgeDays(temp / L"old.tmp", 10);
  WriteFileBytes(temp / L"young.tmp", "young");
  SetFileAgeDays(temp / L"young.tmp", 1);
  TJunkRun run;
  const std::set<std::wstring> listed = Listed(run.Analyze(true));
  ASSERT_TRUE(listed.contains(temp / L"old.tmp"));
  ASSERT_FALSE(listed.contains(temp / L"young.tmp"));

  SetOption(cfg::kRemoveDay, L"0"); // the week box unticked

  CleanAndExpectGone(listed);
  EXPECT_TRUE(PathExists(temp / L"young.tmp"));
}

TEST(RemovalListTest, TurningTemporaryFilesOnAfterACacheOnlyAnalysisRemovesOnlyTheCache) {
  TJunkConfig config(L"0", L"1", L"0", 7);
  TPlantedFolder cache(CacheFolder());
  WriteFileBytes(cache / L"page.htm", "page");
  TScratchFolder temp(L"list-cache-only");
  WriteFileBytes(temp / L"old.tmp", "old");
  SetFileAgeDays(temp / L"old.tmp", 40);
  TPlantedFile log(WindowsFolder() + L"\\vtest-list.log", "log");
  TJunkRun run;
  const std::set<std::wstring> listed = Listed(run.Analyze(true));
  ASSERT_TRUE(listed.contains(cache / L"page.htm"));

  SetOption(cfg::kTempFile, L"1");

  CleanAndExpectGone(listed);
  EXPECT_FALSE(PathExists(cache / L"page.htm"));
  EXPECT_TRUE(PathExists(temp / L"old.tmp"));
  EXPECT_TRUE(PathExists(log.Path()));
}

TEST(RemovalListTest, StoppedAnalysisRemovesOnlyWhatItListed) {
  TJunkConfig config(L"1", L"1", L"0", 0);
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
  const std::set<std::wstring> listed = Listed(*run.worker);
  ASSERT_EQ(listed.size(), 1u);

  CleanAndExpectGone(listed);
  EXPECT_EQ(Minus({cache / L"a.htm", cache / L"b.htm", cache / L"c.htm", cache / L"d.htm",
                   cache / L"e.htm"},
                  listed)
                .size(),
            4u);
}

TEST(RemovalListTest, FilesThatAppearedChangedOrAgedAfterTheAnalysisStay) {
  TJunkConfig config(L"1", L"0", L"0", 7);
  TScratchFolder temp(L"list-changed");
  for (const wchar_t *name : {L"goes.tmp", L"changed.tmp"}) {
    WriteFileBytes(temp / name, "aged");
    SetFileAgeDays(temp / name, 10);
  }
  WriteFileBytes(temp / L"young.tmp", "young");
  SetFileAgeDays(temp / L"young.tmp", 1);
  TJunkRun run;
  const std::set<std::wstring> listed = Listed(run.Analyze(true));
  ASSERT_TRUE(listed.contains(temp / L"changed.tmp"));

  WriteFileBytes(temp / L"changed.tmp", "new content");
  SetFileAgeDays(temp / L"changed.tmp", 10);
  SetFileAgeDays(temp / L"young.tmp", 10); // aged past the limit since
  WriteFileBytes(temp / L"appeared.tmp", "new");
  SetFileAgeDays(temp / L"appeared.tmp", 10);

  CleanAndExpectGone(Minus(listed, {temp / L"changed.tmp"}));
  EXPECT_FALSE(PathExists(temp / L"goes.tmp"));
  EXPECT_EQ(ReadFileBytes(temp / L"changed.tmp"), "new content");
  EXPECT_TRUE(PathExists(temp / L"young.tmp"));
  EXPECT_TRUE(PathExists(temp / L"appeared.tmp"));
}

TEST(RemovalListTest, CleanAfterAReportOfNothingRemovesNothingAndLeavesTheBinAlone) {
  TJunkConfig config(L"1", L"1", L"1", 0);
  TPlantedFolder cache(CacheFolder());
  WriteFileBytes(cache / L"page.htm", std::string(1 << 20, 'p')); // under 3 MiB in all
  TScratchFolder temp(L"list-nothing");
  const bool bin = RecycleBinIsPrivate() && PutInRecycleBin(temp / L"binned.txt", "in the bin");
  const TBinState binBefore = RecycleBinState();
  TJunkRun run;
  TempThread &worker = run.Analyze(false);
  ASSERT_GE(run.memo.lines.size(), 3u);
  ASSERT_EQ(run.memo.lines[2], L"Total 0 file(s) found.");
  EXPECT_TRUE(worker.ReportedList().Files.empty());
  EXPECT_FALSE(worker.ReportedList().RecycleCounted);

  // The Clean button's own path: the removal thread and its progress.
  const std::set<std::wstring> before = JunkFolderFiles();
  TRecordingLabel status;
  worker.RemoveJunkFiles(status, false, run.gui.Pumper());
  EXPECT_EQ(JunkFolderFiles(), before);
  EXPECT_EQ(ReadFileBytes(cache / L"page.htm").size(), 1u << 20);
  if (bin) {
    EXPECT_EQ(RecycleBinState(), binBefore);
  }
  EmptyRecycleBin();
}

// ---- The recycle bin ------------------------------------------------------

struct TBinCase {
  const char *name;
  const wchar_t *recycleAtAnalysis;
  bool addedAfterAnalysis;
  bool emptied;
};

class RecycleBinListTest : public ::testing::TestWithParam<TBinCase> {};

TEST_P(RecycleBinListTest, EmptiedOnlyWhenCountedAndUnchanged) {
  const TBinCase &c = GetParam();
  if (!RecycleBinIsPrivate())
    GTEST_SKIP() << "the recycle bin is not the build tree's (run through scripts/)";
  TJunkConfig config(L"0", L"0", c.recycleAtAnalysis, 7);
  EmptyRecycleBin();
  TScratchFolder temp(L"list-bin");
  ASSERT_TRUE(PutInRecycleBin(temp / L"first.txt", "first"));
  TJunkRun run;
  TempThread &worker = run.Analyze(true);
  ASSERT_EQ(worker.ReportedList().RecycleCounted, c.recycleAtAnalysis == std::wstring(L"1"));
  SetOption(cfg::kRecycle, L"1");
  if (c.addedAfterAnalysis) {
    ASSERT_TRUE(PutInRecycleBin(temp / L"second.txt", "second, never shown"));
  }
  const TBinState before = RecycleBinState();

  ASSERT_TRUE(CleanThroughLibrary());

  if (c.emptied) {
    EXPECT_EQ(RecycleBinState().Items, 0);
  } else {
    EXPECT_EQ(RecycleBinState(), before);
  }
  EmptyRecycleBin();
}

INSTANTIATE_TEST_SUITE_P(Cases, RecycleBinListTest,
                         ::testing::Values(TBinCase{"counted", L"1", false, true},
                                           TBinCase{"grown_since", L"1", true, false},
                                           TBinCase{"not_counted_then_turned_on", L"0", false,
                                                    false}),
                         [](const auto &info) { return std::string(info.param.name); });

// ---- The list itself -----------------------------------------------------

TEST(RemovalListTest, SecondCleanWithoutANewAnalysisRemovesNothing) {
  TJunkConfig config(L"1", L"0", L"0", 7);
  TScratchFolder temp(L"list-twice");
  WriteFileBytes(temp / L"held.tmp", "held");
  SetFileAgeDays(temp / L"held.tmp", 10);
  TJunkRun run;
  ASSERT_TRUE(Listed(run.Analyze(true)).contains(temp / L"held.tmp"));
  {
    TLockedFile lock(temp / L"held.tmp");
    ASSERT_TRUE(lock.Locked());
    ASSERT_TRUE(CleanThroughLibrary()); // skipped while held
  }
  ASSERT_TRUE(CleanThroughLibrary());
  EXPECT_EQ(ReadFileBytes(temp / L"held.tmp"), "held");
}

struct TListCase {
  const char *name;
  enum {
    Sound, // the control: a sound entry goes
    NoList,
    CutShort,      // the end line missing
    RootNotWalked, // a folder no analysis walks
    EscapesRoot,   // "..\" out of the temporary folder
    WrongWalk,     // the temporary folder under the all-files walk
    NameRule,      // index.dat in the temporary folder
    LogSubfolder,  // the log walk never enters subfolders
    SizeChanged,
    YoungerThanLimit,
  } kind;
};

class TamperedListTest : public ::testing::TestWithParam<TListCase> {};

TEST_P(TamperedListTest, OnlySoundEntriesOfWalkedFoldersGo) {
  const TListCase &c = GetParam();
  TJunkConfig config(L"1", L"1", L"0", 7);
  TScratchFolder temp(L"list-tampered");
  TPlantedFolder outside(L"C:\\vtest-list-outside");
  TPlantedFolder winSub(WindowsFolder() + L"\\vtest-list-sub");
  const std::wstring tempRoot = TempFolder();

  TListedJunkFile entry{temp / L"junk.tmp", tempRoot, TJunkWalk::AgedFiles, 4, {}};
  switch (c.kind) {
  case TListCase::RootNotWalked:
    entry = {outside / L"junk.tmp", outside.Path(), TJunkWalk::AllFiles, 4, {}};
    break;
  case TListCase::EscapesRoot:
    entry.Path = IncludeTrailingBackslash(tempRoot) +
                 L"..\\..\\..\\..\\..\\..\\vtest-list-outside\\junk.tmp";
    break;
  case TListCase::WrongWalk:
    entry.Walk = TJunkWalk::AllFiles;
    break;
  case TListCase::NameRule:
    entry.Path = temp / L"index.dat";
    break;
  case TListCase::LogSubfolder:
    entry = {winSub / L"junk.log", WindowsFolder(), TJunkWalk::LogFiles, 4, {}};
    break;
  default:
    break;
  }
  const std::wstring target = c.kind == TListCase::EscapesRoot ? outside / L"junk.tmp" : entry.Path;
  WriteFileBytes(target, "junk");
  SetFileAgeDays(target, c.kind == TListCase::YoungerThanLimit ? 1 : 10);
  WIN32_FILE_ATTRIBUTE_DATA data{};
  ASSERT_TRUE(::GetFileAttributesExW(target.c_str(), GetFileExInfoStandard, &data));
  entry.LastWrite = data.ftLastWriteTime;
  if (c.kind == TListCase::SizeChanged)
    entry.Size = 5;

  TJunkList list;
  list.Files.push_back(entry);
  ASSERT_TRUE(WriteJunkList(JunkListFile(), list));
  if (c.kind == TListCase::NoList)
    ::DeleteFileW(JunkListFile().c_str());
  if (c.kind == TListCase::CutShort) {
    std::string bytes = ReadFileBytes(JunkListFile());
    WriteFileBytes(JunkListFile(), bytes.substr(0, bytes.rfind("End")));
  }

  ASSERT_TRUE(CleanThroughLibrary());

  EXPECT_EQ(PathExists(target), c.kind != TListCase::Sound);
  EXPECT_FALSE(PathExists(JunkListFile()));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TamperedListTest,
    ::testing::Values(TListCase{"sound", TListCase::Sound}, TListCase{"no_list", TListCase::NoList},
                      TListCase{"cut_short", TListCase::CutShort},
                      TListCase{"root_not_walked", TListCase::RootNotWalked},
                      TListCase{"escapes_root", TListCase::EscapesRoot},
                      TListCase{"wrong_walk", TListCase::WrongWalk},
                      TListCase{"name_rule", TListCase::NameRule},
                      TListCase{"log_subfolder", TListCase::LogSubfolder},
                      TListCase{"size_changed", TListCase::SizeChanged},
                      TListCase{"younger_than_limit", TListCase::YoungerThanLimit}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(JunkListTest, WrittenListReadsBackAndAnyDamageReadsAsNone) {
  TScratchFolder dir(L"list-format");
  const std::wstring path = dir / L"list.txt";
  TJunkList list;
  list.RemoveDay = 3;
  list.RecycleCounted = true;
  list.RecycleSize = 123456789012;
  list.RecycleItems = 7;
  list.Files.push_back({L"C:\\t\\ä ö.tmp", L"C:\\t", TJunkWalk::IECache, 42, {0x89abcdef, 0x01d9}});
  list.Files.push_back({L"C:\\w\\x.log", L"C:\\w", TJunkWalk::LogFiles, 0, {}});
  ASSERT_TRUE(WriteJunkList(path, list));
  TJunkList read;
  ASSERT_TRUE(ReadJunkList(path, read));
  EXPECT_EQ(read.RemoveDay, 3);
  EXPECT_TRUE(read.RecycleCounted);
  EXPECT_EQ(read.RecycleSize, 123456789012);
  EXPECT_EQ(read.RecycleItems, 7);
  ASSERT_EQ(read.Files.size(), 2u);
  EXPECT_EQ(read.Files[0].Path, L"C:\\t\\ä ö.tmp");
  EXPECT_EQ(read.Files[0].Root, L"C:\\t");
  EXPECT_EQ(read.Files[0].Walk, TJunkWalk::IECache);
  EXPECT_EQ(read.Files[0].Size, 42);
  EXPECT_EQ(read.Files[0].LastWrite.dwLowDateTime, 0x89abcdefu);
  EXPECT_EQ(read.Files[0].LastWrite.dwHighDateTime, 0x01d9u);
  EXPECT_EQ(read.Files[1].Walk, TJunkWalk::LogFiles);

  const std::string good = ReadFileBytes(path);
  auto replaced = [&good](const std::string &from, const std::string &to) {
    std::string s = good;
    s.replace(s.find(from), from.size(), to);
    return s;
  };
  const std::pair<const char *, std::string> damaged[] = {
      {"empty", ""},
      {"other header", replaced("Quorvix junk list 1", "Quorvix junk list 2")},
      {"unknown walk", replaced("IECache", "Anywhere")},
      {"negative size", replaced("\t42\t", "\t-42\t")},
      {"count mismatch", replaced("End\t2", "End\t3")},
      {"no last line end", good.substr(0, good.size() - 2)},
      {"extra field", replaced("\t42\t", "\t42\t\t")},
      {"invalid UTF-8", replaced("C:\\t\\", "C:\\t\\\xff")},
  };
  for (const auto &[name, bytes] : damaged) {
    WriteFileBytes(path, bytes);
    TJunkList r;
    r.RemoveDay = 99;
    EXPECT_FALSE(ReadJunkList(path, r)) << name;
    EXPECT_TRUE(r.Files.empty()) << name;
    EXPECT_FALSE(r.RecycleCounted) << name;
  }
  EXPECT_FALSE(ReadJunkList(dir / L"missing.txt", read));
}

// ---- A junction swapped in after the analysis ------------------------------

TEST(RemovalListTest, FolderSwappedForALinkAfterTheAnalysisSendsNothingOutside) {
  TJunkConfig config(L"1", L"0", L"0", 7);
  TScratchFolder temp(L"list-swap");
  WriteFileBytes(temp / L"swap\\old.tmp", "junk");
  SetFileAgeDays(temp / L"swap\\old.tmp", 10);
  TPlantedFolder outside(L"C:\\vtest-list-swap-outside");
  TJunkRun run;
  TempThread &worker = run.Analyze(true);
  const TListedJunkFile *listed = nullptr;
  for (const TListedJunkFile &f : worker.ReportedList().Files)
    if (f.Path == temp / L"swap\\old.tmp")
      listed = &f;
  ASSERT_NE(listed, nullptr);

  // Outside: a file of the same name, size and time, as an attacker who
  // read the list would plant; the listed folder becomes a link to it.
  WriteFileBytes(outside / L"old.tmp", "MINE");
  {
    UniqueFile f(::CreateFileW((outside / L"old.tmp").c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                               OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(::SetFileTime(f.Get(), nullptr, nullptr, &listed->LastWrite));
  }
  RemoveTree(temp / L"swap");
  if (!MakeFolderLink(temp / L"swap", ExcludeTrailingBackslash(outside.Path())))
    GTEST_SKIP() << "no folder link can be made here";

  ASSERT_TRUE(CleanThroughLibrary());
  const bool linkGone = RemoveFolderLink(temp / L"swap");

  EXPECT_EQ(ReadFileBytes(outside / L"old.tmp"), "MINE");
  EXPECT_TRUE(linkGone);
}

} // namespace
