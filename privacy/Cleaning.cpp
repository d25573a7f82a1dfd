// The cleaning run: removes what the last analysis recorded.
#include "privacy/PrivacyScanner.h"
#include "privacy/ProcessCheck.h"
#include "privacy/ScannerDetail.h"
#include "privacy/collectors/ChromiumBrowsers.h"

#include "base/FolderEntries.h"
#include "base/Handles.h"
#include "base/RegistryKey.h"
#include "base/Text.h"
#include "system/Routines.h"

#include <windows.h>
#include <wininet.h>

#include <algorithm>

namespace velmora {

namespace {

enum class TTargetKind { File, RegistryValue, RegistryKey, DisplayOnly };

bool Contains(const std::wstring &text, const wchar_t *part) {
  return text.find(part) != std::wstring::npos;
}

TTargetKind KindOf(const std::wstring &target) {
  // The cookie host lines name hosts, whatever characters a host holds.
  // So do Firefox's other display-only entries (downloads, form fields)
  // and the cookie lines of every Chromium profile.
  if (target.starts_with(privacy::kFirefoxDisplayStart) ||
      target.starts_with(privacy::kChromeCookiePrefix) || privacy::IsChromiumCookieLine(target))
    return TTargetKind::DisplayOnly;
  // "C:\..." and, for folders redirected to a server, "\\server\share\...".
  if ((target.size() >= 2 && target[1] == L':') || target.starts_with(L"\\\\"))
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

// A final path as GetFinalPathNameByHandleW gives it ("\\?\C:\..." or
// "\\?\UNC\server\share\..."), written as the analysis records paths.
std::wstring WithoutLongPrefix(const std::wstring &path) {
  if (path.starts_with(L"\\\\?\\UNC\\"))
    return L"\\\\" + path.substr(8);
  if (path.starts_with(L"\\\\?\\"))
    return path.substr(4);
  return path;
}

// A recorded path as the system writes it: backslashes only, one between
// two names (profiles.ini writes forward slashes, an empty profile path
// doubles a backslash), without a "\\?\" prefix.
std::wstring AsTheSystemWritesIt(const std::wstring &path) {
  std::wstring text = WithoutLongPrefix(path);
  std::replace(text.begin(), text.end(), L'/', L'\\');
  std::wstring result;
  result.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i)
    if (!(i > 1 && text[i] == L'\\' && result.back() == L'\\'))
      result += text[i];
  return result;
}

enum class TDeletion { Deleted, NotTheRecordedFile, Failed };

// Deletes the file through a handle, and only when the handle's final path
// is the recorded one: no junction or link put anywhere in the path since
// the analysis can send the deletion elsewhere.
TDeletion DeleteRecordedFile(const std::wstring &path) {
  UniqueFile file(::CreateFileW(path.c_str(), DELETE | FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!file) // in use without sharing deletion, or no right to delete
    return TDeletion::Failed;
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandle(file.Get(), &info) ||
      (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)))
    return TDeletion::NotTheRecordedFile;
  const std::wstring finalPath = FinalPathOf(file.Get());
  if (finalPath.empty() || !SamePath(WithoutLongPrefix(finalPath), AsTheSystemWritesIt(path)))
    return TDeletion::NotTheRecordedFile;
  FILE_DISPOSITION_INFO disposition{TRUE};
  return ::SetFileInformationByHandle(file.Get(), FileDispositionInfo, &disposition,
                                      sizeof disposition)
             ? TDeletion::Deleted
             : TDeletion::Failed;
}

} // namespace

bool TPrivacyScanner::InFirefoxProfile(const std::wstring &path) const {
  // A profile kept outside the Firefox folder (IsRelative=0).
  for (const std::wstring &folder : FirefoxProfileFolders)
    if (path.size() > folder.size() && SameText(path.substr(0, folder.size()), folder) &&
        (path[folder.size()] == L'\\' || path[folder.size()] == L'/'))
      return true;
  return false;
}

void TPrivacyScanner::NoteProblem(TCleaningStep step, const std::wstring &subject) {
  CleaningProblems.push_back({step, subject});
}

