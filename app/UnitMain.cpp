#include "app/UnitMain.h"

#include "app/FormLayout.h"
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
// While a close waits for running work, the stop request is repeated this often.
const UINT_PTR kStopTimer = 1;
const UINT kStopTimerMs = 50;

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

const DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

std::wstring ProgramFolderOf() {
  wchar_t path[MAX_PATH * 2] = L"";
  GetModuleFileNameW(nullptr, path, MAX_PATH * 2);
  return ExtractFilePath(path);
}

} // namespace

TFormMain::TRunScope::~TRunScope() {
  if (--form_.runDepth_ == 0 && form_.closePending_ && form_.Handle()) {
    KillTimer(form_.Handle(), kStopTimer);
    DestroyWindow(form_.Handle());
  }
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
  const int dpi = Dpi();
  if (dpi != kDesignDpi) {
    // The layout is for 96 DPI: the window grows with the screen's scale.
    RECT scaled = {0, 0, Scaled(kClientWidth, dpi), Scaled(kClientHeight, dpi)};
    AdjustWindowRectEx(&scaled, kFormStyle, FALSE, 0);
    const int w = scaled.right - scaled.left, h = scaled.bottom - scaled.top;
    SetWindowPos(Handle(), nullptr, desktop.left + (desktop.right - desktop.left - w) / 2,
                 desktop.top + (desktop.bottom - desktop.top - h) / 2, w, h,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
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

// ---- Screen scale ------------------------------------------------------------

void TFormMain::ApplyDpi(int dpi) {
  if (dpi <= 0 || dpi == Dpi())
    return;
  RememberWindowDpi(Handle(), dpi);
  Graphics.SetDpi(dpi);
  for (TScalable *part : scalable_)
    part->SetDpi(dpi);
  LoadTreeImages();
  RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
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
  case WM_DPICHANGED: {
    // Moved to a screen of another scale: take the size the system
    // suggests, then lay everything out again.
    const RECT *suggested = reinterpret_cast<const RECT *>(lParam);
    SetWindowPos(Handle(), nullptr, suggested->left, suggested->top,
                 suggested->right - suggested->left, suggested->bottom - suggested->top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    ApplyDpi(LOWORD(wParam));
    return 0;
  }
  case WM_TIMER:
    if (wParam == kStopTimer) {
      StopRunningWork();
      return 0;
    }
    break;
  case WM_DESTROY:
    ForgetWindowDpi(Handle());
    if (settings_.QuitOnDestroy)
      PostQuitMessage(0);
    break;
  }
  return DefaultProc(message, wParam, lParam);
}

void TFormMain::Close() {
  if (closePending_)
    return; // already on its way
  FormClose();
  if (settings_.OnClosing)
    settings_.OnClosing(runDepth_ > 0);
  if (runDepth_ > 0) {
    // Work is still unwinding below this handler: hide now, go when it is
    // done. The work is asked to stop until it has.
    closePending_ = true;
    ShowWindow(Handle(), SW_HIDE);
    SetTimer(Handle(), kStopTimer, kStopTimerMs, nullptr);
    return;
  }
  DestroyWindow(Handle());
}

void TFormMain::StopRunningWork() {
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
  RzCheckTree1->ApplySelection(
      SelectionToShow(Config->ReadString(cfg::kVelmoraSection, cfg::kSelection, L"")));
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
  if (!FirstArgumentIsAuto() || AutoAnalyzeStarted || Closing())
    return;
  AutoAnalyzeStarted = true;
  btnPrivaryAnalyzeClick();
  pnl1->SetFocus();
}

void TFormMain::FormClose() {
  StopRunningWork();
  try {
    Config->WriteString(cfg::kVelmoraSection, cfg::kSelection, GetSelection());
  } catch (...) {
  }
}

std::wstring TFormMain::GetSelection() const { return RzCheckTree1->Selection(); }

} // namespace velmora
