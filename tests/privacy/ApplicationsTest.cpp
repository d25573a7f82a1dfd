// The application traces table: every row, every location, in order.
#include "ScannerFixture.h"

#include "base/Text.h"
#include "system/Routines.h"

#include <algorithm>

using namespace velmora;
using namespace velmora::test;

namespace {

// One expected location: 'K' key, 'V' "key|value", 'F' application-data
// folder (one level), 'T' application-data tree, 'P' application-data file,
// 'D' system-drive folder (one level), 'Q' system-drive file.
struct TExpected {
  wchar_t kind;
  std::wstring path;
};
struct TExpectedRow {
  int position;
  const wchar_t *caption; // nullptr: the first folder's full path, cut to 60
  std::vector<TExpected> locations;
};

void Series(std::vector<TExpected> &to, wchar_t kind, const std::wstring &prefix, int n,
            const std::wstring &suffix = L"") {
  for (int i = 1; i <= n; ++i)
    to.push_back({kind, prefix + std::to_wstring(i) + suffix});
}

std::vector<TExpectedRow> ExpectedRows() {
  const std::wstring ms = L"\\Software\\Microsoft\\", o12 = ms + L"Office\\12.0\\";
  const std::wstring find12 = o12 + L"Common\\Open Find\\Microsoft Office ";
  std::vector<TExpected> office = {
      {'F', L"\\Microsoft\\Office\\Recent"},
      {'K', ms + L"Office\\8.0\\Excel\\Recent File List"},
      {'K', ms + L"Office\\8.0\\Project\\Recent File List"},
      {'K', ms + L"Office\\8.0\\PowerPoint\\Recent File List"},
      {'K', ms + L"Office\\8.0\\PowerPoint\\Recent Folder List"},
      {'K', ms + L"Office\\8.0\\Common\\Internet\\LocationOfComponents"},
      {'K', ms + L"Office\\8.0\\Access\\Settings"},
      {'K', ms + L"Office\\10.0\\PowerPoint\\Recent File List"},
      {'K', ms + L"Office\\10.0\\Excel\\Recent Files"},
      {'K', ms + L"FrontPage\\Explorer\\FrontPage Explorer\\Recent File List"},
      {'K', ms + L"FrontPage\\Explorer\\FrontPage Explorer\\Recent Page List"},
      {'K', ms + L"FrontPage\\Explorer\\FrontPage Explorer\\Recent Web List"},
      {'K', ms + L"Office\\10.0\\Word\\Recent Templates"},
      {'K', ms + L"Office\\10.0\\Access\\Settings"},
      {'V', ms + L"Office\\10.0\\Common\\Internet|UseRWHlinkNavigation"},
      {'K', ms + L"Office\\11.0\\Excel\\Recent Files"},
      {'K', ms + L"Office\\11.0\\Common\\Open Find\\Microsoft Office Word\\Settings\\Save "
                 L"As\\File Name MRU"},
      {'K', ms + L"Office\\11.0\\PowerPoint\\Recent File List"},
      {'K', ms + L"Office\\11.0\\Publisher\\Recent File List"},
      {'K', ms + L"Office\\11.0\\InfoPath\\Recent File List"},
      {'K', ms + L"Office\\11.0\\Common\\Internet\\Server Cache"},
      {'K', ms + L"MSPaper 11.0\\Persist File Name"},
      {'K', ms + L"MSPaper 11.0\\Recent File List"},
      {'V', ms + L"Office\\11.0\\Common\\Internet|UseRWHlinkNavigation"},
  };
  Series(office, 'V', ms + L"Office\\11.0\\Visio\\Application|LastFile", 8);
  office.insert(office.end(), {
                                  {'V', ms + L"Office\\11.0\\Outlook\\Contact|QuickFindMRU"},
                                  {'V', ms + L"Office\\11.0\\Outlook\\Contact|StripSearchMRU"},
                                  {'V', ms + L"Office\\11.0\\Outlook\\Preferences|LocationMRU"},
                                  {'K', find12 + L"Word\\Settings\\Save As\\File Name MRU"},
                                  {'K', o12 + L"Word\\File MRU"},
                                  {'K', o12 + L"Excel\\File MRU"},
                                  {'K', o12 + L"PowerPoint\\File MRU"},
                                  {'K', find12 + L"PowerPoint\\Settings\\Save As\\File Name"},
                                  {'K', find12 + L"InfoPath\\Settings\\Open\\File Name MRU"},
                                  {'K', find12 + L"InfoPath\\Settings\\Save As\\File Name "},
                                  {'K', find12 + L"Excel\\Settings\\Save As\\File Name MRU"},
                                  {'K', find12 + L"Publisher\\Settings\\Save As\\File Name"},
                                  {'K', o12 + L"Publisher\\Recent File List"},
                                  {'K', o12 + L"InfoPath\\Recent File List"},
                              });
  Series(office, 'V', o12 + L"Access\\Settings|MRU", 8);

  const std::wstring rp = L"\\Software\\RealNetworks\\RealPlayer\\";
  std::vector<TExpected> real = {
      {'F', L"\\Real\\RealPlayer\\History"},
      {'F', L"\\Real\\RealOne Player\\History"},
      {'P', L"\\Real\\RealOne Player\\cookies.txt"},
      {'P', L"\\Real\\RealOne Player\\ctd.dat"},
      {'P', L"\\Real\\RealOne Player\\realplayer.ste"},
      {'P', L"\\Real\\RealPlayer\\cookies.txt"},
      {'P', L"\\Real\\RealPlayer\\ctd.dat"},
      {'P', L"\\Real\\RealPlayer\\realplayer.ste"},
      {'Q', L"\\Program Files\\Common Files\\Real\\Update_OB\\RealPlayer-log.txt"},
  };
  Series(real, 'K', rp + L"6.0\\Preferences\\MostRecentClips", 8);
  Series(real, 'K', rp + L"6.0\\Preferences\\MostRecentSkins", 8);
  real.push_back({'K', rp + L"6.0\\Preferences\\LastOpenFileDir"});
  Series(real, 'K', rp + L"6.0\\Preferences\\OpenLocationClips", 7);
  Series(real, 'K', rp + L"8.0\\Preferences\\MostRecentClips", 8);
  real.push_back({'K', rp + L"8.0\\Preferences\\LastOpenFileDir"});
  real.push_back({'K', rp + L"6.0\\Preferences\\ResumePlayback"});
  real.push_back({'K', rp + L"8.0\\Preferences\\ResumePlayback"});

  std::vector<TExpected> flash = {{'T', L"\\Macromedia\\Flash Player"}};
  Series(flash, 'K', L"\\Software\\Macromedia\\Flash ", 8, L"\\Recent File List");
  flash.erase(flash.begin() + 1, flash.begin() + 4); // Flash 4 to 8

  const std::wstring wz = L"\\Software\\Nico Mak Computing\\WinZip\\";
  const std::wstring ar = L"\\Software\\Adobe\\Acrobat Reader\\";
  const std::wstring dl = L"\\Software\\Borland\\Delphi\\";
  return {
      {26, nullptr, office},
      {27,
       L"Visual Basic",
       {{'K', ms + L"Visual Basic\\5.0\\RecentFiles"},
        {'K', ms + L"Visual Basic\\6.0\\RecentFiles"}}},
      {28,
       L"Delphi",
       {{'K', dl + L"5.0\\Closed Files"},
        {'K', dl + L"5.0\\Closed Projects"},
        {'K', dl + L"6.0\\Closed Files"},
        {'K', dl + L"6.0\\Closed Projects"},
        {'K', dl + L"7.0\\Closed Files"},
        {'K', dl + L"7.0\\Closed Projects"}}},
      {29,
       L"Acrobat Reader",
       {{'T', L"\\Adobe\\Acrobat\\8.0\\Cache"},
        {'K', ar + L"5.0\\AVGeneral\\cRecentFiles"},
        {'K', ar + L"6.0\\AVGeneral\\cRecentFiles"},
        {'K', ar + L"7.0\\AVGeneral\\cRecentFiles"},
        {'K', ar + L"8.0\\AVGeneral\\cRecentFiles"}}},
      {30,
       L"Photoshop",
       {{'K', L"\\Software\\Adobe\\Photoshop\\6.0\\VisitedDirs"},
        {'K', L"\\Software\\Adobe\\Photoshop\\7.0\\VisitedDirs"},
        {'K', L"\\Software\\Adobe\\Photoshop\\8.0\\VisitedDirs"},
        {'K', L"\\Software\\Adobe\\MediaBrowser\\MRU\\Photoshop\\FileList"}}},
      {31, L"Flash", flash},
      {32,
       L"MediaPlayer",
       {{'K', ms + L"MediaPlayer\\Player\\RecentFileList"},
        {'K', ms + L"MediaPlayer\\Player\\RecentURLList"}}},
      {33, nullptr, real},
      {34, L"QuickTime", {{'K', L"\\Software\\Apple Computer, Inc.\\QuickTime\\Recent Movies"}}},
      {35,
       L"GetRight",
       {{'K', L"\\Software\\Headlight\\GetRight\\MRU"},
        {'K', L"\\Software\\Headlight\\GetRight\\TypedURLS"},
        {'K', L"\\Software\\Headlight\\GetRight\\Recent File List"}}},
      {36,
       L"Download Accelerator",
       {{'D', L"\\Program Files\\DAP\\Temp"},
        {'D', L"\\Program Files\\DAP\\Log"},
        {'K', L"\\SOFTWARE\\SpeedBit\\Download Accelerator\\FileList"},
        {'K', L"\\Software\\SpeedBit\\Download Accelerator\\HistoryCombo"},
        {'K', L"\\Software\\SpeedBit\\Download Accelerator\\ADS\\SecondMedia"}}},
      {37, L"Morpheus", {{'K', L"\\Software\\Morpheus\\Morpheus\\Recent File List"}}},
      {38, L"Sun Java", {{'T', L"\\Sun\\Java\\Deployment\\cache\\6.0"}}},
      {39, L"Google Toolbar", {{'T', L"\\Google\\Local Search History"}}},
      {40,
       L"WinRAR",
       {{'K', L"\\Software\\WinRAR\\ArcHistory"},
        {'K', L"\\Software\\WinRAR\\DialogEditHistory\\Arcname"},
        {'K', L"\\Software\\WinRAR\\DialogEditHistory\\ExtrPath"},
        {'V', L"\\Software\\WinRAR\\General|LastFolder"}}},
      {41,
       L"WinZip",
       {{'K', wz + L"filemenu"},
        {'K', wz + L"extract"},
        {'K', wz + L"rrs\\Opened"},
        {'V', wz + L"directories|DefDir"},
        {'V', wz + L"directories|ExtractTo"},
        {'V', wz + L"directories|gzAddDir"},
        {'V', wz + L"directories|zDefDir"},
        {'V', wz + L"directories|AddDir"},
        {'V', wz + L"directories|gzExtractTo"}}},
      {42,
       L"7-ZIP",
       {{'K', L"\\SOFTWARE\\7-ZIP\\Compression\\ArcHistory"},
        {'K', L"\\SOFTWARE\\7-ZIP\\Extraction\\PathHistory"},
        {'V', L"\\Software\\7-Zip\\FM|CopyHistory"},
        {'V', L"\\Software\\7-Zip\\FM|FolderHistory"},
        {'V', L"\\Software\\7-Zip\\FM|PanelPath0"}}},
  };
}

class ApplicationsTest : public ScannerTest {
protected:
  ApplicationsTest() {
    for (const wchar_t *key :
         {L"Software\\Microsoft\\Office", L"Software\\Microsoft\\FrontPage",
          L"Software\\Microsoft\\MSPaper 11.0", L"Software\\Microsoft\\Visual Basic",
          L"Software\\Microsoft\\MediaPlayer", L"Software\\Borland", L"Software\\Adobe",
          L"Software\\Macromedia", L"Software\\RealNetworks", L"Software\\Apple Computer, Inc.",
          L"Software\\Headlight", L"Software\\SpeedBit", L"Software\\Morpheus", L"Software\\WinRAR",
          L"Software\\Nico Mak Computing", L"Software\\7-Zip"})
      OwnKey(key);
    for (const wchar_t *folder :
         {L"\\Microsoft\\Office", L"\\Adobe", L"\\Macromedia", L"\\Real", L"\\Sun", L"\\Google"})
      OwnPath(appData + folder);
    OwnPath(drive + L"\\Program Files\\DAP");
    OwnPath(drive + L"\\Program Files\\Common Files\\Real");
  }

