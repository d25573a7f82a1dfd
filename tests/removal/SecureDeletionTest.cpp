// Secure deletion of one file under Wine: three checked passes, then the
// rename and the delete through the same handle; a file with another hard
// link, a file someone else holds, and a pass the volume refuses all leave
// content and name alone.
#include "FolderLink.h"
#include "removal/JunkRemoval.h"
#include "tests/removal/RemovalTestSupport.h"

#include <gtest/gtest.h>

#include <set>

using namespace velmora;
using namespace velmora::test;

namespace {

std::set<std::wstring> FilesIn(const std::wstring &folder) {
  std::set<std::wstring> files;
  Snapshot(folder, true, files);
  return files;
}

TEST(SecureDeletionTest, OverwritesZerosOnesRandomThenRenamesAndDeletes) {
  TScratchFolder dir(L"secure-delete");
  const std::wstring file = dir / L"secret-report.txt";
  const std::string original(100000, 'S'); // more than one write chunk
  WriteFileBytes(file, original);

  // Read by its own name after each pass: the overwriting handle lets
  // readers share the file.
  std::vector<std::string> passes;
  EXPECT_TRUE(RemoveJunkFile(file, true, [&](int) { passes.push_back(ReadShared(file)); }));

  ASSERT_EQ(passes.size(), 3u);
  EXPECT_EQ(passes[0], std::string(original.size(), '\0'));
  EXPECT_EQ(passes[1], std::string(original.size(), '\xFF'));
  ASSERT_EQ(passes[2].size(), original.size());
  EXPECT_NE(passes[2].find_first_not_of(passes[2][0]), std::string::npos) << "random, not a fill";
  EXPECT_EQ(passes[2].find(std::string(64, 'S')), std::string::npos);
  EXPECT_TRUE(FilesIn(dir.Path()).empty()) << "neither the name nor a renamed copy stays";
}

TEST(SecureDeletionTest, HardLinkedFileOnlyLosesItsName) {
  TScratchFolder dir(L"secure-link");
  TScratchFolder elsewhere(L"secure-link-other");
  const std::wstring file = dir / L"junk.tmp";
  const std::wstring other = elsewhere / L"precious.doc";
  const std::string content(70000, 'P');
  WriteFileBytes(other, content);
  if (!::CreateHardLinkW(file.c_str(), other.c_str(), nullptr))
    GTEST_SKIP() << "the prefix's file system has no hard links";

  int passes = 0;
  EXPECT_TRUE(RemoveJunkFile(file, true, [&](int) { ++passes; }));

  EXPECT_EQ(passes, 0) << "no byte of the shared content is overwritten";
  EXPECT_FALSE(PathExists(file));
  EXPECT_EQ(ReadFileBytes(other), content);
}

// As the C runtime's fopen holds a file: reading and writing, sharing
// both with others (but not deletion).
class THeldFile {
public:
  explicit THeldFile(const std::wstring &path)
      : file_(::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                            nullptr)) {}
  bool Held() const { return file_.Valid(); }

private:
  UniqueFile file_;
};

class HeldFileTest : public ::testing::TestWithParam<bool> {};

TEST_P(HeldFileTest, FileHeldWithReadWriteSharingIsSkippedUnchanged) {
  const bool secure = GetParam();
  TScratchFolder dir(L"secure-held");
  const std::wstring file = dir / L"in-use.tmp";
  const std::string content(50000, 'H');
  WriteFileBytes(file, content);
  {
    THeldFile held(file);
    ASSERT_TRUE(held.Held());
    int passes = 0;
    EXPECT_FALSE(RemoveJunkFile(file, secure, [&](int) { ++passes; }));
    EXPECT_EQ(passes, 0);
    EXPECT_EQ(ReadShared(file), content);
  }
  EXPECT_EQ(FilesIn(dir.Path()), std::set<std::wstring>{file}) << "no renamed copy either";
}

INSTANTIATE_TEST_SUITE_P(Modes, HeldFileTest, ::testing::Values(false, true),
                         [](const auto &info) { return info.param ? "secure" : "plain"; });

// A pass the volume refuses: removal_probe deletes the file securely in a
// process whose Unix file-size limit (ulimit -f) ends inside the file, so
// the first pass's writes stop short there, as on a full disk.
TEST(SecureDeletionTest, FailedPassLeavesTheFileUnderItsNameUncounted) {
  TScratchFolder dir(L"secure-refused");
  const std::wstring file = dir / L"big.tmp";
  const std::string content(1 << 20, 'R');
  WriteFileBytes(file, content);
  const std::wstring out = dir / L"probe.out";
  const std::string probe = UnixName(ProgramFolder() + L"removal_probe.exe");
  const std::string outName = UnixName(out);
  if (probe.empty() || outName.empty())
    GTEST_SKIP() << "needs Wine to start a Unix shell";

  // 200 blocks: 100 KiB in dash's 512-byte blocks, 200 KiB in bash's; both
  // end inside the file.
  const std::string command = "(ulimit -f 200; trap '' XFSZ; wine '" + probe + "' secure '" +
                              ToUtf8(file) + "' >'" + outName + ".part' 2>&1); mv '" + outName +
                              ".part' '" + outName + "'";
  ASSERT_TRUE(StartUnixProgram(L"Z:\\bin\\sh", L"Z:\\bin\\sh -c \"" + FromUtf8(command) + L"\""));
  std::string result;
  for (int i = 0; i < 600 && !PathExists(out); ++i)
    ::Sleep(100);
  result = ReadFileBytes(out);

  EXPECT_NE(result.find("removed=0 passes=0"), std::string::npos) << result;
  EXPECT_TRUE(PathExists(file)) << "still under its own name";
  const std::string left = ReadShared(file);
  ASSERT_EQ(left.size(), content.size());
  EXPECT_EQ(left.front(), '\0') << "the first pass began";
  EXPECT_EQ(left.back(), 'R') << "and was refused before the end";
  std::set<std::wstring> expected{file, out};
  EXPECT_EQ(FilesIn(dir.Path()), expected) << "no renamed copy";
}

} // namespace
