// The main window at start-up and close: the views' first state, the tree
// from the stored selection, "/auto", and language packs on the form.
#include "AppTestSupport.h"

#include "TestSupport.h"
#include "privacy/PrivacyScanner.h"
#include "settings/ConfigFile.h"

using namespace velmora;
using namespace velmora::test;

TEST_F(FormTest, StartsOnThePrivacyViewWithItsFirstState) {
  TFormMain &f = Open();
  // The 96-DPI size at the screen's scale.
  const int dpi = WindowDpi(f.Handle());
  RECT client;
  GetClientRect(f.Handle(), &client);
  EXPECT_EQ(client.right, Scaled(824, dpi));
  EXPECT_EQ(client.bottom, Scaled(564, dpi));
  EXPECT_EQ(WindowText(f.Handle()), L"Quorvix");
  EXPECT_EQ(GetWindowLongW(f.Handle(), GWL_STYLE) & (WS_MAXIMIZEBOX | WS_THICKFRAME), 0);
  LOGFONTW font = {};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(f.btnPrivaryAnalyze->Handle(), WM_GETFONT, 0, 0)),
             sizeof(font), &font);
  EXPECT_STREQ(font.lfFaceName, L"Tahoma");
  EXPECT_EQ(font.lfHeight, -MulDiv(8, dpi, 72)); // 8 pt: -11 at 96 DPI

  // Navigation bar and banner.
  EXPECT_EQ(f.ImageNotePrivacy->ImageIndex(), 2);
  EXPECT_EQ(f.ImageNoteJunkFiles->ImageIndex(), 0);
  EXPECT_EQ(f.ImageNoteOption->ImageIndex(), 0);
  EXPECT_FALSE(f.ImageNotePrivacy->Picture().Empty());
  EXPECT_TRUE(f.ImageNoteJunkFiles->Picture().Empty());
  EXPECT_EQ(f.Label_top->Caption(), L"Erase your activity history and surfing traces.");
  EXPECT_TRUE(Shown(f.pnlPrivacy->Handle()));
  EXPECT_FALSE(Shown(f.pnlTemp->Handle()));
  EXPECT_FALSE(Shown(f.pnlOptions->Handle()));

  // Privacy view.
  for (int i = 0; i < f.RzCheckTree1->Model().Count(); ++i) {
    if (!f.RzCheckTree1->Model().IsLeaf(i)) {
      EXPECT_TRUE(f.RzCheckTree1->Expanded(i)) << i;
    }
  }
  EXPECT_EQ(f.RzCheckTree1->Selected(), 0);
  EXPECT_EQ(f.mmoPrivacy->Lines(),
            std::vector<std::wstring>{L"Please Click The \"Analyze\" Button To Analyze"});
  EXPECT_FALSE(f.btnPrivacyCleaner->Enabled());
  EXPECT_FALSE(f.pbbarPri->Visible());
  EXPECT_EQ(f.btnPrivaryAnalyze->Caption(), L"Analyze");
  EXPECT_FALSE(f.Label_firefox->Visible());
  EXPECT_FALSE(f.lbltip->Visible());
  EXPECT_EQ(f.GetSelection(), cfg::kDefaultSelection); // no stored selection

  // The data folder and file exist, with "Scannow" only.
  TConfigFile config(ConfigPath());
  EXPECT_EQ(config.ReadString(cfg::kJunkSection, cfg::kScanNow, L"-"), L"0");
  EXPECT_EQ(config.ReadSection(cfg::kJunkSection), std::vector<std::wstring>{L"Scannow"});
}

