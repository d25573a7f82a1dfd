// The Microsoft Edge, Brave and Vivaldi groups of the privacy tree: where
// they show, where their leaves sit in the stored selection, selections
// stored before they existed, their texts in the language packs, and the
// longer selection reaching the privacy engine.
#include "AppTestSupport.h"

#include "TestSupport.h"
#include "app/PrivacyNodes.h"
#include "privacy/PrivacyScanner.h"
#include "settings/ConfigFile.h"

#include <algorithm>
#include <set>

using namespace velmora;
using namespace velmora::test;

namespace {

const wchar_t *const kNewGroups[] = {L"Microsoft Edge", L"Brave", L"Vivaldi"};
const int kChromeFirstPosition = 12, kNewFirstPosition = 43, kLeavesPerGroup = 5;
// The default marks of Chrome's five leaves.
const std::wstring kChromeDefaults =
    std::wstring(cfg::kDefaultSelection).substr(kChromeFirstPosition - 1, kLeavesPerGroup);

std::wstring ItemText(HWND tree, HTREEITEM item) {
  wchar_t buffer[256] = L"";
  TVITEMW tv = {};
  tv.mask = TVIF_TEXT;
  tv.hItem = item;
  tv.pszText = buffer;
  tv.cchTextMax = 256;
  TreeView_GetItem(tree, &tv);
  return buffer;
}

int ItemImage(HWND tree, HTREEITEM item) {
  TVITEMW tv = {};
  tv.mask = TVIF_IMAGE;
  tv.hItem = item;
  TreeView_GetItem(tree, &tv);
  return tv.iImage;
}

std::vector<HTREEITEM> Children(HWND tree, HTREEITEM parent) {
  std::vector<HTREEITEM> items;
  for (HTREEITEM i = parent ? TreeView_GetChild(tree, parent) : TreeView_GetRoot(tree); i;
       i = TreeView_GetNextSibling(tree, i))
    items.push_back(i);
  return items;
}

// The root shown with this caption, null when there is none.
HTREEITEM RootNamed(HWND tree, const std::wstring &caption) {
  for (HTREEITEM root : Children(tree, nullptr))
    if (ItemText(tree, root) == caption)
      return root;
  return nullptr;
}

// The new leaves as the tree shows them, group after group, with the
// selection position (1-based) each must have.
std::vector<std::pair<int, int>> NewLeavesWithPositions(const TCheckTree &tree) {
  std::vector<std::pair<int, int>> leaves;
  int position = kNewFirstPosition;
  for (const wchar_t *group : kNewGroups)
    for (HTREEITEM leaf : Children(tree.Handle(), RootNamed(tree.Handle(), group)))
      leaves.emplace_back(tree.IndexOf(leaf), position++);
  return leaves;
}

class BrowserGroupsTest : public FormTest {
protected:
  TFormMain &OpenWith(const std::wstring &stored) {
    TConfigFile(ConfigPath()).WriteString(cfg::kVelmoraSection, cfg::kSelection, stored);
    return Open();
  }
  std::wstring StoredAfterClose() {
    SendMessageW(form->Handle(), WM_CLOSE, 0, 0);
    return TConfigFile(ConfigPath()).ReadString(cfg::kVelmoraSection, cfg::kSelection, L"");
  }
};

} // namespace

