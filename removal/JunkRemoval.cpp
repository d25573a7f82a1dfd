#include "removal/JunkRemoval.h"

#include "base/FolderEntries.h"
#include "base/Handles.h"
#include "base/Text.h"
#include "system/AppFrame_New.h"

#include <bcrypt.h>
#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace velmora {

namespace {

constexpr DWORD kChunk = 64 * 1024;
constexpr int kRenameAttempts = 8;
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

void FillRandom(std::vector<unsigned char> &bytes) {
  if (!BCRYPT_SUCCESS(::BCryptGenRandom(nullptr, bytes.data(), static_cast<ULONG>(bytes.size()),
                                        BCRYPT_USE_SYSTEM_PREFERRED_RNG)))
    for (unsigned char &b : bytes) // never reached in practice; still not a fixed pattern
      b = static_cast<unsigned char>(::GetTickCount() * 2654435761u >> 24) ^ b;
}

bool StartsWithPath(const std::wstring &path, const std::wstring &prefix) {
  return path.size() > prefix.size() && SamePath(path.substr(0, prefix.size()), prefix);
}

// The components of a path below a root: none empty, none "." or "..", no
// stream or device syntax.
bool SplitRelative(const std::wstring &relative, std::vector<std::wstring> &parts) {
  parts.clear();
  size_t start = 0;
  for (;;) {
    const size_t end = relative.find(L'\\', start);
    const std::wstring part = relative.substr(start, end == std::wstring::npos ? end : end - start);
    if (part.empty() || part == L"." || part == L".." ||
        part.find_first_of(L":/*?\"<>|") != std::wstring::npos)
      return false;
    parts.push_back(part);
    if (end == std::wstring::npos)
      return true;
    start = end + 1;
  }
}

bool GetInfo(HANDLE h, BY_HANDLE_FILE_INFORMATION &info) {
  return ::GetFileInformationByHandle(h, &info) != FALSE;
}

bool IsPlainFolder(HANDLE h, const std::wstring &path) {
  BY_HANDLE_FILE_INFORMATION info;
  // The path's attributes as well: Wine shows a Unix symbolic link as a
  // reparse point only there.
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return GetInfo(h, info) && (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
         !(info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
         attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

bool Dispose(HANDLE file) {
  FILE_DISPOSITION_INFO disposition{TRUE};
  return ::SetFileInformationByHandle(file, FileDispositionInfo, &disposition,
                                      sizeof(disposition)) != FALSE;
}

// Renames the open file to ntPath ("\??\C:\...") through its handle, never
// over an existing file.
bool RenameOpenFile(HANDLE file, const std::wstring &ntPath) {
  const size_t nameBytes = ntPath.size() * sizeof(wchar_t);
  std::vector<unsigned char> buffer(sizeof(FILE_RENAME_INFO) + nameBytes, 0);
  auto *info = reinterpret_cast<FILE_RENAME_INFO *>(buffer.data());
  info->ReplaceIfExists = FALSE;
  info->RootDirectory = nullptr;
  info->FileNameLength = static_cast<DWORD>(nameBytes);
  std::memcpy(info->FileName, ntPath.data(), nameBytes);
  return ::SetFileInformationByHandle(file, FileRenameInfo, info,
                                      static_cast<DWORD>(buffer.size())) != FALSE;
}

std::wstring NtPathOf(const std::wstring &finalPath) { // "\\?\" -> "\??\"
  return L"\\??\\" + finalPath.substr(4);
}

// One pass over the whole file with fill (or random bytes when fill < 0),
// flushed to the disk. False as soon as any write falls short.
bool OverwritePass(HANDLE file, int64_t size, int fill) {
  LARGE_INTEGER zero{};
  if (!::SetFilePointerEx(file, zero, nullptr, FILE_BEGIN))
    return false;
  std::vector<unsigned char> buffer(static_cast<size_t>(std::min<int64_t>(size, kChunk)));
  if (fill >= 0)
    std::fill(buffer.begin(), buffer.end(), static_cast<unsigned char>(fill));
  for (int64_t left = size; left > 0;) {
    const DWORD n = static_cast<DWORD>(std::min<int64_t>(left, kChunk));
    if (fill < 0)
      FillRandom(buffer);
    DWORD written = 0;
    if (!::WriteFile(file, buffer.data(), n, &written, nullptr) || written != n)
      return false;
    left -= n;
  }
  return ::FlushFileBuffers(file) != FALSE;
}

// Overwrites, renames and deletes the open file (final path finalPath).
// A failed pass stops everything: the file keeps its name and stays.
bool SecureDeleteOpenFile(HANDLE file, const std::wstring &finalPath, int64_t size,
                          const TPassDone &passDone) {
  const int fills[3] = {0x00, 0xFF, -1};
  for (int pass = 0; pass < 3; ++pass) {
    if (!OverwritePass(file, size, fills[pass]))
      return false;
    if (passDone)
      passDone(pass + 1);
  }
  // The name goes too: a random name of the same length in the same folder.
  const std::wstring folder = ExtractFilePath(finalPath);
  const std::wstring name = ExtractFileName(finalPath);
  bool renamed = false;
  for (int attempt = 0; attempt < kRenameAttempts && !renamed; ++attempt) {
    renamed = RenameOpenFile(file, NtPathOf(folder + RandomNameLike(name)));
    if (!renamed && ::GetLastError() != ERROR_ALREADY_EXISTS &&
        ::GetLastError() != ERROR_FILE_EXISTS)
      break;
  }
  if (Dispose(file))
    return true;
  if (renamed)
    RenameOpenFile(file, NtPathOf(finalPath)); // never leave it under a strange name
  return false;
}

} // namespace

std::wstring RandomNameLike(const std::wstring &name) {
  static const wchar_t kChars[] = L"abcdefghijklmnopqrstuvwxyz0123456789";
  std::vector<unsigned char> bytes(name.size());
  FillRandom(bytes);
  std::wstring out;
  for (unsigned char b : bytes)
    out += kChars[b % 36];
  return out;
}

namespace {

// The removals below one scanned folder: its final path, and the folders
// from it down to the current file's folder, held open without delete
// sharing so that none can be renamed or swapped for a junction while
// files in them are removed. Consecutive files of one folder share them.
class TFolderScope {
public:
  explicit TFolderScope(const std::wstring &root)
      : base_(IncludeTrailingBackslash(root)),
        root_(::CreateFileW(base_.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                            FILE_FLAG_BACKUP_SEMANTICS, nullptr)) {
    if (root_)
      rootFinal_ = FinalPathOf(root_.Get());
  }

  bool Remove(const std::wstring &path, bool secure, const TFileIdentity *expected,
              const TPassDone &passDone) {
    std::vector<std::wstring> parts;
    if (rootFinal_.size() < 4 || !StartsWithPath(path, base_) ||
        !SplitRelative(path.substr(base_.size()), parts) || !HoldFolders(parts))
      return false;
    std::wstring expectedFinal = IncludeTrailingBackslash(rootFinal_);
    for (const std::wstring &part : parts)
      expectedFinal += part + L"\\";
    expectedFinal.pop_back();
    return RemoveHeldFile(path, expectedFinal, secure, expected, passDone);
  }

private:
  // Holds every folder of parts but the last (the file's name), reusing
  // the ones already held for the previous file.
  bool HoldFolders(const std::vector<std::wstring> &parts) {
    const size_t want = parts.size() - 1;
    size_t same = 0;
    while (same < names_.size() && same < want && SamePath(names_[same], parts[same]))
      ++same;
    names_.resize(same);
    held_.resize(same);
    std::wstring current = base_;
    for (size_t i = 0; i < same; ++i)
      current += parts[i] + L"\\";
    for (size_t i = same; i < want; ++i) {
      current += parts[i];
      UniqueFile folder(::CreateFileW(
          current.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
          OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
      if (!folder || !IsPlainFolder(folder.Get(), current))
        return false;
      names_.push_back(parts[i]);
      held_.push_back(std::move(folder));
      current += L"\\";
    }
    return true;
  }

  static bool RemoveHeldFile(const std::wstring &path, const std::wstring &expectedFinal,
                             bool secure, const TFileIdentity *expected,
                             const TPassDone &passDone) {
    // Overwriting needs the file to itself: nobody else may write to it or
    // delete it while it is open here.
    const DWORD access = secure ? GENERIC_READ | GENERIC_WRITE | DELETE
                                : DELETE | FILE_READ_ATTRIBUTES | SYNCHRONIZE;
    const DWORD share = secure ? FILE_SHARE_READ : kShareAll;
    const DWORD flags = FILE_FLAG_OPEN_REPARSE_POINT | (secure ? FILE_FLAG_WRITE_THROUGH : 0);
    UniqueFile file(
        ::CreateFileW(path.c_str(), access, share, nullptr, OPEN_EXISTING, flags, nullptr));
    BY_HANDLE_FILE_INFORMATION info;
    if (!file || !GetInfo(file.Get(), info) ||
        (info.dwFileAttributes &
         (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_READONLY)))
      return false;
    const int64_t size = (static_cast<int64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    if (expected && (size != expected->Size ||
                     ::CompareFileTime(&info.ftLastWriteTime, &expected->LastWrite) != 0))
      return false;
    const std::wstring finalPath = FinalPathOf(file.Get());
    if (finalPath.empty() || !SamePath(finalPath, expectedFinal))
      return false;

    // A file with further hard links keeps its content under those names;
    // only this name goes.
    if (!secure || info.nNumberOfLinks > 1)
      return Dispose(file.Get());
    return SecureDeleteOpenFile(file.Get(), finalPath, size, passDone);
  }

  std::wstring base_;
  UniqueFile root_;
  std::wstring rootFinal_;
  std::vector<std::wstring> names_;
  std::vector<UniqueFile> held_;
};

} // namespace

bool RemoveJunkFileBelow(const std::wstring &root, const std::wstring &path, bool secure,
                         const TFileIdentity *expected, const TPassDone &passDone) {
  return TFolderScope(root).Remove(path, secure, expected, passDone);
}

bool RemoveJunkFile(const std::wstring &path, bool secure, const TPassDone &passDone) {
  return RemoveJunkFileBelow(ExtractFilePath(path), path, secure, nullptr, passDone);
}

namespace {

// The folder of the analysis's walk that the entry names, as this process
// finds the junk folders; null when the entry names none of them.
const TJunkFolder *WalkedFolderOf(const TListedJunkFile &file,
                                  const std::vector<TJunkFolder> &folders) {
  for (const TJunkFolder &folder : folders)
    if (folder.Walk == file.Walk && !folder.Path.empty() &&
        SamePath(ExcludeTrailingBackslash(folder.Path), ExcludeTrailingBackslash(file.Root)))
      return &folder;
  return nullptr;
}

bool StillAdmitted(const TListedJunkFile &file, const TJunkFolder &folder,
                   const TJunkRules &rules) {
  const std::wstring base = IncludeTrailingBackslash(folder.Path);
  if (!StartsWithPath(file.Path, base))
    return false;
  const std::wstring relative = file.Path.substr(base.size());
  if (folder.Walk == TJunkWalk::LogFiles && relative.find(L'\\') != std::wstring::npos)
    return false; // the log walk never enters subfolders
  return IsJunkFile(file.Path, ExtractFileName(file.Path), file.LastWrite, folder.Walk, rules);
}

// Empties the bin only while it holds what the analysis saw.
bool EmptyRecycleBinAsCounted(const TJunkList &list) {
  if (!list.RecycleCounted || list.RecycleItems <= 0)
    return false;
  SHQUERYRBINFO now{};
  now.cbSize = sizeof(now);
  if (FAILED(::SHQueryRecycleBinW(nullptr, &now)) || now.i64Size != list.RecycleSize ||
      static_cast<uint32_t>(now.i64NumItems) != static_cast<uint64_t>(list.RecycleItems))
    return false;
  return SUCCEEDED(::SHEmptyRecycleBinW(nullptr, nullptr,
                                        SHERB_NOCONFIRMATION | SHERB_NOPROGRESSUI | SHERB_NOSOUND));
}

} // namespace

TRemovalResult RemoveListedJunk(const std::wstring &configFile, bool secure) {
  TRemovalResult result;
  const std::wstring listPath = JunkListPath(configFile);
  TJunkList list;
  result.ListRead = ReadJunkList(listPath, list);
  ::DeleteFileW(listPath.c_str()); // one list serves one cleaning
  if (!result.ListRead)
    return result;

  const TAppFrame frame;
  TJunkSettings every; // all on: any folder an analysis may have walked
  every.TempFile = every.IECache = every.Recycle = true;
  const std::vector<TJunkFolder> folders = JunkFolders(every, frame.FolderOfKind(fkInternetCache));
  TJunkRules rules;
  rules.CookiePrefix = CookiePrefixOf(NetworkUserName());
  rules.RemoveDay = list.RemoveDay;
  ::GetLocalTime(&rules.Now);

  std::unique_ptr<TFolderScope> scope; // the current entry's scanned folder
  const TJunkFolder *scopeFolder = nullptr;
  for (const TListedJunkFile &file : list.Files) {
    const TJunkFolder *folder = WalkedFolderOf(file, folders);
    if (folder && folder != scopeFolder) {
      scope = std::make_unique<TFolderScope>(folder->Path);
      scopeFolder = folder;
    }
    const TFileIdentity identity{file.Size, file.LastWrite};
    if (folder && StillAdmitted(file, *folder, rules) &&
        scope->Remove(file.Path, secure, &identity, {}))
      ++result.Removed;
    else
      ++result.Skipped;
  }
  result.BinEmptied = EmptyRecycleBinAsCounted(list);
  return result;
}

} // namespace velmora