TEST_F(FormTest, JunkViewFirstOpening) {
  TFormMain &f = Open();
  ClickAt(*f.pnl1, CentreOf(*f.ImageNoteJunkFiles));
  EXPECT_TRUE(Shown(f.pnlTemp->Handle()));
  EXPECT_FALSE(Shown(f.pnlPrivacy->Handle()));
  EXPECT_EQ(f.Label_top->Caption(), L"Clean up junk files and free up hard disk space.");
  EXPECT_EQ(f.mmoTemp->Lines(),
            std::vector<std::wstring>{L"Please Click The \"Analyze\" Button To Analyze"});
  EXPECT_FALSE(f.btnTempCleaner->Enabled());
  EXPECT_TRUE(f.btnTempAnalyze->Enabled());
  EXPECT_FALSE(f.pbbarTemp->Visible());
  EXPECT_EQ(f.ImageNoteJunkFiles->ImageIndex(), 2);
  EXPECT_EQ(f.ImageNotePrivacy->ImageIndex(), 0);
}

TEST_F(FormTest, OptionsFirstOpeningWritesTheFourDefaults) {
  TFormMain &f = Open();
  ClickAt(*f.pnl1, CentreOf(*f.ImageNoteOption));
  EXPECT_TRUE(Shown(f.pnlOptions->Handle()));
  EXPECT_EQ(f.Label_top->Caption(), L"Help to perform more specified settings.");
  EXPECT_EQ(f.PageControl1->ActivePage(), 0);
  EXPECT_TRUE(f.CheckBox1->Checked());
  EXPECT_TRUE(f.CheckBox2->Checked());
  EXPECT_TRUE(f.CheckBox3->Checked());
  EXPECT_TRUE(f.CheckBox4->Checked());
  EXPECT_FALSE(f.CheckBox5->Checked());
  TConfigFile config(ConfigPath());
  EXPECT_EQ(config.ReadSectionValues(cfg::kJunkSection),
            (std::vector<std::wstring>{L"Scannow=0", L"Recycle=1", L"TempFile=1", L"IE Cache=1",
                                       L"RemoveDay=7"}));
}

