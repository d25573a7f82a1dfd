// The three views driven through their controls: the Analyze, Cancel and
// Clean state tables, option writes and cookie-list moves, and the
// navigation bar's guards and hover pictures.
#include "AppTestSupport.h"

#include "CookieCacheEntry.h"
#include "base/Handles.h"
#include "base/Text.h"
#include "junk/TempFileThread.h"
#include "privacy/PrivacyScanner.h"
#include "settings/ConfigFile.h"

#include <algorithm>

using namespace velmora;
using namespace velmora::test;

namespace {

const wchar_t kTip[] = L"Please Click The \"Analyze\" Button To Analyze";

// What a view shows, for state tables.
struct TViewState {
  std::wstring Analyze;
  bool AnalyzeEnabled, CleanEnabled, BarShown;
  bool operator==(const TViewState &o) const {
    return Analyze == o.Analyze && AnalyzeEnabled == o.AnalyzeEnabled &&
           CleanEnabled == o.CleanEnabled && BarShown == o.BarShown;
  }
};

std::ostream &operator<<(std::ostream &out, const TViewState &s) {
  return out << "{" << std::string(s.Analyze.begin(), s.Analyze.end()) << ", analyze "
             << s.AnalyzeEnabled << ", clean " << s.CleanEnabled << ", bar " << s.BarShown << "}";
}

TViewState PrivacyState(TFormMain &f) {
  return {f.btnPrivaryAnalyze->Caption(), f.btnPrivaryAnalyze->Enabled(),
          f.btnPrivacyCleaner->Enabled(), f.pbbarPri->Visible()};
}

TViewState JunkState(TFormMain &f) {
  return {f.btnTempAnalyze->Caption(), f.btnTempAnalyze->Enabled(), f.btnTempCleaner->Enabled(),
          f.pbbarTemp->Visible()};
}

std::vector<std::wstring> TestSites(const TListView &list) {
  std::vector<std::wstring> sites;
  for (const std::wstring &item : list.Items())
    if (UpperCase(item).find(L".TEST/") != std::wstring::npos)
      sites.push_back(item);
  return sites;
}

int IndexOf(const TListView &list, const std::wstring &text) {
  const auto items = list.Items();
  const auto it = std::find(items.begin(), items.end(), text);
  return it == items.end() ? -1 : static_cast<int>(it - items.begin());
}

} // namespace

class ViewsTest : public FormTest {
protected:
  TFormMain &OpenWith(const wchar_t *selection) {
    TConfigFile(ConfigPath()).WriteString(cfg::kVelmoraSection, cfg::kSelection, selection);
    return Open();
  }
  void GoPrivacy() { ClickAt(*form->pnl1, CentreOf(*form->ImageNotePrivacy)); }
  void GoJunk() { ClickAt(*form->pnl1, CentreOf(*form->ImageNoteJunkFiles)); }
  void GoOptions() { ClickAt(*form->pnl1, CentreOf(*form->ImageNoteOption)); }
  int VisibleViews() {
    return Shown(form->pnlPrivacy->Handle()) + Shown(form->pnlTemp->Handle()) +
           Shown(form->pnlOptions->Handle());
  }
};

// --- privacy view ---------------------------------------------------------------------

TEST_F(ViewsTest, PrivacyAnalyzeWithNothingCheckedOnlyAsks) {
  TFormMain &f = OpenWith(std::wstring(57, L'0').c_str());
  const TViewState before = PrivacyState(f);
  Press(*f.btnPrivaryAnalyze);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].Text, L"Please select an item first.");
  EXPECT_EQ(boxes[0].Title, L"Quorvix");
  EXPECT_EQ(boxes[0].Flags & MB_ICONMASK, static_cast<UINT>(MB_ICONINFORMATION));
  EXPECT_EQ(PrivacyState(f), before);
  EXPECT_EQ(f.mmoPrivacy->Lines(), std::vector<std::wstring>{kTip});
  EXPECT_FALSE(f.PrivacyBusy);
}

