#include "BrowserProfiles.h"

#include "Fixtures.h"

namespace velmora::test {

std::wstring Backslashed(std::wstring path) {
  for (wchar_t &c : path)
    if (c == L'/')
      c = L'\\';
  return path;
}

BrowserTest::BrowserTest() {
  for (const std::wstring &folder :
       {roaming + L"\\Mozilla", local + L"\\Mozilla", local + L"\\Google", roaming + L"\\Opera",
        roaming + L"\\Apple Computer", local + L"\\Apple Computer"})
    OwnPath(folder);
  ::DeleteFileW(RepairLogPath().c_str());
}

BrowserTest::~BrowserTest() { ::DeleteFileW(RepairLogPath().c_str()); }

void BrowserTest::PlantFirefox() {
  const std::wstring profile = Backslashed(firefox), localProfile = Backslashed(firefoxLocal);
  WriteFileBytes(roaming + L"\\Mozilla\\Firefox\\profiles.ini",
                 "[General]\r\nStartWithLastProfile=1\r\n\r\n[Profile0]\r\nName=default\r\n"
                 "IsRelative=1\r\nPath=Profiles/t1.default\r\n");
  WriteFileBytes(profile + L"\\cookies.txt", std::string(10, 'c'));
  WriteFileBytes(profile + L"\\downloads.rdf", std::string(20, 'd'));
  WriteFileBytes(profile + L"\\history.dat", std::string(30, 'h'));
  WriteFileBytes(profile + L"\\formhistory.dat", std::string(40, 'f'));
  WriteFileBytes(profile + L"\\downloads.sqlite", std::string(1025, 'D'));
  WriteFileBytes(profile + L"\\formhistory.sqlite", std::string(2048, 'F'));
  MakeFirefoxCookies(profile + L"\\cookies.sqlite", {".example.com", "www.mozilla.org"});
  MakeFirefoxPlaces(profile + L"\\places.sqlite");
  WriteFileBytes(localProfile + L"\\Cache\\_CACHE_001_", std::string(300, 'x'));
  WriteFileBytes(localProfile + L"\\OfflineCache\\index.sqlite", std::string(400, 'o'));
}

void BrowserTest::PlantChrome() {
  MakeFolders(chrome);
  MakeChromeCookies(chrome + L"\\Cookies", {".google.com", "mail.example"});
  MakeChromeHistoryDb(chrome + L"\\History");
  MakeChromeWebDataDb(chrome + L"\\Web Data");
  MakeChromeThumbnailsDb(chrome + L"\\Thumbnails");
  WriteFileBytes(chrome + L"\\Bookmarks", ChromeStandardBookmarks());
  WriteFileBytes(chrome + L"\\Archived History", std::string(100, 'a'));
  WriteFileBytes(chrome + L"\\History Index 2009-05", std::string(200, 'i'));
  WriteFileBytes(chrome + L"\\Cache\\data_0", std::string(500, 'x'));
}

void BrowserTest::PlantOpera() {
  int size = 11;
  for (const wchar_t *name :
       {L"\\profile\\cookies4.dat", L"\\profile\\global.dat", L"\\profile\\opera.dir",
        L"\\profile\\download.dat", L"\\profile\\vlink4.dat", L"\\profile\\sessions\\autosave.win",
        L"\\profile\\cache4\\sub\\opr00001.tmp"})
    WriteFileBytes(opera + name, std::string(size++, 'o'));
}

void BrowserTest::PlantSafari() {
  WriteFileBytes(safari + L"\\Cookies\\Cookies.plist", std::string(21, 's'));
  WriteFileBytes(safariLocal + L"\\Cache.db", std::string(22, 's'));
  WriteFileBytes(safari + L"\\History.plist", std::string(23, 's'));
  WriteFileBytes(safari + L"\\Downloads.plist", std::string(24, 's'));
  WriteFileBytes(safari + L"\\Form Values.plist", std::string(25, 's'));
}

std::vector<std::wstring> BrowserTest::LinesOf(int position) const {
  switch (position) {
  case 7:
    return {firefox + L"\\cookies.txt   10 bytes", L"FireFox 3 Cookie: example.com",
            L"FireFox 3 Cookie: www.mozilla.org"};
  case 8:
    return {firefox + L"\\downloads.rdf   20 bytes", firefox + L"\\downloads.sqlite   1.00 KB"};
  case 9:
    return {firefox + L"\\history.dat   30 bytes"};
  case 10:
    return {firefox + L"\\formhistory.dat   40 bytes", firefox + L"\\formhistory.sqlite   2.00 KB"};
  case 11:
    return {firefoxLocal + L"\\Cache\\_CACHE_001_   300 bytes",
            firefoxLocal + L"\\OfflineCache\\index.sqlite   400 bytes"};
  case 12:
    return {L"Google Chrome Cookie: google.com", L"Google Chrome Cookie: mail.example"};
  case 14:
    return {chrome + L"\\Archived History   100 bytes",
            chrome + L"\\History Index 2009-05   200 bytes"};
  case 16:
    return {chrome + L"\\Cache\\data_0   500 bytes"};
  case 17:
    return {opera + L"\\profile\\cookies4.dat   11 bytes"};
  case 18:
    return {opera + L"\\profile\\global.dat   12 bytes", opera + L"\\profile\\opera.dir   13 bytes",
            opera + L"\\profile\\download.dat   14 bytes",
            opera + L"\\profile\\vlink4.dat   15 bytes",
            opera + L"\\profile\\sessions\\autosave.win   16 bytes"};
  case 19:
    return {opera + L"\\profile\\cache4\\sub\\opr00001.tmp   17 bytes"};
  case 20:
    return {safari + L"\\Cookies\\Cookies.plist   21 bytes"};
  case 21:
    return {safariLocal + L"\\Cache.db   22 bytes"};
  case 22:
    return {safari + L"\\History.plist   23 bytes", safari + L"\\Downloads.plist   24 bytes"};
  case 23:
    return {safari + L"\\Form Values.plist   25 bytes"};
  default: // 13 and 15 only remember a database
    return {};
  }
}

int BrowserTest::ItemsOf(int position) const {
  const int lines = static_cast<int>(LinesOf(position).size());
  // The cookie hosts of one database are one item.
  return position == 7 ? 2 : position == 12 ? 1 : lines;
}

std::vector<std::wstring> BrowserTest::Details() const {
  const size_t frame = scanner.FirefoxRunning ? 7 : 6;
  if (report.lines.size() < frame)
    return {};
  return std::vector<std::wstring>(report.lines.begin() + frame, report.lines.end());
}

std::vector<std::wstring> BrowserTest::PlantedFileTargets() const {
  std::vector<std::wstring> files;
  for (int p = 7; p <= 23; ++p)
    for (const std::wstring &line : LinesOf(p)) {
      const size_t gap = line.find(L"   ");
      if (line.size() > 1 && line[1] == L':' && gap != std::wstring::npos)
        files.push_back(line.substr(0, gap));
    }
  return files;
}

} // namespace velmora::test
