// The navigation bar: switching views (asking before leaving a running
// analysis), the hover pictures and the Update button.
#include "app/UnitMain.h"

#include "junk/TempFileThread.h"
#include "privacy/PrivacyScanner.h"

#include <shellapi.h>

namespace velmora {

namespace {
enum { kNormal = 0, kOver = 1, kClick = 2 };
} // namespace

bool TFormMain::ConfirmLeave() {
  return ShowMessage(LookupText(L"message2", L"Are you sure you want to stop and leave Analyze"),
                     MB_YESNO | MB_ICONWARNING) == IDYES;
}

void TFormMain::SetNavigation(int privacy, int junk, int options) {
  ImageNotePrivacy->SetImageIndex(privacy);
  ImageNoteJunkFiles->SetImageIndex(junk);
  ImageNoteOption->SetImageIndex(options);
}

void TFormMain::ImageNotePrivacyClick() {
  if (PrivacyBusy)
    return;
  if (JunkBusy) {
    if (!ConfirmLeave())
      return;
    JunkWorker->StopScan();
  }
  if (!FirstArgumentIsAuto())
    pnl1->SetFocus();
  SetNavigation(kClick, kNormal, kNormal);
  Label_top->SetCaption(LookupText(L"pritip", L"Erase your activity history and surfing traces."));
  pnlTemp->SetVisible(false);
  pnlPrivacy->SetVisible(true);
  pnlOptions->SetVisible(false);
  ShowPrivacyView();
}

void TFormMain::ImageNoteJunkFilesClick() {
  if (JunkBusy)
    return;
  if (PrivacyBusy) {
    if (!ConfirmLeave())
      return;
    Scanner->CancelScan();
  }
  pnl1->SetFocus();
  SetNavigation(kNormal, kClick, kNormal);
  Label_top->SetCaption(
      LookupText(L"junktip", L"Clean up junk files and free up hard disk space."));
  pnlTemp->SetVisible(true);
  pnlPrivacy->SetVisible(false);
  pnlOptions->SetVisible(false);
  ShowJunkView();
}

void TFormMain::ImageNoteOptionClick() {
  if (JunkBusy) {
    if (!ConfirmLeave())
      return;
    JunkWorker->StopScan();
  }
  if (PrivacyBusy) {
    if (!ConfirmLeave())
      return;
    Scanner->CancelScan();
  }
  pnl1->SetFocus();
  SetNavigation(kNormal, kNormal, kClick);
  Label_top->SetCaption(LookupText(L"setting", L"Help to perform more specified settings."));
  pnlTemp->SetVisible(false);
  pnlPrivacy->SetVisible(false);
  pnlOptions->SetVisible(true);
  ShowOptionsView();
}

void TFormMain::ImageNote1Click() {
  ShellExecuteW(nullptr, L"open", kUpgradePageUrl, nullptr, nullptr, SW_SHOWNORMAL);
}

void TFormMain::NavigationEnter(TImageNote &button) {
  if (button.ImageIndex() != kClick)
    button.SetImageIndex(kOver);
}

void TFormMain::NavigationLeave(TImageNote &button) {
  bool otherSelected = false;
  for (TImageNote *view : {ImageNotePrivacy.get(), ImageNoteJunkFiles.get(), ImageNoteOption.get()})
    if (view != &button && view->ImageIndex() == kClick)
      otherSelected = true;
  button.SetImageIndex(otherSelected ? kNormal : kClick);
}

void TFormMain::ImageNotePrivacyMouseEnter() { NavigationEnter(*ImageNotePrivacy); }
void TFormMain::ImageNotePrivacyMouseLeave() { NavigationLeave(*ImageNotePrivacy); }
void TFormMain::ImageNoteJunkFilesMouseEnter() { NavigationEnter(*ImageNoteJunkFiles); }
void TFormMain::ImageNoteJunkFilesMouseLeave() { NavigationLeave(*ImageNoteJunkFiles); }
void TFormMain::ImageNoteOptionMouseEnter() { NavigationEnter(*ImageNoteOption); }
void TFormMain::ImageNoteOptionMouseLeave() { NavigationLeave(*ImageNoteOption); }
void TFormMain::ImageNote1MouseEnter() { NavigationEnter(*ImageNote1); }
void TFormMain::ImageNote1MouseLeave() { NavigationLeave(*ImageNote1); }

} // namespace velmora
