#include "junk/TempFileThread.h"

#include "base/Handles.h"
#include "base/MessagePump.h"
#include "base/Text.h"
#include "junk/RemovalThread.h"
#include "settings/ConfigFile.h"
#include "system/Routines.h"

#include <shellapi.h>

#include <memory>

namespace velmora {

namespace {

const wchar_t kSeparator[] = L"--------------------------------------------------------";
constexpr int kIntroSteps = 186;
constexpr DWORD kIntroPauseMs = 20;
constexpr int kRemovalSteps = 100;

// Runs pump until handle is signalled (or, with no handle, until timeoutMs
// has passed), sleeping in MsgWaitForMultipleObjectsEx whenever the queue
// is empty. True when the handle was signalled.
bool WaitPumping(HANDLE handle, DWORD timeoutMs, const TMessagePump &pump) {
  const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
  for (;;) {
    if (pump)
      pump();
    DWORD wait = INFINITE;
    if (timeoutMs != INFINITE) {
      const ULONGLONG now = ::GetTickCount64();
      if (now >= deadline)
        return false;
      wait = static_cast<DWORD>(deadline - now);
    }
    const DWORD r = ::MsgWaitForMultipleObjectsEx(handle ? 1 : 0, handle ? &handle : nullptr, wait,
                                                  QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (handle && r == WAIT_OBJECT_0)
      return true;
    if (r == WAIT_FAILED)
      return false;
  }
}

} // namespace

TempThread::TempThread(ITextLabel &statusLabel, const std::vector<std::wstring> &reportTexts,
                       bool reportAll, IReportPane &memo, IProgressBar &bar, IGuiDispatcher &gui)
    : statusLabel_(statusLabel), texts_(reportTexts), reportAll_(reportAll), memo_(memo), bar_(bar),
      gui_(gui) {
  texts_.resize(jtTextCount);
  cookiePrefix_ = CookiePrefixOf(CurrentUserName());
  memo_.Clear();
  thread_.Reset(::CreateThread(nullptr, 0, &TempThread::ThreadProc, this, 0, nullptr));
  if (!thread_)
    finished_.store(true);
}

TempThread::~TempThread() {
  if (!thread_)
    return;
  if (!Finished()) {
    StopScan();
    WaitFor(ProcessMessages);
  }
  // After Finished the thread only returns; no call of it reaches the GUI
  // thread any more.
  ::WaitForSingleObject(thread_.Get(), INFINITE);
}

DWORD WINAPI TempThread::ThreadProc(void *param) {
  auto *self = static_cast<TempThread *>(param);
  try {
    self->Execute();
  } catch (...) {
  }
  try {
    self->OnGui([self] { self->finished_.store(true); });
  } catch (...) {
    self->finished_.store(true);
  }
  return 0;
}

void TempThread::OnGui(const std::function<void()> &call) { gui_.Synchronize(call); }

void TempThread::WaitFor(const TMessagePump &pump) {
  while (!Finished()) {
    if (!WaitPumping(thread_.Get(), INFINITE, pump) && !Finished())
      return; // the wait itself failed: nothing left to wait on
  }
  if (pump)
    pump();
}

void TempThread::Execute() {
  OnGui([this] {
    bar_.SetPosition(0);
    bar_.SetRange(0, 200);
    bar_.SetStep(1);
  });
  // Until this analysis writes its own list, a Clean must find none: a
  // list left by an earlier analysis no longer matches what is shown.
  ::DeleteFileW(JunkListPath(ConfigFilePath(frame_)).c_str());
  Intro();
  OnGui([this] { memo_.Clear(); });
  cancelRequested_.store(false); // a stop during the intro shortens the intro only

  settings_ = ReadJunkSettings(ConfigFilePath(frame_));
  rules_.CookiePrefix = cookiePrefix_;
  rules_.RemoveDay = settings_.RemoveDay;
  ::GetLocalTime(&rules_.Now);
  ieCacheFolder_ = frame_.FolderOfKind(fkInternetCache);

  for (const TJunkFolder &folder : JunkFolders(settings_, ieCacheFolder_))
    Scan(folder);
  QueryRecycleBin();
  OnGui([this] { WriteReport(); });
  WriteJunkListFile();
}

void TempThread::Intro() {
  for (int i = 0; i < kIntroSteps && !cancelRequested_.load(); ++i) {
    ::Sleep(kIntroPauseMs);
    OnGui([this] { bar_.StepIt(); });
  }
}

void TempThread::Count(const std::wstring &path, const TFolderEntry &entry,
                       const TJunkFolder &folder) {
  ++fileCount_;
  totalSize_ += entry.Size;
  if (folder.IsIECache()) {
    ++ieCacheCount_;
    ieCacheSize_ += entry.Size;
  } else {
    ++tempCount_;
    tempSize_ += entry.Size;
  }
  currentFile_ = path;
  fileList_.push_back(path);
  found_.push_back({path, folder.Path, folder.Walk, entry.Size, entry.LastWrite});
  OnGui([] {}); // each found file waits for the GUI thread once
}

// The four walks (cache, aged, all files, logs) differ only in their rules.
void TempThread::Scan(const TJunkFolder &folder) {
  WalkJunkFolder(
      folder.Path, folder.Walk, rules_,
      [this, &folder](const std::wstring &path, const TFolderEntry &e) { Count(path, e, folder); },
      &cancelRequested_);
}

void TempThread::QueryRecycleBin() {
  recycleSize_ = 0;
  recycleItems_ = 0;
  if (FileVersionHigh(L"shell32.dll") < ((4u << 16) | 72u))
    return;
  SHQUERYRBINFO info{};
  info.cbSize = sizeof(info);
  if (FAILED(::SHQueryRecycleBinA(nullptr, &info)))
    return;
  recycleSize_ = info.i64Size;
  recycleItems_ = static_cast<int>(static_cast<uint32_t>(info.i64NumItems));
}

void TempThread::WriteReport() {
  if (settings_.Recycle && recycleSize_ >= 0)
    totalSize_ += recycleSize_;
  std::vector<std::wstring> lines{texts_[jtReportTitle], kSeparator};
  reportedList_ = TJunkList();
  reportedList_.RemoveDay = settings_.RemoveDay;
  if (!reportAll_ && totalSize_ / 1024 / 1024 < 3) {
    totalSize_ = ieCacheSize_ = tempSize_ = recycleSize_ = 0;
    ieCacheCount_ = tempCount_ = recycleItems_ = 0;
    lines.push_back(FillIn(texts_[jtCountLine], L'd', L"0"));
    lines.push_back(FillIn(texts_[jtSizeLine], L's', L"0"));
  } else {
    lines.push_back(FillIn(texts_[jtCountLine], L'd', std::to_wstring(fileCount_)));
    lines.push_back(FillIn(texts_[jtSizeLine], L's', SizeText(totalSize_)));
    lines.emplace_back();
    lines.insert(lines.end(), fileList_.begin(), fileList_.end());
    // The list holds exactly what the report shows.
    reportedList_.Files = found_;
    reportedList_.RecycleCounted = settings_.Recycle && recycleSize_ >= 0;
    reportedList_.RecycleSize = recycleSize_;
    reportedList_.RecycleItems = recycleItems_;
  }
  memo_.Clear();
  memo_.AppendLines(lines);
  bar_.SetRange(0, 100);
  bar_.SetPosition(100);
  memo_.ScrollToEnd();
}

// Written before Finished is set, so a Clean always finds the list of the
// report on screen. The folder is made when no configuration was saved yet.
void TempThread::WriteJunkListFile() {
  const std::wstring configFile = ConfigFilePath(frame_);
  ::CreateDirectoryW(ExcludeTrailingBackslash(ExtractFilePath(configFile)).c_str(), nullptr);
  WriteJunkList(JunkListPath(configFile), reportedList_);
}

int TempThread::RemovalStepDelay(int64_t fileCount) {
  const int64_t units = fileCount / 500 + 3;
  return units > 120 ? 1200 : static_cast<int>(units * 10);
}

std::wstring TempThread::CurrentUserName() { return NetworkUserName(); }

void TempThread::RemoveJunkFiles(ITextLabel &statusLabel, bool secureDeletion,
                                 const TMessagePump &pump) {
  secureDeletion_ = secureDeletion;
  cancelRequested_.store(false); // a stop left over from the analysis is not for this run
  statusLabel.SetCaption(texts_[secureDeletion ? jtRemovingSecure : jtRemoving]);

  auto configFile = std::make_unique<std::wstring>(ConfigFilePath(frame_));
  UniqueKernelHandle removal(
      ::CreateThread(nullptr, 0, RemovalThread, configFile.get(), 0, nullptr));
  if (removal)
    configFile.release(); // the thread owns it now

  const int delay = RemovalStepDelay(fileCount_);
  bar_.SetPosition(0);
  bar_.SetRange(0, 100);
  bar_.SetStep(1);
  for (int i = 0; i < kRemovalSteps && !cancelRequested_.load(); ++i) {
    WaitPumping(nullptr, static_cast<DWORD>(delay), pump);
    bar_.StepIt();
  }
  // The progress is the minimum pace; the view's completion line must not
  // appear while the library is still removing. After a stop (the program
  // is closing) the library gets a bounded time to finish, then it is
  // abandoned: the process ends around it.
  if (!removal)
    return;
  ULONGLONG abandonAt = 0;
  while (!WaitPumping(removal.Get(), kRemovalPollMs, pump)) {
    if (!cancelRequested_.load())
      continue;
    const ULONGLONG now = ::GetTickCount64();
    if (abandonAt == 0)
      abandonAt = now + kAbandonRemovalMs;
    if (now >= abandonAt)
      return;
  }
}

} // namespace velmora
