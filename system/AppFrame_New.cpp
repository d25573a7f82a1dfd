#include "system/AppFrame_New.h"

#include "base/Text.h"
#include "system/Routines.h"

#include <windows.h>

#include <shlobj.h>

namespace velmora {

TAppFrame::TAppFrame() {
  CommonAppDataPath = SpecialFolderPath(CSIDL_COMMON_APPDATA);
  AppDataPath = SpecialFolderPath(CSIDL_APPDATA);
  wchar_t buf[MAX_PATH + 1] = {};
  DWORD n = ::GetModuleFileNameW(nullptr, buf, MAX_PATH);
  ExePath = ExtractFilePath(std::wstring(buf, n));
}

std::wstring TAppFrame::SpecialFolderPath(int csidl) {
  wchar_t buf[MAX_PATH + 1] = {};
  if (!::SHGetSpecialFolderPathW(nullptr, buf, csidl, FALSE))
    return {};
  return buf;
}

std::wstring TAppFrame::FolderOfKind(int kind, const std::wstring &unchanged) const {
  // CSIDL per kind; 0 marks the kinds without a shell folder.
  static const int kCsidl[19] = {
      0,
      0,
      0,
      CSIDL_INTERNET_CACHE,
      CSIDL_COOKIES,
      CSIDL_HISTORY,
      CSIDL_RECENT,
      CSIDL_DESKTOPDIRECTORY,
      CSIDL_PROGRAMS,
      CSIDL_FAVORITES,
      CSIDL_STARTUP,
      -1,
      CSIDL_APPDATA,
      CSIDL_LOCAL_APPDATA,
      -1,
      CSIDL_PROGRAM_FILES,
      CSIDL_PROGRAM_FILES_COMMON,
      CSIDL_STARTMENU,
      CSIDL_COMMON_APPDATA,
  };
  switch (kind) {
  case fkWindows:
    return WindowsFolder();
  case fkSystem:
    return SystemFolder();
  case fkTemp:
    return TempFolder();
  default:
    if (kind < 0 || kind > 18 || kCsidl[kind] < 0)
      return unchanged;
    return SpecialFolderPath(kCsidl[kind]);
  }
}

} // namespace velmora
