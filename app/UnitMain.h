#pragma once
// The main window: banner, navigation bar and the three views (privacy
// traces, junk files, options), with the objects they share.
#include "app/controls/CheckTree.h"
#include "app/controls/Controls.h"
#include "app/controls/GraphicControls.h"
#include "app/controls/GuiDispatcher.h"
#include "app/controls/PImageNote.h"
#include "app/controls/Window.h"
#include "settings/ConfigFile.h"
#include "settings/PLanguage.h"
#include "system/AppFrame_New.h"

#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

namespace velmora {

class TPrivacyScanner;
class TempThread;

// The vendor's upgrade page, opened by the Update button.
extern const wchar_t kUpgradePageUrl[];

// Fixed size of the window's client area at 96 DPI.
constexpr int kClientWidth = 824;
constexpr int kClientHeight = 564;

// How the window is started.
struct TFormSettings {
  // Command-line arguments after the program name ("/auto", ...).
  std::vector<std::wstring> Arguments;
  // Folder that holds "Language" (with its backslash); empty: the program's.
  std::wstring ProgramFolder;
  // Language pack name; empty: the companion file's choice.
  std::wstring LanguageChoice;
  // End the thread's message loop when the window is destroyed.
  bool QuitOnDestroy = false;
  // Called when the user closes the window, before it goes; workRunning
  // tells whether work is still unwinding below (the program then bounds
  // the time the process may take to end).
  std::function<void(bool workRunning)> OnClosing;
};

class TFormMain : public TWindow, public TComponent {
public:
  // Creates the window (hidden) and its controls, then runs FormCreate.
  explicit TFormMain(TFormSettings settings = {});
  ~TFormMain() override;

  // Runs FormShow, then shows the window.
  void Show();

  // ---- Lifecycle ----
  void FormCreate();
  void FormShow();
  void FormActivate();
  void FormClose();
  // One character per leaf of the privacy tree: '1' checked, '0' otherwise.
  std::wstring GetSelection() const;

  // ---- Privacy view ----
  void btnPrivaryAnalyzeClick();
  void btnPrivacyCleanerClick();
  void ShowPrivacyView();

  // ---- Junk files view ----
  void btnTempAnalyzeClick();
  void btnTempCleanerClick();
  void ShowJunkView();

  // ---- Options view ----
  void ShowOptionsView();
  void CheckBox1Click();
  void CheckBox2Click();
  void CheckBox3Click();
  void CheckBox4Click();
  void CheckBox5Click();
  void Button1Click();
  void Button2Click();
  void ListViewDeleteClick();
  void ListViewKeepClick();
  void ListCookieSites();
  void AddCookieSite(const std::wstring &sourceUrlName);

  // ---- Navigation bar ----
  void ImageNotePrivacyClick();
  void ImageNoteJunkFilesClick();
  void ImageNoteOptionClick();
  void ImageNote1Click();
  void ImageNotePrivacyMouseEnter();
  void ImageNotePrivacyMouseLeave();
  void ImageNoteJunkFilesMouseEnter();
  void ImageNoteJunkFilesMouseLeave();
  void ImageNoteOptionMouseEnter();
  void ImageNoteOptionMouseLeave();
  void ImageNote1MouseEnter();
  void ImageNote1MouseLeave();

  // ---- Language packs: the form and its components ----
  TTextRule Rule() const override { return TTextRule::None; }
  std::wstring Text(int) const override;
  void SetText(int, const std::wstring &text) override;
  std::vector<TTranslatable *> Owned() override { return owned_; }

  // ---- Screen scale ----
  // The DPI the window is laid out at.
  int Dpi() const { return Graphics.Dpi(); }
  // Lays out every control, font and picture again at a new DPI.
  void ApplyDpi(int dpi);

  // ---- Shared objects and flags ----
  std::unique_ptr<TLanguage> Language;
  std::unique_ptr<TAppFrame> Locations;
  std::unique_ptr<TConfigFile> Config;
  std::unique_ptr<TPrivacyScanner> Scanner;
  std::unique_ptr<TempThread> JunkWorker;
  bool PrivacyBusy = false;
  bool JunkBusy = false;
  bool JunkWorkerStarted = false;
  bool JunkAnalyzeIdle = true;
  bool PrivacyAnalyzeIdle = true;
  // A cleaning runs: no analysis and no second cleaning may start inside it.
  bool PrivacyCleaning = false;
  bool JunkCleaning = false;
  // The unattended analysis of "/auto" has been started.
  bool AutoAnalyzeStarted = false;
  std::vector<std::wstring> KeepEntries;
  std::wstring ApplicationTitle = L"Quorvix";

