// The junk files view: Analyze, Cancel and Clean around the junk worker.
#include "app/UnitMain.h"

#include "junk/TempFileThread.h"

namespace velmora {

void TFormMain::btnTempAnalyzeClick() {
  if (!JunkAnalyzeIdle) { // the button reads "Cancel"
    JunkWorker->StopScan();
    return;
  }
  if (JunkCleaning)
    return; // the worker of the running cleaning must stay
  TRunScope run(*this);
  JunkBusy = true;
  JunkAnalyzeIdle = false;
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

  btnTempCleaner->SetEnabled(true);
  JunkAnalyzeIdle = true;
  btnTempAnalyze->SetCaption(LookupText(L"btnAnalyze", L"Analyze"));
  pbbarTemp->SetVisible(false);
  JunkBusy = false;
}

void TFormMain::btnTempCleanerClick() {
  if (JunkCleaning || JunkBusy || !JunkWorker)
    return;
  TRunScope run(*this);
  JunkCleaning = true;
  pbbarTemp->SetVisible(true);
  btnTempCleaner->SetEnabled(false);
  btnTempAnalyze->SetEnabled(false);
  bool secure = false;
  try {
    secure = Config->ReadBool(cfg::kJunkSection, cfg::kSecureDeletion, false);
  } catch (...) {
  }
  JunkWorker->RemoveJunkFiles(*lbltip, secure, &ProcessMessages);
  JunkCleaning = false;
  pbbarTemp->SetVisible(false);
  btnTempAnalyze->SetEnabled(true);
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
