// The analysis run: reset, the walk over the trace catalogue, the report.
#include "privacy/Catalogue.h"
#include "privacy/PrivacyScanner.h"
#include "privacy/ProcessCheck.h"

#include "base/Text.h"
#include "system/Routines.h"

#include <windows.h>

#include <algorithm>
#include <unordered_set>

namespace velmora {

namespace {

enum TReportText {
  rtTitle = 0,
  rtItemTotal = 1,
  rtSizeTotal = 2,
  rtDetailsHeading = 3,
  rtMarkedLine = 6,
  rtFirefoxNote = 9,
};

const std::wstring kSeparator(90, L'-');

bool AnySelected(const std::wstring &selection, int first, int last) {
  for (int p = first; p <= last; ++p)
    if (p <= static_cast<int>(selection.size()) && selection[p - 1] == L'1')
      return true;
  return false;
}

} // namespace

void TPrivacyScanner::AnalyzeSelection(ITextLabel &progressLabel, ITextLabel &noteLabel,
                                       IReportPane &reportMemo, const std::wstring &selection,
                                       IProgressBar &progressBar) {
  // A text missing from a short list reads as empty.
  auto text = [this](int index) {
    return index < static_cast<int>(ReportTexts.size()) ? ReportTexts[index] : std::wstring();
  };

  LoadKeepCookies();
  RegistryItemCount = 0;
  ItemCount = 0;
  TotalBytes = 0;
  int64_t markedLines = 0;
  DetailLines.clear();
  Targets.clear();
  IeCookieUrls.clear();
  progressLabel.SetCaption(std::wstring());
  ReportLines.clear();
  Cancelled = false;
  reportMemo.Clear();
  FirefoxHistoryFound = FirefoxCookiesFound = IeHistorySelected = false;
  ChromeHistoryFound = ChromeCookiesFound = ChromeDownloadsFound = ChromeFormsFound = false;
  FirefoxHistoryDb.clear();
  FirefoxCookieDb.clear();
  FirefoxCookieDbs.clear();
  FirefoxHistoryDbs.clear();
  FirefoxDownloadDbs.clear();
  FirefoxFormDbs.clear();
  FirefoxProfileFolders.clear();
  ChromeHistoryDb.clear();
  ChromeCookieDb.clear();
  ChromeDownloadDb.clear();
  ChromeWebDataDb.clear();
  ChromiumDatabases.clear();
  RunningBrowsers.clear();
  // The first rows are always walked, the later ones as far as the
  // selection reaches (a stored selection of the first version is shorter).
  auto walked = [&selection](int position) {
    return position <= privacy::kFirstVersionRows || position <= static_cast<int>(selection.size());
  };
  const auto &catalogue = privacy::TraceCatalogue();
  const int rowsWalked = static_cast<int>(
      std::count_if(catalogue.begin(), catalogue.end(),
                    [&walked](const privacy::TCatalogueRow &row) { return walked(row.Position); }));
  // A step of 2 per row walked, then a full bar. The range is 0 to 100 (the
  // first version's 42 rows reach 84) unless more rows need more room: a
  // progress bar stepped past its maximum starts over from the beginning.
  const int barMaximum = std::max(100, 2 * rowsWalked);
  progressBar.SetPosition(0);
  progressBar.SetRange(0, barMaximum);
  progressBar.SetStep(2);

  for (const privacy::TCatalogueRow &row : catalogue) {
    const int p = row.Position;
    if (!walked(p))
      break;
    if (p == privacy::kFirstFirefoxPosition) {
      FirefoxRunning = false;
      if (AnySelected(selection, privacy::kFirstFirefoxPosition, privacy::kLastFirefoxPosition) &&
          IsProcessRunning(L"FireFox.exe")) {
        FirefoxRunning = true;
        if (ShowFirefoxNote && !Cancelled) {
          noteLabel.SetVisible(true);
          noteLabel.SetCaption(text(rtFirefoxNote));
        }
      }
    }
    if (p == privacy::kFirstChromePosition) {
      ChromeRunning = false;
      if (AnySelected(selection, privacy::kFirstChromePosition, privacy::kLastChromePosition) &&
          IsProcessRunning(L"chrome.exe"))
        ChromeRunning = true;
    }
    for (const privacy::TBrowserRows &rows : privacy::kChromiumBrowserRows)
      if (p == rows.First && AnySelected(selection, rows.First, rows.Last) &&
          IsProcessRunning(rows.Process))
        RunningBrowsers.push_back(rows.Process);
    if (p <= static_cast<int>(selection.size()) && selection[p - 1] == L'1')
      (this->*row.Collector)(row.CategoryKey, progressLabel);
    progressBar.StepIt();
    if (!Cancelled && PauseSteps)
      ::Sleep(100);
    PumpMessages();
  }

  ReportLines.push_back(text(rtTitle));
  ReportLines.emplace_back(); // the item total, once it is known
  if (FirefoxRunning)
    ReportLines.push_back(text(rtFirefoxNote));
  ReportLines.push_back(kSeparator);
  ReportLines.push_back(FillIn(text(rtSizeTotal), L's', SizeTextNoBytes(TotalBytes)));
  ReportLines.push_back(text(rtDetailsHeading));
  ReportLines.push_back(kSeparator);
  const std::unordered_set<std::wstring> marked(RestartMarked.begin(), RestartMarked.end());
  const std::wstring markedPattern = text(rtMarkedLine);
  for (size_t i = 0; i < DetailLines.size(); ++i) {
    if (i < Targets.size() && marked.count(Targets[i])) {
      ReportLines.push_back(FillIn(markedPattern, L's', DetailLines[i]));
      ++markedLines;
    } else {
      ReportLines.push_back(DetailLines[i]);
    }
  }
  ReportLines[1] =
      FillIn(text(rtItemTotal), L's',
             std::to_wstring(static_cast<int64_t>(RegistryItemCount) + ItemCount - markedLines));

  reportMemo.AppendLines(ReportLines);
  reportMemo.CaretToStart();
  progressBar.SetPosition(barMaximum);
}

} // namespace velmora