TEST_F(ViewsTest, PrivacyAnalyzeCancelAndReport) {
  TFormMain &f = OpenWith(kOnlyRunHistory);
  TViewState during{};
  bool busy = false;
  actions.Post([&] {
    during = PrivacyState(f);
    busy = f.PrivacyBusy;
    Press(*f.btnPrivaryAnalyze); // reads "Cancel": cancels
    EXPECT_TRUE(f.Scanner->Cancelled);
    EXPECT_EQ(f.btnPrivaryAnalyze->Caption(), L"Cancel"); // restored by the run, not the click
  });
  Press(*f.btnPrivaryAnalyze);
  EXPECT_TRUE(busy);
  EXPECT_EQ(during, (TViewState{L"Cancel", true, false, true}));
  // Reported, also after a cancel: Clean is enabled.
  EXPECT_EQ(PrivacyState(f), (TViewState{L"Analyze", true, true, false}));
  EXPECT_FALSE(f.PrivacyBusy);
  EXPECT_TRUE(f.PrivacyAnalyzeIdle);
  ASSERT_FALSE(f.mmoPrivacy->Lines().empty());
  EXPECT_EQ(f.mmoPrivacy->Lines().front(), L"Privacy Analysis Report");
  EXPECT_FALSE(f.Label_firefox->Visible());

  // A full run leaves the same state; the engine got the tree's selection.
  f.Scanner->PauseSteps = false;
  Press(*f.btnPrivaryAnalyze);
  EXPECT_FALSE(f.Scanner->Cancelled);
  EXPECT_EQ(PrivacyState(f), (TViewState{L"Analyze", true, true, false}));
}

TEST_F(ViewsTest, PrivacyCleanStateAndNoAnalysisInsideIt) {
  TFormMain &f = OpenWith(kOnlyRunHistory);
  f.Scanner->PauseSteps = false;
  Press(*f.btnPrivaryAnalyze);
  const std::vector<std::wstring> report = f.mmoPrivacy->Lines();
  ASSERT_GT(report.size(), 1u);

  bool ranDuring = false;
  TViewState during{}, reopened{};
  actions.Post([&] {
    ranDuring = true;
    during = PrivacyState(f);
    // Neither a press on Analyze nor "/auto" may start an analysis here.
    f.btnPrivaryAnalyzeClick();
    EXPECT_FALSE(f.PrivacyBusy);
    EXPECT_EQ(f.mmoPrivacy->Lines(), report);
    // Opening the view again keeps the cleaning's bar and Clean off.
    GoJunk();
    GoPrivacy();
    reopened = PrivacyState(f);
  });
  Press(*f.btnPrivacyCleaner);
  ASSERT_TRUE(ranDuring) << "the cleaning processes messages while it runs";
  EXPECT_EQ(during, (TViewState{L"Analyze", false, false, true}));
  EXPECT_EQ(reopened, during);
  // Cleaned: one line, Clean off; coming back keeps it off.
  EXPECT_EQ(f.mmoPrivacy->Lines(), std::vector<std::wstring>{L"Cleaning Completed"});
  EXPECT_EQ(PrivacyState(f), (TViewState{L"Analyze", true, false, false}));
  GoJunk();
  GoPrivacy();
  EXPECT_FALSE(f.btnPrivacyCleaner->Enabled());
}

// --- junk files view ---------------------------------------------------------------------

TEST_F(ViewsTest, JunkAnalyzeStopAndReport) {
  TFormMain &f = Open();
  GoJunk();
  TViewState during{};
  bool busy = false;
  actions.Post([&] {
    during = JunkState(f);
    busy = f.JunkBusy;
    Press(*f.btnTempAnalyze); // "Cancel": stops the worker
    EXPECT_EQ(f.btnTempAnalyze->Caption(), L"Cancel");
  });
  Press(*f.btnTempAnalyze);
  EXPECT_TRUE(busy);
  EXPECT_EQ(during, (TViewState{L"Cancel", true, false, true}));
  EXPECT_TRUE(f.JunkWorkerStarted);
  ASSERT_TRUE(f.JunkWorker && f.JunkWorker->Finished());
  EXPECT_EQ(JunkState(f), (TViewState{L"Analyze", true, true, false}));
  EXPECT_FALSE(f.JunkBusy);
  ASSERT_FALSE(f.mmoTemp->Lines().empty());
  EXPECT_EQ(f.mmoTemp->Lines().front(), L"Temporary File Analysis Report");
}

