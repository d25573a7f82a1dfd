#include "app/UnitMain.h"

#include "app/PrivacyNodes.h"
#include "base/Error.h"
#include "base/Text.h"
#include "junk/TempFileThread.h"
#include "privacy/PrivacyScanner.h"

namespace velmora {

const wchar_t kUpgradePageUrl[] = L"https://www.example.com/quorvix/upgrade";

namespace {

const wchar_t kFormClass[] = L"TFormMain";
const UINT kFormActivateMessage = WM_APP + 10;

const DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

// Colours of the window.
const COLORREF kNavigationColor = RGB(0xEE, 0xF4, 0xFB);
const COLORREF kBorderColor = RGB(0xB9, 0xCF, 0xE6);
const COLORREF kViewColor = RGB(0xF7, 0xF9, 0xFC);
const COLORREF kStripColor = RGB(0xE6, 0xEF, 0xF8);
const COLORREF kCaptionColor = RGB(0x1F, 0x35, 0x50);

RECT Box(int x, int y, int width, int height) { return RECT{x, y, x + width, y + height}; }

std::wstring ProgramFolderOf() {
  wchar_t path[MAX_PATH * 2] = L"";
  GetModuleFileNameW(nullptr, path, MAX_PATH * 2);
  return ExtractFilePath(path);
}

} // namespace

TFormMain::TRunScope::~TRunScope() {
  if (--form_.runDepth_ == 0 && form_.closePending_) {
    form_.closePending_ = false;
    if (form_.Handle())
      DestroyWindow(form_.Handle());
  }
}

template <class T> T *TFormMain::Own(std::unique_ptr<T> &slot, std::unique_ptr<T> control) {
  slot = std::move(control);
  owned_.push_back(slot.get());
  return slot.get();
}

TFormMain::TFormMain(TFormSettings settings)
    : TComponent(L"FormMain"), settings_(std::move(settings)) {
  if (settings_.ProgramFolder.empty())
    settings_.ProgramFolder = ProgramFolderOf();
  SetApplicationErrorHandler(
      [this](const std::wstring &message) { ShowMessage(message + L".", MB_OK | MB_ICONERROR); });
  Dispatcher = std::make_unique<TGuiDispatcher>();

  RegisterClassOnce(kFormClass, 0, LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1)));
  RECT frame = {0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&frame, kFormStyle, FALSE, 0);
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  RECT desktop;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &desktop, 0);
  const int x = desktop.left + (desktop.right - desktop.left - width) / 2;
  const int y = desktop.top + (desktop.bottom - desktop.top - height) / 2;
  CreateHandle(0, kFormClass, caption_, kFormStyle, x, y, width, height, nullptr);
  Graphics.Attach(Handle());
  CreateControls();
  FormCreate();
}

TFormMain::~TFormMain() {
  // The worker and the engine go first: a worker still running is stopped
  // and waited for while its calls into the window can still be served.
  JunkWorker.reset();
  Scanner.reset();
  if (Handle())
    DestroyWindow(Handle());
  if (treeImages_)
    ImageList_Destroy(treeImages_);
  SetApplicationErrorHandler(nullptr);
}

void TFormMain::Show() {
  FormShow();
  ShowWindow(Handle(), SW_SHOW);
  UpdateWindow(Handle());
}

std::wstring TFormMain::Text(int) const { return caption_; }

void TFormMain::SetText(int, const std::wstring &text) {
  caption_ = text;
  SetWindowTextOf(Handle(), text);
}

std::wstring TFormMain::LookupText(const std::wstring &key, const std::wstring &def) const {
  return Language ? Language->LookupText(key, def) : def;
}

int TFormMain::ShowMessage(const std::wstring &text, UINT flags) {
  const std::wstring title = LookupText(L"messagetop", L"Quorvix");
  if (MessageBoxHook)
    return MessageBoxHook(text, title, flags);
  return MessageBoxW(Handle(), text.c_str(), title.c_str(), flags);
}

// ---- Controls -------------------------------------------------------------

void TFormMain::CreateControls() {
  CreateBanner();
  CreateNavigationBar();
  Own(pnl2, std::make_unique<TPanel>(L"pnl2", Handle(), Box(112, 74, 712, 490), kBorderColor));
  CreatePrivacyView();
  CreateJunkView();
  CreateOptionsView();
}

void TFormMain::CreateBanner() {
  Own(img_topbeijin,
      std::make_unique<TImage>(L"img_topbeijin", Graphics, Box(0, 0, kClientWidth, 69)));
  img_topbeijin->SetPicture(TPicture::FromResource(L"BANNER"));
  Own(img_topzi, std::make_unique<TImage>(L"img_topzi", Graphics, Box(7, 3, 218, 41)));
  img_topzi->SetPicture(TPicture::FromResource(L"LOGO"));
  Own(Label4, std::make_unique<TLabel>(L"Label4", Graphics, Box(226, 18, 40, 13), L"v2.0"));
  Label4->SetColor(RGB(255, 255, 255));
  Own(Label_top,
      std::make_unique<TLabel>(L"Label_top", Graphics, Box(19, 49, 671, 13), L"Label_top"));
  Label_top->SetColor(RGB(255, 255, 255));
  Own(Image39, std::make_unique<TImage>(L"Image39", Graphics, Box(0, 69, kClientWidth, 5)));
  Image39->SetPicture(TPicture::FromResource(L"STRIP"));
}

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

