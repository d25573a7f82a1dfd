#include "settings/ExtIniFiles.h"
#include "settings/PLanguage.h"

#include "TestSupport.h"
#include "base/Error.h"
#include "base/Handles.h"
#include "base/Text.h"

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::test;

namespace {

std::string Utf16Le(const std::wstring &s, bool bom = true) {
  std::string out = bom ? "\xFF\xFE" : "";
  for (wchar_t c : s) {
    out += static_cast<char>(c & 0xFF);
    out += static_cast<char>(c >> 8);
  }
  return out;
}

std::string Utf16Be(const std::wstring &s) {
  std::string out = "\xFE\xFF";
  for (wchar_t c : s) {
    out += static_cast<char>(c >> 8);
    out += static_cast<char>(c & 0xFF);
  }
  return out;
}

TEST(ExtIniFileTest, PackFormatRules) {
  TExtIniFile ini;
  ini.SetStrings({
      L"before=ignored",
      L"[ Velmora_M ]",
      L"  btnCancel =  Abbrechen  ",
      L"empty=",
      L"a=b=c",
      L"; comment=hidden",
      L"no equals sign",
      L"\tMessageTop\t=\tfirst",
      L"messagetop=second",
      L"[velmora_m]",
      L"late=never seen",
  });
  EXPECT_EQ(ini.ReadString(L"Velmora_M", L"btnCancel", L"Cancel"), L"Abbrechen");
  EXPECT_EQ(ini.ReadString(L"Velmora_M", L"empty", L"default"), L"");
  EXPECT_EQ(ini.ReadString(L"Velmora_M", L"a", L""), L"b=c");
  EXPECT_EQ(ini.ReadString(L"VELMORA_M", L"MESSAGETOP", L""), L"first");
  EXPECT_EQ(ini.ReadString(L"Velmora_M", L"late", L"dflt"), L"dflt");
  EXPECT_EQ(ini.ReadString(L"Velmora_M", L"; comment", L"dflt"), L"dflt");
  EXPECT_EQ(ini.ReadString(L"Velmora_M", L"before", L"dflt"), L"dflt");
  EXPECT_EQ(ini.ReadString(L"Missing", L"x", L"dflt"), L"dflt");
  EXPECT_TRUE(ini.ValueExists(L"velmora_m", L"BTNCANCEL"));
  EXPECT_FALSE(ini.ValueExists(L"Velmora_M", L"late"));
  EXPECT_EQ(ini.ReadSections(), (std::vector<std::wstring>{L"Velmora_M", L"velmora_m"}));
  EXPECT_EQ(
      ini.ReadSectionValues(L"Velmora_M"),
      (std::vector<std::wstring>{L"btnCancel=Abbrechen", L"empty=", L"a=b=c", L"no equals sign",
                                 L"MessageTop=first", L"messagetop=second"}));
}

TEST(ExtIniFileTest, EncodingsAndLineEnds) {
  const std::wstring text = L"[Main]\r\nDisplayName=Fran\u00e7ais\nx=1\ry=2";
  const std::string ansiText = "[Main]\r\nDisplayName=Fran\xe7"
                               "ais\nx=1\ry=2";
  const struct {
    const char *name;
    std::string bytes;
  } cases[] = {
      {"utf-16 le", Utf16Le(text)},
      {"utf-16 be", Utf16Be(text)},
      {"utf-8", "\xEF\xBB\xBF" + ToUtf8(text)},
      {"ansi", ansiText},
  };
  for (const auto &c : cases) {
    TExtIniFile ini;
    ini.SetStrings(DecodeTextLines(c.bytes));
    EXPECT_EQ(ini.ReadString(L"Main", L"DisplayName", L""), FromAnsi("Fran\xe7"
                                                                     "ais"))
        << c.name;
    EXPECT_EQ(ini.ReadString(L"Main", L"x", L""), L"1") << c.name;
    EXPECT_EQ(ini.ReadString(L"Main", L"y", L""), L"2") << c.name;
  }
  // UTF-8 without its mark is read in the ANSI code page.
  TExtIniFile ini;
  ini.SetStrings(DecodeTextLines("[Main]\nk=\xC3\xA7"));
  EXPECT_EQ(ini.ReadString(L"Main", L"k", L""), FromAnsi("\xC3\xA7"));
}

class LanguageTest : public ::testing::Test {
protected:
  TScratchFolder dir{L"Language"};
  void Pack(const std::wstring &name, const std::string &bytes) {
    WriteFileBytes(dir / (name + L".lng"), bytes);
  }
};

// A damaged pack file, loaded the way the window loads it: each gives the
// texts it holds, or the built-in ones, and never stops the start-up. A
// pack of binary data or with an absurdly long line is not a pack at all:
// it is listed as unusable and the built-in texts stay.
TEST_F(LanguageTest, BadPackFilesHaveADefinedOutcome) {
  std::string garbage;
  for (int i = 0; i < 4096; ++i)
    garbage += static_cast<char>((i * 7919) & 0xFF);
  const std::wstring pack =
      L"[Main]\r\nDisplayName=Deutsch\r\n[Velmora_M]\r\nbtnCancel=Abbrechen\r\n"
      L"[Velmora_FormMain]\r\nFormMain.Caption=Bereinigen";
  const std::wstring longValue(1 << 20, L'v');
  const struct {
    const char *name;
    std::string bytes;
    bool usable;
    std::wstring displayName, cancel, caption; // what the window shows
  } cases[] = {
      {"binary garbage", garbage, false, L"English", L"Cancel", L"Quorvix"},
      {"byte-order mark alone", "\xFF\xFE", true, L"English", L"Cancel", L"Quorvix"},
      {"big-endian mark alone", "\xFE\xFF", true, L"English", L"Cancel", L"Quorvix"},
      {"utf-8 mark alone", "\xEF\xBB\xBF", true, L"English", L"Cancel", L"Quorvix"},
      {"empty", "", true, L"English", L"Cancel", L"Quorvix"},
      // A stray last byte is dropped; everything before it is read.
      {"odd-length utf-16", Utf16Le(pack) + "\x41", true, L"Deutsch", L"Abbrechen",
       L"Bereinigen"},
      {"very long line", "[Velmora_M]\r\nbtnCancel=" + ToUtf8(longValue) + "\r\n", false,
       L"English", L"Cancel", L"Quorvix"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    Pack(L"English", c.bytes);
    std::unique_ptr<TLanguage> lang;
    ASSERT_NO_THROW(lang = CreateStartupLanguage(
                        ExtractFilePath(ExcludeTrailingBackslash(dir.Path())), L"English"));
    EXPECT_EQ(lang->Names(), std::vector<std::wstring>{L"English"});
    EXPECT_EQ(lang->Usable(), std::vector<bool>{c.usable});
    EXPECT_EQ(lang->CurrentIndex(), c.usable ? 0 : -1);
    EXPECT_EQ(lang->DisplayNames(), std::vector<std::wstring>{c.displayName});
    EXPECT_EQ(lang->LookupText(L"btnCancel", L"Cancel"), c.cancel);
    EXPECT_EQ(lang->LookupText(L"messagetop", L"Quorvix"), L"Quorvix");
    struct TForm : TTranslatable {
      std::wstring caption = L"Quorvix";
      std::wstring Name() const override { return L"FormMain"; }
      TTextRule Rule() const override { return TTextRule::None; }
      std::wstring Text(int) const override { return caption; }
      void SetText(int, const std::wstring &t) override { caption = t; }
    } form;
    lang->ApplyToForm(form);
    EXPECT_EQ(form.caption, c.caption);
  }
}

TEST_F(LanguageTest, MissingOrEmptyFolderGivesTheBuiltInTexts) {
  TLanguage missing(L"Velmora", dir / L"nowhere");
  EXPECT_TRUE(missing.Names().empty());
  EXPECT_EQ(missing.CurrentIndex(), -1);
  missing.SelectLanguage(L"English");
  EXPECT_EQ(missing.LookupText(L"btnCancel", L"Cancel"), L"Cancel");

  TLanguage empty(L"Velmora", dir.Path());
  EXPECT_TRUE(empty.Names().empty());
  EXPECT_EQ(empty.Folder(), ExcludeTrailingBackslash(dir.Path()));
  EXPECT_EQ(empty.LookupText(L"messagetop", L"Quorvix"), L"Quorvix");
}

TEST_F(LanguageTest, ScanSelectAndLookUp) {
  Pack(L"Deutsch", "[Velmora_M]\r\nbtnCancel=Abbrechen\r\nmessage1=\r\n");
  Pack(L"English", "[Main]\r\nDisplayName=English (UK)\r\n[Velmora_M]\r\nbtnCancel=Stop\r\n");
  TLanguage lang(L"Velmora", dir.Path() + L"\\");
  ASSERT_EQ(lang.Names().size(), 2u);
  for (size_t i = 0; i < 2; ++i)
    EXPECT_EQ(lang.DisplayNames()[i], lang.Names()[i] == L"Deutsch" ? L"Deutsch" : L"English (UK)");

  lang.SelectLanguage(L"deutsch"); // names match without regard to case
  EXPECT_EQ(lang.Names()[lang.CurrentIndex()], L"Deutsch");
  EXPECT_EQ(lang.LookupText(L"BTNCANCEL", L"Cancel"), L"Abbrechen");
  EXPECT_EQ(lang.LookupText(L"message1", L"Please select an item first."), L"");
  EXPECT_EQ(lang.LookupText(L"message2", L"default"), L"default");

  lang.SelectLanguage(L"Klingon"); // no pack: English
  EXPECT_EQ(lang.LookupText(L"btnCancel", L"Cancel"), L"Stop");
  lang.SelectLanguage(L"");
  EXPECT_EQ(lang.LookupText(L"btnCancel", L"Cancel"), L"Stop");
}

TEST_F(LanguageTest, WithoutEnglishTheLastPackLoadedStays) {
  Pack(L"Deutsch", "[Velmora_M]\r\nbtnCancel=Abbrechen\r\n");
  TLanguage lang(L"Velmora", dir.Path());
  lang.SelectLanguage(L"Klingon");
  EXPECT_EQ(lang.LookupText(L"btnCancel", L"Cancel"), L"Abbrechen");
}

TEST_F(LanguageTest, AnUnreadablePackDoesNotStopStartUp) {
  Pack(L"English", "[Velmora_M]\r\nbtnCancel=Stop\r\n");
  {
    // Held open without sharing: the pack exists but cannot be read.
    UniqueFile lock(CreateFileW((dir / L"English.lng").c_str(), GENERIC_READ, 0, nullptr,
                                OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(lock.Valid());
    std::unique_ptr<TLanguage> lang;
    const std::wstring exeFolder = ExtractFilePath(ExcludeTrailingBackslash(dir.Path()));
    ASSERT_NO_THROW(lang = CreateStartupLanguage(exeFolder, L"English"));
    EXPECT_EQ(lang->LookupText(L"btnCancel", L"Cancel"), L"Cancel");
    EXPECT_THROW(lang->SelectLanguage(L"English"), EAppError);
  }
  const std::wstring exeFolder = ExtractFilePath(ExcludeTrailingBackslash(dir.Path()));
  EXPECT_EQ(CreateStartupLanguage(exeFolder, L"english")->LookupText(L"btnCancel", L"Cancel"),
            L"Stop");
}

// A small form: caption, a label, a tree with node texts, a list view with
// columns, a state-text label with items, an image with its hint off, a memo.
struct TFakeComponent : TTranslatable {
  TFakeComponent(std::wstring name, TTextRule rule, std::vector<std::wstring> texts,
                 bool hint = false)
      : name(std::move(name)), rule(rule), texts(std::move(texts)), hint(hint) {}
  std::wstring Name() const override { return name; }
  TTextRule Rule() const override { return rule; }
  bool HintShown() const override { return hint; }
  int TextCount() const override { return static_cast<int>(texts.size()); }
  std::wstring Text(int i) const override { return texts[i]; }
  void SetText(int i, const std::wstring &t) override { texts[i] = t; }
  std::vector<TTranslatable *> Owned() override { return owned; }
  std::wstring name;
  TTextRule rule;
  std::vector<std::wstring> texts;
  bool hint;
  std::vector<TTranslatable *> owned;
};

TEST_F(LanguageTest, ApplyToFormRewritesCaptionsByRule) {
  Pack(L"English", "[Velmora_FormMain]\r\n"
                   "FormMain.Caption=Quorvix Deluxe\r\n"
                   "Label1.Caption=Sweep\r\n"
                   "RzCheckTree1.Items[0].Caption=IE\r\n"
                   "RzCheckTree1.Items[30].Caption=Run History\r\n"
                   "ListViewKeep.Columns[0].Caption=Keep these\r\n"
                   "LabelNote1.Items[1].Caption=Second\r\n"
                   "ImageNote1.Hint=never read\r\n"
                   "mmo.Caption=never read\r\n"
                   "lblTotal.Caption=\r\n");
  std::vector<std::wstring> nodes(53, L"node");
  nodes[0] = L"Internet Explorer";
  nodes[30] = L"\"Start Menu\" Run History";
  TFakeComponent form(L"FormMain", TTextRule::None, {L"Quorvix"});
  TFakeComponent label(L"Label1", TTextRule::Caption, {L"Privacy Sweep"});
  TFakeComponent total(L"lblTotal", TTextRule::Caption, {L"old"});
  TFakeComponent tree(L"RzCheckTree1", TTextRule::Items, nodes);
  TFakeComponent list(L"ListViewKeep", TTextRule::Columns, {L"Cookies to Keep"});
  TFakeComponent note(L"LabelNote1", TTextRule::Items, {L"First", L"Two"});
  TFakeComponent image(L"ImageNote1", TTextRule::Hint, {L"hint"}, false);
  TFakeComponent memo(L"mmo", TTextRule::None, {L"memo"});
  TFakeComponent unnamed(L"", TTextRule::Caption, {L"x"});
  form.owned = {&label, &total, &tree, &list, &note, &image, &memo};

  TLanguage lang(L"Velmora", dir.Path());
  lang.ApplyToForm(form);
  lang.ApplyToForm(unnamed);
  EXPECT_EQ(form.texts[0], L"Quorvix Deluxe");
  EXPECT_EQ(label.texts[0], L"Sweep");
  EXPECT_EQ(total.texts[0], L"");
  EXPECT_EQ(tree.texts[0], L"IE");
  EXPECT_EQ(tree.texts[30], L"Run History");
  EXPECT_EQ(tree.texts[1], L"node");
  EXPECT_EQ(list.texts[0], L"Keep these");
  EXPECT_EQ(note.texts, (std::vector<std::wstring>{L"First", L"Second"}));
  EXPECT_EQ(image.texts[0], L"hint");
  EXPECT_EQ(memo.texts[0], L"memo");
  EXPECT_EQ(unnamed.texts[0], L"x");
}

} // namespace