  // Plants one trace at the location and returns the detail line and the
  // target it must give.
  std::pair<std::wstring, std::wstring> Plant(const TExpected &l, int n) {
    const std::wstring hkcu = L"HKEY_CURRENT_USER";
    switch (l.kind) {
    case 'K':
      RegWriteString(l.path.substr(1) + L"\\Sub", L"v", L"x"); // one entry for the whole key
      RegWriteString(l.path.substr(1), L"a", L"x");
      return {hkcu + l.path, hkcu + l.path};
    case 'V': {
      const size_t bar = l.path.find(L'|');
      const std::wstring key = l.path.substr(0, bar), name = l.path.substr(bar + 1);
      RegWriteString(key.substr(1), name, L"x");
      RegWriteString(key.substr(1), name + L"Other", L"x");
      return {hkcu + key + L"\\" + name, hkcu + key + L"/" + name};
    }
    default: {
      const std::wstring base = (l.kind == 'D' || l.kind == 'Q') ? drive : appData;
      std::wstring file = base + l.path;
      if (l.kind != 'P' && l.kind != 'Q')
        file += (l.kind == 'T' ? L"\\deep\\f" : L"\\f") + std::to_wstring(n) + L".dat";
      WriteFileBytes(file, std::string(static_cast<size_t>(n), 'x'));
      return {file + L"   " + std::to_wstring(n) + L" bytes", file};
    }
    }
  }

