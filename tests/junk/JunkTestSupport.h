#pragma once
// Shared by the junk worker and removal tests: the junk settings written to
// the real configuration file, and an analysis run on a real worker thread
// driven by this thread's message pump.
#include "FakeScreen.h"
#include "PumpDispatcher.h"
#include "TestSupport.h"
#include "base/Text.h"
#include "junk/TempFileThread.h"
#include "settings/ConfigFile.h"
#include "system/AppFrame_New.h"
#include "system/Routines.h"

#include <memory>
#include <string>
#include <vector>

namespace velmora::test {

// The five report texts with their default wording.
inline std::vector<std::wstring> DefaultJunkTexts() {
  return {L"Temporary File Analysis Report", L"Total %d file(s) found.",
          L"Files size: %s (Approximate size)", L"Removing junk files...",
          L"Removing junk files (Secure Deletion)..."};
}

// Writes section "Junk File Removal" of the configuration file; the file
// as it was comes back when the object goes.
class TJunkConfig {
public:
  TJunkConfig(const wchar_t *tempFile, const wchar_t *ieCache, const wchar_t *recycle,
              int removeDay, bool secure = false)
      : path_(ConfigFilePath(TAppFrame())) {
    existed_ = PathExists(path_);
    if (existed_)
      original_ = ReadFileBytes(path_);
    MakeFolders(ExtractFolder(path_));
    TConfigFile config(path_);
    config.WriteString(cfg::kJunkSection, cfg::kTempFile, tempFile);
    config.WriteString(cfg::kJunkSection, cfg::kIeCache, ieCache);
    config.WriteString(cfg::kJunkSection, cfg::kRecycle, recycle);
    config.WriteString(cfg::kJunkSection, cfg::kRemoveDay, std::to_wstring(removeDay));
    config.WriteBool(cfg::kJunkSection, cfg::kSecureDeletion, secure);
  }
  ~TJunkConfig() {
    if (existed_)
      WriteFileBytes(path_, original_);
    else
      ::DeleteFileW(path_.c_str());
  }
  TJunkConfig(const TJunkConfig &) = delete;
  TJunkConfig &operator=(const TJunkConfig &) = delete;
  const std::wstring &Path() const { return path_; }

private:
  static std::wstring ExtractFolder(const std::wstring &p) { return p.substr(0, p.rfind(L'\\')); }
  std::wstring path_;
  bool existed_ = false;
  std::string original_;
};

// One analysis with recording controls. With skipIntro the stop request
// lands before the worker's first call is serviced, so it ends the intro
// only and the scan runs in full.
struct TJunkRun {
  TPumpDispatcher gui;
  TRecordingLabel label;
  TRecordingReport memo;
  TRecordingBar bar;
  std::unique_ptr<TempThread> worker;

  void Start(bool reportAll, bool skipIntro = true) {
    worker = std::make_unique<TempThread>(label, DefaultJunkTexts(), reportAll, memo, bar, gui);
    if (skipIntro)
      worker->StopScan();
  }
  void Wait() { worker->WaitFor(gui.Pumper()); }
  TempThread &Analyze(bool reportAll, bool skipIntro = true) {
    Start(reportAll, skipIntro);
    Wait();
    return *worker;
  }
};

} // namespace velmora::test

namespace velmora::test {

// A folder planted in one of the system's junk folders, removed with
// everything in it when the object goes.
class TPlantedFolder {
public:
  explicit TPlantedFolder(const std::wstring &path) : path_(IncludeTrailingBackslash(path)) {
    RemoveTree(path_);
    MakeFolders(path_);
  }
  ~TPlantedFolder() { RemoveTree(path_); }
  TPlantedFolder(const TPlantedFolder &) = delete;
  TPlantedFolder &operator=(const TPlantedFolder &) = delete;
  const std::wstring &Path() const { return path_; }
  std::wstring operator/(const std::wstring &relative) const { return path_ + relative; }

private:
  std::wstring path_;
};

// A file planted directly in a system folder, deleted when the object goes.
class TPlantedFile {
public:
  TPlantedFile(std::wstring path, const std::string &bytes, double ageDays = 0)
      : path_(std::move(path)) {
    WriteFileBytes(path_, bytes);
    if (ageDays > 0)
      SetFileAgeDays(path_, ageDays);
  }
  ~TPlantedFile() {
    ::SetFileAttributesW(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileW(path_.c_str());
  }
  TPlantedFile(const TPlantedFile &) = delete;
  TPlantedFile &operator=(const TPlantedFile &) = delete;
  const std::wstring &Path() const { return path_; }

private:
  std::wstring path_;
};

// Holds a file open with no sharing, as a running program holds its log.
class TLockedFile {
public:
  explicit TLockedFile(const std::wstring &path)
      : file_(::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                            0, nullptr)) {}
  bool Locked() const { return file_ != INVALID_HANDLE_VALUE; }
  ~TLockedFile() {
    if (Locked())
      ::CloseHandle(file_);
  }
  TLockedFile(const TLockedFile &) = delete;
  TLockedFile &operator=(const TLockedFile &) = delete;

private:
  HANDLE file_;
};

// The system's wbem log folder; created for the test when the prefix has
// none (and then removed again), so the walk of it can be shown.
class TWbemLogs {
public:
  TWbemLogs() : path_(SystemFolder() + L"\\wbem\\Logs\\") {
    created_ = !PathExists(path_);
    MakeFolders(path_);
  }
  ~TWbemLogs() {
    if (created_)
      RemoveTree(path_);
  }
  TWbemLogs(const TWbemLogs &) = delete;
  TWbemLogs &operator=(const TWbemLogs &) = delete;
  const std::wstring &Path() const { return path_; }

private:
  std::wstring path_;
  bool created_ = false;
};

inline bool Contains(const std::vector<std::wstring> &list, const std::wstring &item) {
  for (const std::wstring &s : list)
    if (s == item)
      return true;
  return false;
}

} // namespace velmora::test
