#pragma once
// What counts as a junk file, in one place: the settings of section
// "Junk File Removal", the folders an analysis walks and the name and age
// rules of each walk. The analysis (TempThread) counts what these rules
// find; the removal library re-checks each listed file against the same
// rules before it removes it.
#include "base/FolderEntries.h"

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <vector>

namespace velmora {

struct TJunkSettings {
  bool TempFile = true; // temporary files and logs
  bool IECache = true;  // Internet Explorer cache files
  bool Recycle = true;  // the recycle bin
  int RemoveDay = 7;    // minimum age of a temporary file, in whole days
  bool SecureDeletion = false;
};

// Reads the settings from the configuration file; a missing file or key
// gives the defaults. "TempFile", "IE Cache" and "Recycle" are on only when
// their text is exactly "1".
TJunkSettings ReadJunkSettings(const std::wstring &configFile);

// The four walks.
enum class TJunkWalk {
  IECache,   // recursive; skips names containing ".dat", the cookie prefix, ".ico", "desktop.ini"
  AgedFiles, // recursive; skips "index.dat" and the cookie prefix; files at least RemoveDay old
  AllFiles,  // recursive; every file
  LogFiles,  // this folder only; ".log" files (any case) that are not in use
};

struct TJunkFolder {
  std::wstring Path;
  TJunkWalk Walk;
  bool IsIECache() const { return Walk == TJunkWalk::IECache; }
};

// The folders an analysis walks under settings, in order: the Internet
// cache, the temporary folder, Windows\temp, then (except on Windows Vista)
// system32\wbem\Logs when it exists and the Windows folder's logs.
std::vector<TJunkFolder> JunkFolders(const TJunkSettings &settings,
                                     const std::wstring &ieCacheFolder);

// The user name and "@" that starts the user's own cookie files.
std::wstring CookiePrefixOf(const std::wstring &userName);
// The network user name of the current user (WNetGetUserA); empty when the
// system gives none.
std::wstring NetworkUserName();

// Whole days between a file's last write (UTC, as listings give it) and now
// (local time), both in local time cut to whole seconds; the absolute
// difference, so a file dated in the future ages too.
int64_t AgeInWholeDays(const FILETIME &lastWriteUtc, const SYSTEMTIME &nowLocal);

struct TJunkRules {
  std::wstring CookiePrefix;
  int RemoveDay = 7;
  SYSTEMTIME Now{}; // local time the ages are measured against
};

// Whether walk admits the file at path (named name, last written at
// lastWrite) below its root: its name rules, and for the aged walk its age,
// for the log walk its extension and that no one holds it open.
bool IsJunkFile(const std::wstring &path, const std::wstring &name, const FILETIME &lastWrite,
                TJunkWalk walk, const TJunkRules &rules);

// Called for every junk file found, with its full path and listing entry.
using TJunkFound = std::function<void(const std::wstring &path, const TFolderEntry &entry)>;

// Walks one folder by the rules of walk, calling found for each junk file
// in listing order. Reparse points (junctions, symbolic links) are neither
// entered nor reported. Returns early once cancel (when given) is set; a
// missing or unreadable folder and an empty folder text find nothing.
void WalkJunkFolder(const std::wstring &folder, TJunkWalk walk, const TJunkRules &rules,
                    const TJunkFound &found, const std::atomic<bool> *cancel = nullptr);

} // namespace velmora
