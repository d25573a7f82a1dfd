// Creation of the scanner and the small operations on its state.
#include "privacy/PrivacyScanner.h"

#include "base/FolderEntries.h"
#include "settings/ConfigFile.h"
#include "system/Routines.h"

namespace velmora {

const std::vector<std::wstring> &DefaultPrivacyReportTexts() {
  static const std::vector<std::wstring> texts = {
      L"Privacy Analysis Report",
      L"Total: %s items to be removed",
      L"Total: %s files to be removed",
      L"Details of items to be removed.",
      L"Typed URLs",
      L"Auto Fill Form",
      L"Marked for deletion when you restart computer: %s",
      L"Auto Sweep",
      L"Sweeping your privacy traces.",
      L"Note: Cannot erase privacy of Firefox while it is running."};
  return texts;
}

TPrivacyScanner::TPrivacyScanner(const std::vector<std::wstring> &reportTexts, TMessagePump pump,
                                 std::wstring configFile)
    : ReportTexts(reportTexts), pump_(std::move(pump)), configFile_(std::move(configFile)) {
  if (configFile_.empty())
    configFile_ = ConfigFilePath(Locations);
}

TPrivacyScanner::~TPrivacyScanner() = default;

void TPrivacyScanner::CancelScan() { Cancelled = true; }

void TPrivacyScanner::LoadKeepCookies() {
  KeepCookies.clear();
  if (!FileExists(configFile_))
    return;
  try {
    const TConfigFile config(configFile_);
    for (const std::wstring &line : config.ReadSectionValues(cfg::kCookieSection))
      KeepCookies.push_back(TextBefore(line, 0, L'='));
  } catch (...) {
    // A keep list that cannot be read keeps what was read so far.
  }
}

bool TPrivacyScanner::IsMarkedForRestart(const std::wstring &target) const {
  for (const std::wstring &marked : RestartMarked)
    if (marked == target)
      return true;
  return false;
}

void TPrivacyScanner::PumpMessages() {
  if (pump_)
    pump_();
}

void TPrivacyScanner::PumpBetweenEntries() {
  if (entriesSincePump_++ % kEntriesPerPump == 0)
    PumpMessages();
}

} // namespace velmora
