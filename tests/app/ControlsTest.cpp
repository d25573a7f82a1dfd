// The building blocks of the window: state-image and state-text controls,
// the check tree, pictures, the report pane, sorted lists, the GUI-thread
// dispatcher, cookie sites and the single-instance guard.
#include "AppTestSupport.h"

#include "app/CookieCache.h"
#include "app/PrivacyNodes.h"
#include "app/UniqueInstance.h"
#include "app/controls/PLabelNote.h"

#include <algorithm>
#include <stdexcept>
#include <thread>

using namespace velmora;
using namespace velmora::test;

namespace {

// A hidden top-level window to put controls on.
class THost {
public:
  THost()
      : hwnd_(CreateWindowExW(0, L"STATIC", L"host", WS_POPUP | WS_CLIPCHILDREN, 0, 0, 400, 300,
                              nullptr, nullptr, GetModuleHandleW(nullptr), nullptr)) {}
  ~THost() { DestroyWindow(hwnd_); }
  HWND Handle() const { return hwnd_; }

private:
  HWND hwnd_;
};

} // namespace

class ControlsTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() { InitWindowing(); }
};

// --- TImageNote and TLabelNote ------------------------------------------------

TEST_F(ControlsTest, ImageNoteShowsTheChosenPictureAndIgnoresIndexesOutOfRange) {
  THost host;
  TPanel panel(L"panel", host.Handle(), RECT{0, 0, 100, 100}, 0);
  TImageNote note(L"note", panel.Graphics(), RECT{0, 0, 95, 76});
  EXPECT_EQ(note.ImageIndex(), -1);
  EXPECT_EQ(note.Items().Add().Name, L"Picture_0");
  TPictureItem &over = note.Items().Add();
  EXPECT_EQ(over.Name, L"Picture_1");
  over.Picture = TPicture::FromResource(L"OVER");
  note.Items().Add().Picture = TPicture::FromResource(L"CLICK");
  EXPECT_TRUE(note.Picture().Empty()); // nothing shows before the index is first set

  note.SetImageIndex(1);
  EXPECT_EQ(note.ImageIndex(), 1);
  EXPECT_TRUE(note.Picture().SameAs(over.Picture));

  note.SetImageIndex(3); // three pictures: nothing changes
  EXPECT_EQ(note.ImageIndex(), 1);
  EXPECT_TRUE(note.Picture().SameAs(over.Picture));
  note.SetImageIndex(-2);
  EXPECT_EQ(note.ImageIndex(), 1);

  note.SetImageIndex(-1);
  EXPECT_EQ(note.ImageIndex(), -1);
  EXPECT_TRUE(note.Picture().Empty());

  note.SetImageIndex(0); // "normal" has no picture
  EXPECT_EQ(note.ImageIndex(), 0);
  EXPECT_TRUE(note.Picture().Empty());
}

TEST_F(ControlsTest, PictureItemAssignmentCopiesThePictureOnly) {
  TPictureItem a(0), b(1);
  a.Picture = TPicture::FromResource(L"CLICK");
  b = a;
  EXPECT_EQ(b.Name, L"Picture_1");
  EXPECT_TRUE(b.Picture.SameAs(a.Picture));
}

TEST_F(ControlsTest, LabelNoteShowsTheChosenTextAndIgnoresEverythingElse) {
  THost host;
  TPanel panel(L"panel", host.Handle(), RECT{0, 0, 100, 100}, 0);
  TLabelNote label(L"note", panel.Graphics(), RECT{0, 0, 90, 13});
  EXPECT_EQ(label.Items().Add().Text, L"Text_0");
  label.Items().Add().Text = L"second";
  EXPECT_EQ(label.Caption(), L""); // nothing shows before the index is first set
  label.SetTextIndex(1);
  EXPECT_EQ(label.Caption(), L"second");
  for (int ignored : {-1, 2}) {
    label.SetTextIndex(ignored);
    EXPECT_EQ(label.TextIndex(), 1) << ignored;
    EXPECT_EQ(label.Caption(), L"second") << ignored;
  }
  // A pack's text shows at the next assignment of the index.
  label.SetText(0, L"translated");
  EXPECT_EQ(label.Caption(), L"second");
  label.SetTextIndex(0);
  EXPECT_EQ(label.Caption(), L"translated");
}

// --- pictures ---------------------------------------------------------------------

TEST_F(ControlsTest, EveryPictureDecodesAtItsSize) {
  struct Case {
    const wchar_t *name;
    int width, height;
  } cases[] = {{L"BANNER", 824, 69}, {L"LOGO", 218, 41},      {L"STRIP", 824, 5},
               {L"OVER", 95, 76},    {L"CLICK", 95, 76},      {L"NAVPRIVACY", 48, 48},
               {L"NAVJUNK", 48, 48}, {L"NAVOPTIONS", 48, 48}, {L"NAVUPDATE", 48, 48},
               {L"TREE00", 16, 16},  {L"TREE10", 16, 16}};
  for (const Case &c : cases) {
    const TPicture picture = TPicture::FromResource(c.name);
    ASSERT_FALSE(picture.Empty()) << c.name;
    EXPECT_EQ(picture.Width(), c.width) << c.name;
    EXPECT_EQ(picture.Height(), c.height) << c.name;
  }
  // PNG transparency survives (premultiplied): the logo's corner is clear,
  // the JPEG background is opaque.
  EXPECT_EQ(TPicture::FromResource(L"LOGO").PixelAt(217, 0) >> 24, 0u);
  EXPECT_EQ(TPicture::FromResource(L"OVER").PixelAt(40, 40) >> 24, 0xFFu);
}

