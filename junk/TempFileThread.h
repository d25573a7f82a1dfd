#pragma once
// The junk-file worker. One object runs one analysis on a thread of its
// own: it counts the Internet Explorer cache files, the Windows temporary
// files and logs and the recycle bin, then writes its report into the
// view's memo. Afterwards the same object serves the Clean button with
// RemoveJunkFiles, which hands the removal to Tosmir.dll.
//
// The worker touches the label, memo and bar only through
// IGuiDispatcher::Synchronize, so every such call runs on the GUI thread;
// the GUI thread must keep processing messages (WaitFor does) while the
// analysis runs.
#include "base/Handles.h"
#include "base/Screen.h"
#include "removal/JunkList.h"
#include "removal/JunkRules.h"
#include "system/AppFrame_New.h"

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

namespace velmora {

// Indexes of the five report texts handed to the worker.
enum TJunkText {
  jtReportTitle = 0,    // "Temporary File Analysis Report"
  jtCountLine = 1,      // "Total %d file(s) found."
  jtSizeLine = 2,       // "Files size: %s (Approximate size)"
  jtRemoving = 3,       // "Removing junk files..."
  jtRemovingSecure = 4, // "Removing junk files (Secure Deletion)..."
  jtTextCount = 5
};

class TempThread {
public:
  // Copies the texts (missing ones count as empty), clears the memo and
  // starts the analysis at once. Call on the GUI thread. The label, memo,
  // bar and dispatcher must outlive the object.
  TempThread(ITextLabel &statusLabel, const std::vector<std::wstring> &reportTexts, bool reportAll,
             IReportPane &memo, IProgressBar &bar, IGuiDispatcher &gui);
  // A still running analysis is asked to stop and waited for, with the
  // calling thread's window messages dispatched meanwhile (so the
  // dispatcher's pending calls are serviced).
  ~TempThread();
  TempThread(const TempThread &) = delete;
  TempThread &operator=(const TempThread &) = delete;

  // Set (on the GUI thread) when the analysis has ended, also after a
  // failure or a stop.
  bool Finished() const { return finished_.load(); }
  // Asks the running analysis to stop: during the intro it shortens the
  // intro only; during the scan it ends the remaining walks, and the report
  // shows what was found so far.
  void StopScan() { cancelRequested_.store(true); }
  // Waits on the GUI thread until Finished, running pump whenever window
  // messages arrive. Sleeps in MsgWaitForMultipleObjectsEx on the thread
  // handle and the message queue together; never spins.
  void WaitFor(const TMessagePump &pump);
  // The worker thread's handle (valid for the object's life; null when the
  // thread could not be started, in which case Finished is already set).
  HANDLE ThreadHandle() const { return thread_.Get(); }

  // After the analysis, on the GUI thread: sets the status caption (text 4
  // when secureDeletion, else text 3), starts the removal through
  // Tosmir.dll on a thread of its own and shows 100 progress steps on the
  // bar, at least RemovalStepDelay(FileCount()) ms apart, running pump
  // while it waits. Returns when the steps are done and the removal thread
  // has ended. A StopScan meanwhile (the program is closing) ends the steps
  // and waits for the removal thread at most kAbandonRemovalMs more.
  void RemoveJunkFiles(ITextLabel &statusLabel, bool secureDeletion, const TMessagePump &pump);
  static constexpr DWORD kAbandonRemovalMs = 5000;
  // The flag of the last RemoveJunkFiles call.
  bool SecureDeletion() const { return secureDeletion_; }

  // The pause between two removal progress steps: (count div 500 + 3) x
  // 10 ms, at most 1200 ms.
  static int RemovalStepDelay(int64_t fileCount);
  // The network user name of the current user (WNetGetUserA); empty when
  // there is none.
  static std::wstring CurrentUserName();

  // Results. The worker writes them while it runs; read them after Finished
  // (or inside a call the worker is waiting for).
  int64_t FileCount() const { return fileCount_; }
  int64_t TotalSize() const { return totalSize_; } // includes the recycle bin when reported
  int64_t IECacheSize() const { return ieCacheSize_; }
  int64_t TempSize() const { return tempSize_; }
  int64_t RecycleSize() const { return recycleSize_; }
  int IECacheCount() const { return ieCacheCount_; }
  int TempCount() const { return tempCount_; }
  int RecycleItems() const { return recycleItems_; }
  const std::vector<std::wstring> &FileList() const { return fileList_; }
  // What the report showed, as written to the junk list when the analysis
  // ended: every listed file (none when the report shows nothing) and
  // whether the recycle bin counted.
  const TJunkList &ReportedList() const { return reportedList_; }
  const std::wstring &CurrentFile() const { return currentFile_; }
  const std::wstring &CookiePrefix() const { return cookiePrefix_; }
  const std::wstring &IECacheFolder() const { return ieCacheFolder_; }
  bool ReportAll() const { return reportAll_; }

private:
  static constexpr DWORD kRemovalPollMs = 100;
  static DWORD WINAPI ThreadProc(void *self);
  void Execute();
  void Intro();
  void Count(const std::wstring &path, const TFolderEntry &entry, const TJunkFolder &folder);
  void Scan(const TJunkFolder &folder);
  void QueryRecycleBin();
  void WriteReport();
  void WriteJunkListFile();
  void OnGui(const std::function<void()> &call);

  ITextLabel &statusLabel_;
  std::vector<std::wstring> texts_;
  bool reportAll_;
  IReportPane &memo_;
  IProgressBar &bar_;
  IGuiDispatcher &gui_;

  TAppFrame frame_;
  TJunkSettings settings_;
  TJunkRules rules_;

  std::vector<std::wstring> fileList_;
  std::vector<TListedJunkFile> found_; // fileList_ with what each file was admitted by
  TJunkList reportedList_;
  std::wstring ieCacheFolder_, currentFile_, cookiePrefix_;
  int64_t fileCount_ = 0, totalSize_ = 0;
  int64_t ieCacheSize_ = 0, tempSize_ = 0, recycleSize_ = 0;
  int ieCacheCount_ = 0, tempCount_ = 0, recycleItems_ = 0;

  std::atomic<bool> finished_{false};
  std::atomic<bool> cancelRequested_{false};
  bool secureDeletion_ = false;
  UniqueKernelHandle thread_;
};

} // namespace velmora
