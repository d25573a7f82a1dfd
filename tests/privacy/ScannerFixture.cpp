#include "ScannerFixture.h"

#include "base/Text.h"

namespace velmora::test {

std::wstring SelectionOf(std::initializer_list<int> positions) {
  std::wstring s(42, L'0');
  for (int p : positions)
    s[p - 1] = L'1';
  return s;
}

std::vector<std::wstring> ReportFrame(const std::wstring &items, const std::wstring &size,
                                      bool firefoxNote) {
  const std::wstring separator(90, L'-');
  std::vector<std::wstring> lines = {L"Privacy Analysis Report",
                                     L"Total: " + items + L" items to be removed"};
  if (firefoxNote)
    lines.push_back(L"Note: Cannot erase privacy of Firefox while it is running.");
  lines.insert(lines.end(), {separator, L"Total: " + size + L" files to be removed",
                             L"Details of items to be removed.", separator});
  return lines;
}

TFakeProcess::TFakeProcess(const TScratchFolder &folder, const std::wstring &exeName) {
  const std::wstring exe = folder / exeName;
  ::CopyFileW((ProgramFolder() + L"privacy_sleeper.exe").c_str(), exe.c_str(), FALSE);
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  std::wstring command = L"\"" + exe + L"\"";
  if (::CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &si, &pi)) {
    process_.Reset(pi.hProcess);
    ::CloseHandle(pi.hThread);
  }
}

TFakeProcess::~TFakeProcess() {
  if (process_) {
    ::TerminateProcess(process_.Get(), 0);
    ::WaitForSingleObject(process_.Get(), 5000);
  }
}

ScannerTest::ScannerTest()
    : scanner(
          DefaultPrivacyReportTexts(),
          [this] {
            ++pumps;
            if (onPump)
              onPump();
          },
          configFile) {
  scanner.PauseSteps = false;
}

ScannerTest::~ScannerTest() {
  for (auto it = ownedPaths_.rbegin(); it != ownedPaths_.rend(); ++it)
    RemoveTree(*it);
  for (const std::wstring &key : ownedKeys_)
    RegDeleteTree(key);
}

void ScannerTest::Analyze(const std::wstring &selection) {
  scanner.AnalyzeSelection(progress, note, report, selection, bar);
}

void ScannerTest::OwnPath(const std::wstring &path) {
  RemoveTree(path);
  ownedPaths_.push_back(path);
}

void ScannerTest::OwnKey(const std::wstring &key) {
  RegDeleteTree(key);
  ownedKeys_.push_back(key);
}

void ScannerTest::PlantFile(const std::wstring &path, size_t bytes) {
  OwnPath(path);
  WriteFileBytes(path, std::string(bytes, 'x'));
}

void ScannerTest::PlantFolder(const std::wstring &path) {
  OwnPath(path);
  MakeFolders(path);
}

void ScannerTest::PlantString(const std::wstring &key, const std::wstring &name,
                              const std::wstring &value) {
  ownedKeys_.push_back(key);
  RegWriteString(key, name, value);
}

void ScannerTest::PlantDword(const std::wstring &key, const std::wstring &name, DWORD value) {
  ownedKeys_.push_back(key);
  RegWriteDword(key, name, value);
}

void ScannerTest::PlantKey(const std::wstring &key) {
  ownedKeys_.push_back(key);
  RegCreateKey(key);
}

} // namespace velmora::test