TEST_F(FormTest, TreeFollowsTheStoredSelectionAndCloseStoresItBack) {
  struct Case {
    const wchar_t *stored; // null: no value at all
    std::wstring shown;
  } cases[] = {
      {nullptr, cfg::kDefaultSelection},
      {L"", cfg::kDefaultSelection},
      {L"11", L"11" + std::wstring(55, L'0')}, // the rest start unchecked
      {L"1x1", L"101" + std::wstring(54, L'0')},
      {L"111111111111111111111111111111111111111111000",
       std::wstring(42, L'1') + std::wstring(15, L'0')},
      // past the last leaf: ignored
      {L"111111111111111111111111111111111111111111111111111111111000", std::wstring(57, L'1')},
  };
  for (const Case &c : cases) {
    RemoveConfig();
    if (c.stored)
      TConfigFile(ConfigPath()).WriteString(cfg::kVelmoraSection, cfg::kSelection, c.stored);
    TFormMain &f = Open();
    EXPECT_EQ(f.GetSelection(), c.shown) << (c.stored ? c.stored : L"(none)");
    f.RzCheckTree1->Toggle(52); // 7-Zip
    const std::wstring marks = f.GetSelection();
    SendMessageW(f.Handle(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(f.Handle()));
    const std::wstring stored =
        TConfigFile(ConfigPath()).ReadString(cfg::kVelmoraSection, cfg::kSelection, L"");
    EXPECT_EQ(stored, marks);
    EXPECT_EQ(stored.size(), 57u);
    form.reset();
  }
}

TEST_F(FormTest, ClickOnAParentBoxChecksItsLeaves) {
  TFormMain &f = Open();
  TCheckTree &tree = *f.RzCheckTree1;
  f.RzCheckTree1->ApplySelection(std::wstring(57, L'0'));
  // Find the state box of "Windows" (node 28) on screen and press it.
  RECT r = {};
  TreeView_EnsureVisible(tree.Handle(), tree.Item(28));
  ASSERT_TRUE(TreeView_GetItemRect(tree.Handle(), tree.Item(28), &r, TRUE));
  // The state image sits left of the icon, both 16 wide at 96 DPI.
  POINT box = {r.left - Scaled(16 + 8, tree.Dpi()), (r.top + r.bottom) / 2};
  TVHITTESTINFO hit = {};
  hit.pt = box;
  TreeView_HitTest(tree.Handle(), &hit);
  ASSERT_TRUE(hit.flags & TVHT_ONITEMSTATEICON);
  SendMessageW(tree.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(box.x, box.y));
  SendMessageW(tree.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(box.x, box.y));
  EXPECT_EQ(tree.ShownState(28), TCheckState::Checked);
  EXPECT_EQ(tree.ShownState(29), TCheckState::Checked);
  EXPECT_EQ(tree.ShownState(30), TCheckState::Checked);
  EXPECT_EQ(f.GetSelection(), L"000000000000000000000001100000000000000000000000000000000");

  // Space on the selected leaf clears it; its parent becomes partial. The
  // key goes to the tree itself, which tells its parent.
  tree.Select(30);
  SendMessageW(tree.Handle(), WM_KEYDOWN, VK_SPACE, 0x00390001);
  SendMessageW(tree.Handle(), WM_CHAR, L' ', 0x00390001);
  SendMessageW(tree.Handle(), WM_KEYUP, VK_SPACE, 0xC0390001);
  EXPECT_EQ(tree.ShownState(30), TCheckState::Unchecked);
  EXPECT_EQ(tree.ShownState(28), TCheckState::Partial);
  EXPECT_EQ(f.GetSelection(), L"000000000000000000000001000000000000000000000000000000000");
}

// --- "/auto" -----------------------------------------------------------------------

TEST_F(FormTest, AutoAnalysesAtTheFirstActivationOnly) {
  TConfigFile(ConfigPath()).WriteString(cfg::kVelmoraSection, cfg::kSelection, kOnlyRunHistory);
  RegDeleteTree(kRunMru);
  RegWriteString(kRunMru, L"velmora-auto", L"notepad\\1");
  TFormSettings settings;
  settings.Arguments = {L"/auto"};
  bool cancelledMeanwhile = false, ranDuring = false;
  TFormMain &f = Open(settings, false);
  SendMessageW(f.Handle(), WM_ACTIVATE, WA_ACTIVE, 0); // without a window manager, activate here
  // While the unattended analysis runs, the user comes back to the window.
  actions.Post([&] {
    ranDuring = f.PrivacyBusy;
    SendMessageW(f.Handle(), WM_ACTIVATE, WA_INACTIVE, 0);
    SendMessageW(f.Handle(), WM_ACTIVATE, WA_ACTIVE, 0);
    Pump();
    cancelledMeanwhile = f.Scanner->Cancelled;
  });
  Pump();
  EXPECT_TRUE(f.AutoAnalyzeStarted);
  EXPECT_TRUE(ranDuring);
  EXPECT_FALSE(cancelledMeanwhile);
  EXPECT_FALSE(f.Scanner->Cancelled);
  EXPECT_FALSE(f.PrivacyBusy);
  ASSERT_FALSE(f.mmoPrivacy->Lines().empty());
  EXPECT_EQ(f.mmoPrivacy->Lines().front(), L"Privacy Analysis Report");
  EXPECT_EQ(f.mmoPrivacy->Lines().back(),
            L"HKEY_CURRENT_USER\\" + std::wstring(kRunMru) + L"\\velmora-auto");
  EXPECT_TRUE(f.btnPrivacyCleaner->Enabled());
  RegDeleteTree(kRunMru);

  // Later activations start nothing.
  f.mmoPrivacy->Clear();
  SendMessageW(f.Handle(), WM_ACTIVATE, WA_INACTIVE, 0);
  SendMessageW(f.Handle(), WM_ACTIVATE, WA_ACTIVE, 0);
  Pump();
  EXPECT_TRUE(f.mmoPrivacy->Lines().empty());
}

TEST_F(FormTest, OnlyAnExactFirstAutoArgumentAnalyses) {
  const std::vector<std::vector<std::wstring>> others = {{L"/AUTO"}, {L"-x", L"/auto"}, {L"auto"}};
  for (const auto &arguments : others) {
    TFormSettings settings;
    settings.Arguments = arguments;
    TFormMain &f = Open(settings);
    SendMessageW(f.Handle(), WM_ACTIVATE, WA_ACTIVE, 0);
    Pump();
    EXPECT_FALSE(f.AutoAnalyzeStarted) << arguments.front();
    EXPECT_EQ(f.mmoPrivacy->LineCount(), 1) << arguments.front();
    form.reset();
  }
}

// --- language packs ------------------------------------------------------------------

TEST_F(FormTest, PackRenamesTreeNodesZeroAndThirtyAndTheCaptions) {
  TScratchFolder folder(L"app-language");
  WriteFileBytes(folder / L"Language\\Test.lng",
                 "[Velmora_M]\r\nmessagetop=Titel\r\npritip=Spuren\r\n"
                 "[Velmora_FormMain]\r\n"
                 "FormMain.Caption=Fenster\r\n"
                 "RzCheckTree1.Items[0].Caption=IE\r\n"
                 "RzCheckTree1.Items[30].Caption=Ausfuehren\r\n"
                 "Label1.Caption=Schutz\r\n"
                 "btnPrivacyCleaner.Caption=Putzen\r\n"
                 "TabSheet2.Caption=Kekse\r\n"
                 "CheckBox5.Caption=Sicher\r\n"
                 "ListViewKeep.Columns[0].Caption=Behalten\r\n"
                 "Label_top.Caption=overwritten at run time\r\n");
  TFormSettings settings;
  settings.ProgramFolder = folder.Path();
  settings.LanguageChoice = L"test"; // names match without regard to case
  TFormMain &f = Open(settings);
  EXPECT_EQ(f.RzCheckTree1->ShownText(0), L"IE");
  EXPECT_EQ(f.RzCheckTree1->ShownText(30), L"Ausfuehren");
  EXPECT_EQ(f.RzCheckTree1->ShownText(1), L"Typed Urls");
  EXPECT_EQ(f.RzCheckTree1->ShownText(29), L"Recent Document");
  EXPECT_EQ(WindowText(f.Handle()), L"Fenster");
  EXPECT_EQ(f.ApplicationTitle, L"Titel");
  EXPECT_EQ(f.Label1->Caption(), L"Schutz");
  EXPECT_EQ(f.btnPrivacyCleaner->Caption(), L"Putzen");
  EXPECT_EQ(f.TabSheet2->Text(0), L"Kekse");
  EXPECT_EQ(f.CheckBox5->Caption(), L"Sicher");
  EXPECT_EQ(f.ListViewKeep->Text(0), L"Behalten");
  EXPECT_EQ(f.Label_top->Caption(), L"Spuren");          // the banner text comes from LookupText
  EXPECT_EQ(f.btnPrivaryAnalyze->Caption(), L"Analyze"); // no key: built-in text stays
}

TEST_F(FormTest, ShippedPacksTranslateTheWindow) {
  struct Case {
    const wchar_t *pack, *privacyButton, *analyze, *node30, *banner;
  } cases[] = {
      {L"German", L"Datenschutz", L"Analysieren", L"Verlauf von \"Ausführen\" im Startmenü",
       L"Löschen Sie Ihren Aktivitätsverlauf und Ihre Surfspuren."},
      {L"French", L"Confidentialité", L"Analyser", L"Historique \"Exécuter\" du menu Démarrer",
       L"Effacez l'historique de vos activités et vos traces de navigation."},
      {L"English", L"Privacy Sweep", L"Analyze", L"\"Start Menu\" Run History",
       L"Erase your activity history and surfing traces."},
  };
  for (const Case &c : cases) {
    TFormSettings settings;
    settings.LanguageChoice = c.pack;
    TFormMain &f = Open(settings);
    EXPECT_EQ(f.Label1->Caption(), c.privacyButton) << c.pack;
    EXPECT_EQ(f.btnPrivaryAnalyze->Caption(), c.analyze) << c.pack;
    EXPECT_EQ(f.RzCheckTree1->ShownText(30), c.node30) << c.pack;
    EXPECT_EQ(f.Label_top->Caption(), c.banner) << c.pack;
    form.reset();
  }
}