TEST_F(ViewsTest, JunkCleanShowsItsProgressAndTheSecureText) {
  struct Case {
    bool secure;
    const wchar_t *status;
  } cases[] = {{false, L"Removing junk files..."},
               {true, L"Removing junk files (Secure Deletion)..."}};
  for (const Case &c : cases) {
    RemoveConfig();
    TConfigFile(ConfigPath()).WriteBool(cfg::kJunkSection, cfg::kSecureDeletion, c.secure);
    TFormMain &f = Open();
    GoJunk();
    actions.Post([&] { Press(*f.btnTempAnalyze); }); // stop the intro early
    Press(*f.btnTempAnalyze);
    ASSERT_TRUE(f.btnTempCleaner->Enabled());
    TViewState during{}, reopened{};
    actions.Post([&] {
      during = JunkState(f);
      GoPrivacy();
      GoJunk();
      reopened = JunkState(f);
    });
    Press(*f.btnTempCleaner);
    EXPECT_EQ(during, (TViewState{L"Analyze", false, false, true}));
    EXPECT_EQ(reopened, during);
    EXPECT_EQ(f.lbltip->Caption(), c.status);
    EXPECT_FALSE(f.lbltip->Visible());
    EXPECT_EQ(f.mmoTemp->Lines(), std::vector<std::wstring>{L"Cleaning Completed"});
    EXPECT_EQ(JunkState(f), (TViewState{L"Analyze", true, false, false}));
    GoPrivacy();
    GoJunk();
    EXPECT_FALSE(f.btnTempCleaner->Enabled());
    form.reset();
  }
}

// --- navigation bar -----------------------------------------------------------------------

TEST_F(ViewsTest, HoverShowsOverOnlyOnUnselectedButtons) {
  TFormMain &f = Open();
  TPanel &bar = *f.pnl1;
  MouseMove(bar, CentreOf(*f.ImageNoteJunkFiles));
  EXPECT_EQ(f.ImageNoteJunkFiles->ImageIndex(), 1);
  // From the background onto the caption: a leave and an enter, still "over".
  MouseMove(bar, CentreOf(*f.Label2));
  EXPECT_EQ(f.ImageNoteJunkFiles->ImageIndex(), 1);
  MouseLeave(bar);
  EXPECT_EQ(f.ImageNoteJunkFiles->ImageIndex(), 0);

  MouseMove(bar, CentreOf(*f.ImageNotePrivacy)); // the selected one keeps "click"
  EXPECT_EQ(f.ImageNotePrivacy->ImageIndex(), 2);
  MouseLeave(bar);
  EXPECT_EQ(f.ImageNotePrivacy->ImageIndex(), 2);

  MouseMove(bar, CentreOf(*f.ImageNote1)); // Update
  EXPECT_EQ(f.ImageNote1->ImageIndex(), 1);
  EXPECT_FALSE(f.ImageNote1->Picture().Empty());
  MouseLeave(bar);
  EXPECT_EQ(f.ImageNote1->ImageIndex(), 0);
  EXPECT_TRUE(f.ImageNote1->Picture().Empty());
}

TEST_F(ViewsTest, LeavingARunningPrivacyAnalysisAsksFirst) {
  struct Case {
    int answer;
    bool leaves;
  } cases[] = {{IDNO, false}, {IDCANCEL, false}, {IDYES, true}};
  for (const Case &c : cases) {
    TFormMain &f = OpenWith(kOnlyRunHistory);
    boxAnswer = c.answer;
    boxes.clear();
    bool cancelled = false;
    actions.Post([&] {
      GoPrivacy(); // inert while its analysis runs
      EXPECT_TRUE(boxes.empty());
      GoOptions();
      cancelled = f.Scanner->Cancelled;
      EXPECT_EQ(Shown(f.pnlOptions->Handle()), c.leaves);
      EXPECT_EQ(Shown(f.pnlPrivacy->Handle()), !c.leaves);
      EXPECT_EQ(VisibleViews(), 1);
    });
    Press(*f.btnPrivaryAnalyze);
    ASSERT_EQ(boxes.size(), 1u) << c.answer;
    EXPECT_EQ(boxes[0].Text, L"Are you sure you want to stop and leave Analyze");
    EXPECT_EQ(boxes[0].Title, L"Quorvix");
    EXPECT_EQ(boxes[0].Flags & (MB_ICONMASK | MB_TYPEMASK),
              static_cast<UINT>(MB_ICONWARNING | MB_YESNO));
    EXPECT_EQ(cancelled, c.leaves);
    // The run restores its own buttons when it ends, whichever view shows.
    EXPECT_EQ(PrivacyState(f), (TViewState{L"Analyze", true, true, false}));
    form.reset();
  }
}