TEST_F(BrowserGroupsTest, TreeShowsTheThreeGroupsAfterChromeWithChromesLeaves) {
  TFormMain &f = Open();
  const HWND tree = f.RzCheckTree1->Handle();
  std::vector<std::wstring> roots;
  for (HTREEITEM root : Children(tree, nullptr))
    roots.push_back(ItemText(tree, root));
  EXPECT_EQ(roots,
            (std::vector<std::wstring>{L"Internet Explorer", L"Mozilla Firefox", L"Google Chrome",
                                       L"Microsoft Edge", L"Brave", L"Vivaldi", L"Opera", L"Safari",
                                       L"Windows", L"Other Applications"}));

  std::vector<std::wstring> chromeLeaves;
  for (HTREEITEM leaf : Children(tree, RootNamed(tree, L"Google Chrome")))
    chromeLeaves.push_back(ItemText(tree, leaf));
  ASSERT_EQ(chromeLeaves.size(), 5u);
  std::set<int> images = {ItemImage(tree, RootNamed(tree, L"Google Chrome"))};
  for (const wchar_t *group : kNewGroups) {
    const HTREEITEM root = RootNamed(tree, group);
    ASSERT_NE(root, nullptr) << group;
    EXPECT_TRUE(f.RzCheckTree1->Expanded(f.RzCheckTree1->IndexOf(root))) << group;
    std::vector<std::wstring> leaves;
    for (HTREEITEM leaf : Children(tree, root)) {
      leaves.push_back(ItemText(tree, leaf));
      EXPECT_EQ(ItemImage(tree, leaf), kLeafImage) << group;
      EXPECT_TRUE(Children(tree, leaf).empty()) << group;
    }
    EXPECT_EQ(leaves, chromeLeaves) << group;
    images.insert(ItemImage(tree, root));
  }
  // Each group has a picture of its own, and the pictures are there.
  EXPECT_EQ(images.size(), 4u);
  const HIMAGELIST list = TreeView_GetImageList(tree, TVSIL_NORMAL);
  EXPECT_EQ(ImageList_GetImageCount(list), kTreeImageCount);
  for (int image : images) {
    EXPECT_LT(image, kTreeImageCount);
    wchar_t name[16];
    wsprintfW(name, L"TREE%02d", image);
    EXPECT_FALSE(TPicture::FromResource(name).Empty()) << image;
  }
}

TEST_F(BrowserGroupsTest, EachNewLeafHasItsPositionInTheSelection) {
  TFormMain &f = Open();
  TCheckTree &tree = *f.RzCheckTree1;
  const auto leaves = NewLeavesWithPositions(tree);
  ASSERT_EQ(leaves.size(), 15u);
  for (const auto &[node, position] : leaves) {
    tree.ApplySelection(std::wstring(57, L'0'));
    tree.SetChecked(node, true);
    std::wstring expected(57, L'0');
    expected[position - 1] = L'1';
    EXPECT_EQ(f.GetSelection(), expected) << "node " << node;
  }
  // The other way round: a mark at a position checks that leaf only.
  for (const auto &[node, position] : leaves) {
    std::wstring marks(57, L'0');
    marks[position - 1] = L'1';
    tree.ApplySelection(marks);
    EXPECT_EQ(tree.ShownState(node), TCheckState::Checked) << position;
    EXPECT_EQ(tree.ShownState(tree.Model().Node(node).Parent), TCheckState::Partial) << position;
  }

  // Every leaf of the tree has a position of its own, none is left over.
  const std::vector<int> byPosition = tree.Model().LeavesByPosition();
  ASSERT_EQ(byPosition.size(), 57u);
  EXPECT_EQ(std::set<int>(byPosition.begin(), byPosition.end()).size(), 57u);
  EXPECT_EQ(std::count(byPosition.begin(), byPosition.end(), -1), 0);
  // The default marks the new leaves as Chrome's.
  const std::wstring defaults = cfg::kDefaultSelection;
  for (int g = 0; g < 3; ++g)
    EXPECT_EQ(defaults.substr(kNewFirstPosition - 1 + g * kLeavesPerGroup, kLeavesPerGroup),
              kChromeDefaults)
        << kNewGroups[g];
}

