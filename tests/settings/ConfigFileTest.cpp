#include "settings/ConfigFile.h"

#include "TestSupport.h"
#include "base/Error.h"
#include "base/Text.h"
#include "system/AppFrame_New.h"

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::test;

namespace {

class ConfigFileTest : public ::testing::Test {
protected:
  TScratchFolder dir{L"config"};
  std::wstring path = dir / L"VL_Config.ini";
  TConfigFile config{path};
};

TEST_F(ConfigFileTest, MissingFileGivesDefaultsAndTheFirstWriteCreatesIt) {
  EXPECT_EQ(config.ReadString(L"Velmora", L"pzinfo", L"dflt"), L"dflt");
  EXPECT_TRUE(config.ReadBool(L"Junk File Removal", L"Recycle", true));
  EXPECT_EQ(config.ReadInteger(L"Junk File Removal", L"RemoveDay", 7), 7);
  EXPECT_TRUE(config.ReadExactOne(L"Junk File Removal", L"TempFile"));
  EXPECT_FALSE(config.SectionExists(L"Cookie"));
  config.DeleteKey(L"Cookie", L"absent"); // no error, no file
  EXPECT_FALSE(PathExists(path));

  config.WriteString(L"Junk File Removal", L"Scannow", L"0");
  EXPECT_EQ(ReadFileBytes(path), "[Junk File Removal]\r\nScannow=0\r\n");
}

TEST_F(ConfigFileTest, BooleanAndExactOneRules) {
  const struct {
    const char *text;
    bool asBool; // default true
    bool exactOne;
  } cases[] = {
      {"1", true, true},
      {"0", false, false},
      {"7", true, false},
      {"-1", true, false},
      {"0x0", false, false},
      {"0x1F", true, false},
      {"0X10", true, false},
      {"0x", true, false},
      {"true", true, false},
      {"", true, false},
      {" 1 ", true, true} /* the profile functions trim */,
      {"01", true, false},
  };
  for (const auto &c : cases) {
    WriteFileBytes(path, std::string("[s]\r\nk=") + c.text + "\r\n");
    EXPECT_EQ(config.ReadBool(L"s", L"k", true), c.asBool) << c.text;
    EXPECT_EQ(config.ReadExactOne(L"s", L"k"), c.exactOne) << c.text;
  }
  WriteFileBytes(path, "[s]\r\nzero=0x0\r\nbad=true\r\n");
  EXPECT_FALSE(config.ReadBool(L"s", L"zero", true));
  EXPECT_FALSE(config.ReadBool(L"s", L"bad", false)); // not a number: the default
}

TEST_F(ConfigFileTest, IntegersFallBackToTheDefault) {
  WriteFileBytes(path, "[s]\r\nthree=3\r\nhex=0x10\r\nword=week\r\nhuge=99999999999\r\n");
  EXPECT_EQ(config.ReadInteger(L"s", L"three", 7), 3);
  EXPECT_EQ(config.ReadInteger(L"s", L"hex", 7), 16);
  EXPECT_EQ(config.ReadInteger(L"s", L"word", 7), 7);
  EXPECT_EQ(config.ReadInteger(L"s", L"huge", 7), 7);
}

TEST_F(ConfigFileTest, NamesIgnoreCaseFirstKeyWinsSectionsInFileOrder) {
  WriteFileBytes(path, "[Cookie]\r\nzeta.com/=1\r\nalpha.com/=1\r\nZETA.com/=2\r\nmid.org/=1\r\n");
  EXPECT_EQ(config.ReadString(L"COOKIE", L"Zeta.Com/", L""), L"1");
  EXPECT_TRUE(config.SectionExists(L"cookie"));
  const std::vector<std::wstring> values = config.ReadSectionValues(L"Cookie");
  ASSERT_GE(values.size(), 3u);
  EXPECT_EQ(values[0], L"zeta.com/=1");
  EXPECT_EQ(values[1], L"alpha.com/=1");
  EXPECT_EQ(values.back(), L"mid.org/=1");

  config.DeleteKey(L"Cookie", L"alpha.com/");
  EXPECT_EQ(config.ReadString(L"Cookie", L"alpha.com/", L"gone"), L"gone");
}

TEST_F(ConfigFileTest, EmptiedSectionCountsAsNoSection) {
  config.WriteString(L"Cookie", L"site.com/", L"1");
  EXPECT_TRUE(config.SectionExists(L"Cookie"));
  config.DeleteKey(L"Cookie", L"site.com/");
  EXPECT_FALSE(config.SectionExists(L"Cookie"));
  EXPECT_TRUE(config.ReadSectionValues(L"Cookie").empty());
}

TEST_F(ConfigFileTest, ValuesAreReadThroughA2048CharacterBuffer) {
  const std::string longValue(3000, 'x');
  WriteFileBytes(path, "[s]\r\nk=" + longValue + "\r\n");
  EXPECT_EQ(config.ReadString(L"s", L"k", L""), std::wstring(2047, L'x'));
}

TEST_F(ConfigFileTest, FailedWriteNamesTheFile) {
  config.WriteBool(L"Junk File Removal", L"Recycle", true);
  TConfigFile unwritable(dir / L"no such folder\\VL_Config.ini");
  try {
    unwritable.WriteBool(L"Junk File Removal", L"Recycle", false);
    FAIL() << "no error";
  } catch (const EAppError &e) {
    EXPECT_EQ(e.Message(), L"Unable to write to " + unwritable.FileName());
  }
  // Reads of an unwritable place still give the defaults.
  EXPECT_TRUE(unwritable.ReadBool(L"Junk File Removal", L"Recycle", true));
  EXPECT_EQ(config.ReadString(L"Junk File Removal", L"Recycle", L""), L"1");
}

TEST(ConfigLocationTest, UnderTheApplicationDataOfAllUsers) {
  TAppFrame frame;
  EXPECT_EQ(ConfigFilePath(frame), frame.CommonAppDataPath + L"\\Quorvix\\VL_Config.ini");
  EXPECT_EQ(ConfigFolder(frame), frame.CommonAppDataPath + L"\\Quorvix\\");
}

TEST(LanguageChoiceTest, CompanionFileOrEnglish) {
  TScratchFolder dir(L"companion");
  EXPECT_EQ(ReadLanguageChoiceFrom(dir / L"missing.ini"), L"English");
  WriteFileBytes(dir / L"config.ini", "[setting]\r\nLanguage=Deutsch\r\n");
  EXPECT_EQ(ReadLanguageChoiceFrom(dir / L"config.ini"), L"Deutsch");
  WriteFileBytes(dir / L"config.ini", "[setting]\r\nOther=1\r\n");
  EXPECT_EQ(ReadLanguageChoiceFrom(dir / L"config.ini"), L"English");

  TAppFrame frame;
  const std::wstring companion = frame.CommonAppDataPath + L"\\Kavrel\\Kavrel Bastion\\config.ini";
  WriteFileBytes(companion, "[setting]\r\nLanguage=French\r\n");
  EXPECT_EQ(ReadLanguageChoice(), L"French");
  RemoveTree(frame.CommonAppDataPath + L"\\Kavrel");
  EXPECT_EQ(ReadLanguageChoice(), L"English");
}

} // namespace
