// The cleaning run: removes what the last analysis recorded.
#include "privacy/PrivacyScanner.h"
#include "privacy/ProcessCheck.h"
#include "privacy/ScannerDetail.h"

#include "base/RegistryKey.h"
#include "base/Text.h"
#include "system/Routines.h"

#include <windows.h>
#include <wininet.h>

namespace velmora {

namespace {

enum class TTargetKind { File, RegistryValue, RegistryKey, DisplayOnly };

bool Contains(const std::wstring &text, const wchar_t *part) {
  return text.find(part) != std::wstring::npos;
}

TTargetKind KindOf(const std::wstring &target) {
  // The cookie host lines name hosts, whatever characters a host holds.
  if (target.starts_with(privacy::kFirefoxCookiePrefix) ||
      target.starts_with(privacy::kChromeCookiePrefix))
    return TTargetKind::DisplayOnly;
  if (target.size() >= 2 && target[1] == L':')
    return TTargetKind::File;
  if (Contains(target, L"/"))
    return TTargetKind::RegistryValue;
  if (Contains(target, L"\\"))
    return TTargetKind::RegistryKey;
  return TTargetKind::DisplayOnly;
}

// The text after the last backslash or colon.
std::wstring NamePart(const std::wstring &target) {
  const size_t cut = target.find_last_of(L"\\:");
  return cut == std::wstring::npos ? target : target.substr(cut + 1);
}

bool RootOfWord(const std::wstring &word, HKEY &root) {
  static const struct {
    const wchar_t *word;
    HKEY root;
  } kRoots[] = {{L"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
                {L"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
                {L"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
                {L"HKEY_USERS", HKEY_USERS}};
  for (const auto &r : kRoots)
    if (word == r.word) {
      root = r.root;
      return true;
    }
  return false;
}

// Still a plain file: not gone, not a folder, not a reparse point.
bool IsPlainFile(const std::wstring &path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES &&
         !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT));
}

} // namespace

void TPrivacyScanner::DeleteFileTarget(const std::wstring &path) {
  // What the analysis saw as a file may since have become a folder or a
  // link to somewhere else; only a plain file is deleted.
  if (!IsPlainFile(path))
    return;
  if (::DeleteFileW(path.c_str()))
    return;
  try {
    MoveFileAtRestart(path, std::wstring(), 1);
  } catch (...) {
    // Scheduling is best effort; the report lists the file as marked anyway.
  }
  RestartMarked.push_back(path);
}

void TPrivacyScanner::CleanCollected(ITextLabel &progressLabel, ITextLabel &noteLabel,
                                     IProgressBar &progressBar) {
  const int64_t targetCount = static_cast<int64_t>(Targets.size());
  progressBar.SetPosition(0);
  progressBar.SetRange(0, static_cast<int>(targetCount + 100));
  progressBar.SetStep(1);
  RestartMarked.clear();

  FirefoxRunning = IsProcessRunning(L"FireFox.exe");
  if (FirefoxRunning && ShowFirefoxNote && !Cancelled) {
    noteLabel.SetVisible(true);
    noteLabel.SetCaption(ReportTexts.size() > 9 ? ReportTexts[9] : std::wstring());
    PumpMessages();
  }
  ChromeRunning = IsProcessRunning(L"chrome.exe");
  // A value target naming no known root keeps the root of the one before.
  HKEY valueRoot = HKEY_CURRENT_USER;

  // Lead-in: about two seconds before the first target is touched.
  for (int i = 0; i < 100; ++i) {
    if (PauseSteps)
      ::Sleep(20);
    progressBar.StepIt();
    PumpMessages();
  }
  const int base = progressBar.Position();

  for (size_t i = 0; i < Targets.size(); ++i) {
    // A copy: the lists are not to change during a run, but a nested
    // message must not leave us holding a dangling reference.
    const std::wstring target = Targets[i];
    progressLabel.SetCaption(privacy::Caption60(NamePart(target)));
    if (i > 1)
      progressBar.SetPosition(
          static_cast<int>(static_cast<int64_t>(i) * targetCount / (targetCount + 99) + base));
    PumpMessages();
    if (Cancelled)
      break;

    switch (KindOf(target)) {
    case TTargetKind::File:
      if (Contains(target, L"Mozilla\\Firefox")) {
        // Firefox 2's files are passed over only while something holds
        // them open; "history.dat" also matches "formhistory.dat".
        if (Contains(target, L"cookies.txt") || Contains(target, L"downloads.rdf") ||
            Contains(target, L"history.dat")) {
          if (IsFileInUse(target))
            break;
        } else if (FirefoxRunning) {
          break;
        }
      } else if (Contains(target, L"Google\\Chrome") && ChromeRunning) {
        break;
      }
      DeleteFileTarget(target);
      break;
    case TTargetKind::RegistryValue: {
      const size_t slash = target.find(L'/');
      const size_t backslash = target.find(L'\\');
      // The key path runs from the first backslash to the first '/'.
      if (backslash == std::wstring::npos || backslash > slash)
        break;
      RootOfWord(target.substr(0, backslash), valueRoot);
      const std::wstring keyPath = target.substr(backslash, slash - backslash);
      const std::wstring valueName = target.substr(slash + 1);
      const TRegistryKey key(valueRoot, privacy::RegistrySubkey(keyPath),
                             KEY_QUERY_VALUE | KEY_SET_VALUE);
      if (key.Valid())
        key.DeleteValue(valueName);
      break;
    }
    case TTargetKind::RegistryKey:
      DeleteUserKey(target.substr(target.find(L'\\')));
      break;
    case TTargetKind::DisplayOnly:
      break;
    }
  }

  for (const std::wstring &url : IeCookieUrls)
    ::DeleteUrlCacheEntryW(url.c_str());
  if (IeHistorySelected) {
    try {
      ClearIeHistory();
    } catch (...) {
      // Internet Explorer's history cannot be opened: the browser
      // databases below are still cleaned.
    }
  }
  if (FirefoxCookiesFound)
    RepairFirefoxCookies(FirefoxCookieDb);
  if (FirefoxHistoryFound && !FirefoxRunning)
    RepairFirefoxHistory(FirefoxHistoryDb);
  if (ChromeCookiesFound)
    RepairChromeCookies(ChromeCookieDb);
  if (ChromeDownloadsFound && !ChromeRunning)
    RepairChromeDownloads(ChromeDownloadDb);
  if (ChromeFormsFound && !ChromeRunning)
    RepairChromeForms(ChromeWebDataDb);
  if (ChromeHistoryFound && !ChromeRunning)
    RepairChromeHistory(ChromeBookmarksFile, ChromeHistoryDb, ChromeThumbnailsDb);
  progressBar.SetRange(0, 100);
  progressBar.SetPosition(100);
}

} // namespace velmora
