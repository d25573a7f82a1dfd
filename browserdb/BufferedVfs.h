#pragma once
// A thin SQLite VFS over the system's default one that gathers the
// consecutive writes of the rollback journal into one larger write. A repair
// of a large history journals tens of thousands of pages; SQLite writes each
// journal record as three small writes, and every write is a system call.
//
// Every other file (the database, the write-ahead log, its shared-memory
// index, temporary files) goes straight to the file. Buffered journal bytes
// reach the file before any other operation on the journal (read, sync,
// truncate, size, lock, close), before every write to its database, and at
// every lock change, sync or close of its database. So nothing is written to
// the database before the journal records holding its old content, and
// nothing SQLite has synced or unlocked is still in memory.
//
// The VFS is registered only while a TBufferedVfsUse lives (reference
// counted), so Drevka leaves nothing registered in sqlite3.dll between calls.
#include <cstddef>

namespace velmora {

class TBufferedVfsUse {
public:
  TBufferedVfsUse();
  ~TBufferedVfsUse();
  TBufferedVfsUse(const TBufferedVfsUse &) = delete;
  TBufferedVfsUse &operator=(const TBufferedVfsUse &) = delete;
  // The VFS name for sqlite3_open_v2, or nullptr (the default VFS) when it
  // could not be registered.
  const char *Name() const { return name_; }

private:
  const char *name_ = nullptr;
};

// Journal bytes held in memory right now, over every open file of the VFS
// (for the tests of the flushing rules).
size_t BufferedVfsPendingBytes();

} // namespace velmora
