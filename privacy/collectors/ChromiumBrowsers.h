#pragma once
// The Chromium browsers of today (Chrome, Edge, Brave, Vivaldi and the
// Chromium-based Opera) share one profile layout; each is described by its
// name, its folder and its process, and its profiles are found as the
// browser itself lists them.
#include "system/AppFrame_New.h"

#include <map>
#include <string>
#include <vector>

namespace velmora::privacy {

struct TChromiumBrowser {
  const wchar_t *Name;    // shown in the report lines: "Microsoft Edge Cookie: host"
  int RootKind;           // fkLocalAppData or fkAppData
  const wchar_t *Root;    // below that folder
  const wchar_t *Process; // executable name of the running browser
  // Opera keeps one profile in the root folder itself (roaming) and its
  // caches in the same-named folder of the local application data; the
  // others keep "User Data" with profile folders inside.
  bool RootIsProfile;
};

inline constexpr TChromiumBrowser kChrome{L"Google Chrome", fkLocalAppData,
                                          L"Google\\Chrome\\User Data", L"chrome.exe", false};
inline constexpr TChromiumBrowser kEdge{L"Microsoft Edge", fkLocalAppData,
                                        L"Microsoft\\Edge\\User Data", L"msedge.exe", false};
inline constexpr TChromiumBrowser kBrave{
    L"Brave", fkLocalAppData, L"BraveSoftware\\Brave-Browser\\User Data", L"brave.exe", false};
inline constexpr TChromiumBrowser kVivaldi{L"Vivaldi", fkLocalAppData, L"Vivaldi\\User Data",
                                           L"vivaldi.exe", false};
inline constexpr TChromiumBrowser kOpera{L"Opera", fkAppData, L"Opera Software\\Opera Stable",
                                         L"opera.exe", true};
inline constexpr TChromiumBrowser kOperaGx{L"Opera GX", fkAppData,
                                           L"Opera Software\\Opera GX Stable", L"opera.exe", true};
inline constexpr const TChromiumBrowser *kChromiumBrowsers[] = {&kChrome,  &kEdge,  &kBrave,
                                                                &kVivaldi, &kOpera, &kOperaGx};

struct TChromiumProfile {
  std::wstring Folder;      // the databases and files
  std::wstring CacheFolder; // the caches (Opera: the local counterpart)
  std::wstring Name;        // display name; empty for the default profile
  bool IsDefault = false;
};

// The profile folders below a "User Data" folder: "Default" first, then the
// others by name. A profile is a folder named "Default" or "Profile <n>",
// one that Local State's profile.info_cache names, or one that holds
// Preferences ("System Profile" and "Guest Profile" only when named).
// Reparse points are never followed. Names come from profile.info_cache,
// else the folder's name.
std::vector<TChromiumProfile> FindChromiumProfiles(const std::wstring &userData);

// Folder name -> display name of every profile that Local State's
// profile.info_cache lists; empty for a text that is not such JSON.
std::map<std::wstring, std::wstring> LocalStateProfileNames(const std::wstring &localState);

// The folders holding one browser's files, existing or not: the root, and
// for Opera also its local counterpart. Empty when the system folder is unknown.
std::vector<std::wstring> ChromiumBrowserFolders(const TChromiumBrowser &browser,
                                                 const TAppFrame &locations);

// The display-only cookie line start of a profile: "<Name> Cookie: " or
// "<Name> (<profile>) Cookie: ".
std::wstring ChromiumCookiePrefix(const TChromiumBrowser &browser, const TChromiumProfile &profile);
// Whether a target is such a line of any browser (never a path or key).
bool IsChromiumCookieLine(const std::wstring &target);

} // namespace velmora::privacy
