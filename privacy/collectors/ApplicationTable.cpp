#include "privacy/collectors/ApplicationTable.h"

namespace velmora::privacy {

namespace {

using K = TLocationKind;
using B = TPathBase;
using TLocations = std::vector<TAppLocation>;

TAppLocation AppFolder(const wchar_t *path) { return {K::FolderOneLevel, B::AppData, path}; }
TAppLocation AppTree(const wchar_t *path) { return {K::FolderTree, B::AppData, path}; }
TAppLocation AppFile(const wchar_t *path) { return {K::File, B::AppData, path}; }
TAppLocation DriveFolder(const wchar_t *path) { return {K::FolderOneLevel, B::SystemDrive, path}; }
TAppLocation DriveFile(const wchar_t *path) { return {K::File, B::SystemDrive, path}; }
TAppLocation Key(const std::wstring &path) { return {K::Key, B::Registry, path}; }
TAppLocation Value(const std::wstring &keyAndValue) { return {K::Value, B::Registry, keyAndValue}; }

// "name1" .. "nameN" as keys.
void AddKeys(TLocations &to, const std::wstring &keyPrefix, int count) {
  for (int i = 1; i <= count; ++i)
    to.push_back(Key(keyPrefix + std::to_wstring(i)));
}

// Values "name1" .. "nameN" of one key.
void AddValues(TLocations &to, const std::wstring &key, const std::wstring &namePrefix, int count) {
  for (int i = 1; i <= count; ++i)
    to.push_back(Value(key + L"|" + namePrefix + std::to_wstring(i)));
}

TLocations Office() {
  const std::wstring ms = L"\\Software\\Microsoft\\";
  const std::wstring o8 = ms + L"Office\\8.0\\", o10 = ms + L"Office\\10.0\\",
                     o11 = ms + L"Office\\11.0\\", o12 = ms + L"Office\\12.0\\";
  const std::wstring fp = ms + L"FrontPage\\Explorer\\FrontPage Explorer\\";
  const std::wstring find12 = o12 + L"Common\\Open Find\\";
  TLocations l = {
      AppFolder(L"\\Microsoft\\Office\\Recent"),
      Key(o8 + L"Excel\\Recent File List"),
      Key(o8 + L"Project\\Recent File List"),
      Key(o8 + L"PowerPoint\\Recent File List"),
      Key(o8 + L"PowerPoint\\Recent Folder List"),
      Key(o8 + L"Common\\Internet\\LocationOfComponents"),
      Key(o8 + L"Access\\Settings"),
      Key(o10 + L"PowerPoint\\Recent File List"),
      Key(o10 + L"Excel\\Recent Files"),
      Key(fp + L"Recent File List"),
      Key(fp + L"Recent Page List"),
      Key(fp + L"Recent Web List"),
      Key(o10 + L"Word\\Recent Templates"),
      Key(o10 + L"Access\\Settings"),
      Value(o10 + L"Common\\Internet|UseRWHlinkNavigation"),
      Key(o11 + L"Excel\\Recent Files"),
      Key(o11 + L"Common\\Open Find\\Microsoft Office Word\\Settings\\Save As\\File Name MRU"),
      Key(o11 + L"PowerPoint\\Recent File List"),
      Key(o11 + L"Publisher\\Recent File List"),
      Key(o11 + L"InfoPath\\Recent File List"),
      Key(o11 + L"Common\\Internet\\Server Cache"),
      Key(ms + L"MSPaper 11.0\\Persist File Name"),
      Key(ms + L"MSPaper 11.0\\Recent File List"),
      Value(o11 + L"Common\\Internet|UseRWHlinkNavigation"),
  };
  AddValues(l, o11 + L"Visio\\Application", L"LastFile", 8);
  l.insert(l.end(), {
                        Value(o11 + L"Outlook\\Contact|QuickFindMRU"),
                        Value(o11 + L"Outlook\\Contact|StripSearchMRU"),
                        Value(o11 + L"Outlook\\Preferences|LocationMRU"),
                        Key(find12 + L"Microsoft Office Word\\Settings\\Save As\\File Name MRU"),
                        Key(o12 + L"Word\\File MRU"),
                        Key(o12 + L"Excel\\File MRU"),
                        Key(o12 + L"PowerPoint\\File MRU"),
                        Key(find12 + L"Microsoft Office PowerPoint\\Settings\\Save As\\File Name"),
                        Key(find12 + L"Microsoft Office InfoPath\\Settings\\Open\\File Name MRU"),
                        Key(find12 + L"Microsoft Office InfoPath\\Settings\\Save As\\File Name "),
                        Key(find12 + L"Microsoft Office Excel\\Settings\\Save As\\File Name MRU"),
                        Key(find12 + L"Microsoft Office Publisher\\Settings\\Save As\\File Name"),
                        Key(o12 + L"Publisher\\Recent File List"),
                        Key(o12 + L"InfoPath\\Recent File List"),
                    });
  AddValues(l, o12 + L"Access\\Settings", L"MRU", 8);
  return l;
}

TLocations Real() {
  TLocations l = {
      AppFolder(L"\\Real\\RealPlayer\\History"),
      AppFolder(L"\\Real\\RealOne Player\\History"),
      AppFile(L"\\Real\\RealOne Player\\cookies.txt"),
      AppFile(L"\\Real\\RealOne Player\\ctd.dat"),
      AppFile(L"\\Real\\RealOne Player\\realplayer.ste"),
      AppFile(L"\\Real\\RealPlayer\\cookies.txt"),
      AppFile(L"\\Real\\RealPlayer\\ctd.dat"),
      AppFile(L"\\Real\\RealPlayer\\realplayer.ste"),
      DriveFile(L"\\Program Files\\Common Files\\Real\\Update_OB\\RealPlayer-log.txt"),
  };
  const std::wstring p6 = L"\\Software\\RealNetworks\\RealPlayer\\6.0\\Preferences\\";
  const std::wstring p8 = L"\\Software\\RealNetworks\\RealPlayer\\8.0\\Preferences\\";
  AddKeys(l, p6 + L"MostRecentClips", 8);
  AddKeys(l, p6 + L"MostRecentSkins", 8);
  l.push_back(Key(p6 + L"LastOpenFileDir"));
  AddKeys(l, p6 + L"OpenLocationClips", 7);
  AddKeys(l, p8 + L"MostRecentClips", 8);
  l.push_back(Key(p8 + L"LastOpenFileDir"));
  l.push_back(Key(p6 + L"ResumePlayback"));
  l.push_back(Key(p8 + L"ResumePlayback"));
  return l;
}

TLocations Flash() {
  TLocations l = {AppTree(L"\\Macromedia\\Flash Player")};
  for (int v = 4; v <= 8; ++v)
    l.push_back(
        Key(L"\\Software\\Macromedia\\Flash " + std::to_wstring(v) + L"\\Recent File List"));
  return l;
}

TLocations WinZip() {
  const std::wstring wz = L"\\Software\\Nico Mak Computing\\WinZip\\";
  TLocations l = {Key(wz + L"filemenu"), Key(wz + L"extract"), Key(wz + L"rrs\\Opened")};
  for (const wchar_t *name :
       {L"DefDir", L"ExtractTo", L"gzAddDir", L"zDefDir", L"AddDir", L"gzExtractTo"})
    l.push_back(Value(wz + L"directories|" + name));
  return l;
}

TLocations SevenZip() {
  TLocations l = {Key(L"\\SOFTWARE\\7-ZIP\\Compression\\ArcHistory"),
                  Key(L"\\SOFTWARE\\7-ZIP\\Extraction\\PathHistory")};
  for (const wchar_t *name : {L"CopyHistory", L"FolderHistory", L"PanelPath0"})
    l.push_back(Value(std::wstring(L"\\Software\\7-Zip\\FM|") + name));
  return l;
}

std::vector<TAppRow> BuildTable() {
  const std::wstring delphi = L"\\Software\\Borland\\Delphi\\";
  const std::wstring reader = L"\\Software\\Adobe\\Acrobat Reader\\";
  const std::wstring photoshop = L"\\Software\\Adobe\\Photoshop\\";
  const std::wstring getright = L"\\Software\\Headlight\\GetRight\\";
  const std::wstring winrar = L"\\Software\\WinRAR\\";
  return {
      {L"office", L"", Office()},
      {L"vb",
       L"Visual Basic",
       {Key(L"\\Software\\Microsoft\\Visual Basic\\5.0\\RecentFiles"),
        Key(L"\\Software\\Microsoft\\Visual Basic\\6.0\\RecentFiles")}},
      {L"delphi",
       L"Delphi",
       {Key(delphi + L"5.0\\Closed Files"), Key(delphi + L"5.0\\Closed Projects"),
        Key(delphi + L"6.0\\Closed Files"), Key(delphi + L"6.0\\Closed Projects"),
        Key(delphi + L"7.0\\Closed Files"), Key(delphi + L"7.0\\Closed Projects")}},
      {L"reader",
       L"Acrobat Reader",
       {AppTree(L"\\Adobe\\Acrobat\\8.0\\Cache"), Key(reader + L"5.0\\AVGeneral\\cRecentFiles"),
        Key(reader + L"6.0\\AVGeneral\\cRecentFiles"),
        Key(reader + L"7.0\\AVGeneral\\cRecentFiles"),
        Key(reader + L"8.0\\AVGeneral\\cRecentFiles")}},
      {L"photoshop",
       L"Photoshop",
       {Key(photoshop + L"6.0\\VisitedDirs"), Key(photoshop + L"7.0\\VisitedDirs"),
        Key(photoshop + L"8.0\\VisitedDirs"),
        Key(L"\\Software\\Adobe\\MediaBrowser\\MRU\\Photoshop\\FileList")}},
      {L"flash", L"Flash", Flash()},
      {L"media",
       L"MediaPlayer",
       {Key(L"\\Software\\Microsoft\\MediaPlayer\\Player\\RecentFileList"),
        Key(L"\\Software\\Microsoft\\MediaPlayer\\Player\\RecentURLList")}},
      {L"real", L"", Real()},
      {L"quicktime",
       L"QuickTime",
       {Key(L"\\Software\\Apple Computer, Inc.\\QuickTime\\Recent Movies")}},
      {L"getright",
       L"GetRight",
       {Key(getright + L"MRU"), Key(getright + L"TypedURLS"), Key(getright + L"Recent File List")}},
      {L"plus",
       L"Download Accelerator",
       {DriveFolder(L"\\Program Files\\DAP\\Temp"), DriveFolder(L"\\Program Files\\DAP\\Log"),
        Key(L"\\SOFTWARE\\SpeedBit\\Download Accelerator\\FileList"),
        Key(L"\\Software\\SpeedBit\\Download Accelerator\\HistoryCombo"),
        Key(L"\\Software\\SpeedBit\\Download Accelerator\\ADS\\SecondMedia")}},
      {L"morpheus", L"Morpheus", {Key(L"\\Software\\Morpheus\\Morpheus\\Recent File List")}},
      {L"sun", L"Sun Java", {AppTree(L"\\Sun\\Java\\Deployment\\cache\\6.0")}},
      {L"google", L"Google Toolbar", {AppTree(L"\\Google\\Local Search History")}},
      {L"winrar",
       L"WinRAR",
       {Key(winrar + L"ArcHistory"), Key(winrar + L"DialogEditHistory\\Arcname"),
        Key(winrar + L"DialogEditHistory\\ExtrPath"), Value(winrar + L"General|LastFolder")}},
      {L"winzip", L"WinZip", WinZip()},
      {L"7zip", L"7-ZIP", SevenZip()},
  };
}

} // namespace

const std::vector<TAppRow> &ApplicationTable() {
  static const std::vector<TAppRow> table = BuildTable();
  return table;
}

} // namespace velmora::privacy
