#pragma once
// Browser profiles planted where Firefox, Chrome, Opera and Safari keep
// them for the current user of the private prefix, with real databases of
// the browsers' schemas; everything is removed again with the test.
#include "ScannerFixture.h"

#include <string>
#include <vector>

namespace velmora::test {

// The path with every '/' turned into a backslash.
std::wstring Backslashed(std::wstring path);

class BrowserTest : public ScannerTest {
protected:
  BrowserTest();
  ~BrowserTest() override;

  // Firefox: profiles.ini names Profile0 "Profiles/t1.default" (Firefox
  // writes a forward slash), holding a Firefox 2 profile's files and a
  // Firefox 3 profile's databases; Cache and OfflineCache in the local folder.
  void PlantFirefox();
  // Chrome's "User Data\Default": Cookies, History, Web Data, Thumbnails,
  // Bookmarks, Archived History, one history index file and a cache file.
  void PlantChrome();
  // Opera's folder holding one profile folder with its files and cache4.
  void PlantOpera();
  // Safari's property lists and its cache database.
  void PlantSafari();

  // Detail lines the analysis gives for one selected position (7-23) on
  // the planted profiles, and the number of items they count.
  std::vector<std::wstring> LinesOf(int position) const;
  int ItemsOf(int position) const;
  // The report lines after the frame (title, total, separators, heading).
  std::vector<std::wstring> Details() const;
  // Every planted path that the cleaning deletes as a file.
  std::vector<std::wstring> PlantedFileTargets() const;

  const std::wstring roaming = scanner.Locations.AppDataPath;
  const std::wstring local = scanner.Locations.FolderOfKind(fkLocalAppData);
  // As the collector builds it (with the slash of profiles.ini) ...
  const std::wstring firefox = roaming + L"\\Mozilla\\Firefox\\Profiles/t1.default";
  const std::wstring firefoxLocal = local + L"\\Mozilla\\Firefox\\Profiles/t1.default";
  const std::wstring chrome = local + L"\\Google\\Chrome\\User Data\\Default";
  const std::wstring opera = roaming + L"\\Opera\\Opera";
  const std::wstring safari = roaming + L"\\Apple Computer\\Safari";
  const std::wstring safariLocal = local + L"\\Apple Computer\\Safari";
};

} // namespace velmora::test