TEST_F(ControlsTest, MissingOrBrokenPicturesAreEmpty) {
  EXPECT_TRUE(TPicture::FromResource(L"NO_SUCH_PICTURE").Empty());
  const char garbage[] = "\x89PNG\r\n\x1a\n but not really";
  EXPECT_TRUE(TPicture::FromBytes(garbage, sizeof(garbage)).Empty());
  EXPECT_TRUE(TPicture::FromBytes("", 0).Empty());
}

// --- check tree ---------------------------------------------------------------------

class CheckTreeModelTest : public ::testing::Test {
protected:
  void SetUp() override {
    for (const TPrivacyNode &node : kPrivacyNodes)
      model.Add(node.Parent, node.Caption, node.ImageIndex, PlaceOf(node));
  }
  TCheckTreeModel model;
};

TEST_F(CheckTreeModelTest, HasSeventyOneNodesAndFiftySevenLeaves) {
  EXPECT_EQ(model.Count(), 71);
  EXPECT_EQ(model.Selection(), std::wstring(57, L'0'));
  EXPECT_EQ(model.Node(30).Caption, L"\"Start Menu\" Run History");
  EXPECT_EQ(model.Node(52).Caption, L"7-Zip");
}

TEST_F(CheckTreeModelTest, DefaultSelectionChecksItsLeavesAndRoundTrips) {
  model.ApplySelection(cfg::kDefaultSelection);
  EXPECT_EQ(model.Selection(), cfg::kDefaultSelection);
  EXPECT_EQ(model.Node(1).State, TCheckState::Checked);   // Typed Urls, position 1
  EXPECT_EQ(model.Node(2).State, TCheckState::Unchecked); // position 2
  EXPECT_EQ(model.Node(0).State, TCheckState::Partial);
  EXPECT_EQ(model.Node(32).State, TCheckState::Partial); // Office off, the rest on
  EXPECT_EQ(model.Node(39).State, TCheckState::Checked);
  EXPECT_EQ(model.Node(31).State, TCheckState::Partial);
}

TEST_F(CheckTreeModelTest, StoredSelectionEdgeCases) {
  struct Case {
    const wchar_t *stored;
    const wchar_t *before;
    const wchar_t *after;
  } cases[] = {
      // shorter: only the leaves it covers change
      {L"01", L"111111111111111111111111111111111111111111111111111111111",
       L"011111111111111111111111111111111111111111111111111111111"},
      // other characters leave their leaf alone
      {L"1x0?", L"010100000000000000000000000000000000000001000000000000001",
       L"110100000000000000000000000000000000000001000000000000001"},
      // characters past the 57th are ignored
      {L"000000000000000000000000000000000000000000000000000000001000",
       L"111111111111111111111111111111111111111111111111111111111",
       L"000000000000000000000000000000000000000000000000000000001"},
      {L"", L"101010101010101010101010101010101010101010101010101010101",
       L"101010101010101010101010101010101010101010101010101010101"},
  };
  for (const Case &c : cases) {
    model.ApplySelection(c.before);
    ASSERT_EQ(model.Selection(), c.before);
    model.ApplySelection(c.stored);
    EXPECT_EQ(model.Selection(), c.after) << c.stored;
  }
}

TEST_F(CheckTreeModelTest, CheckingAParentChecksEveryLeafBelowAndPartialCountsAsUnchecked) {
  model.SetChecked(31, true); // Other Applications
  const std::wstring selection = model.Selection();
  EXPECT_EQ(selection.substr(25, 17), std::wstring(17, L'1'));
  EXPECT_EQ(selection.substr(42), std::wstring(15, L'0'));
  EXPECT_EQ(selection.substr(0, 25), std::wstring(25, L'0'));
  EXPECT_EQ(model.Node(49).State, TCheckState::Checked);

  model.Toggle(51); // WinZip off: its group and the root become partial
  EXPECT_EQ(model.Node(49).State, TCheckState::Partial);
  EXPECT_EQ(model.Node(31).State, TCheckState::Partial);
  EXPECT_EQ(model.Selection()[40], L'0');

  model.Toggle(31); // a partial box is checked by a click
  EXPECT_EQ(model.Node(31).State, TCheckState::Checked);
  model.Toggle(31); // a checked one cleared
  EXPECT_EQ(model.Selection(), std::wstring(57, L'0'));
  EXPECT_EQ(model.Node(49).State, TCheckState::Unchecked);
}

// --- report pane and lists -------------------------------------------------------

