// Language packs that are too large or not text: a defined outcome at
// reading, at the scan and at start-up.
#include "settings/ExtIniFiles.h"
#include "settings/PLanguage.h"

#include "TestSupport.h"
#include "base/Error.h"
#include "base/Text.h"

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::test;

TEST(PackReading, LimitsAreCheckedAsTheLinesAreRead) {
  const std::string line(kMaxPackLine - 2, 'v'); // "k=" + value: exactly the longest line
  const struct {
    const char *name;
    std::string bytes;
    bool readable;
  } cases[] = {
      {"a plain pack", "[Main]\r\nk=v\r\n", true},
      {"a tab inside a line", "[Main]\r\nk=\tv\r\n", true},
      {"the longest line", "[Main]\r\nk=" + line + "\r\n", true},
      {"one character more", "[Main]\r\nk=" + line + "v\r\n", false},
      {"the longest line last, without a line end", "[Main]\r\nk=" + line, true},
      {"exactly the size limit", "[Main]\r\n" + std::string(kMaxPackBytes - 8, '\n'), true},
      {"one byte over the size limit", "[Main]\r\n" + std::string(kMaxPackBytes - 7, '\n'), false},
      {"a NUL in a line", std::string("[Main]\r\nk=a\0b\r\n", 14), false},
      {"an escape character", "[Main]\r\nk=\x1B[31m\r\n", false},
      {"UTF-16 with a control character", std::string("\xFF\xFE[\0\x01\0]\0", 8), false},
      {"empty", "", true},
  };
  TScratchFolder dir(L"pack-limits");
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    WriteFileBytes(dir / L"p.lng", c.bytes);
    if (c.readable) {
      EXPECT_NO_THROW(ReadPackLines(dir / L"p.lng"));
    } else {
      EXPECT_THROW(ReadPackLines(dir / L"p.lng"), EAppError);
    }
  }
}

TEST(PackReading, AFailedLoadKeepsTheContentLoadedBefore) {
  TScratchFolder dir(L"pack-keep");
  WriteFileBytes(dir / L"good.lng", "[Main]\r\nk=good\r\n");
  WriteFileBytes(dir / L"bad.lng", std::string("[Main]\r\nk=\0\r\n", 12));
  TExtIniFile ini;
  ini.LoadFromFile(dir / L"good.lng");
  EXPECT_THROW(ini.LoadFromFile(dir / L"bad.lng"), EAppError);
  EXPECT_EQ(ini.ReadString(L"Main", L"k", L""), L"good");
}

TEST(PackScan, AnUnusablePackIsListedAndSkipped) {
  TScratchFolder program(L"pack-scan");
  const std::wstring dir = program / L"Language\\";
  MakeFolders(dir);
  WriteFileBytes(dir + L"English.lng", "[Main]\r\nDisplayName=English\r\n[Velmora_M]\r\nx=en\r\n");
  WriteFileBytes(dir + L"Huge.lng",
                 "[Main]\r\nDisplayName=Huge\r\n" + std::string(kMaxPackBytes, '\n'));
  TLanguage lang(L"Velmora", dir);
  ASSERT_EQ(lang.Names().size(), 2u);
  for (size_t i = 0; i < 2; ++i) {
    const bool huge = lang.Names()[i] == L"Huge";
    EXPECT_EQ(lang.Usable()[i], !huge) << i;
    EXPECT_EQ(lang.DisplayNames()[i], huge ? L"Huge" : L"English") << i;
  }
  // The start-up choice of the unusable pack gives English.
  auto startup = CreateStartupLanguage(program.Path(), L"Huge");
  EXPECT_EQ(startup->LookupText(L"x", L"built-in"), L"en");
  EXPECT_EQ(startup->Names()[startup->CurrentIndex()], L"English");
}

TEST(PackScan, WithoutAUsableChoiceOrEnglishStartUpUsesTheBuiltInTexts) {
  TScratchFolder program(L"pack-builtin");
  MakeFolders(program / L"Language");
  WriteFileBytes(program / L"Language\\Deutsch.lng", "[Velmora_M]\r\nx=de\r\n");
  const std::wstring exeFolder = program.Path();
  // The scan leaves Deutsch loaded; start-up must not keep a pack nobody chose.
  EXPECT_EQ(CreateStartupLanguage(exeFolder, L"Klingon")->LookupText(L"x", L"built-in"),
            L"built-in");
  auto chosen = CreateStartupLanguage(exeFolder, L"deutsch");
  EXPECT_EQ(chosen->LookupText(L"x", L"built-in"), L"de");
}
