#include "removal/JunkRemoval.h"

#include "base/Handles.h"
#include "base/Text.h"
#include "system/AppFrame_New.h"

#include <bcrypt.h>
#include <shellapi.h>

#include <algorithm>
#include <vector>

namespace velmora {

namespace {

constexpr DWORD kChunk = 64 * 1024;
constexpr int kRenameAttempts = 8;

void FillRandom(std::vector<unsigned char> &bytes) {
  if (!BCRYPT_SUCCESS(::BCryptGenRandom(nullptr, bytes.data(), static_cast<ULONG>(bytes.size()),
                                        BCRYPT_USE_SYSTEM_PREFERRED_RNG)))
    for (unsigned char &b : bytes) // never reached in practice; still not a fixed pattern
      b = static_cast<unsigned char>(::GetTickCount() * 2654435761u >> 24) ^ b;
}

std::wstring FinalPath(HANDLE handle) {
  wchar_t buffer[MAX_PATH * 2];
  const DWORD n = ::GetFinalPathNameByHandleW(handle, buffer, MAX_PATH * 2, 0);
  return n > 0 && n < MAX_PATH * 2 ? std::wstring(buffer, n) : std::wstring();
}

// True when the open file is the entry its path names in its folder. A
// Unix symbolic link under Wine shows as a plain file and opens as its
// target; its final path is then the target's, not the link's.
bool IsTheNamedEntry(HANDLE file, const std::wstring &path) {
  UniqueFile folder(::CreateFileW(ExtractFilePath(path).c_str(), FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  const std::wstring folderPath = folder ? FinalPath(folder.Get()) : std::wstring();
  return !folderPath.empty() &&
         SameText(FinalPath(file), IncludeTrailingBackslash(folderPath) + ExtractFileName(path));
}

// A handle on path itself (never on what a reparse point names), kept only
// when it is a plain file.
UniqueFile OpenPlainFile(const std::wstring &path, DWORD access, DWORD share, DWORD flags = 0) {
  UniqueFile file(::CreateFileW(path.c_str(), access, share, nullptr, OPEN_EXISTING,
                                FILE_FLAG_OPEN_REPARSE_POINT | flags, nullptr));
  BY_HANDLE_FILE_INFORMATION info;
  if (file &&
      (!::GetFileInformationByHandle(file.Get(), &info) ||
       (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) ||
       !IsTheNamedEntry(file.Get(), path)))
    file.Reset();
  return file;
}

bool DeleteOpenFile(const UniqueFile &file) {
  FILE_DISPOSITION_INFO disposition{TRUE};
  return ::SetFileInformationByHandle(file.Get(), FileDispositionInfo, &disposition,
                                      sizeof(disposition)) != FALSE;
}

bool DeletePlainFile(const std::wstring &path) {
  UniqueFile file = OpenPlainFile(path, DELETE | FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
  return file && DeleteOpenFile(file);
}

// One pass over the whole file with fill (or random bytes when fill < 0),
// flushed to the disk.
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

bool SecureDelete(const std::wstring &path, const TPassDone &passDone) {
  {
    // Readers may share the file while it is overwritten; writers may not.
    UniqueFile file =
        OpenPlainFile(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, FILE_FLAG_WRITE_THROUGH);
    LARGE_INTEGER size{};
    BY_HANDLE_FILE_INFORMATION info;
    // A read-only file could not be deleted afterwards: leave it whole.
    if (!file || !::GetFileInformationByHandle(file.Get(), &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) || !::GetFileSizeEx(file.Get(), &size))
      return false;
    const int fills[3] = {0x00, 0xFF, -1};
    for (int pass = 0; pass < 3; ++pass) {
      if (!OverwritePass(file.Get(), size.QuadPart, fills[pass]))
        break; // the file still goes; the junk is removed either way
      if (passDone)
        passDone(pass + 1);
    }
  }
  // The name goes too: rename to a random name of the same length in the
  // same folder (never over an existing file), then delete that.
  const std::wstring folder = ExtractFilePath(path);
  const std::wstring name = ExtractFileName(path);
  for (int attempt = 0; attempt < kRenameAttempts; ++attempt) {
    const std::wstring renamed = folder + RandomNameLike(name);
    if (::MoveFileExW(path.c_str(), renamed.c_str(), 0)) {
      if (DeletePlainFile(renamed))
        return true;
      ::MoveFileExW(renamed.c_str(), path.c_str(), 0); // never leave it under a strange name
      return false;
    }
    if (::GetLastError() != ERROR_ALREADY_EXISTS && ::GetLastError() != ERROR_FILE_EXISTS)
      break;
  }
  return DeletePlainFile(path);
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

bool RemoveJunkFile(const std::wstring &path, bool secure, const TPassDone &passDone) {
  return secure ? SecureDelete(path, passDone) : DeletePlainFile(path);
}

int RemoveJunk(const TJunkSettings &settings) {
  const TAppFrame frame;
  TJunkRules rules;
  rules.CookiePrefix = CookiePrefixOf(NetworkUserName());
  rules.RemoveDay = settings.RemoveDay;
  ::GetLocalTime(&rules.Now);

  // List first, delete afterwards: a listing is not changed under its feet.
  std::vector<std::wstring> files;
  for (const TJunkFolder &folder : JunkFolders(settings, frame.FolderOfKind(fkInternetCache)))
    WalkJunkFolder(
        folder.Path, folder.Walk, rules,
        [&files](const std::wstring &path, const TFolderEntry &) { files.push_back(path); });

  int removed = 0;
  for (const std::wstring &path : files)
    if (RemoveJunkFile(path, settings.SecureDeletion))
      ++removed;

  if (settings.Recycle)
    ::SHEmptyRecycleBinW(nullptr, nullptr,
                         SHERB_NOCONFIRMATION | SHERB_NOPROGRESSUI | SHERB_NOSOUND);
  return removed;
}

} // namespace velmora
