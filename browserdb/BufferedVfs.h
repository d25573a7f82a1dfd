#pragma once
// A thin SQLite VFS over the system's default one that gathers consecutive
// writes into one larger write. A repair of a large history journals and
// overwrites (secure_delete) tens of thousands of pages; SQLite writes each
// journal record as three small writes, and every write is a system call
// (an expensive one under Wine). Buffered writes reach the file before any
// other operation on it (read, sync, truncate, size, lock, unlock, mapping,
// close), so SQLite's ordering and durability rules are kept: nothing it has
// synced is missing, and nothing is written to the database before the
// journal holding its old content has been synced.
//
// The VFS is registered only while a TBufferedVfsUse lives (reference
// counted), so Drevka leaves nothing registered in sqlite3.dll between calls.

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

} // namespace velmora
