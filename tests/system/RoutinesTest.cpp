#include "system/Routines.h"
#include "system/AppFrame_New.h"

#include "TestSupport.h"
#include "base/Error.h"
#include "base/Handles.h"
#include "base/Text.h"

#include <gtest/gtest.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <cstdio>

using namespace velmora;
using namespace velmora::test;

namespace {

struct SizeCase {
  int64_t bytes;
  const wchar_t *sizeText;
  const wchar_t *noBytes;
};

const SizeCase kSizes[] = {
    {0, L"0 Byte", L"0 Byte"},
    {1, L"1 Byte", L"0 Byte"},
    {1023, L"1023 Byte", L"0 Byte"},
    {1024, L"1.00 KB", L"1.00 KB"},
    {1536, L"1.50 KB", L"1.50 KB"},
    {1048575, L"1024.00 KB", L"1024.00 KB"},
    {1048576, L"1.00 MB", L"1.00 MB"},
    {1073741823, L"1024.00 MB", L"1024.00 MB"},
    {1073741824, L"1.00 GB", L"1.00 GB"},
    {5LL * 1024 * 1024 * 1024 * 1024, L"5120.00 GB", L"5120.00 GB"}, // no unit above GB
    {-5, L"-5 Byte", L"0 Byte"},
};

TEST(SizeTextTest, LaddersAtTheirBoundaries) {
  for (const SizeCase &c : kSizes) {
    EXPECT_EQ(SizeText(c.bytes), c.sizeText) << c.bytes;
    EXPECT_EQ(SizeTextNoBytes(c.bytes), c.noBytes) << c.bytes;
  }
}

TEST(SizeTextTest, UsesTheLocaleDecimalSeparator) {
  wchar_t old[8] = {};
  ASSERT_GT(GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, old, 8), 0);
  ASSERT_TRUE(SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, L","));
  const std::wstring gb = SizeText(1073741824), kb = SizeTextNoBytes(1536);
  SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, old);
  EXPECT_EQ(gb, L"1,00 GB");
  EXPECT_EQ(kb, L"1,50 KB");
}

TEST(TextBeforeTest, NamePartOfALine) {
  EXPECT_EQ(TextBefore(L"alpha=1", 255, L'='), L"alpha");
  EXPECT_EQ(TextBefore(L"a=b=c", 255, L'='), L"a");
  EXPECT_EQ(TextBefore(L"=x", 255, L'='), L"");
  EXPECT_EQ(TextBefore(L"no delimiter", 255, L'='), L"");
  EXPECT_EQ(TextBefore(L"abcdef", 3, L'\0'), L"abc");
  EXPECT_EQ(TextBefore(L"ab", 3, L'\0'), L"ab");
}

TEST(AppFrameTest, ThreePathsAndFolderKinds) {
  TAppFrame frame;
  EXPECT_EQ(frame.CommonAppDataPath, TAppFrame::SpecialFolderPath(CSIDL_COMMON_APPDATA));
  EXPECT_EQ(frame.AppDataPath, TAppFrame::SpecialFolderPath(CSIDL_APPDATA));
  EXPECT_FALSE(frame.AppDataPath.empty());
  EXPECT_NE(frame.AppDataPath.back(), L'\\');
  EXPECT_EQ(frame.ExePath, ProgramFolder());
  EXPECT_EQ(frame.ExePath.back(), L'\\');

  const struct {
    int kind;
    int csidl;
  } shellKinds[] = {
      {3, CSIDL_INTERNET_CACHE}, {4, CSIDL_COOKIES},          {5, CSIDL_HISTORY},
      {6, CSIDL_RECENT},         {7, CSIDL_DESKTOPDIRECTORY}, {8, CSIDL_PROGRAMS},
      {9, CSIDL_FAVORITES},      {10, CSIDL_STARTUP},         {12, CSIDL_APPDATA},
      {13, CSIDL_LOCAL_APPDATA}, {15, CSIDL_PROGRAM_FILES},   {16, CSIDL_PROGRAM_FILES_COMMON},
      {17, CSIDL_STARTMENU},     {18, CSIDL_COMMON_APPDATA}};
  for (const auto &k : shellKinds) {
    const std::wstring folder = frame.FolderOfKind(k.kind);
    EXPECT_FALSE(folder.empty()) << k.kind;
    EXPECT_EQ(folder, TAppFrame::SpecialFolderPath(k.csidl)) << k.kind;
  }
  EXPECT_EQ(frame.FolderOfKind(0), WindowsFolder());
  EXPECT_EQ(frame.FolderOfKind(1), SystemFolder());
  EXPECT_EQ(frame.FolderOfKind(2), TempFolder());
  for (int kind : {11, 14, 19, 100, -1})
    EXPECT_EQ(frame.FolderOfKind(kind, L"as passed"), L"as passed") << kind;
}

