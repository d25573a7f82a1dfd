// The removal library against real files in the Wine prefix: a cleaning
// through the real Tosmir.dll removes exactly what the worker's analysis
// listed, and secure deletion overwrites a file before it goes.
#include "removal/JunkRemoval.h"
#include "FolderLink.h"
#include "base/Handles.h"
#include "base/Text.h"
#include "removal/TosmirApi.h"
#include "system/Routines.h"
#include "tests/junk/JunkTestSupport.h"
#include "tests/removal/RemovalTestSupport.h"

#include <gtest/gtest.h>

#include <set>

using namespace velmora;
using namespace velmora::test;

namespace {

// ---- A cleaning through Tosmir.dll ---------------------------------------

class CleanThroughLibraryTest : public ::testing::TestWithParam<bool> {};

TEST_P(CleanThroughLibraryTest, RemovesExactlyWhatTheAnalysisListed) {
  const bool secure = GetParam();
  // "Recycle" stays off: Wine's recycle bin is the desktop user's trash.
  TJunkConfig config(L"1", L"1", L"0", 30, secure);
  const std::wstring user = TempThread::CurrentUserName();

  TPlantedFolder cache(IncludeTrailingBackslash(TAppFrame().FolderOfKind(fkInternetCache)) +
                       L"vtest-clean");
  for (const std::wstring &name :
       {std::wstring(L"page.htm"), std::wstring(L"sub\\pic.png"), std::wstring(L"index.dat"),
        std::wstring(L"fav.ico"), user + L"@site.txt", std::wstring(L"b\\desktop.ini")})
    WriteFileBytes(cache / name, "cache");
  TScratchFolder temp(L"junk-clean");
  for (const wchar_t *name : {L"old.tmp", L"deep\\old.tmp", L"index.dat", L"held.tmp"}) {
    WriteFileBytes(temp / name, "temp");
    SetFileAgeDays(temp / name, 40);
  }
  WriteFileBytes(temp / L"young.tmp", "temp");
  TPlantedFolder winTemp(WindowsFolder() + L"\\temp\\vtest-clean");
  WriteFileBytes(winTemp / L"old.tmp", "wintemp");
  SetFileAgeDays(winTemp / L"old.tmp", 40);
  TWbemLogs wbem;
  TPlantedFolder wbemSub(wbem.Path() + L"vtest-clean");
  WriteFileBytes(wbemSub / L"trace.txt", "wbem");
  TPlantedFile upperLog(WindowsFolder() + L"\\vtest-clean-a.LOG", "log");
  TPlantedFile lockedLog(WindowsFolder() + L"\\vtest-clean-b.log", "log");
  TPlantedFile notLog(WindowsFolder() + L"\\vtest-clean-c.txt", "log");
  TLockedFile lockLog(lockedLog.Path());
  // An aged temporary file that another program holds open: listed by the
  // analysis, which does not ask, but the library cannot open it and skips it.
  TLockedFile lockTemp(temp / L"held.tmp");
  ASSERT_TRUE(lockLog.Locked() && lockTemp.Locked());
  // A symbolic link in the temporary folder to a folder elsewhere: neither
  // listed nor followed (when the prefix can make one).
  TPlantedFolder outside(L"C:\\vtest-clean-outside");
  WriteFileBytes(outside / L"keep.tmp", "outside");
  SetFileAgeDays(outside / L"keep.tmp", 40);
  const bool linked = ::CreateSymbolicLinkW((temp / L"link").c_str(), L"C:\\vtest-clean-outside",
                                            SYMBOLIC_LINK_FLAG_DIRECTORY) != FALSE;

  const std::set<std::wstring> before = JunkFolderFiles();
  TJunkRun run;
  TempThread &worker = run.Analyze(true);
  const std::vector<std::wstring> &listed = worker.FileList();
  ASSERT_TRUE(Contains(listed, cache / L"page.htm"));
  ASSERT_TRUE(Contains(listed, upperLog.Path()));
  ASSERT_TRUE(Contains(listed, temp / L"held.tmp"));

  TRecordingLabel status;
  worker.RemoveJunkFiles(status, secure, run.gui.Pumper());

  // RemoveJunkFiles returned only after the library was done.
  std::set<std::wstring> expected = before;
  for (const std::wstring &path : listed)
    if (path != temp / L"held.tmp")
      expected.erase(path);
  EXPECT_EQ(JunkFolderFiles(), expected);
  EXPECT_TRUE(PathExists(temp / L"held.tmp"));
  EXPECT_TRUE(PathExists(lockedLog.Path()));
  EXPECT_EQ(ReadFileBytes(outside / L"keep.tmp"), "outside");
  if (linked) {
    EXPECT_FALSE(Contains(listed, temp / L"link\\keep.tmp"));
    ::RemoveDirectoryW((temp / L"link").c_str());
  }
}

INSTANTIATE_TEST_SUITE_P(Modes, CleanThroughLibraryTest, ::testing::Values(false, true),
                         [](const auto &info) { return info.param ? "secure" : "plain"; });

TEST(TosmirExportsTest, RepairWithoutAConfigurationFileNameDoesNothing) {
  TScratchFolder dir(L"tosmir-no-config");
  WriteFileBytes(dir / L"old.tmp", "temp");
  SetFileAgeDays(dir / L"old.tmp", 400);
  UniqueModule library(::LoadLibraryW(tosmir::kTosmirLibrary));
  ASSERT_TRUE(library.Valid());
  auto createDll =
      reinterpret_cast<tosmir::TCreateDll>(::GetProcAddress(library.Get(), tosmir::kCreateDll));
  auto repair =
      reinterpret_cast<tosmir::TRepairTFile>(::GetProcAddress(library.Get(), tosmir::kRepairTFile));
  ASSERT_TRUE(createDll && repair);
  const wchar_t *reply = reinterpret_cast<const wchar_t *>(1);
  createDll(&reply, nullptr);
  EXPECT_EQ(reply, nullptr);
  EXPECT_EQ(repair(), -1);
  EXPECT_TRUE(PathExists(dir / L"old.tmp"));
}

// ---- One file ------------------------------------------------------------

struct TFileCase {
  const char *name;
  bool secure;
  enum { Plain, Locked, Folder, Missing, ReadOnly } kind;
  bool removed;
};

class RemoveJunkFileTest : public ::testing::TestWithParam<TFileCase> {};

TEST_P(RemoveJunkFileTest, RemovesOnlyPlainFilesItCanOpen) {
  const TFileCase &c = GetParam();
  TScratchFolder dir(L"remove-file");
  const std::wstring path = dir / L"target.tmp";
  std::unique_ptr<TLockedFile> lock;
  switch (c.kind) {
  case TFileCase::Folder:
    MakeFolders(path);
    break;
  case TFileCase::Missing:
    break;
  default:
    WriteFileBytes(path, "data");
    if (c.kind == TFileCase::Locked)
      lock = std::make_unique<TLockedFile>(path);
    if (c.kind == TFileCase::ReadOnly)
      ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
  }

  EXPECT_EQ(RemoveJunkFile(path, c.secure), c.removed);
  lock.reset();
  EXPECT_EQ(PathExists(path), c.kind != TFileCase::Missing && !c.removed);
  if (c.kind == TFileCase::Locked || c.kind == TFileCase::ReadOnly) {
    EXPECT_EQ(ReadFileBytes(path), "data") << "a skipped file keeps its content";
  }
  ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RemoveJunkFileTest,
    ::testing::Values(TFileCase{"plain", false, TFileCase::Plain, true},
                      TFileCase{"plain_secure", true, TFileCase::Plain, true},
                      TFileCase{"locked", false, TFileCase::Locked, false},
                      TFileCase{"locked_secure", true, TFileCase::Locked, false},
                      TFileCase{"read_only", false, TFileCase::ReadOnly, false},
                      TFileCase{"read_only_secure", true, TFileCase::ReadOnly, false},
                      TFileCase{"folder", false, TFileCase::Folder, false},
                      TFileCase{"folder_secure", true, TFileCase::Folder, false},
                      TFileCase{"missing", true, TFileCase::Missing, false}),
    [](const auto &info) { return std::string(info.param.name); });

// A link is not a plain file: it is skipped, whether Windows shows it as a
// reparse point or Wine as the file it points at, and what it points at is
// neither deleted nor overwritten.
TEST(RemoveJunkFileTest, SymbolicLinkIsSkippedAndItsTargetStaysIntact) {
  for (bool secure : {false, true}) {
    SCOPED_TRACE(secure ? "secure" : "plain");
    TScratchFolder dir(L"remove-link");
    const std::wstring link = dir / L"link.tmp", target = dir / L"target.txt";
    WriteFileBytes(target, "precious");
    ASSERT_TRUE(MakeFileLink(link, target));
    EXPECT_FALSE(RemoveJunkFile(link, secure));
    EXPECT_EQ(ReadShared(target), "precious");
    EXPECT_EQ(ReadShared(link), "precious") << "the link still leads to its target";
    ASSERT_TRUE(RemoveFileLink(link)); // before the folder goes
  }
}

} // namespace
