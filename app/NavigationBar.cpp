// The navigation bar: switching views (asking before leaving a running
// analysis), the hover pictures and the Update button.
#include "app/UnitMain.h"

#include "app/FormLayout.h"

#include "junk/TempFileThread.h"
#include "privacy/PrivacyScanner.h"

#include <shellapi.h>

namespace velmora {

void TFormMain::CreateNavigationBar() {
  Own(pnl1, std::make_unique<TPanel>(L"pnl1", Handle(), Box(0, 74, 112, 490), kNavigationColor));
  Own(Panel3, std::make_unique<TPanel>(L"Panel3", pnl1->Handle(), Box(0, 0, 1, 490), kBorderColor));
  TGraphicHost &bar = pnl1->Graphics();
  const TPicture over = TPicture::FromResource(L"OVER");
  const TPicture click = TPicture::FromResource(L"CLICK");

  struct TButtonPlan {
    std::unique_ptr<TImageNote> *note;
    const wchar_t *noteName;
    RECT noteBox;
    std::unique_ptr<TImage> *icon;
    const wchar_t *iconName;
    RECT iconBox;
    const wchar_t *picture;
    std::unique_ptr<TLabel> *label;
    const wchar_t *labelName;
    RECT labelBox;
    const wchar_t *caption;
    void (TFormMain::*click)();
    void (TFormMain::*enter)();
    void (TFormMain::*leave)();
  };
  const TButtonPlan plans[] = {
      {&ImageNotePrivacy, L"ImageNotePrivacy", Box(8, 21, 95, 76), &Image1, L"Image1",
       Box(31, 25, 48, 48), L"NAVPRIVACY", &Label1, L"Label1", Box(9, 77, 90, 13), L"Privacy Sweep",
       &TFormMain::ImageNotePrivacyClick, &TFormMain::ImageNotePrivacyMouseEnter,
       &TFormMain::ImageNotePrivacyMouseLeave},
      {&ImageNoteJunkFiles, L"ImageNoteJunkFiles", Box(7, 126, 95, 76), &Image2, L"Image2",
       Box(31, 130, 48, 48), L"NAVJUNK", &Label2, L"Label2", Box(9, 185, 90, 13),
       L"Junk Files Clean", &TFormMain::ImageNoteJunkFilesClick,
       &TFormMain::ImageNoteJunkFilesMouseEnter, &TFormMain::ImageNoteJunkFilesMouseLeave},
      {&ImageNoteOption, L"ImageNoteOption", Box(7, 235, 95, 76), &Image3, L"Image3",
       Box(31, 239, 48, 48), L"NAVOPTIONS", &Label3, L"Label3", Box(9, 294, 90, 13), L"Options",
       &TFormMain::ImageNoteOptionClick, &TFormMain::ImageNoteOptionMouseEnter,
       &TFormMain::ImageNoteOptionMouseLeave},
      {&ImageNote1, L"ImageNote1", Box(7, 344, 95, 76), &Image4, L"Image4", Box(33, 349, 40, 40),
       L"NAVUPDATE", &Label5, L"Label5", Box(10, 400, 90, 13), L"Update",
       &TFormMain::ImageNote1Click, &TFormMain::ImageNote1MouseEnter,
       &TFormMain::ImageNote1MouseLeave},
  };
  for (const TButtonPlan &plan : plans) {
    TImageNote *note =
        Own(*plan.note, std::make_unique<TImageNote>(plan.noteName, bar, plan.noteBox));
    note->Items().Add().Name = L"normal";
    TPictureItem &overItem = note->Items().Add();
    overItem.Name = L"over";
    overItem.Picture = over;
    TPictureItem &clickItem = note->Items().Add();
    clickItem.Name = L"click";
    clickItem.Picture = click;
    TImage *icon = Own(*plan.icon, std::make_unique<TImage>(plan.iconName, bar, plan.iconBox));
    icon->SetPicture(TPicture::FromResource(plan.picture));
    TLabel *label = Own(*plan.label,
                        std::make_unique<TLabel>(plan.labelName, bar, plan.labelBox, plan.caption));
    label->SetAlign(TAlign::Center);
    label->SetColor(kCaptionColor);
    for (TGraphicControl *part :
         {static_cast<TGraphicControl *>(note), static_cast<TGraphicControl *>(icon),
          static_cast<TGraphicControl *>(label)}) {
      part->OnClick = [this, f = plan.click] { (this->*f)(); };
      part->OnMouseEnter = [this, f = plan.enter] { (this->*f)(); };
      part->OnMouseLeave = [this, f = plan.leave] { (this->*f)(); };
    }
  }
}

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