void TPrivacyScanner::DeleteFileTarget(const std::wstring &path) {
  // What the analysis saw as a file may since have become a folder or a
  // link to somewhere else; only a plain file is deleted.
  if (!IsPlainFile(path))
    return;
  switch (DeleteRecordedFile(path)) {
  case TDeletion::Deleted:
    return;
  case TDeletion::NotTheRecordedFile:
    NoteProblem(TCleaningStep::FileLeft, path);
    return;
  case TDeletion::Failed:
    break;
  }
  bool scheduled = false;
  try {
    scheduled = ScheduleDeleteAtRestart ? ScheduleDeleteAtRestart(path)
                                        : MoveFileAtRestart(path, std::wstring(), 1);
  } catch (...) {
    scheduled = false;
  }
  // Listed as marked only when it really is; otherwise it stays a trace that
  // the next analysis shows again, and the user hears of it now.
  if (scheduled)
    RestartMarked.push_back(path);
  else
    NoteProblem(TCleaningStep::FileLeft, path);
}

std::wstring TPrivacyScanner::CleaningProblemsMessage(const TTextLookup &lookup) const {
  if (CleaningProblems.empty())
    return {};
  struct TStepText {
    TCleaningStep step;
    const wchar_t *key;
    const wchar_t *fallback;
  };
  static const TStepText kTexts[] = {
      {TCleaningStep::IeHistory, L"CleanFailIeHistory",
       L"Internet Explorer history: the history store could not be opened."},
      {TCleaningStep::FirefoxCookies, L"CleanFailFirefoxCookies",
       L"Firefox cookies: the database could not be cleaned. Close Firefox and try again."},
      {TCleaningStep::FirefoxHistory, L"CleanFailFirefoxHistory",
       L"Firefox history: the database could not be cleaned. Close Firefox and try again."},
      {TCleaningStep::ChromeCookies, L"CleanFailChromeCookies",
       L"Google Chrome cookies: the database could not be cleaned. Close Chrome and try again."},
      {TCleaningStep::ChromeDownloads, L"CleanFailChromeDownloads",
       L"Google Chrome download history: the database could not be cleaned. Close Chrome and try "
       L"again."},
      {TCleaningStep::ChromeForms, L"CleanFailChromeForms",
       L"Google Chrome saved forms: the database could not be cleaned. Close Chrome and try "
       L"again."},
      {TCleaningStep::ChromeHistory, L"CleanFailChromeHistory",
       L"Google Chrome history: the database could not be cleaned. Close Chrome and try again."},
      {TCleaningStep::FirefoxDownloads, L"CleanFailFirefoxDownloads",
       L"Firefox download history: the database could not be cleaned. Close Firefox and try "
       L"again."},
      {TCleaningStep::FirefoxForms, L"CleanFailFirefoxForms",
       L"Firefox saved forms: the database could not be cleaned. Close Firefox and try again."},
      {TCleaningStep::ChromiumDatabase, L"CleanFailChromiumDatabase",
       L"%s: the database could not be cleaned. Close the browser and try again."},
      {TCleaningStep::FileLeft, L"CleanFailFile",
       L"%s: could not be deleted, nor marked for deletion when you restart computer."},
  };
  constexpr size_t kFilesShown = 10;
  std::wstring message = lookup(L"CleanFailTitle", L"Some items could not be cleaned:");
  size_t files = 0;
  for (const TCleaningProblem &problem : CleaningProblems) {
    if (problem.Step == TCleaningStep::FileLeft && ++files > kFilesShown)
      continue;
    for (const TStepText &text : kTexts)
      if (text.step == problem.Step)
        message += L"\r\n" + FillIn(lookup(text.key, text.fallback), L's', problem.Subject);
  }
  if (files > kFilesShown)
    message += L"\r\n" + FillIn(lookup(L"CleanFailMoreFiles", L"... and %s more files."), L's',
                                std::to_wstring(files - kFilesShown));
  return message;
}

void TPrivacyScanner::ReportCleaningProblems(ICleaningNotice &notice,
                                             const TTextLookup &lookup) const {
  const std::wstring message = CleaningProblemsMessage(lookup);
  if (!message.empty())
    notice.ShowCleaningProblems(message);
}