TEST_F(ControlsTest, MemoKeepsLongReportsWholeAndCountsLines) {
  THost host;
  TPanel panel(L"panel", host.Handle(), RECT{0, 0, 300, 200}, 0);
  TMemo memo(L"memo", panel.Handle(), RECT{0, 0, 300, 200});
  EXPECT_TRUE(memo.Lines().empty());
  std::vector<std::wstring> report;
  for (int i = 0; i < 5000; ++i) // far beyond an edit control's default limit
    report.push_back(L"C:\\Users\\someone\\AppData\\Local\\Temp\\file" + std::to_wstring(i) +
                     L".tmp");
  memo.AppendLines({L"title"});
  memo.AppendLines(report);
  const std::vector<std::wstring> lines = memo.Lines();
  ASSERT_EQ(lines.size(), 5001u);
  EXPECT_EQ(lines.front(), L"title");
  EXPECT_EQ(lines.back(), report.back());
  memo.AppendLines({L"", L"after an empty line"});
  EXPECT_EQ(memo.LineCount(), 5003);
  EXPECT_EQ(memo.Lines()[5001], L"");
  memo.Clear();
  EXPECT_EQ(memo.LineCount(), 0);
}

TEST_F(ControlsTest, ListViewKeepsItemsInLstrcmpOrder) {
  THost host;
  TPanel panel(L"panel", host.Handle(), RECT{0, 0, 300, 200}, 0);
  TListView list(L"list", panel.Handle(), RECT{0, 0, 300, 200}, L"Column", 200);
  const std::vector<std::wstring> sites = {L"b.test/", L"A.test/",  L"a.test/",  L"B.test/",
                                           L"a.test/", L"_x.test/", L"10.test/", L"9.test/"};
  for (const std::wstring &site : sites)
    list.AddSorted(site);
  std::vector<std::wstring> expected = sites;
  std::stable_sort(expected.begin(), expected.end(),
                   [](const std::wstring &x, const std::wstring &y) {
                     return lstrcmpW(x.c_str(), y.c_str()) < 0;
                   });
  EXPECT_EQ(list.Items(), expected);
  EXPECT_EQ(list.Text(0), L"Column");
  list.SetText(0, L"Renamed");
  EXPECT_EQ(list.Text(0), L"Renamed");
}

// --- GUI-thread dispatcher ---------------------------------------------------------

TEST_F(ControlsTest, DispatcherRunsWorkerCallsOnTheGuiThreadAndWaitsForThem) {
  TGuiDispatcher dispatcher;
  const DWORD gui = GetCurrentThreadId();
  DWORD ranOn = 0;
  bool rethrown = false, done = false;
  std::thread worker([&] {
    dispatcher.Synchronize([&] { ranOn = GetCurrentThreadId(); });
    try {
      dispatcher.Synchronize([] { throw std::runtime_error("inside"); });
    } catch (const std::runtime_error &) {
      rethrown = true;
    }
    done = true;
  });
  for (int i = 0; i < 500 && !done; ++i) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    ProcessMessages();
  }
  worker.join();
  EXPECT_EQ(ranOn, gui);
  EXPECT_TRUE(rethrown);
}

TEST_F(ControlsTest, DispatcherReleasesWaitingWorkersAtShutdown) {
  TGuiDispatcher dispatcher;
  bool ran = false;
  std::thread worker([&] { dispatcher.Synchronize([&] { ran = true; }); });
  Sleep(100); // the worker now waits; the GUI thread never pumps
  dispatcher.Shutdown();
  worker.join();
  EXPECT_FALSE(ran);
  dispatcher.Synchronize([&] { ran = true; }); // the GUI thread itself still runs its calls
  EXPECT_TRUE(ran);
}

// --- cookie sites and the single-instance guard -------------------------------------

TEST_F(ControlsTest, CookieSiteIsTheTextAfterTheFirstAt) {
  EXPECT_EQ(CookieSiteOf(L"Cookie:user@example.test/"), L"example.test/");
  EXPECT_EQ(CookieSiteOf(L"Cookie:user@host@odd.test/"), L"host@odd.test/");
  EXPECT_EQ(CookieSiteOf(L"no-at-sign.test/"), L"no-at-sign.test/");
  EXPECT_EQ(CookieSiteOf(L"Cookie:u@" + std::wstring(300, L'x')), std::wstring(260, L'x'));
}

TEST_F(ControlsTest, SecondInstanceOfTheSameNameIsToldToEnd) {
  EXPECT_EQ(CheckSingleInstanceNamed(L"velmora-guard-test.exe"), TInstanceStart::First);
  EXPECT_EQ(InstanceName(), L"velmora-guard-test.exe");
  const UINT message = InstanceMessage();
  EXPECT_NE(message, 0u);
  EXPECT_EQ(CheckSingleInstanceNamed(L"velmora-guard-test.exe"), TInstanceStart::Another);
  EXPECT_EQ(InstanceMessage(), message);
  EXPECT_EQ(CheckSingleInstanceNamed(L"velmora-other-name.exe"), TInstanceStart::First);
}
