#pragma once
// The privacy engine: finds the traces the user selected (browsers, Windows,
// other applications), records each as a detail line and a target, writes
// the analysis report and later removes what it recorded.
//
// It runs on the GUI thread and knows no window: it writes through the
// screen interfaces of base/Screen.h and keeps the window alive through the
// message pump it is given. While a run pumps messages the only call that
// may come back into the scanner is CancelScan.
#include "base/Screen.h"
#include "system/AppFrame_New.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace velmora {

// The ten built-in English report texts, in the order the scanner takes
// them (language-pack keys "0" to "9").
const std::vector<std::wstring> &DefaultPrivacyReportTexts();

// A step of a cleaning that did not do its work.
enum class TCleaningStep {
  IeHistory,      // Internet Explorer's URL history could not be opened
  FirefoxCookies, // the repairs of the browser databases returned false
  FirefoxHistory,
  ChromeCookies,
  ChromeDownloads,
  ChromeForms,
  ChromeHistory,
  FileLeft, // a file neither deleted nor scheduled for deletion at restart
  // Today's Firefox databases whose repair returned false.
  FirefoxDownloads,
  FirefoxForms,
  // A database of a Chromium profile (Subject: its path) other than the
  // ChromeCookies..ChromeHistory ones of Chrome's "Default" profile.
  ChromiumDatabase,
};

struct TCleaningProblem {
  TCleaningStep Step;
  std::wstring Subject; // the file of FileLeft
};

// Where the engine tells the user, once after a cleaning, what it left
// undone (the window shows a message box).
class ICleaningNotice {
public:
  virtual ~ICleaningNotice() = default;
  virtual void ShowCleaningProblems(const std::wstring &message) = 0;
};

// A language-pack text by key, or the fallback when the pack has none.
using TTextLookup =
    std::function<std::wstring(const std::wstring &key, const std::wstring &fallback)>;

// The profile folder that profiles.ini in firefoxFolder names for Profile0,
// as profiles.ini intends it: Path relative to firefoxFolder (IsRelative=1 or
// absent), or absolute (IsRelative=0) and then only when the folder holds a
// Firefox profile. Empty when Path climbs out with "..", names a drive, a
// root or a server where it should be relative, or holds no profile.
std::wstring FirefoxProfileFolder(const std::wstring &firefoxFolder);

// One Firefox profile that profiles.ini lists.
struct TFirefoxProfile {
  std::wstring Name;        // Name= of its section (the folder name when empty)
  std::wstring Folder;      // the roaming profile folder
  std::wstring LocalFolder; // its local counterpart (cache2, startupCache, ...)
  bool IsDefault = false;   // report lines of other profiles name them
};
// Every profile of profiles.ini in firefoxFolder, as Firefox reads the file:
// [Profile0], [Profile1], ... up to the first number missing, each folder
// under the rules of FirefoxProfileFolder (unusable ones are left out, a
// folder named twice counts once). The default is the profile that an
// install names (installs.ini, or an [Install...] section of profiles.ini),
// else the one marked Default=1, else Profile0. A relative profile's local
// counterpart lies under localFirefoxFolder, an absolute one's is itself.
std::vector<TFirefoxProfile> FirefoxProfiles(const std::wstring &firefoxFolder,
                                             const std::wstring &localFirefoxFolder);

// Deletes a file at the next restart; false when that could not be arranged.
using TRestartScheduler = std::function<bool(const std::wstring &path)>;

namespace privacy {
struct TChromiumBrowser;
struct TChromiumProfile;
} // namespace privacy

// A database of a Chromium profile found by the analysis and cleaned row by
// row through Drevka.dll.
enum class TChromiumRepair { Cookies, Downloads, History, Forms, Pages };
struct TChromiumDatabase {
  TChromiumRepair Kind;
  std::wstring Process;   // its browser; all but the cookies wait until it has ended
  std::wstring Database;  // Cookies, History, Web Data, Top Sites or Shortcuts
  std::wstring Bookmarks; // History and Pages: the profile's Bookmarks file
  std::wstring Icons;     // History: Favicons (Thumbnails in old profiles)
};

