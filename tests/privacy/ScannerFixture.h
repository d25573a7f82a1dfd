#pragma once
// What the privacy tests share: a scanner with the default report texts, a
// scratch configuration file, recording screen objects, and planting of
// traces that are removed again afterwards.
#include "privacy/PrivacyScanner.h"

#include "base/Handles.h"

#include "FakeScreen.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace velmora::test {

// A selection string with '1' at the given positions (1-based).
std::wstring SelectionOf(std::initializer_list<int> positions);

// The report lines the analysis writes before the first detail line.
std::vector<std::wstring> ReportFrame(const std::wstring &items, const std::wstring &size,
                                      bool firefoxNote = false);

// A stand-in browser: a copy of privacy_sleeper.exe started under the
// browser's executable name from the given folder, ended with the object.
class TFakeProcess {
public:
  TFakeProcess(const TScratchFolder &folder, const std::wstring &exeName);
  ~TFakeProcess();
  TFakeProcess(const TFakeProcess &) = delete;
  TFakeProcess &operator=(const TFakeProcess &) = delete;
  bool Started() const { return process_.Valid(); }

private:
  UniqueKernelHandle process_;
};

class ScannerTest : public ::testing::Test {
protected:
  ScannerTest();
  ~ScannerTest() override;

  void Analyze(const std::wstring &selection);
  // Files, folders and HKEY_CURRENT_USER keys planted by the test, removed
  // at its end (and before it, in case an earlier run left them).
  void PlantFile(const std::wstring &path, size_t bytes);
  void PlantFolder(const std::wstring &path);
  void PlantString(const std::wstring &key, const std::wstring &name, const std::wstring &value);
  void PlantDword(const std::wstring &key, const std::wstring &name, DWORD value);
  void PlantKey(const std::wstring &key);
  // Forgets the key at the end of the test (removes it now as well).
  void OwnKey(const std::wstring &key);
  void OwnPath(const std::wstring &path);

  TScratchFolder scratch{L"privacy"};
  std::wstring configFile = scratch / L"VL_Config.ini";
  int pumps = 0;
  std::function<void()> onPump; // runs inside the message pump
  TPrivacyScanner scanner;
  TRecordingLabel progress, note;
  TRecordingReport report;
  TRecordingBar bar;

private:
  std::vector<std::wstring> ownedPaths_, ownedKeys_;
};

} // namespace velmora::test
