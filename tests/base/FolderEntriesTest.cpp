// Folder listings: the standard information level (the one every Windows
// version has, used when the system refuses the short one) lists the same
// entries as the fast one.
#include "base/FolderEntries.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace velmora;

namespace {

std::vector<std::wstring> Names(const std::wstring &pattern, TFindLevel level) {
  std::vector<std::wstring> names;
  TFolderEntries entries(pattern, level);
  TFolderEntry e;
  while (entries.Next(e))
    names.push_back(e.Name + (e.IsFolder() ? L"\\" : L"") + L":" + std::to_wstring(e.Size));
  std::sort(names.begin(), names.end());
  return names;
}

} // namespace

TEST(FolderEntries, BothLevelsListTheSameEntries) {
  wchar_t temp[MAX_PATH + 1];
  GetTempPathW(MAX_PATH + 1, temp);
  const std::wstring dir = std::wstring(temp) + L"velmora-folder-levels\\";
  CreateDirectoryW(dir.c_str(), nullptr);
  CreateDirectoryW((dir + L"sub").c_str(), nullptr);
  for (const wchar_t *name : {L"a.lng", L"b.txt", L"long file name.lng"}) {
    HANDLE f =
        CreateFileW((dir + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(f, "12345", static_cast<DWORD>(wcslen(name) % 5), &written, nullptr);
    CloseHandle(f);
  }
  for (const std::wstring &pattern : {dir + L"*", dir + L"*.lng", dir + L"none*", dir + L"x\\*"}) {
    SCOPED_TRACE(std::string(pattern.begin(), pattern.end()));
    EXPECT_EQ(Names(pattern, TFindLevel::Standard), Names(pattern, TFindLevel::Fast));
  }
  EXPECT_EQ(Names(dir + L"*.lng", TFindLevel::Standard).size(), 2u);
  for (const wchar_t *name : {L"a.lng", L"b.txt", L"long file name.lng"})
    DeleteFileW((dir + name).c_str());
  RemoveDirectoryW((dir + L"sub").c_str());
  RemoveDirectoryW(dir.c_str());
}