void TPrivacyScanner::CleanCollected(ITextLabel &progressLabel, ITextLabel &noteLabel,
                                     IProgressBar &progressBar) {
  const int64_t targetCount = static_cast<int64_t>(Targets.size());
  progressBar.SetPosition(0);
  progressBar.SetRange(0, static_cast<int>(targetCount + 100));
  progressBar.SetStep(1);
  RestartMarked.clear();
  CleaningProblems.clear();

  FirefoxRunning = IsProcessRunning(L"FireFox.exe");
  if (FirefoxRunning && ShowFirefoxNote && !Cancelled) {
    noteLabel.SetVisible(true);
    noteLabel.SetCaption(ReportTexts.size() > 9 ? ReportTexts[9] : std::wstring());
    PumpMessages();
  }
  ChromeRunning = IsProcessRunning(L"chrome.exe");
  // The folders of the other Chromium browsers running now: their files stay.
  std::vector<std::wstring> processes, runningFolders;
  ListProcesses(processes);
  for (const privacy::TChromiumBrowser *browser : privacy::kChromiumBrowsers)
    for (const std::wstring &process : processes)
      if (SameText(process, browser->Process))
        for (const std::wstring &folder : ChromiumBrowserFolders(*browser, Locations))
          runningFolders.push_back(IncludeTrailingBackslash(folder));
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
      if (Contains(target, L"Mozilla\\Firefox") || InFirefoxProfile(target)) {
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
      } else if (std::any_of(runningFolders.begin(), runningFolders.end(),
                             [&](const std::wstring &folder) {
                               return target.size() > folder.size() &&
                                      SameText(target.substr(0, folder.size()), folder);
                             })) {
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
      // databases below are still cleaned, and the user hears of it.
      NoteProblem(TCleaningStep::IeHistory);
    }
  }
  // A repair that did not do its work (also while the browser holds the
  // database) is reported after the run.
  // Every Firefox profile's databases; each failing kind is reported once.
  auto repairEach = [this](const std::vector<std::wstring> &dbs, const std::wstring &single,
                           bool (TPrivacyScanner::*repair)(const std::wstring &),
                           TCleaningStep step) {
    bool failed = false;
    for (const std::wstring &db : dbs.empty() ? std::vector<std::wstring>{single} : dbs)
      if (!(this->*repair)(db))
        failed = true;
    if (failed)
      NoteProblem(step);
  };
  if (FirefoxCookiesFound)
    repairEach(FirefoxCookieDbs, FirefoxCookieDb, &TPrivacyScanner::RepairFirefoxCookies,
               TCleaningStep::FirefoxCookies);
  if (FirefoxHistoryFound && !FirefoxRunning)
    repairEach(FirefoxHistoryDbs, FirefoxHistoryDb, &TPrivacyScanner::RepairFirefoxHistory,
               TCleaningStep::FirefoxHistory);
  // Today's databases are never repaired while Firefox runs and holds them.
  if (!FirefoxDownloadDbs.empty() && !FirefoxRunning)
    repairEach(FirefoxDownloadDbs, std::wstring(), &TPrivacyScanner::RepairFirefoxDownloads,
               TCleaningStep::FirefoxDownloads);
  if (!FirefoxFormDbs.empty() && !FirefoxRunning)
    repairEach(FirefoxFormDbs, std::wstring(), &TPrivacyScanner::RepairFirefoxForms,
               TCleaningStep::FirefoxForms);
  if (ChromeCookiesFound && !RepairChromeCookies(ChromeCookieDb))
    NoteProblem(TCleaningStep::ChromeCookies);
  if (ChromeDownloadsFound && !ChromeRunning && !RepairChromeDownloads(ChromeDownloadDb))
    NoteProblem(TCleaningStep::ChromeDownloads);
  if (ChromeFormsFound && !ChromeRunning && !RepairChromeForms(ChromeWebDataDb))
    NoteProblem(TCleaningStep::ChromeForms);
  if (ChromeHistoryFound && !ChromeRunning &&
      !RepairChromeHistory(ChromeBookmarksFile, ChromeHistoryDb, ChromeThumbnailsDb))
    NoteProblem(TCleaningStep::ChromeHistory);
  RepairChromiumDatabases(processes);
  progressBar.SetRange(0, 100);
  progressBar.SetPosition(100);
}

} // namespace velmora
