#pragma once
// Helpers for tests that plant real files and registry entries in the
// private Wine prefix.
#include <windows.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace velmora::test {

// A fresh, empty folder %TEMP%\velmora-tests\<name>\ (trailing backslash);
// removed again by the destructor.
class TScratchFolder {
public:
  explicit TScratchFolder(const std::wstring &name);
  ~TScratchFolder();
  TScratchFolder(const TScratchFolder &) = delete;
  TScratchFolder &operator=(const TScratchFolder &) = delete;
  const std::wstring &Path() const { return path_; }
  std::wstring operator/(const std::wstring &relative) const { return path_ + relative; }

private:
  std::wstring path_;
};

// Creates every missing folder of path.
void MakeFolders(const std::wstring &path);
// Deletes a folder with everything below it (never following reparse points).
void RemoveTree(const std::wstring &path);
// Creates or replaces a file (and its folders) with the given bytes.
void WriteFileBytes(const std::wstring &path, const std::string &bytes);
std::string ReadFileBytes(const std::wstring &path);
bool PathExists(const std::wstring &path);
// Sets creation, last-access and last-write time to `days` days ago
// (a negative count dates the file ahead).
void SetFileAgeDays(const std::wstring &path, double days);

// Registry under HKEY_CURRENT_USER.
void RegWriteString(const std::wstring &key, const std::wstring &name, const std::wstring &value);
void RegWriteDword(const std::wstring &key, const std::wstring &name, DWORD value);
void RegWriteBinary(const std::wstring &key, const std::wstring &name, const std::string &bytes);
void RegCreateKey(const std::wstring &key);
bool RegKeyExists(const std::wstring &key);
bool RegValueExists(const std::wstring &key, const std::wstring &name);
void RegDeleteTree(const std::wstring &key);

// Sets the Windows version the prefix reports to programs started later
// ("vista", "winxp", "win7", ...).
void SetWineVersion(const std::wstring &version);

// The restart operations the prefix has recorded
// (PendingFileRenameOperations), as source, target pairs in order: NT paths
// ("\\??\\C:\\..."); an empty target means deletion, a target starting
// with "!" replaces an existing file.
std::vector<std::pair<std::wstring, std::wstring>> PendingRestartOperations();
// Takes back the recorded operations whose source lies below folder.
void ForgetPendingBelow(const std::wstring &folder);

// Folder of the running test program, with its backslash.
std::wstring ProgramFolder();

} // namespace velmora::test
