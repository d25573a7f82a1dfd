// The privacy view: the check tree, Analyze, Cancel and Clean around the
// privacy engine.
#include "app/UnitMain.h"

#include "app/FormLayout.h"
#include "app/PrivacyNodes.h"

#include "base/ScopeExit.h"
#include "privacy/PrivacyScanner.h"

namespace velmora {

void TFormMain::CreatePrivacyView() {
  Own(pnlPrivacy,
      std::make_unique<TPanel>(L"pnlPrivacy", pnl2->Handle(), Box(1, 1, 710, 488), kViewColor));
  HWND view = pnlPrivacy->Handle();
  Own(RzCheckTree1,
      std::make_unique<TCheckTree>(L"RzCheckTree1", view, Box(0, 0, 190, 428), nullptr));
  LoadTreeImages();
  AddPrivacyNodes();
  Own(Splitter1, std::make_unique<TSplitter>(L"Splitter1", view, Box(190, 0, 5, 428), kViewColor));
  Own(mmoPrivacy, std::make_unique<TMemo>(L"mmoPrivacy", view, Box(195, 0, 515, 428)));
  Splitter1->MinLeft = 120;
  Splitter1->MaxLeft = 500;
  Splitter1->OnMoved = [this](int left) {
    RzCheckTree1->SetBounds(Box(0, 0, left, 428));
    Splitter1->SetBounds(Box(left, 0, 5, 428));
    mmoPrivacy->SetBounds(Box(left + 5, 0, 710 - left - 5, 428));
  };
  Own(Panel1, std::make_unique<TPanel>(L"Panel1", view, Box(0, 428, 710, 60), kStripColor));
  HWND strip = Panel1->Handle();
  Own(Label_firefox,
      std::make_unique<TLabel>(L"Label_firefox", Panel1->Graphics(), Box(5, 6, 185, 45),
                               L"Note: Cannot erase privacy of Firefox while it is running."));
  Label_firefox->SetBold(true);
  Label_firefox->SetWordWrap(true);
  Label_firefox->SetColor(RGB(0xB0, 0x3A, 0x2E));
  Label_firefox->SetVisible(false);
  Own(pbbarPri, std::make_unique<TProgressBar>(L"pbbarPri", strip, Box(222, 1, 479, 17)));
  Own(btnPrivaryAnalyze,
      std::make_unique<TButton>(L"btnPrivaryAnalyze", strip, Box(221, 23, 110, 28), L"Analyze"));
  Own(btnPrivacyCleaner,
      std::make_unique<TButton>(L"btnPrivacyCleaner", strip, Box(590, 23, 110, 28), L"Clean"));
  btnPrivaryAnalyze->OnClick = [this] { btnPrivaryAnalyzeClick(); };
  btnPrivacyCleaner->OnClick = [this] { btnPrivacyCleanerClick(); };
}

void TFormMain::LoadTreeImages() {
  // The tree holds the old list until it has the new one.
  UniqueImageList old = std::move(treeImages_);
  treeImages_ = LoadImageList(L"TREE", kTreeImageCount, Scaled(16, Dpi()));
  RzCheckTree1->SetImages(treeImages_.Get());
}

void TFormMain::AddPrivacyNodes() {
  for (const TPrivacyNode &node : kPrivacyNodes)
    RzCheckTree1->AddNode(node.Parent, node.Caption, node.ImageIndex, PlaceOf(node));
}

void TFormMain::btnPrivaryAnalyzeClick() {
  if (!PrivacyAnalyzeIdle) { // the button reads "Cancel"
    Scanner->CancelScan();
    return;
  }
  // An analysis resets the lists a running cleaning walks: never start one
  // inside it (the button is disabled meanwhile; "/auto" comes here too).
  if (PrivacyCleaning || Closing())
    return;
  const std::wstring selection = GetSelection();
  if (selection.find(L'1') == std::wstring::npos) {
    ShowMessage(LookupText(L"message1", L"Please select an item first."),
                MB_OK | MB_ICONINFORMATION);
    return;
  }
  TRunScope run(*this);
  const bool cleanBefore = btnPrivacyCleaner->Enabled();
  bool reported = false;
  PrivacyBusy = true;
  PrivacyAnalyzeIdle = false;
  // Whichever way the analysis ends (also by an error that goes on to the
  // error box), the view is usable again.
  const TScopeExit restore([&] {
    Label_firefox->SetVisible(false);
    btnPrivacyCleaner->SetEnabled(reported || cleanBefore);
    btnPrivaryAnalyze->SetCaption(LookupText(L"btnAnalyze", L"Analyze"));
    PrivacyAnalyzeIdle = true;
    pbbarPri->SetVisible(false);
    PrivacyBusy = false;
  });
  btnPrivaryAnalyze->SetCaption(LookupText(L"btnCancel", L"Cancel"));
  pbbarPri->SetVisible(true);
  btnPrivacyCleaner->SetEnabled(false);
  Scanner->ShowFirefoxNote = true;
  Label_firefox->SetVisible(false);

  Scanner->AnalyzeSelection(*lbltip, *Label_firefox, *mmoPrivacy, selection, *pbbarPri);
  reported = true;
}

void TFormMain::btnPrivacyCleanerClick() {
  if (PrivacyCleaning || PrivacyBusy || Closing())
    return; // one run at a time
  TRunScope run(*this);
  bool cleaned = false;
  PrivacyCleaning = true;
  const TScopeExit restore([&] {
    PrivacyCleaning = false;
    btnPrivaryAnalyze->SetEnabled(true);
    Label_firefox->SetVisible(false);
    pbbarPri->SetVisible(false);
    // After an error the collected items are still there to clean.
    btnPrivacyCleaner->SetEnabled(!cleaned);
  });
  btnPrivaryAnalyze->SetEnabled(false);
  pbbarPri->SetVisible(true);
  btnPrivacyCleaner->SetEnabled(false);
  Scanner->ShowFirefoxNote = true;
  Label_firefox->SetVisible(false);

  Scanner->CleanCollected(*lbltip, *Label_firefox, *pbbarPri);
  cleaned = true;
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