class TPrivacyScanner {
public:
  // reportTexts: the ten report texts by index (0 title, 1 item total,
  // 2 size total, 3 details heading, 6 marked-for-restart line, 9 Firefox
  // note; the others are carried along). pump: processes the window
  // messages waiting on the GUI thread (may be empty). configFile: the
  // configuration file whose section "Cookie" is the cookie keep list;
  // empty means the program's own file under the all-users application data.
  TPrivacyScanner(const std::vector<std::wstring> &reportTexts, TMessagePump pump,
                  std::wstring configFile = std::wstring());
  ~TPrivacyScanner();
  TPrivacyScanner(const TPrivacyScanner &) = delete;
  TPrivacyScanner &operator=(const TPrivacyScanner &) = delete;

  // ---- The two runs and the calls around them ----

  // Analyses the selection string (57 characters '1'/'0', one per trace
  // kind; the rows after 42 are walked only when the string reaches them,
  // so a stored 42-character selection runs as it always has) and writes the report into
  // reportMemo. Always ends with a report, also after CancelScan.
  void AnalyzeSelection(ITextLabel &progressLabel, ITextLabel &noteLabel, IReportPane &reportMemo,
                        const std::wstring &selection, IProgressBar &progressBar);
  // Removes what the last analysis recorded: the files, registry values and
  // keys of Targets (a file that cannot be deleted now is scheduled for the
  // next restart and listed in RestartMarked), the cookie cache entries, the
  // URL history when its leaf was analysed, and the rows of the Firefox and
  // Chrome databases found. Files of a running Firefox or Chrome are left.
  void CleanCollected(ITextLabel &progressLabel, ITextLabel &noteLabel, IProgressBar &progressBar);
  // Asks the running analysis or cleaning to stop; the run notices it at its
  // next step.
  void CancelScan();
  // Refills KeepCookies from section "Cookie" of the configuration file.
  void LoadKeepCookies();
  // True when RestartMarked holds exactly this text (letter case included).
  bool IsMarkedForRestart(const std::wstring &target) const;
  // The message about what the last cleaning left undone (CleaningProblems),
  // in the words of the language pack; empty when it left nothing.
  std::wstring CleaningProblemsMessage(const TTextLookup &lookup) const;
  // Shows that message, when there is one, through notice.
  void ReportCleaningProblems(ICleaningNotice &notice, const TTextLookup &lookup) const;

  // ---- State ----

  std::vector<std::wstring> ReportTexts;
  // One display line and one target per recorded trace, same index.
  std::vector<std::wstring> DetailLines;
  std::vector<std::wstring> Targets;
  std::vector<std::wstring> IeCookieUrls;  // cookie cache entries to delete
  std::vector<std::wstring> KeepCookies;   // cookie sites to keep
  std::vector<std::wstring> RestartMarked; // files removable only at restart
  // What the last cleaning could not do, in the order it happened.
  std::vector<TCleaningProblem> CleaningProblems;
  // Schedules a delete at restart (MoveFileAtRestart, operation 1, unless a
  // test puts another in). On Windows that needs an administrator.
  TRestartScheduler ScheduleDeleteAtRestart;
  std::vector<std::wstring> ReportLines; // the report of the last analysis

  int64_t ItemCount = 0;
  int32_t RegistryItemCount = 0;
  int64_t TotalBytes = 0;

  bool Cancelled = false;
  // Pace the runs: 100 ms after each catalogue step of an analysis, and the
  // two-second lead-in of a cleaning.
  bool PauseSteps = true;
  // Long listings process window messages once per this many entries: often
  // enough for a responsive window and a prompt cancel, while a pump per
  // entry would cost more than the listing itself (notably under Wine).
  static constexpr unsigned kEntriesPerPump = 64;
  bool ShowFirefoxNote = false;
  bool FirefoxRunning = false;
  bool ChromeRunning = false;
  bool IeHistorySelected = false;

