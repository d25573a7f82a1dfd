#include "removal/JunkRules.h"

#include "base/Text.h"
#include "settings/ConfigFile.h"
#include "system/Routines.h"

#include <winnetwk.h>

#include <cwctype>

namespace velmora {

TJunkSettings ReadJunkSettings(const std::wstring &configFile) {
  const TConfigFile config(configFile);
  TJunkSettings s;
  s.TempFile = config.ReadExactOne(cfg::kJunkSection, cfg::kTempFile);
  s.IECache = config.ReadExactOne(cfg::kJunkSection, cfg::kIeCache);
  s.Recycle = config.ReadExactOne(cfg::kJunkSection, cfg::kRecycle);
  s.RemoveDay = config.ReadInteger(cfg::kJunkSection, cfg::kRemoveDay, 7);
  s.SecureDeletion = config.ReadBool(cfg::kJunkSection, cfg::kSecureDeletion, false);
  return s;
}

std::vector<TJunkFolder> JunkFolders(const TJunkSettings &settings,
                                     const std::wstring &ieCacheFolder) {
  std::vector<TJunkFolder> folders;
  if (settings.IECache)
    folders.push_back({ieCacheFolder, TJunkWalk::IECache});
  if (settings.TempFile) {
    folders.push_back({TempFolder(), TJunkWalk::AgedFiles});
    folders.push_back({WindowsFolder() + L"\\temp", TJunkWalk::AgedFiles});
    if (WindowsName() != L"Windows Vista") {
      const std::wstring wbemLogs = SystemFolder() + L"\\wbem\\Logs";
      if (FolderExists(wbemLogs))
        folders.push_back({wbemLogs, TJunkWalk::AllFiles});
      folders.push_back({WindowsFolder(), TJunkWalk::LogFiles});
    }
  }
  return folders;
}

std::wstring CookiePrefixOf(const std::wstring &userName) { return userName + L"@"; }

std::wstring NetworkUserName() {
  DWORD size = 0;
  char probe[1] = {0};
  ::WNetGetUserA(nullptr, probe, &size);
  if (size == 0)
    return {};
  std::string name(size, '\0');
  if (::WNetGetUserA(nullptr, name.data(), &size) != NO_ERROR)
    return {};
  name.resize(std::char_traits<char>::length(name.c_str()));
  return FromAnsi(name);
}

namespace {

// A local time cut to whole seconds, as a count of 100 ns units.
bool WholeSecondsOf(SYSTEMTIME t, int64_t &value) {
  t.wMilliseconds = 0;
  FILETIME ft;
  if (!::SystemTimeToFileTime(&t, &ft))
    return false;
  value = (static_cast<int64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
  return true;
}

bool IsLogFileName(const std::wstring &name) {
  const size_t dot = name.rfind(L'.');
  if (dot == std::wstring::npos)
    return false;
  std::wstring ext = name.substr(dot);
  for (wchar_t &c : ext)
    c = static_cast<wchar_t>(std::towlower(c));
  return ext == L".log";
}

bool Contains(const std::wstring &name, const std::wstring &part) {
  return !part.empty() && name.find(part) != std::wstring::npos;
}

// Name rules of the recursive walks; true when the file is skipped.
bool SkippedByName(const std::wstring &name, TJunkWalk walk, const TJunkRules &rules) {
  switch (walk) {
  case TJunkWalk::IECache:
    return Contains(name, L".dat") || Contains(name, rules.CookiePrefix) ||
           Contains(name, L".ico") || Contains(name, L"desktop.ini");
  case TJunkWalk::AgedFiles:
    return Contains(name, L"index.dat") || Contains(name, rules.CookiePrefix);
  default:
    return false;
  }
}

bool Cancelled(const std::atomic<bool> *cancel) { return cancel && cancel->load(); }

} // namespace

int64_t AgeInWholeDays(const FILETIME &lastWriteUtc, const SYSTEMTIME &nowLocal) {
  int64_t now = 0;
  if (!WholeSecondsOf(nowLocal, now))
    return 0;
  int64_t then = now; // a time that cannot be read counts as now
  FILETIME local;
  SYSTEMTIME st;
  if (::FileTimeToLocalFileTime(&lastWriteUtc, &local) && ::FileTimeToSystemTime(&local, &st))
    WholeSecondsOf(st, then);
  const int64_t diff = now > then ? now - then : then - now;
  return diff / (10000000LL * 86400);
}

bool IsJunkFile(const std::wstring &path, const std::wstring &name, const FILETIME &lastWrite,
                TJunkWalk walk, const TJunkRules &rules) {
  if (SkippedByName(name, walk, rules))
    return false;
  switch (walk) {
  case TJunkWalk::AgedFiles:
    return FileExists(path) && AgeInWholeDays(lastWrite, rules.Now) >= rules.RemoveDay;
  case TJunkWalk::LogFiles:
    return IsLogFileName(name) && !IsFileInUse(path);
  default:
    return true;
  }
}

void WalkJunkFolder(const std::wstring &folder, TJunkWalk walk, const TJunkRules &rules,
                    const TJunkFound &found, const std::atomic<bool> *cancel) {
  if (folder.empty())
    return;
  const std::wstring base = IncludeTrailingBackslash(folder);
  TFolderEntries entries(base + L"*.*");
  TFolderEntry entry;
  while (!Cancelled(cancel) && entries.Next(entry)) {
    if (entry.IsReparsePoint())
      continue;
    const std::wstring path = base + entry.Name;
    if (entry.IsFolder()) {
      if (walk != TJunkWalk::LogFiles)
        WalkJunkFolder(path, walk, rules, found, cancel);
    } else if (IsJunkFile(path, entry.Name, entry.LastWrite, walk, rules)) {
      found(path, entry);
    }
  }
}

} // namespace velmora
