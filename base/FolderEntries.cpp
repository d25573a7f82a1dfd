#include "base/FolderEntries.h"

#include <algorithm>
#include <vector>

namespace velmora {

TFolderEntries::TFolderEntries(const std::wstring &pattern, TFindLevel level) {
  if (level == TFindLevel::Fast)
    find_.Reset(::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data_, FindExSearchNameMatch,
                                   nullptr, FIND_FIRST_EX_LARGE_FETCH));
  // Before Windows 7, and on some file systems, the short listing is
  // refused (ERROR_INVALID_PARAMETER, ...): the standard one always works.
  // Nothing found and no such path are answers, not refusals.
  if (!find_.Valid()) {
    const DWORD error = level == TFindLevel::Fast ? ::GetLastError() : ERROR_INVALID_PARAMETER;
    if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND &&
        error != ERROR_NO_MORE_FILES)
      find_.Reset(::FindFirstFileExW(pattern.c_str(), FindExInfoStandard, &data_,
                                     FindExSearchNameMatch, nullptr, 0));
  }
  pending_ = find_.Valid();
}

bool TFolderEntries::Next(TFolderEntry &entry) {
  while (pending_) {
    const WIN32_FIND_DATAW d = data_;
    pending_ = ::FindNextFileW(find_.Get(), &data_) != FALSE;
    if (d.cFileName[0] == L'.' &&
        (d.cFileName[1] == 0 || (d.cFileName[1] == L'.' && d.cFileName[2] == 0)))
      continue;
    entry.Name = d.cFileName;
    entry.Attributes = d.dwFileAttributes;
    entry.Size = (static_cast<int64_t>(d.nFileSizeHigh) << 32) | d.nFileSizeLow;
    entry.LastWrite = d.ftLastWriteTime;
    entry.Created = d.ftCreationTime;
    return true;
  }
  return false;
}

bool FileExists(const std::wstring &path) {
  if (path.empty())
    return false;
  DWORD a = ::GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::wstring &path) {
  DWORD a = ::GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool SamePath(const std::wstring &a, const std::wstring &b) {
  return ::CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

std::wstring FinalPathOf(HANDLE h) {
  std::vector<wchar_t> buffer(MAX_PATH + 1);
  for (int attempt = 0; attempt < 2; ++attempt) {
    const DWORD n = ::GetFinalPathNameByHandleW(h, buffer.data(), static_cast<DWORD>(buffer.size()),
                                                FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (n == 0)
      return {};
    if (n < buffer.size())
      return std::wstring(buffer.data(), n);
    buffer.resize(n + 1);
  }
  return {};
}

bool ReadWholeFile(const std::wstring &path, uint64_t maxBytes, std::string &bytes) {
  UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size{};
  if (!file || !::GetFileSizeEx(file.Get(), &size) ||
      static_cast<uint64_t>(size.QuadPart) > maxBytes)
    return false;
  bytes.assign(static_cast<size_t>(size.QuadPart), '\0');
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD got = 0;
    const DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
    if (!::ReadFile(file.Get(), bytes.data() + done, want, &got, nullptr))
      return false;
    if (got == 0)
      break;
    done += got;
  }
  bytes.resize(done);
  return true;
}

} // namespace velmora
