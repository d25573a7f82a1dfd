// The junk files view: Analyze, Cancel and Clean around the junk worker.
#include "app/UnitMain.h"

#include "app/FormLayout.h"

#include "base/ScopeExit.h"
#include "junk/TempFileThread.h"

namespace velmora {

void TFormMain::CreateJunkView() {
  Own(pnlTemp,
      std::make_unique<TPanel>(L"pnlTemp", pnl2->Handle(), Box(1, 1, 710, 488), kViewColor));
  pnlTemp->SetVisible(false);
  HWND view = pnlTemp->Handle();
  Own(mmoTemp, std::make_unique<TMemo>(L"mmoTemp", view, Box(0, 0, 710, 428)));
  Own(Panel2, std::make_unique<TPanel>(L"Panel2", view, Box(0, 428, 710, 60), kStripColor));
  HWND strip = Panel2->Handle();
  Own(pbbarTemp, std::make_unique<TProgressBar>(L"pbbarTemp", strip, Box(102, 0, 503, 17)));
  Own(btnTempAnalyze,
      std::make_unique<TButton>(L"btnTempAnalyze", strip, Box(102, 23, 110, 28), L"Analyze"));
  Own(btnTempCleaner,
      std::make_unique<TButton>(L"btnTempCleaner", strip, Box(495, 24, 110, 28), L"Clean"));
  Own(lblTotal,
      std::make_unique<TLabel>(L"lblTotal", Panel2->Graphics(), Box(7, 19, 154, 14), L""));
  lblTotal->SetBold(true);
  lblTotal->SetColor(RGB(128, 0, 0));
  Own(lbltip,
      std::make_unique<TLabel>(L"lbltip", Panel2->Graphics(), Box(15, 39, 80, 13), L"lbltip"));
  lbltip->SetVisible(false);
  btnTempAnalyze->OnClick = [this] { btnTempAnalyzeClick(); };
  btnTempCleaner->OnClick = [this] { btnTempCleanerClick(); };
}

void TFormMain::btnTempAnalyzeClick() {
  if (!JunkAnalyzeIdle) { // the button reads "Cancel"
    JunkWorker->StopScan();
    return;
  }
  if (JunkCleaning || Closing())
    return; // the worker of the running cleaning must stay
  TRunScope run(*this);
  const bool cleanBefore = btnTempCleaner->Enabled();
  bool reported = false;
  JunkBusy = true;
  JunkAnalyzeIdle = false;
  // Whichever way the analysis ends (also by an error that goes on to the
  // error box), the view is usable again.
  const TScopeExit restore([&] {
    btnTempCleaner->SetEnabled(reported || (cleanBefore && JunkWorker));
    JunkAnalyzeIdle = true;
    btnTempAnalyze->SetCaption(LookupText(L"btnAnalyze", L"Analyze"));
    pbbarTemp->SetVisible(false);
    JunkBusy = false;
  });
  btnTempAnalyze->SetCaption(LookupText(L"btnCancel", L"Cancel"));
  pbbarTemp->SetVisible(true);
  btnTempCleaner->SetEnabled(false);

  static const wchar_t *const kDefaults[] = {
      L"Temporary File Analysis Report",           L"Total %d file(s) found.",
      L"Files size: %s (Approximate size)",        L"Removing junk files...",
      L"Removing junk files (Secure Deletion)...",
  };
  std::vector<std::wstring> texts;
  for (size_t i = 0; i < std::size(kDefaults); ++i)
    texts.push_back(LookupText(std::to_wstring(20 + i), kDefaults[i]));

  JunkWorker.reset(); // the last worker has finished: its thread only returns
  JunkWorker =
      std::make_unique<TempThread>(*lbltip, texts, false, *mmoTemp, *pbbarTemp, *Dispatcher);
  JunkWorkerStarted = true;
  // Sleeps on the worker and the message queue together; messages (and the
  // worker's calls into this thread) are processed meanwhile.
  JunkWorker->WaitFor(&ProcessMessages);
  reported = true;
}

void TFormMain::btnTempCleanerClick() {
  if (JunkCleaning || JunkBusy || !JunkWorker || Closing())
    return;
  TRunScope run(*this);
  bool cleaned = false;
  JunkCleaning = true;
  const TScopeExit restore([&] {
    JunkCleaning = false;
    pbbarTemp->SetVisible(false);
    btnTempAnalyze->SetEnabled(true);
    // After an error the analysed files are still there to clean.
    btnTempCleaner->SetEnabled(!cleaned);
  });
  pbbarTemp->SetVisible(true);
  btnTempCleaner->SetEnabled(false);
  btnTempAnalyze->SetEnabled(false);
  bool secure = false;
  try {
    secure = Config->ReadBool(cfg::kJunkSection, cfg::kSecureDeletion, false);
  } catch (...) {
  }
  JunkWorker->RemoveJunkFiles(*lbltip, secure, &ProcessMessages);
  cleaned = true;
  mmoTemp->Clear();
  mmoTemp->AppendLines({LookupText(L"CleanCompleted", L"Cleaning Completed")});
}

void TFormMain::ShowJunkView() {
  // While a cleaning runs its bar stays up and Clean stays off.
  pbbarTemp->SetVisible(JunkCleaning);
  if (mmoTemp->LineCount() == 0)
    mmoTemp->AppendLines(
        {LookupText(L"memotip", L"Please Click The \"Analyze\" Button To Analyze")});
  btnTempCleaner->SetEnabled(!JunkCleaning && mmoTemp->LineCount() > 1);
}

} // namespace velmora
