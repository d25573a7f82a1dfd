// The options view: the junk-file settings and the two cookie lists, all
// written through to the configuration file at once.
#include "app/UnitMain.h"

#include "app/FormLayout.h"

#include "app/CookieCache.h"
#include "base/Error.h"
#include "system/Routines.h"

namespace velmora {

void TFormMain::CreateOptionsView() {
  Own(pnlOptions,
      std::make_unique<TPanel>(L"pnlOptions", pnl2->Handle(), Box(1, 1, 710, 488), kViewColor));
  pnlOptions->SetVisible(false);
  Own(PageControl1,
      std::make_unique<TPageControl>(L"PageControl1", pnlOptions->Handle(), Box(0, 0, 710, 488)));
  Own(TabSheet1, std::make_unique<TTabSheet>(L"TabSheet1", *PageControl1, L"General Setting"));
  HWND general = TabSheet1->Handle();
  Own(CheckBox1, std::make_unique<TCheckBox>(L"CheckBox1", general, Box(32, 24, 329, 17),
                                             L"Windows Recycle Bin"));
  Own(CheckBox2, std::make_unique<TCheckBox>(L"CheckBox2", general, Box(32, 65, 329, 17),
                                             L"Windows Temporary Files"));
  Own(CheckBox3, std::make_unique<TCheckBox>(L"CheckBox3", general, Box(32, 106, 313, 17),
                                             L"IE Temporary Files"));
  Own(CheckBox4, std::make_unique<TCheckBox>(L"CheckBox4", general, Box(32, 147, 353, 17),
                                             L"Delete Windows temporary files older than 1 week"));
  Own(CheckBox5,
      std::make_unique<TCheckBox>(L"CheckBox5", general, Box(32, 188, 353, 17),
                                  L"Enable Secure File Deletion DOD 5220.22-M (Slower)"));
  CheckBox1->OnClick = [this] { CheckBox1Click(); };
  CheckBox2->OnClick = [this] { CheckBox2Click(); };
  CheckBox3->OnClick = [this] { CheckBox3Click(); };
  CheckBox4->OnClick = [this] { CheckBox4Click(); };
  CheckBox5->OnClick = [this] { CheckBox5Click(); };
  Own(TabSheet2, std::make_unique<TTabSheet>(L"TabSheet2", *PageControl1, L"Cookies"));
  HWND cookies = TabSheet2->Handle();
  Own(ListViewDelete, std::make_unique<TListView>(L"ListViewDelete", cookies, Box(39, 24, 230, 353),
                                                  L"Cookies to Delete", 225));
  Own(ListViewKeep, std::make_unique<TListView>(L"ListViewKeep", cookies, Box(368, 24, 230, 353),
                                                L"Cookies to Keep", 225));
  Own(Button1, std::make_unique<TButton>(L"Button1", cookies, Box(299, 104, 42, 25), L">"));
  Own(Button2, std::make_unique<TButton>(L"Button2", cookies, Box(299, 176, 42, 25), L"<"));
  Button1->OnClick = [this] { Button1Click(); };
  Button2->OnClick = [this] { Button2Click(); };
  ListViewDelete->OnClick = ListViewDelete->OnColumnClick = [this] { ListViewDeleteClick(); };
  ListViewKeep->OnClick = ListViewKeep->OnColumnClick = [this] { ListViewKeepClick(); };
  ListViewDelete->OnDblClick = [this] { Button1Click(); };
  ListViewKeep->OnDblClick = [this] { Button2Click(); };
  PageControl1->SetActivePage(0);
}

namespace {
const int kTextBeforeLimit = 255;
} // namespace

void TFormMain::ShowOptionsView() {
  const int listing = ++cookieListing_;
  ListViewDelete->Clear();
  ListViewKeep->Clear();
  KeepEntries.clear();
  // A box set to another state writes its value back (its click handler).
  CheckBox1->SetChecked(Config->ReadBool(cfg::kJunkSection, cfg::kRecycle, true));
  CheckBox2->SetChecked(Config->ReadBool(cfg::kJunkSection, cfg::kTempFile, true));
  CheckBox3->SetChecked(Config->ReadBool(cfg::kJunkSection, cfg::kIeCache, true));
  CheckBox4->SetChecked(Config->ReadBool(cfg::kJunkSection, cfg::kRemoveDay, true));
  CheckBox5->SetChecked(Config->ReadBool(cfg::kJunkSection, cfg::kSecureDeletion, false));
  try {
    if (Config->SectionExists(cfg::kCookieSection))
      KeepEntries = Config->ReadSectionValues(cfg::kCookieSection);
  } catch (...) {
  }
  for (const std::wstring &line : KeepEntries)
    ListViewKeep->AddSorted(TextBefore(line, kTextBeforeLimit, L'='));
  if (listing == cookieListing_)
    ListCookieSites();
}

void TFormMain::WriteFlag(const wchar_t *key, bool checked) {
  Config->WriteString(cfg::kJunkSection, key, checked ? L"1" : L"0");
}

void TFormMain::CheckBox1Click() { WriteFlag(cfg::kRecycle, CheckBox1->Checked()); }
void TFormMain::CheckBox2Click() { WriteFlag(cfg::kTempFile, CheckBox2->Checked()); }
void TFormMain::CheckBox3Click() { WriteFlag(cfg::kIeCache, CheckBox3->Checked()); }

void TFormMain::CheckBox4Click() {
  try {
    Config->WriteString(cfg::kJunkSection, cfg::kRemoveDay, CheckBox4->Checked() ? L"7" : L"0");
  } catch (const EAppError &) {
    // Not stored; nothing is shown.
  }
}

void TFormMain::CheckBox5Click() { WriteFlag(cfg::kSecureDeletion, CheckBox5->Checked()); }

void TFormMain::Button1Click() {
  const int selected = ListViewDelete->Selected();
  if (selected < 0)
    return;
  const std::wstring site = ListViewDelete->ItemText(selected);
  ListViewKeep->AddSorted(site);
  ListViewDelete->Delete(selected);
  try {
    Config->WriteString(cfg::kCookieSection, site, L"1");
  } catch (const EAppError &) {
  }
}

void TFormMain::Button2Click() {
  const int selected = ListViewKeep->Selected();
  if (selected < 0)
    return;
  const std::wstring site = ListViewKeep->ItemText(selected);
  ListViewDelete->AddSorted(site);
  ListViewKeep->Delete(selected);
  try {
    Config->DeleteKey(cfg::kCookieSection, site);
  } catch (const EAppError &) {
  }
}

void TFormMain::ListViewDeleteClick() {
  Button1->SetEnabled(true);
  Button2->SetEnabled(false);
}

void TFormMain::ListViewKeepClick() {
  Button1->SetEnabled(false);
  Button2->SetEnabled(true);
}

void TFormMain::ListCookieSites() {
  TRunScope run(*this);
  const int listing = cookieListing_;
  // Messages are processed between entries; when the view is opened again
  // meanwhile, that opening lists afresh and this listing stops.
  ListCookieCacheEntries(
      [this, listing](const std::wstring &urlName) {
        if (listing != cookieListing_ || !Handle() || Closing())
          return false;
        AddCookieSite(urlName);
        return true;
      },
      &ProcessMessages);
}

void TFormMain::AddCookieSite(const std::wstring &sourceUrlName) {
  const std::wstring site = CookieSiteOf(sourceUrlName);
  for (const std::wstring &line : KeepEntries)
    if (TextBefore(line, kTextBeforeLimit, L'=') == site)
      return;
  ListViewDelete->AddSorted(site);
}

} // namespace velmora