  // Browser databases found by the analysis, cleaned row by row.
  std::wstring FirefoxCookieDb;
  bool FirefoxCookiesFound = false;
  std::wstring FirefoxHistoryDb;
  bool FirefoxHistoryFound = false;
  // Every Firefox profile's databases (the two above are the first ones),
  // and the profile folders whose files a running Firefox keeps.
  std::vector<std::wstring> FirefoxCookieDbs;
  std::vector<std::wstring> FirefoxHistoryDbs;
  std::vector<std::wstring> FirefoxDownloadDbs; // places.sqlite with downloads
  std::vector<std::wstring> FirefoxFormDbs;     // formhistory.sqlite databases
  std::vector<std::wstring> FirefoxProfileFolders;
  std::wstring ChromeCookieDb;
  bool ChromeCookiesFound = false;
  std::wstring ChromeDownloadDb;
  bool ChromeDownloadsFound = false;
  std::wstring ChromeWebDataDb;
  bool ChromeFormsFound = false;
  std::wstring ChromeHistoryDb;
  bool ChromeHistoryFound = false;
  std::wstring ChromeBookmarksFile;
  std::wstring ChromeThumbnailsDb;

  TAppFrame Locations;

  // ---- Collectors: one per trace family, reached through the catalogue ----
  // Each takes the category key of its catalogue row and the progress label,
  // and does nothing when Cancelled is set on entry.

  void CollectInternetExplorer(const std::wstring &categoryKey, ITextLabel &progressLabel);
  void CollectFirefox(const std::wstring &categoryKey, ITextLabel &progressLabel);
  void CollectChrome(const std::wstring &categoryKey, ITextLabel &progressLabel);
  void CollectOpera(const std::wstring &categoryKey, ITextLabel &progressLabel);
  void CollectSafari(const std::wstring &categoryKey, ITextLabel &progressLabel);
  void CollectWindows(const std::wstring &categoryKey, ITextLabel &progressLabel);
  void CollectApplications(const std::wstring &categoryKey, ITextLabel &progressLabel);

  // Internet Explorer and Windows parts.
  void CollectTypedUrls();
  void CollectIntelliForms();
  void CollectProtectedStorage();
  void CollectRecentDocs(ITextLabel &progressLabel);
  void CollectRunMru();
  // Empties Internet Explorer's URL history. Throws EAppError when the
  // history object cannot be created.
  void ClearIeHistory();

  // ---- Firefox and Chrome databases, through Drevka.dll ----
  // Each call loads the library afresh and frees it again. Without the
  // library or its export a listing records nothing and a repair is skipped.

  // Record one display-only entry per cookie host of the database
  // ("FireFox 3 Cookie: host", "Google Chrome Cookie: host") and count the
  // database as one item when it lists any host.
  void ListFirefoxCookies(const std::wstring &cookiesDb);
  void ListChromeCookies(const std::wstring &cookiesDb);
  // Delete the rows of the databases. False when the work was not done: the
  // library or its export is missing, or the repair failed (a browser holds
  // the database, the file is damaged).
  bool RepairFirefoxCookies(const std::wstring &cookiesDb);
  bool RepairFirefoxHistory(const std::wstring &placesDb);
  bool RepairFirefoxDownloads(const std::wstring &placesDb);
  bool RepairFirefoxForms(const std::wstring &formHistoryDb);
  bool RepairChromeCookies(const std::wstring &cookiesDb);
  bool RepairChromeDownloads(const std::wstring &historyDb);
  bool RepairChromeForms(const std::wstring &webDataDb);
  // Keeps the history of the bookmarked addresses.
  bool RepairChromeHistory(const std::wstring &bookmarksFile, const std::wstring &historyDb,
                           const std::wstring &thumbnailsDb);