TEST_F(ViewsTest, LeavingARunningJunkAnalysisAsksFirst) {
  TFormMain &f = Open();
  GoJunk();
  boxAnswer = IDNO;
  actions.Post([&] {
    GoJunk();    // inert
    GoPrivacy(); // asked, No: stays
    EXPECT_TRUE(Shown(f.pnlTemp->Handle()));
    boxAnswer = IDYES;
    GoOptions(); // asked, Yes: stops the worker and leaves
    EXPECT_TRUE(Shown(f.pnlOptions->Handle()));
    EXPECT_EQ(VisibleViews(), 1);
  });
  Press(*f.btnTempAnalyze);
  EXPECT_EQ(boxes.size(), 2u);
  EXPECT_FALSE(f.JunkBusy);
  EXPECT_EQ(JunkState(f), (TViewState{L"Analyze", true, true, false}));
  EXPECT_EQ(f.ImageNoteOption->ImageIndex(), 2);
}

TEST_F(ViewsTest, ClosingDuringAnAnalysisCancelsAndClosesWhenItHasReturned) {
  TFormMain &f = OpenWith(kOnlyRunHistory);
  bool hiddenMeanwhile = false;
  actions.Post([&] {
    SendMessageW(f.Handle(), WM_CLOSE, 0, 0);
    hiddenMeanwhile = IsWindow(f.Handle()) && !IsWindowVisible(f.Handle());
  });
  Press(*f.btnPrivaryAnalyze);
  EXPECT_TRUE(hiddenMeanwhile);
  EXPECT_TRUE(f.Scanner->Cancelled);
  EXPECT_EQ(f.Handle(), nullptr); // destroyed once the handler returned
  EXPECT_EQ(TConfigFile(ConfigPath()).ReadString(cfg::kVelmoraSection, cfg::kSelection, L""),
            kOnlyRunHistory);
}

// --- options view --------------------------------------------------------------------------

TEST_F(ViewsTest, WeekBoxReadsAnyNumberAndWritesSevenOrZero) {
  TConfigFile config(ConfigPath());
  config.WriteString(cfg::kJunkSection, cfg::kRemoveDay, L"3");
  config.WriteString(cfg::kJunkSection, cfg::kTempFile, L"true"); // not a number: default
  TFormMain &f = Open();
  GoOptions();
  EXPECT_TRUE(f.CheckBox4->Checked());
  EXPECT_TRUE(f.CheckBox2->Checked());
  // The boxes start cleared, so showing them checked runs their click
  // handlers, which write the values back.
  EXPECT_EQ(config.ReadString(cfg::kJunkSection, cfg::kRemoveDay, L""), L"7");
  EXPECT_EQ(config.ReadString(cfg::kJunkSection, cfg::kTempFile, L""), L"1");
  Press(*f.CheckBox4);
  EXPECT_EQ(config.ReadString(cfg::kJunkSection, cfg::kRemoveDay, L""), L"0");
  Press(*f.CheckBox4);
  EXPECT_EQ(config.ReadString(cfg::kJunkSection, cfg::kRemoveDay, L""), L"7");
  struct Case {
    TCheckBox *box;
    const wchar_t *key;
  } cases[] = {{f.CheckBox1.get(), cfg::kRecycle},
               {f.CheckBox3.get(), cfg::kIeCache},
               {f.CheckBox5.get(), cfg::kSecureDeletion}};
  for (const Case &c : cases) {
    Press(*c.box);
    EXPECT_EQ(config.ReadString(cfg::kJunkSection, c.key, L""), c.box->Checked() ? L"1" : L"0");
    Press(*c.box);
    EXPECT_EQ(config.ReadString(cfg::kJunkSection, c.key, L""), c.box->Checked() ? L"1" : L"0");
  }
}

TEST_F(ViewsTest, UnwritableFileShowsTheErrorOfTheFlagBoxesOnly) {
  TFormMain &f = Open();
  GoOptions();
  boxes.clear();
  const std::wstring path = ConfigPath();
  {
    // Held open by another program with no sharing: writes fail.
    UniqueFile locked(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(locked.Valid());
    Press(*f.CheckBox4); // swallowed
    EXPECT_TRUE(boxes.empty());
    Press(*f.CheckBox1);
  }
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].Text, L"Unable to write to " + path + L".");
  EXPECT_EQ(boxes[0].Title, L"Quorvix");
  EXPECT_EQ(boxes[0].Flags & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));
}