TEST_F(BrowserGroupsTest,
       SelectionStoredBeforeTheGroupsKeepsItsLeavesAndGivesTheNewOnesChromesDefaults) {
  // Positions 1, 14, 25 and 42: Typed Urls (node 1), Chrome's History
  // (16), "Start Menu" Run History (30) and 7-Zip (52).
  const std::wstring mixed = L"100000000000010000000000100000000000000001";
  struct Case {
    std::wstring stored;
    std::vector<int> checkedOldNodes;
  } cases[] = {
      {mixed, {1, 16, 30, 52}},
      {std::wstring(42, L'0'), {}},
      {std::wstring(42, L'1'), {}}, // all checked: the new leaves still take the defaults
  };
  for (const Case &c : cases) {
    RemoveConfig();
    TFormMain &f = OpenWith(c.stored);
    const std::wstring expected = c.stored + kChromeDefaults + kChromeDefaults + kChromeDefaults;
    EXPECT_EQ(f.GetSelection(), expected) << c.stored;
    for (int node : c.checkedOldNodes)
      EXPECT_EQ(f.RzCheckTree1->ShownState(node), TCheckState::Checked) << node;
    for (const auto &[node, position] : NewLeavesWithPositions(*f.RzCheckTree1))
      EXPECT_EQ(f.RzCheckTree1->Model().Node(node).State == TCheckState::Checked,
                kChromeDefaults[(position - kNewFirstPosition) % kLeavesPerGroup] == L'1')
          << position;
    EXPECT_EQ(StoredAfterClose(), expected) << c.stored;
    form.reset();
  }
}

TEST_F(BrowserGroupsTest, FullSelectionRoundTripsAndOtherLengthsChangeOnlyTheLeavesTheyCover) {
  std::wstring full(57, L'0');
  for (int p : {2, 13, 42, 43, 47, 50, 57})
    full[p - 1] = L'1';
  struct Case {
    std::wstring stored, shown;
  } cases[] = {
      {full, full},
      // one mark short of the old length, one past it, one short of the new:
      // no defaults, the leaves past the end stay unchecked
      {std::wstring(41, L'1'), std::wstring(41, L'1') + std::wstring(16, L'0')},
      {std::wstring(43, L'1'), std::wstring(43, L'1') + std::wstring(14, L'0')},
      {std::wstring(56, L'1'), std::wstring(56, L'1') + L"0"},
      // characters other than '0' and '1' leave their leaf as it starts
      {std::wstring(42, L'1') + L"x1y1z" + std::wstring(10, L'1'),
       std::wstring(42, L'1') + L"01010" + std::wstring(10, L'1')},
  };
  for (const Case &c : cases) {
    RemoveConfig();
    TFormMain &f = OpenWith(c.stored);
    EXPECT_EQ(f.GetSelection(), c.shown) << c.stored;
    EXPECT_EQ(StoredAfterClose(), c.shown) << c.stored;
    form.reset();
  }
}