void TFormMain::CreatePrivacyView() {
  Own(pnlPrivacy,
      std::make_unique<TPanel>(L"pnlPrivacy", pnl2->Handle(), Box(1, 1, 710, 488), kViewColor));
  HWND view = pnlPrivacy->Handle();
  treeImages_ = LoadImageList(L"TREE", 11, 16);
  Own(RzCheckTree1,
      std::make_unique<TCheckTree>(L"RzCheckTree1", view, Box(0, 0, 190, 428), treeImages_));
  AddPrivacyNodes();
  Own(Splitter1, std::make_unique<TSplitter>(L"Splitter1", view, Box(190, 0, 5, 428), kViewColor));
  Own(mmoPrivacy, std::make_unique<TMemo>(L"mmoPrivacy", view, Box(195, 0, 515, 428)));
  Splitter1->MinLeft = 120;
  Splitter1->MaxLeft = 500;
  Splitter1->OnMoved = [this](int left) {
    RzCheckTree1->SetBounds(Box(0, 0, left, 428));
    MoveWindow(Splitter1->Handle(), left, 0, 5, 428, TRUE);
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

void TFormMain::AddPrivacyNodes() {
  for (const TPrivacyNode &node : kPrivacyNodes)
    RzCheckTree1->AddNode(node.Parent, node.Caption, node.ImageIndex);
}

// ---- Window procedure -------------------------------------------------------

LRESULT TFormMain::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (RouteControlMessage(message, wParam, lParam, result))
    return result;
  if (Graphics.HandleMessage(message, wParam, lParam, result))
    return result;
  switch (message) {
  case WM_ACTIVATE:
    // The handler may run a whole analysis: run it outside the activation.
    if (LOWORD(wParam) != WA_INACTIVE)
      PostMessageW(Handle(), kFormActivateMessage, 0, 0);
    break;
  case kFormActivateMessage:
    FormActivate();
    return 0;
  case WM_CLOSE:
    Close();
    return 0;
  case WM_DESTROY:
    if (settings_.QuitOnDestroy)
      PostQuitMessage(0);
    break;
  }
  return DefaultProc(message, wParam, lParam);
}

void TFormMain::Close() {
  FormClose();
  if (runDepth_ > 0) {
    // Work is still unwinding below this handler: hide now, go when it is done.
    closePending_ = true;
    ShowWindow(Handle(), SW_HIDE);
    return;
  }
  DestroyWindow(Handle());
}

// ---- Lifecycle ------------------------------------------------------------------

void TFormMain::FormCreate() {
  const std::wstring choice =
      settings_.LanguageChoice.empty() ? ReadLanguageChoice() : settings_.LanguageChoice;
  Language = CreateStartupLanguage(settings_.ProgramFolder, choice);
  Language->ApplyToForm(*this);
  ApplicationTitle = LookupText(L"messagetop", L"Quorvix");

  JunkWorkerStarted = false;
  JunkAnalyzeIdle = true;
  PrivacyAnalyzeIdle = true;

  Locations = std::make_unique<TAppFrame>();
  const std::wstring folder = ConfigFolder(*Locations);
  if (GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES)
    CreateDirectoryW(folder.c_str(), nullptr);
  Config = std::make_unique<TConfigFile>(ConfigFilePath(*Locations));
  try {
    Config->WriteString(cfg::kJunkSection, cfg::kScanNow, L"0");
  } catch (const EAppError &) {
    // The program runs with its defaults.
  }

  std::vector<std::wstring> texts;
  const std::vector<std::wstring> &defaults = DefaultPrivacyReportTexts();
  for (size_t i = 0; i < defaults.size(); ++i)
    texts.push_back(LookupText(std::to_wstring(i), defaults[i]));
  Scanner = std::make_unique<TPrivacyScanner>(texts, &ProcessMessages, Config->FileName());
}

void TFormMain::FormShow() {
  std::wstring selection = Config->ReadString(cfg::kVelmoraSection, cfg::kSelection, L"");
  if (selection.empty())
    selection = cfg::kDefaultSelection;
  RzCheckTree1->ApplySelection(selection);
  ImageNotePrivacyClick();
  SetNavigation(2, 0, 0);
}

bool TFormMain::FirstArgumentIsAuto() const {
  return !settings_.Arguments.empty() && settings_.Arguments.front() == L"/auto";
}

void TFormMain::FormActivate() {
  // Only the first activation starts the unattended analysis: a later one
  // (the user coming back to the window) would press Analyze again and so
  // cancel the running analysis.
  if (!FirstArgumentIsAuto() || AutoAnalyzeStarted)
    return;
  AutoAnalyzeStarted = true;
  btnPrivaryAnalyzeClick();
  pnl1->SetFocus();
}

void TFormMain::FormClose() {
  try {
    if (Scanner)
      Scanner->CancelScan();
  } catch (...) {
  }
  try {
    if (JunkWorkerStarted && JunkWorker)
      JunkWorker->StopScan();
  } catch (...) {
  }
  try {
    Config->WriteString(cfg::kVelmoraSection, cfg::kSelection, GetSelection());
  } catch (...) {
  }
}

std::wstring TFormMain::GetSelection() const { return RzCheckTree1->Selection(); }

} // namespace velmora
