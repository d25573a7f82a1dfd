#include "FolderEntries.h"

namespace velmora {

TFolderEntries::TFolderEntries(const std::wstring &pattern) {
  find_.Reset(::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data_, FindExSearchNameMatch,
                                 nullptr, FIND_FIRST_EX_LARGE_FETCH));
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
  DWORD a = ::GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::wstring &path) {
  DWORD a = ::GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace velmora