TEST_F(ViewsTest, CookieListsSplitBetweenDeleteAndKeep) {
  TCookieCacheEntry zeta(L"Cookie:user@zeta.test/", 10), alpha(L"Cookie:user@alpha.test/", 10),
      alphaAgain(L"Cookie:other@alpha.test/", 10), kept(L"Cookie:user@kept.test/", 10),
      cased(L"Cookie:user@case.test/", 10);
  ASSERT_TRUE(zeta.Ok() && alpha.Ok() && alphaAgain.Ok() && kept.Ok() && cased.Ok());
  TConfigFile config(ConfigPath());
  config.WriteString(cfg::kCookieSection, L"kept.test/", L"1");
  config.WriteString(cfg::kCookieSection, L"CASE.TEST/", L"1"); // another letter case keeps nothing
  TFormMain &f = Open();
  GoOptions();
  const std::vector<std::wstring> toDelete = {L"alpha.test/", L"alpha.test/", L"case.test/",
                                              L"zeta.test/"};
  const std::vector<std::wstring> toKeep = {L"CASE.TEST/", L"kept.test/"};
  EXPECT_EQ(TestSites(*f.ListViewDelete), toDelete);
  EXPECT_EQ(TestSites(*f.ListViewKeep), toKeep);

  // ">" with nothing selected changes nothing.
  f.ListViewDelete->Select(-1);
  Press(*f.Button1);
  EXPECT_EQ(TestSites(*f.ListViewDelete), toDelete);

  // ">" and "<" move a site and add and remove its key.
  f.ListViewDelete->Select(IndexOf(*f.ListViewDelete, L"zeta.test/"));
  Press(*f.Button1);
  EXPECT_EQ(TestSites(*f.ListViewKeep),
            (std::vector<std::wstring>{L"CASE.TEST/", L"kept.test/", L"zeta.test/"}));
  EXPECT_EQ(config.ReadString(cfg::kCookieSection, L"zeta.test/", L""), L"1");
  f.ListViewKeep->Select(IndexOf(*f.ListViewKeep, L"zeta.test/"));
  Press(*f.Button2);
  EXPECT_EQ(TestSites(*f.ListViewDelete), toDelete);
  EXPECT_EQ(config.ReadString(cfg::kCookieSection, L"zeta.test/", L"absent"), L"absent");

  // Double-clicks move too: a double-click on the selected site's row, sent
  // to the list itself, which tells its parent.
  auto doubleClick = [&](TListView &list) {
    RECT row = {};
    ListView_GetItemRect(list.Handle(), list.Selected(), &row, LVIR_LABEL);
    const LPARAM at = MAKELPARAM((row.left + row.right) / 2, (row.top + row.bottom) / 2);
    SendMessageW(list.Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    SendMessageW(list.Handle(), WM_LBUTTONUP, 0, at);
  };
  f.ListViewDelete->Select(IndexOf(*f.ListViewDelete, L"alpha.test/"));
  doubleClick(*f.ListViewDelete);
  EXPECT_EQ(TestSites(*f.ListViewDelete),
            (std::vector<std::wstring>{L"alpha.test/", L"case.test/", L"zeta.test/"}));
  EXPECT_EQ(config.ReadString(cfg::kCookieSection, L"alpha.test/", L""), L"1");
  f.ListViewKeep->Select(IndexOf(*f.ListViewKeep, L"alpha.test/"));
  doubleClick(*f.ListViewKeep);
  EXPECT_EQ(config.ReadString(cfg::kCookieSection, L"alpha.test/", L"absent"), L"absent");

  // Opening the view again shows the same as before the moves.
  GoOptions();
  EXPECT_EQ(TestSites(*f.ListViewDelete), toDelete);
  EXPECT_EQ(TestSites(*f.ListViewKeep), toKeep);
}

TEST_F(ViewsTest, ListClicksChooseTheMoveButton) {
  TFormMain &f = Open();
  GoOptions();
  NMHDR click = {f.ListViewKeep->Handle(), 0, static_cast<UINT>(NM_CLICK)};
  SendMessageW(f.TabSheet2->Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&click));
  EXPECT_FALSE(f.Button1->Enabled());
  EXPECT_TRUE(f.Button2->Enabled());
  NMLISTVIEW column = {};
  column.hdr = {f.ListViewDelete->Handle(), 0, static_cast<UINT>(LVN_COLUMNCLICK)};
  SendMessageW(f.TabSheet2->Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&column));
  EXPECT_TRUE(f.Button1->Enabled());
  EXPECT_FALSE(f.Button2->Enabled());
  GoPrivacy();
  GoOptions(); // not reset by opening the view
  EXPECT_TRUE(f.Button1->Enabled());
  EXPECT_FALSE(f.Button2->Enabled());
}
