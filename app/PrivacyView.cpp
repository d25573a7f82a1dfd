// The privacy view: the check tree, Analyze, Cancel and Clean around the
// privacy engine.
#include "app/UnitMain.h"

#include "privacy/PrivacyScanner.h"

namespace velmora {

void TFormMain::btnPrivaryAnalyzeClick() {
  if (!PrivacyAnalyzeIdle) { // the button reads "Cancel"
    Scanner->CancelScan();
    return;
  }
  // An analysis resets the lists a running cleaning walks: never start one
  // inside it (the button is disabled meanwhile; "/auto" comes here too).
  if (PrivacyCleaning)
    return;
  const std::wstring selection = GetSelection();
  if (selection.find(L'1') == std::wstring::npos) {
    ShowMessage(LookupText(L"message1", L"Please select an item first."),
                MB_OK | MB_ICONINFORMATION);
    return;
  }
  TRunScope run(*this);
  PrivacyBusy = true;
  PrivacyAnalyzeIdle = false;
  btnPrivaryAnalyze->SetCaption(LookupText(L"btnCancel", L"Cancel"));
  pbbarPri->SetVisible(true);
  btnPrivacyCleaner->SetEnabled(false);
  Scanner->ShowFirefoxNote = true;
  Label_firefox->SetVisible(false);

  Scanner->AnalyzeSelection(*lbltip, *Label_firefox, *mmoPrivacy, selection, *pbbarPri);

  Label_firefox->SetVisible(false);
  btnPrivacyCleaner->SetEnabled(true);
  btnPrivaryAnalyze->SetCaption(LookupText(L"btnAnalyze", L"Analyze"));
  PrivacyAnalyzeIdle = true;
  pbbarPri->SetVisible(false);
  PrivacyBusy = false;
}

void TFormMain::btnPrivacyCleanerClick() {
  if (PrivacyCleaning || PrivacyBusy)
    return; // one run at a time
  TRunScope run(*this);
  PrivacyCleaning = true;
  btnPrivaryAnalyze->SetEnabled(false);
  pbbarPri->SetVisible(true);
  btnPrivacyCleaner->SetEnabled(false);
  Scanner->ShowFirefoxNote = true;
  Label_firefox->SetVisible(false);

  Scanner->CleanCollected(*lbltip, *Label_firefox, *pbbarPri);

  PrivacyCleaning = false;
  btnPrivaryAnalyze->SetEnabled(true);
  Label_firefox->SetVisible(false);
  pbbarPri->SetVisible(false);
  mmoPrivacy->Clear();
  mmoPrivacy->AppendLines({LookupText(L"CleanCompleted", L"Cleaning Completed")});

  // What the cleaning could not do, in one box after it.
  struct TNoticeBox : ICleaningNotice {
    explicit TNoticeBox(TFormMain &form) : form_(form) {}
    void ShowCleaningProblems(const std::wstring &message) override {
      form_.ShowMessage(message, MB_OK | MB_ICONWARNING);
    }
    TFormMain &form_;
  } box(*this);
  Scanner->ReportCleaningProblems(box, [this](const std::wstring &key, const std::wstring &def) {
    return LookupText(key, def);
  });
}

void TFormMain::ShowPrivacyView() {
  // While a cleaning runs its bar stays up and Clean stays off.
  pbbarPri->SetVisible(PrivacyCleaning);
  RzCheckTree1->ExpandAll();
  RzCheckTree1->Select(0);
  if (mmoPrivacy->LineCount() == 0)
    mmoPrivacy->AppendLines(
        {LookupText(L"memotip", L"Please Click The \"Analyze\" Button To Analyze")});
  btnPrivacyCleaner->SetEnabled(!PrivacyCleaning && mmoPrivacy->LineCount() > 1);
}

} // namespace velmora