  // Message boxes owned by the window; tests answer them here instead.
  std::function<int(const std::wstring &text, const std::wstring &title, UINT flags)>
      MessageBoxHook;
  int ShowMessage(const std::wstring &text, UINT flags);
  // The window has been closed while work was still running: the work is
  // being stopped and no new work starts.
  bool Closing() const { return closePending_; }
  std::wstring LookupText(const std::wstring &key, const std::wstring &def) const;

  // ---- Controls ----
  TGraphicHost Graphics{RGB(255, 255, 255)};
  std::unique_ptr<TGuiDispatcher> Dispatcher;
  std::unique_ptr<TImage> img_topbeijin, img_topzi, Image39;
  std::unique_ptr<TLabel> Label4, Label_top;
  std::unique_ptr<TPanel> pnl1, Panel3, pnl2, pnlPrivacy, pnlTemp, pnlOptions, Panel1, Panel2;
  std::unique_ptr<TImageNote> ImageNotePrivacy, ImageNoteJunkFiles, ImageNoteOption, ImageNote1;
  std::unique_ptr<TImage> Image1, Image2, Image3, Image4;
  std::unique_ptr<TLabel> Label1, Label2, Label3, Label5;
  std::unique_ptr<TCheckTree> RzCheckTree1;
  std::unique_ptr<TSplitter> Splitter1;
  std::unique_ptr<TMemo> mmoPrivacy, mmoTemp;
  std::unique_ptr<TLabel> Label_firefox, lblTotal, lbltip;
  std::unique_ptr<TProgressBar> pbbarPri, pbbarTemp;
  std::unique_ptr<TButton> btnPrivaryAnalyze, btnPrivacyCleaner, btnTempAnalyze, btnTempCleaner;
  std::unique_ptr<TPageControl> PageControl1;
  std::unique_ptr<TTabSheet> TabSheet1, TabSheet2;
  std::unique_ptr<TCheckBox> CheckBox1, CheckBox2, CheckBox3, CheckBox4, CheckBox5;
  std::unique_ptr<TListView> ListViewDelete, ListViewKeep;
  std::unique_ptr<TButton> Button1, Button2;

protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
  // Work that pumps messages; a close that arrives meanwhile is carried
  // out when the outermost such work has returned.
  class TRunScope {
  public:
    explicit TRunScope(TFormMain &form) : form_(form) { ++form_.runDepth_; }
    ~TRunScope();

  private:
    TFormMain &form_;
  };

  // Each part of the window creates its controls and wires their handlers
  // in its own file (NavigationBar.cpp, PrivacyView.cpp, ...).
  void CreateControls();
  void CreateBanner();
  void CreateNavigationBar();
  void CreatePrivacyView();
  void CreateJunkView();
  void CreateOptionsView();
  void AddPrivacyNodes();
  // Keeps a control in its slot and lists it for the language packs and,
  // when it has a window, for a change of DPI (parents before children).
  template <class T> T *Own(std::unique_ptr<T> &slot, std::unique_ptr<T> control) {
    slot = std::move(control);
    owned_.push_back(slot.get());
    if constexpr (std::is_base_of_v<TScalable, T>)
      scalable_.push_back(slot.get());
    return slot.get();
  }
  void LoadTreeImages();

  bool ConfirmLeave();
  void WriteFlag(const wchar_t *key, bool checked);
  void SetNavigation(int privacy, int junk, int options);
  void NavigationEnter(TImageNote &button);
  void NavigationLeave(TImageNote &button);
  bool FirstArgumentIsAuto() const;
  void Close();
  // Asks every running piece of work to stop (again: a stop may be reset
  // by the work between its phases).
  void StopRunningWork();

  TFormSettings settings_;
  std::vector<TTranslatable *> owned_;
  std::vector<TScalable *> scalable_;
  std::wstring caption_ = L"Quorvix";
  UniqueImageList treeImages_;
  int runDepth_ = 0;
  bool closePending_ = false;
  int cookieListing_ = 0; // bumped at each opening of the options view
};

} // namespace velmora