  // ---- Chromium browsers of today (privacy/collectors/Chromium.cpp) ----
  // Every profile of Chrome, Edge, Brave, Vivaldi and the Chromium-based
  // Opera. Chrome's "Default" profile fills the Chrome fields above; every
  // other database found is listed here.
  std::vector<TChromiumDatabase> ChromiumDatabases;
  // Processes of the browsers seen running before their rows (Edge, Brave,
  // Vivaldi, Opera; Chrome has ChromeRunning).
  std::vector<std::wstring> RunningBrowsers;
  void CollectEdge(const std::wstring &categoryKey, ITextLabel &progressLabel);
  void CollectBrave(const std::wstring &categoryKey, ITextLabel &progressLabel);
  void CollectVivaldi(const std::wstring &categoryKey, ITextLabel &progressLabel);
  // One row's kind (the Chrome rows' category keys) of every profile.
  void CollectChromium(const privacy::TChromiumBrowser &browser, const std::wstring &categoryKey,
                       ITextLabel &progressLabel);
  bool RepairChromiumDatabase(const TChromiumDatabase &database);

  // Opera's profile folder: Opera's folder under the roaming application
  // data + "\" + the last entry listed there; empty when there is none.
  std::wstring FindOperaFolder() const;

  // ---- Helpers the collectors record through ----

  // Folder walkers. None descends into a reparse point (junction, symbolic
  // link, mount point).
  void CollectTree(const std::wstring &folder);   // every file below, recursively
  void CollectFolder(const std::wstring &folder); // every entry directly inside
  void CollectPath(const std::wstring &filePath); // one existing file
  void CollectIndexDat(const std::wstring &folder);
  void CollectHistoryIndex(const std::wstring &folder);

  // Registry, below HKEY_CURRENT_USER; key paths start with a backslash.
  void DeleteUserKey(const std::wstring &keyPath);
  void AddUserKey(const std::wstring &keyPath);
  // "key path|value name"
  void AddUserValue(const std::wstring &keyAndValue);

  // Internet Explorer's cookie cache (WinINet).
  void CollectIeCookies();
  void AddIeCookie(const std::wstring &sourceUrl, const std::wstring &localFile, uint32_t sizeLow);

  // Size text of the walkers: "1024 bytes", "1.00 KB", "1.00 M".
  static std::wstring WalkerSizeText(int64_t size);

private:
  enum class TWalk { Tree, Folder, IndexDat, HistoryIndex };
  void Walk(const std::wstring &folder, TWalk kind);
  void RecordFile(const std::wstring &path, int64_t size);
  // False (nothing recorded) when the key path could not be told apart
  // from the value name in the target.
  bool RecordRegistryValue(const std::wstring &keyPath, const std::wstring &valueName);
  // Values of the key and of its direct subkeys, counted as items.
  void CollectValuesOneLevelDown(const std::wstring &keyPath);
  // The host list of a scan export ("host;host;"), one entry per host.
  void RecordCookieHosts(const std::wstring &hostList, const wchar_t *prefix);
  // One display-only entry per entry of a scan export's list (each ends with
  // separator); the database counts as one item when it lists any.
  void RecordEntryLines(const std::wstring &entries, wchar_t separator, const std::wstring &prefix);
  // The Firefox leaves, for one profile.
  void CollectFirefoxProfile(const std::wstring &categoryKey, const TFirefoxProfile &profile,
                             bool noLocal, ITextLabel &progressLabel);
  // The cleaning's removal of one file target.
  void DeleteFileTarget(const std::wstring &path);
  // True when path lies in a Firefox profile folder the analysis found.
  bool InFirefoxProfile(const std::wstring &path) const;
  void NoteProblem(TCleaningStep step, const std::wstring &subject = std::wstring());
  void CollectOldOpera(const std::wstring &categoryKey, ITextLabel &progressLabel);
  void CollectChromiumProfile(const privacy::TChromiumBrowser &browser,
                              const privacy::TChromiumProfile &profile,
                              const std::wstring &categoryKey, ITextLabel &progressLabel);
  // The cleaning's repairs of ChromiumDatabases.
  void RepairChromiumDatabases(const std::vector<std::wstring> &processes);
  // At every catalogue step.
  void PumpMessages();
  // Before each entry of a long listing (files, values, cache entries):
  // pumps at the first entry and then every kEntriesPerPump entries.
  // Callers still test Cancelled at every entry.
  void PumpBetweenEntries();

  TMessagePump pump_;
  std::wstring configFile_;
  unsigned entriesSincePump_ = 0;
};

} // namespace velmora