  const std::wstring appData = scanner.Locations.FolderOfKind(fkAppData);
  const std::wstring drive = SystemFolder().substr(0, 2);
};

TEST_F(ApplicationsTest, EveryRowRecordsEveryLocationInItsOrder) {
  ASSERT_FALSE(appData.empty());
  std::vector<std::wstring> lines, targets;
  int64_t files = 0, values = 0, bytes = 0;
  int n = 1;
  for (const TExpectedRow &row : ExpectedRows()) {
    for (const TExpected &l : row.locations) {
      auto [line, target] = Plant(l, n);
      lines.push_back(line);
      targets.push_back(target);
      if (l.kind == 'K' || l.kind == 'V') {
        ++values;
      } else {
        ++files;
        bytes += n;
      }
      ++n;
    }
  }
  std::wstring selection(42, L'0');
  for (int p = 26; p <= 42; ++p)
    selection[p - 1] = L'1';
  Analyze(selection);

  EXPECT_EQ(scanner.DetailLines, lines);
  EXPECT_EQ(scanner.Targets, targets);
  EXPECT_EQ(scanner.ItemCount, files);
  EXPECT_EQ(scanner.RegistryItemCount, values);
  EXPECT_EQ(scanner.TotalBytes, bytes);
  EXPECT_EQ(report.lines[1],
            L"Total: " + std::to_wstring(files + values) + L" items to be removed");
  EXPECT_EQ(values, 53 + 2 + 6 + 4 + 4 + 5 + 2 + 35 + 1 + 3 + 3 + 1 + 4 + 9 + 5);
}

TEST_F(ApplicationsTest, EachLeafSetsItsCaptionAlsoWithNothingFound) {
  for (const TExpectedRow &row : ExpectedRows()) {
    Analyze(SelectionOf({row.position}));
    const std::wstring caption =
        row.caption ? row.caption : (appData + row.locations.front().path).substr(0, 60);
    EXPECT_EQ(progress.caption, caption) << row.position;
    EXPECT_TRUE(scanner.Targets.empty()) << row.position;
  }
}

TEST_F(ApplicationsTest, RealWithOnlyOneCookieFileGivesExactlyThatFile) {
  const std::wstring cookies = appData + L"\\Real\\RealPlayer\\cookies.txt";
  WriteFileBytes(cookies, "abc");
  Analyze(SelectionOf({33}));
  EXPECT_EQ(scanner.DetailLines, std::vector<std::wstring>{cookies + L"   3 bytes"});
}

TEST_F(ApplicationsTest, OfficeRecentFolderIsListedOneLevelDeep) {
  const std::wstring recent = appData + L"\\Microsoft\\Office\\Recent\\";
  WriteFileBytes(recent + L"doc.lnk", "abcd");
  WriteFileBytes(recent + L"sub\\hidden.lnk", "abcd");
  Analyze(SelectionOf({26}));
  std::vector<std::wstring> targets = scanner.Targets;
  std::sort(targets.begin(), targets.end());
  EXPECT_EQ(targets, (std::vector<std::wstring>{recent + L"doc.lnk", recent + L"sub"}));
}

TEST_F(ApplicationsTest, OfficeSaveAsKeysEndingInFileNameMruAreNotAskedFor) {
  const std::wstring find12 =
      L"Software\\Microsoft\\Office\\12.0\\Common\\Open Find\\Microsoft Office ";
  RegWriteString(find12 + L"PowerPoint\\Settings\\Save As\\File Name MRU", L"a", L"x");
  RegWriteString(find12 + L"Publisher\\Settings\\Save As\\File Name MRU", L"a", L"x");
  RegWriteString(find12 + L"InfoPath\\Settings\\Save As\\File Name", L"a", L"x");
  RegWriteString(L"Software\\Microsoft\\Office\\11.0\\Outlook\\Contact", L"Other", L"x");
  Analyze(SelectionOf({26}));
  EXPECT_TRUE(scanner.Targets.empty());
}

} // namespace