TEST(AppFrameTest, SystemFolders) {
  wchar_t buf[MAX_PATH];
  GetWindowsDirectoryW(buf, MAX_PATH);
  EXPECT_EQ(WindowsFolder(), buf);
  GetSystemDirectoryW(buf, MAX_PATH);
  EXPECT_EQ(SystemFolder(), buf);
  EXPECT_NE(WindowsFolder().back(), L'\\');
  ASSERT_FALSE(TempFolder().empty());
  EXPECT_EQ(TempFolder().back(), L'\\');
  EXPECT_EQ(TAppFrame::SpecialFolderPath(0x7F), L"");
}

TEST(IsFileInUseTest, MissingReadOnlyLockedAndFree) {
  TScratchFolder dir(L"inuse");
  EXPECT_FALSE(IsFileInUse(dir / L"missing.txt"));
  EXPECT_FALSE(IsFileInUse(dir.Path())); // a folder is not a file

  WriteFileBytes(dir / L"free.txt", "x");
  EXPECT_FALSE(IsFileInUse(dir / L"free.txt"));

  WriteFileBytes(dir / L"readonly.txt", "x");
  SetFileAttributesW((dir / L"readonly.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_TRUE(IsFileInUse(dir / L"readonly.txt"));

  WriteFileBytes(dir / L"locked.txt", "x");
  {
    UniqueFile lock(CreateFileW((dir / L"locked.txt").c_str(), GENERIC_READ, 0, nullptr,
                                OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(lock.Valid());
    EXPECT_TRUE(IsFileInUse(dir / L"locked.txt"));
  }
  EXPECT_FALSE(IsFileInUse(dir / L"locked.txt"));
}

TEST(FileVersionTest, Shell32AndFilesWithoutVersion) {
  const uint32_t v = FileVersionHigh(SystemFolder() + L"\\shell32.dll");
  EXPECT_GE(v >> 16, 5u); // major version of the shell
  TScratchFolder dir(L"version");
  WriteFileBytes(dir / L"plain.txt", "no resource");
  EXPECT_EQ(FileVersionHigh(dir / L"plain.txt"), 0u);
  EXPECT_EQ(FileVersionHigh(dir / L"missing.dll"), 0u);
}

// WindowsName reads the version once per process, so each version is asked
// of a fresh probe process started after the prefix's version is set.
std::wstring WindowsNameUnder(const std::wstring &version) {
  SetWineVersion(version);
  const std::wstring probe = ProgramFolder() + L"windows_name_probe.exe";
  TScratchFolder dir(L"winname-" + version);
  const std::wstring out = dir / L"out.txt";
  SECURITY_ATTRIBUTES sa{sizeof(sa), nullptr, TRUE};
  UniqueFile file(
      CreateFileW(out.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &sa, CREATE_ALWAYS, 0, nullptr));
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = file.Get();
  PROCESS_INFORMATION pi{};
  std::wstring cmd = L"\"" + probe + L"\"";
  if (!CreateProcessW(probe.c_str(), cmd.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si,
                      &pi))
    return L"<probe did not start>";
  WaitForSingleObject(pi.hProcess, 30000);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  file.Reset();
  std::string bytes = ReadFileBytes(out);
  return std::wstring(bytes.begin(), bytes.end());
}

TEST(WindowsNameTest, NamesTheVersionsUpToVista) {
  const struct {
    const wchar_t *wineVersion, *name;
  } cases[] = {{L"vista", L"Windows Vista"},
               {L"winxp", L"Windows XP"},
               {L"win2003", L"Windows 2003 Server"},
               {L"win2k", L"Windows 2000"},
               {L"win7", L""}};
  for (const auto &c : cases)
    EXPECT_EQ(WindowsNameUnder(c.wineVersion), c.name) << c.wineVersion;
  SHDeleteValueW(HKEY_CURRENT_USER, L"Software\\Wine", L"Version");
}

} // namespace

namespace {

TEST(MoveFileAtRestartTest, NtSchedulesAFileHeldOpenByAnotherHandle) {
  TScratchFolder dir(L"restart-nt");
  ForgetPendingBelow(dir.Path()); // left by a run that was killed
  const std::wstring file = dir / L"locked.dat", renamed = dir / L"renamed.dat";
  WriteFileBytes(file, "data");
  UniqueFile lock(CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(lock.Valid());
  EXPECT_TRUE(MoveFileAtRestart(file, L"", 1));
  EXPECT_TRUE(MoveFileAtRestartOn(VER_PLATFORM_WIN32_NT, L"", file, renamed, 2));
  EXPECT_FALSE(MoveFileAtRestartOn(VER_PLATFORM_WIN32_NT, L"", file, L"", 3));
  // Nothing happens before the next start of Windows.
  EXPECT_TRUE(PathExists(file));

  // What Windows will do then: delete the file (an empty target), and
  // rename it over whatever holds the new name ("!").
  std::vector<std::pair<std::wstring, std::wstring>> recorded;
  for (const auto &operation : PendingRestartOperations())
    if (operation.first.find(dir.Path()) != std::wstring::npos)
      recorded.push_back(operation);
  ForgetPendingBelow(dir.Path());
  const std::vector<std::pair<std::wstring, std::wstring>> expected = {
      {L"\\??\\" + file, L""}, {L"\\??\\" + file, L"!\\??\\" + renamed}};
  EXPECT_EQ(recorded, expected);

  SetLastError(0);
  EXPECT_FALSE(MoveFileAtRestartOn(VER_PLATFORM_WIN32s, L"", file, L"", 1));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_SUPPORTED));
}

std::string ShortName(const std::wstring &path) {
  wchar_t buf[MAX_PATH + 1] = {};
  GetShortPathNameW(path.c_str(), buf, MAX_PATH + 1);
  return ToAnsi(buf);
}

class Win9xRestartTest : public ::testing::Test {
protected:
  TScratchFolder windows{L"restart-9x-windows"};
  TScratchFolder files{L"restart-9x-files"};
  const unsigned long k9x = VER_PLATFORM_WIN32_WINDOWS;
  std::string Ini() { return ReadFileBytes(windows / L"wininit.ini"); }
};

TEST_F(Win9xRestartTest, NewestRequestStandsFirstInTheSection) {
  const std::wstring a = files / L"a.txt", b = files / L"b.txt";
  WriteFileBytes(a, "a");
  WriteFileBytes(b, "b");
  EXPECT_TRUE(MoveFileAtRestartOn(k9x, windows.Path(), a, L"", 1));
  EXPECT_TRUE(MoveFileAtRestartOn(k9x, windows.Path(), b, L"", 1));
  EXPECT_EQ(Ini(), "[rename]\r\nNUL=" + ShortName(b) + "\r\nNUL=" + ShortName(a) + "\r\n");
}

TEST_F(Win9xRestartTest, ReusesTheSectionWhateverItsCaseAndKeepsOtherLines) {
  const std::wstring a = files / L"a.txt";
  WriteFileBytes(a, "a");
  WriteFileBytes(windows / L"wininit.ini", "[other]\r\nx=1\r\n[Rename]\r\nNUL=C:\\OLD.TXT\r\n");
  EXPECT_TRUE(MoveFileAtRestartOn(k9x, windows.Path(), a, files / L"target.txt", 2));
  EXPECT_EQ(Ini(), "[other]\r\nx=1\r\n[Rename]\r\n" + ToAnsi(files / L"target.txt") + "=" +
                       ShortName(a) + "\r\nNUL=C:\\OLD.TXT\r\n");
}

TEST_F(Win9xRestartTest, TargetNamesMustBeShortUnlessTheTargetExists) {
  const std::wstring a = files / L"a.txt";
  WriteFileBytes(a, "a");
  const struct {
    const wchar_t *name;
    bool valid;
  } cases[] = {{L"file.text", false}, {L"ninechars.txt", false}, {L"ninechars", false},
               {L"eightchr", true},   {L"eightchr.txt", true},   {L"a.b.c", true}};
  for (const auto &c : cases) {
    const std::wstring target = files / c.name;
    if (c.valid) {
      EXPECT_TRUE(MoveFileAtRestartOn(k9x, windows.Path(), a, target, 2)) << c.name;
    } else {
      const std::string before = PathExists(windows / L"wininit.ini") ? Ini() : "";
      try {
        MoveFileAtRestartOn(k9x, windows.Path(), a, target, 2);
        ADD_FAILURE() << "no error for " << ToAnsi(c.name);
      } catch (const EAppError &e) {
        EXPECT_EQ(e.Message(), L"Invalid File!");
      }
      EXPECT_EQ(PathExists(windows / L"wininit.ini") ? Ini() : "", before) << "nothing recorded";
    }
  }
  // An existing long-named target is written by its short name.
  const std::wstring existing = files / L"a long existing name.text";
  WriteFileBytes(existing, "t");
  EXPECT_TRUE(MoveFileAtRestartOn(k9x, windows.Path(), a, existing, 2));
  EXPECT_NE(Ini().find(ShortName(existing) + "=" + ShortName(a)), std::string::npos);
}

} // namespace
