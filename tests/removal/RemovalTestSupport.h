#pragma once
// Shared by the removal tests: what the junk folders hold, reading a file
// others hold open, the recycle bin (Wine's trash, which the scripts keep
// inside the build tree) and a cleaning through the real Tosmir.dll.
#include "base/Handles.h"
#include "base/Text.h"
#include "junk/RemovalThread.h"
#include "removal/TosmirApi.h"
#include "system/Routines.h"
#include "tests/junk/JunkTestSupport.h"

#include <shellapi.h>

#include <set>
#include <string>

namespace velmora::test {

// Every plain file below folder (reparse points not followed); with
// recursive false, the folder's own files only.
inline void Snapshot(const std::wstring &folder, bool recursive, std::set<std::wstring> &out) {
  const std::wstring base = IncludeTrailingBackslash(folder);
  TFolderEntries entries(base + L"*");
  TFolderEntry e;
  while (entries.Next(e)) {
    if (e.IsReparsePoint())
      continue;
    if (!e.IsFolder())
      out.insert(base + e.Name);
    else if (recursive)
      Snapshot(base + e.Name, true, out);
  }
}

// Every file in the folders a junk analysis walks.
inline std::set<std::wstring> JunkFolderFiles() {
  std::set<std::wstring> files;
  Snapshot(TAppFrame().FolderOfKind(fkInternetCache), true, files);
  Snapshot(TempFolder(), true, files);
  Snapshot(WindowsFolder() + L"\\temp", true, files);
  Snapshot(SystemFolder() + L"\\wbem\\Logs", true, files);
  Snapshot(WindowsFolder(), false, files);
  return files;
}

// Reads a file while others may hold it open for writing.
inline std::string ReadShared(const std::wstring &path) {
  UniqueFile f(::CreateFileW(path.c_str(), GENERIC_READ,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, 0, nullptr));
  if (!f)
    return "<unreadable>";
  std::string bytes(static_cast<size_t>(::GetFileSize(f.Get(), nullptr)), '\0');
  DWORD got = 0;
  if (!bytes.empty())
    ::ReadFile(f.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
  bytes.resize(got);
  return bytes;
}

// A cleaning as the Clean button's removal thread runs it, without the
// timed progress: Tosmir.dll with the configuration file's path.
inline bool CleanThroughLibrary() {
  return RunRemovalLibrary(tosmir::kTosmirLibrary, ConfigFilePath(TAppFrame()));
}

inline std::wstring JunkListFile() { return JunkListPath(ConfigFilePath(TAppFrame())); }

// Wine keeps the recycle bin in $XDG_DATA_HOME/Trash; the scripts point it
// into the build tree ("winehome"). Tests that fill or empty the bin run
// only then, so they never reach a developer's own trash.
inline bool RecycleBinIsPrivate() {
  wchar_t data[MAX_PATH];
  const DWORD n = ::GetEnvironmentVariableW(L"XDG_DATA_HOME", data, MAX_PATH);
  return n > 0 && n < MAX_PATH && std::wstring(data, n).ends_with(L"/winehome/.local/share");
}

struct TBinState {
  int64_t Size = -1, Items = -1;
  bool operator==(const TBinState &) const = default;
};

inline TBinState RecycleBinState() {
  SHQUERYRBINFO info{};
  info.cbSize = sizeof(info);
  if (FAILED(::SHQueryRecycleBinW(nullptr, &info)))
    return {};
  return {info.i64Size, info.i64NumItems};
}

// Moves a new file of bytes into the recycle bin.
inline bool PutInRecycleBin(const std::wstring &path, const std::string &bytes) {
  WriteFileBytes(path, bytes);
  std::wstring from = path + L'\0'; // double NUL terminated
  SHFILEOPSTRUCTW op{};
  op.wFunc = FO_DELETE;
  op.pFrom = from.c_str();
  op.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
  return ::SHFileOperationW(&op) == 0 && !op.fAnyOperationsAborted && !PathExists(path);
}

inline void EmptyRecycleBin() {
  ::SHEmptyRecycleBinW(nullptr, nullptr, SHERB_NOCONFIRMATION | SHERB_NOPROGRESSUI | SHERB_NOSOUND);
}

} // namespace velmora::test
