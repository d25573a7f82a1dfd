#pragma once
// The folders the program asks for at every turn, and any other special
// folder by a small number (the folder kind).
#include <string>

namespace velmora {

class TAppFrame {
public:
  // Fills the three paths at once.
  TAppFrame();

  std::wstring AppDataPath;       // roaming application data, no trailing backslash
  std::wstring CommonAppDataPath; // application data of all users, no trailing backslash
  std::wstring ExePath;           // folder of the running program, with its backslash

  // The folder of a kind 0..18 (see FolderKind); kinds 11, 14 and any
  // kind outside 0..18 give `unchanged` back.
  std::wstring FolderOfKind(int kind, const std::wstring &unchanged = std::wstring()) const;
  // SHGetSpecialFolderPathW without creating; empty when the shell has none.
  static std::wstring SpecialFolderPath(int csidl);
};

// The folder kinds callers use.
enum FolderKind {
  fkWindows = 0,
  fkSystem = 1,
  fkTemp = 2,
  fkInternetCache = 3,
  fkCookies = 4,
  fkHistory = 5,
  fkRecent = 6,
  fkDesktop = 7,
  fkPrograms = 8,
  fkFavorites = 9,
  fkStartup = 10,
  fkAppData = 12,
  fkLocalAppData = 13,
  fkProgramFiles = 15,
  fkCommonFiles = 16,
  fkStartMenu = 17,
  fkCommonAppData = 18,
};

} // namespace velmora
