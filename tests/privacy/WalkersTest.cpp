// The folder walkers, the registry helpers and the process check.
#include "ScannerFixture.h"

#include "FolderLink.h"
#include "privacy/ProcessCheck.h"

#include "base/RegistryKey.h"

#include <algorithm>

using namespace velmora;
using namespace velmora::test;

namespace {

TEST(WalkerSizeTextTest, LadderAroundItsBoundaries) {
  struct Case {
    int64_t size;
    const wchar_t *text;
  };
  const Case cases[] = {
      {0, L"0 bytes"},      {-3, L"-3 bytes"},          {1024, L"1024 bytes"},
      {1025, L"1.00 KB"},   {1536, L"1.50 KB"},         {1048576, L"1024.00 KB"},
      {1048577, L"1.00 M"}, {5368709120, L"5120.00 M"},
  };
  for (const Case &c : cases)
    EXPECT_EQ(TPrivacyScanner::WalkerSizeText(c.size), c.text) << c.size;
}

using WalkersTest = ScannerTest;

TEST_F(WalkersTest, TreeRecordsEveryFileBelowWithItsSize) {
  const std::wstring root = scratch / L"tree";
  WriteFileBytes(root + L"\\a.txt", std::string(1025, 'x'));
  WriteFileBytes(root + L"\\sub\\deeper\\b.dat", std::string(10, 'x'));
  MakeFolders(root + L"\\empty\\more");
  scanner.CollectTree(root); // without a trailing backslash

  ASSERT_EQ(scanner.Targets.size(), 2u);
  std::vector<std::wstring> lines = scanner.DetailLines;
  std::sort(lines.begin(), lines.end());
  EXPECT_EQ(lines[0], root + L"\\a.txt   1.00 KB");
  EXPECT_EQ(lines[1], root + L"\\sub\\deeper\\b.dat   10 bytes");
  EXPECT_EQ(scanner.ItemCount, 2);
  EXPECT_EQ(scanner.TotalBytes, 1035);
  for (size_t i = 0; i < scanner.Targets.size(); ++i)
    EXPECT_EQ(scanner.DetailLines[i].rfind(scanner.Targets[i] + L"   ", 0), 0u);
}

TEST_F(WalkersTest, TreeOfEmptyFoldersAndMissingFoldersRecordNothing) {
  MakeFolders(scratch / L"e1\\e2\\e3");
  scanner.CollectTree(scratch / L"e1");
  scanner.CollectTree(scratch / L"missing");
  scanner.CollectTree(L"");
  scanner.CollectFolder(L"");
  scanner.CollectPath(L"");
  scanner.CollectPath(scratch / L"missing.txt");
  EXPECT_TRUE(scanner.DetailLines.empty());
  EXPECT_EQ(scanner.ItemCount, 0);
}

TEST_F(WalkersTest, FolderRecordsFilesAndSubfoldersOneLevelOnly) {
  const std::wstring root = scratch / L"one\\";
  WriteFileBytes(root + L"f.txt", "abc");
  WriteFileBytes(root + L"sub\\inner.txt", std::string(5000, 'x'));
  scanner.CollectFolder(root);

  std::vector<std::wstring> lines = scanner.DetailLines;
  std::sort(lines.begin(), lines.end());
  EXPECT_EQ(lines, (std::vector<std::wstring>{root + L"f.txt   3 bytes", root + L"sub   0 bytes"}));
  EXPECT_EQ(scanner.ItemCount, 2);
  EXPECT_EQ(scanner.TotalBytes, 3);
}

TEST_F(WalkersTest, PathRecordsOneFileUnderItsOwnPath) {
  const std::wstring file = scratch / L"single.bin";
  WriteFileBytes(file, std::string(2048, 'x'));
  scanner.CollectPath(file);
  scanner.CollectPath(scratch.Path()); // a folder is not a file
  EXPECT_EQ(scanner.DetailLines, std::vector<std::wstring>{file + L"   2.00 KB"});
  EXPECT_EQ(scanner.Targets, std::vector<std::wstring>{file});
}

TEST_F(WalkersTest, IndexDatFindsAnyCaseAndLongerNamesAndMarksThem) {
  const std::wstring root = scratch / L"cache\\";
  WriteFileBytes(root + L"INDEX.DAT", "1");
  WriteFileBytes(root + L"Content\\index.dat.old", "22");
  WriteFileBytes(root + L"Content\\other.dat", "333");
  scanner.CollectIndexDat(root);

  std::vector<std::wstring> targets = scanner.Targets;
  std::sort(targets.begin(), targets.end());
  EXPECT_EQ(targets,
            (std::vector<std::wstring>{root + L"Content\\index.dat.old", root + L"INDEX.DAT"}));
  EXPECT_EQ(scanner.RestartMarked, scanner.Targets);
  EXPECT_EQ(pumps, 0); // runs to its end without pumping
}

TEST_F(WalkersTest, HistoryIndexTakesMatchingEntriesDirectlyInTheFolder) {
  const std::wstring root = scratch / L"profile\\";
  WriteFileBytes(root + L"History Index 2010-05", "12");
  WriteFileBytes(root + L"history index-journal", "1");
  WriteFileBytes(root + L"History", "123");
  WriteFileBytes(root + L"sub\\History Index 2010-06", "1");
  scanner.CollectHistoryIndex(root);
  std::vector<std::wstring> targets = scanner.Targets;
  std::sort(targets.begin(), targets.end());
  EXPECT_EQ(targets, (std::vector<std::wstring>{root + L"History Index 2010-05",
                                                root + L"history index-journal"}));
}

TEST_F(WalkersTest, CancelInTheMiddleOfAWalkStopsItAndKeepsWhatWasFound) {
  // The user cancels during a long listing, at the first message pump after
  // something was found: the walk stops there, well before its end.
  const std::wstring root = scratch / L"many\\";
  const size_t kFiles = 500; // long, whatever the pumping interval
  for (size_t i = 0; i < kFiles; ++i)
    WriteFileBytes(root + L"f" + std::to_wstring(i) + L".txt", "x");
  size_t foundAtCancel = 0;
  onPump = [&] {
    if (!scanner.Targets.empty() && !scanner.Cancelled) {
      foundAtCancel = scanner.Targets.size();
      scanner.CancelScan();
    }
  };
  scanner.CollectTree(root);
  ASSERT_TRUE(scanner.Cancelled) << "no message pump during the listing";
  EXPECT_LT(foundAtCancel, kFiles);
  EXPECT_EQ(scanner.Targets.size(), foundAtCancel);
  EXPECT_EQ(scanner.DetailLines.size(), scanner.Targets.size());
  scanner.CollectFolder(root); // stays cancelled: records nothing more
  scanner.CollectPath(root + L"f1.txt");
  EXPECT_EQ(scanner.Targets.size(), foundAtCancel);
}

TEST_F(WalkersTest, NeverDescendsIntoAFolderLink) {
  // a\loop points back at a (an endless walk if followed); a\out points at
  // a folder outside the walked tree.
  const std::wstring a = scratch / L"a", outside = scratch / L"outside";
  WriteFileBytes(a + L"\\inside.txt", "in");
  WriteFileBytes(outside + L"\\victim.txt", "out");
  RemoveFolderLink(a + L"\\loop"); // left by a run that was killed
  RemoveFolderLink(a + L"\\out");
  ASSERT_TRUE(MakeFolderLink(a + L"\\loop", a));
  ASSERT_TRUE(MakeFolderLink(a + L"\\out", outside));

  // Were the loop followed, the walk would not end: stop it and fail.
  onPump = [this] {
    if (pumps == 1000) {
      ADD_FAILURE() << "the walk follows a folder link";
      scanner.CancelScan();
    }
  };
  scanner.CollectTree(a);
  EXPECT_EQ(scanner.Targets, std::vector<std::wstring>{a + L"\\inside.txt"});
  scanner.Targets.clear();
  scanner.CollectIndexDat(a);
  EXPECT_TRUE(scanner.Targets.empty());
  // One level down the links are entries like any folder, never walked.
  scanner.CollectFolder(a);
  std::vector<std::wstring> targets = scanner.Targets;
  std::sort(targets.begin(), targets.end());
  EXPECT_EQ(targets, (std::vector<std::wstring>{a + L"\\inside.txt", a + L"\\loop", a + L"\\out"}));
  EXPECT_TRUE(RemoveFolderLink(a + L"\\loop"));
  EXPECT_TRUE(RemoveFolderLink(a + L"\\out"));
  EXPECT_TRUE(PathExists(outside + L"\\victim.txt"));
}

const wchar_t kTestKey[] = L"Software\\VelmoraTests\\PrivacyHelpers";

TEST_F(WalkersTest, UserKeyAndValueRecordOnlyWhatExists) {
  OwnKey(L"Software\\VelmoraTests");
  PlantString(std::wstring(kTestKey) + L"\\Sub Key ", L"name", L"v");
  PlantString(kTestKey, L"Value", L"v");
  PlantString(kTestKey, L"", L"default");

  scanner.AddUserKey(L"\\Software\\VelmoraTests\\PrivacyHelpers\\Sub Key "); // trailing blank kept
  scanner.AddUserKey(L"\\Software\\VelmoraTests\\PrivacyHelpers\\Sub Key");  // no such key
  scanner.AddUserKey(L"\\Software\\VelmoraTests\\Missing");
  scanner.AddUserValue(L"\\Software\\VelmoraTests\\PrivacyHelpers|  Value  "); // name trimmed
  scanner.AddUserValue(L"\\Software\\VelmoraTests\\PrivacyHelpers|Absent");
  scanner.AddUserValue(L"\\Software\\VelmoraTests\\Missing|Value");
  scanner.AddUserValue(L"\\Software\\VelmoraTests\\PrivacyHelpers|"); // the default value
  scanner.AddUserValue(L"\\Software\\VelmoraTests\\PrivacyHelpers");  // no '|'
  scanner.AddUserValue(L"|Value");                                    // no key

  const std::wstring k = L"HKEY_CURRENT_USER\\Software\\VelmoraTests\\PrivacyHelpers";
  EXPECT_EQ(scanner.DetailLines,
            (std::vector<std::wstring>{k + L"\\Sub Key ", k + L"\\Value", k + L"\\"}));
  EXPECT_EQ(scanner.Targets,
            (std::vector<std::wstring>{k + L"\\Sub Key ", k + L"/Value", k + L"/"}));
  EXPECT_EQ(scanner.RegistryItemCount, 3);
  EXPECT_EQ(scanner.ItemCount, 0);
}

TEST_F(WalkersTest, DeleteUserKeyRemovesTheKeyWithItsSubkeysOnly) {
  OwnKey(L"Software\\VelmoraTests");
  PlantString(std::wstring(kTestKey) + L"\\A\\B\\C", L"x", L"1");
  PlantString(std::wstring(kTestKey) + L"\\Keep", L"y", L"2");
  scanner.DeleteUserKey(L"\\Software\\VelmoraTests\\PrivacyHelpers\\A");
  EXPECT_FALSE(RegKeyExists(std::wstring(kTestKey) + L"\\A"));
  EXPECT_TRUE(RegValueExists(std::wstring(kTestKey) + L"\\Keep", L"y"));
  scanner.DeleteUserKey(L"\\"); // never HKEY_CURRENT_USER itself
  scanner.DeleteUserKey(L"");
  EXPECT_TRUE(RegKeyExists(L"Software\\VelmoraTests"));
  EXPECT_TRUE(RegKeyExists(L"Software\\Wine"));
}

TEST(ProcessCheckTest, FindsItselfWithoutRegardToAsciiCase) {
  std::vector<std::wstring> list;
  ListProcesses(list);
  EXPECT_NE(std::find(list.begin(), list.end(), L"privacy_test.exe"), list.end());
  EXPECT_TRUE(IsProcessRunning(L"PRIVACY_TEST.EXE"));
  EXPECT_TRUE(IsProcessRunning(L"Privacy_Test.exe"));
  EXPECT_FALSE(IsProcessRunning(L"privacy_test"));
  EXPECT_FALSE(IsProcessRunning(L"no-such-program.exe"));
}

} // namespace