TEST_F(BrowserGroupsTest, PacksNameTheGroupsAndTheirLeavesShareChromesTexts) {
  struct Case {
    const wchar_t *pack, *cookies, *cache;
  } cases[] = {
      {L"German", L"Cookie-Dateien", L"Internet-Cache"},
      {L"French", L"Fichiers cookies", L"Cache Internet"},
      {L"English", L"Cookie Files", L"Internet Cache"},
  };
  for (const Case &c : cases) {
    TFormSettings settings;
    settings.LanguageChoice = c.pack;
    TFormMain &f = Open(settings);
    const HWND tree = f.RzCheckTree1->Handle();
    for (const wchar_t *group : kNewGroups) {
      const HTREEITEM root = RootNamed(tree, group);
      ASSERT_NE(root, nullptr) << c.pack << " " << group;
      const std::vector<HTREEITEM> leaves = Children(tree, root);
      ASSERT_EQ(leaves.size(), 5u);
      EXPECT_EQ(ItemText(tree, leaves.front()), c.cookies) << c.pack;
      EXPECT_EQ(ItemText(tree, leaves.back()), c.cache) << c.pack;
    }
    EXPECT_EQ(f.RzCheckTree1->ShownText(19), L"Opera") << c.pack; // old keys keep their nodes
    form.reset();
  }

  // A pack of its own: a group renamed by its key, a Chrome leaf key renames
  // that leaf in all four groups.
  TScratchFolder folder(L"app-browser-groups");
  WriteFileBytes(folder / L"Language\\Test.lng", "[Velmora_FormMain]\r\n"
                                                 "RzCheckTree1.Items[14].Caption=Kekse\r\n"
                                                 "RzCheckTree1.Items[54].Caption=Mutig\r\n"
                                                 "RzCheckTree1.Items[19].Caption=Oper\r\n");
  TFormSettings settings;
  settings.ProgramFolder = folder.Path();
  settings.LanguageChoice = L"Test";
  TFormMain &f = Open(settings);
  const HWND tree = f.RzCheckTree1->Handle();
  EXPECT_EQ(RootNamed(tree, L"Brave"), nullptr);
  ASSERT_NE(RootNamed(tree, L"Mutig"), nullptr);
  EXPECT_NE(RootNamed(tree, L"Oper"), nullptr);
  for (const wchar_t *group : {L"Google Chrome", L"Microsoft Edge", L"Mutig", L"Vivaldi"}) {
    const std::vector<HTREEITEM> leaves = Children(tree, RootNamed(tree, group));
    ASSERT_EQ(leaves.size(), 5u) << group;
    EXPECT_EQ(ItemText(tree, leaves[0]), L"Kekse") << group;
    EXPECT_EQ(ItemText(tree, leaves[1]), L"Download History") << group;
  }
}

TEST_F(BrowserGroupsTest, AnalyzeHandsTheWholeSelectionToTheEngine) {
  // Only the new leaves checked: a selection cut at the old length would
  // have nothing to analyse and only ask for an item.
  TFormMain &f = OpenWith(std::wstring(42, L'0') + std::wstring(15, L'1'));
  f.Scanner->PauseSteps = false;
  ASSERT_EQ(f.GetSelection().size(), 57u);
  Press(*f.btnPrivaryAnalyze);
  EXPECT_TRUE(boxes.empty());
  ASSERT_FALSE(f.Scanner->ReportLines.empty());
  EXPECT_EQ(f.Scanner->ReportLines.front(), L"Privacy Analysis Report");
  EXPECT_EQ(f.mmoPrivacy->Lines().front(), L"Privacy Analysis Report");
  EXPECT_TRUE(f.btnPrivacyCleaner->Enabled());
  EXPECT_FALSE(f.PrivacyBusy);
  EXPECT_EQ(StoredAfterClose(), std::wstring(42, L'0') + std::wstring(15, L'1'));
}

TEST(CheckTreePositionsTest, LeavesSitWhereTheirPlaceSaysWhateverTheirOrder) {
  TCheckTreeModel model;
  const int a = model.Add(-1, L"a", 0);
  const int a1 = model.Add(a, L"a1", 0, {3});
  const int a2 = model.Add(a, L"a2", 0, {0});
  const int b = model.Add(-1, L"b", 0);
  const int b1 = model.Add(b, L"b1", 0, {1});
  EXPECT_EQ(model.LeavesByPosition(), (std::vector<int>{a2, b1, -1, a1}));
  EXPECT_EQ(model.Selection(), L"0000"); // no leaf at position 2: always '0'
  model.SetChecked(a1, true);
  EXPECT_EQ(model.Selection(), L"0001");
  model.ApplySelection(L"1111");
  EXPECT_EQ(model.Selection(), L"1101");
  EXPECT_EQ(model.Node(b).State, TCheckState::Checked);
  model.ApplySelection(L"10");
  EXPECT_EQ(model.Selection(), L"1001");
  EXPECT_EQ(model.Node(a).State, TCheckState::Checked);
  EXPECT_EQ(model.Node(b).State, TCheckState::Unchecked);
}
