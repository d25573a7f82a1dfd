#include "browserdb/BufferedVfs.h"

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstring>
#include <mutex>
#include <vector>

namespace velmora {

namespace {

constexpr int kBufferSize = 1 << 20;
constexpr char kVfsName[] = "drevka-buffered";
constexpr char kJournalSuffix[] = "-journal";

sqlite3_vfs *g_root = nullptr; // the VFS below ours, while registered
sqlite3_vfs g_vfs;
int g_uses = 0;
std::mutex g_mutex; // registration, the journal list and every buffer

struct TBufferedFile {
  sqlite3_file base;
  sqlite3_file *real; // follows this struct in the same allocation
  const char *name;   // SQLite keeps it valid until the close
  bool journal;
  char *buffer;
  int length;
  sqlite3_int64 offset; // file offset of buffer[0]
};

std::vector<TBufferedFile *> g_journals; // open rollback journals
// Bytes held in every buffer; read without the lock (also from below us).
std::atomic<size_t> g_pending{0};

TBufferedFile *Self(sqlite3_file *f) { return reinterpret_cast<TBufferedFile *>(f); }
sqlite3_file *Real(sqlite3_file *f) { return Self(f)->real; }

// Callers hold g_mutex.
int FlushLocked(TBufferedFile *f) {
  if (f->length == 0)
    return SQLITE_OK;
  const int length = f->length;
  f->length = 0;
  g_pending -= static_cast<size_t>(length);
  return f->real->pMethods->xWrite(f->real, f->buffer, length, f->offset);
}

int Flush(TBufferedFile *f) {
  std::lock_guard<std::mutex> lock(g_mutex);
  return FlushLocked(f);
}

bool IsJournalOf(const char *journal, const char *database) {
  if (!journal || !database)
    return false;
  const size_t n = std::strlen(database);
  return std::strncmp(journal, database, n) == 0 && std::strcmp(journal + n, kJournalSuffix) == 0;
}

// The journals of a database file, before the database is written, locked,
// unlocked, synced or closed.
int FlushJournalsOf(sqlite3_file *database) {
  std::lock_guard<std::mutex> lock(g_mutex);
  int rc = SQLITE_OK;
  for (TBufferedFile *journal : g_journals)
    if (IsJournalOf(journal->name, Self(database)->name)) {
      const int flushed = FlushLocked(journal);
      if (rc == SQLITE_OK)
        rc = flushed;
    }
  return rc;
}

// --- the rollback journal: gathered writes -------------------------------------

int JournalClose(sqlite3_file *f) {
  TBufferedFile *self = Self(f);
  int flushed;
  {
    std::lock_guard<std::mutex> lock(g_mutex);
    flushed = FlushLocked(self);
    g_journals.erase(std::remove(g_journals.begin(), g_journals.end(), self), g_journals.end());
  }
  const int rc = self->real->pMethods->xClose(self->real);
  sqlite3_free(self->buffer);
  self->buffer = nullptr;
  return flushed != SQLITE_OK ? flushed : rc;
}

int JournalWrite(sqlite3_file *f, const void *data, int amount, sqlite3_int64 offset) {
  TBufferedFile *self = Self(f);
  std::unique_lock<std::mutex> lock(g_mutex);
  const bool follows = self->length > 0 && offset == self->offset + self->length;
  if (follows && self->length + amount <= kBufferSize) {
    std::memcpy(self->buffer + self->length, data, static_cast<size_t>(amount));
    self->length += amount;
    g_pending += static_cast<size_t>(amount);
    return SQLITE_OK;
  }
  const int rc = FlushLocked(self);
  if (rc != SQLITE_OK)
    return rc;
  if (amount >= kBufferSize / 2)
    return self->real->pMethods->xWrite(self->real, data, amount, offset);
  if (!self->buffer) {
    self->buffer = static_cast<char *>(sqlite3_malloc(kBufferSize));
    if (!self->buffer)
      return self->real->pMethods->xWrite(self->real, data, amount, offset);
  }
  std::memcpy(self->buffer, data, static_cast<size_t>(amount));
  self->length = amount;
  self->offset = offset;
  g_pending += static_cast<size_t>(amount);
  return SQLITE_OK;
}

// Every other journal method: buffered writes first, then the real method.
#define VELMORA_FLUSH_THEN(call)                                                                   \
  const int flushed = Flush(Self(f));                                                              \
  if (flushed != SQLITE_OK)                                                                        \
    return flushed;                                                                                \
  return Real(f)->pMethods->call

int JournalRead(sqlite3_file *f, void *data, int amount, sqlite3_int64 offset) {
  VELMORA_FLUSH_THEN(xRead(Real(f), data, amount, offset));
}
int JournalTruncate(sqlite3_file *f, sqlite3_int64 size) {
  VELMORA_FLUSH_THEN(xTruncate(Real(f), size));
}
int JournalSync(sqlite3_file *f, int flags) { VELMORA_FLUSH_THEN(xSync(Real(f), flags)); }
int JournalFileSize(sqlite3_file *f, sqlite3_int64 *size) {
  VELMORA_FLUSH_THEN(xFileSize(Real(f), size));
}
int JournalLock(sqlite3_file *f, int level) { VELMORA_FLUSH_THEN(xLock(Real(f), level)); }
int JournalUnlock(sqlite3_file *f, int level) { VELMORA_FLUSH_THEN(xUnlock(Real(f), level)); }
int JournalFileControl(sqlite3_file *f, int op, void *arg) {
  VELMORA_FLUSH_THEN(xFileControl(Real(f), op, arg));
}
#undef VELMORA_FLUSH_THEN

// --- every other file: straight through ----------------------------------------
// The database file also flushes its journals first where the order matters.

#define VELMORA_JOURNALS_THEN(call)                                                                \
  const int flushed = FlushJournalsOf(f);                                                          \
  if (flushed != SQLITE_OK)                                                                        \
    return flushed;                                                                                \
  return Real(f)->pMethods->call

int PassClose(sqlite3_file *f) {
  const int flushed = FlushJournalsOf(f);
  const int rc = Real(f)->pMethods->xClose(Real(f));
  return flushed != SQLITE_OK ? flushed : rc;
}
int PassRead(sqlite3_file *f, void *data, int amount, sqlite3_int64 offset) {
  return Real(f)->pMethods->xRead(Real(f), data, amount, offset);
}
int PassWrite(sqlite3_file *f, const void *data, int amount, sqlite3_int64 offset) {
  VELMORA_JOURNALS_THEN(xWrite(Real(f), data, amount, offset));
}
int PassTruncate(sqlite3_file *f, sqlite3_int64 size) {
  VELMORA_JOURNALS_THEN(xTruncate(Real(f), size));
}
int PassSync(sqlite3_file *f, int flags) { VELMORA_JOURNALS_THEN(xSync(Real(f), flags)); }
int PassFileSize(sqlite3_file *f, sqlite3_int64 *size) {
  return Real(f)->pMethods->xFileSize(Real(f), size);
}
int PassLock(sqlite3_file *f, int level) { VELMORA_JOURNALS_THEN(xLock(Real(f), level)); }
int PassUnlock(sqlite3_file *f, int level) { VELMORA_JOURNALS_THEN(xUnlock(Real(f), level)); }
int PassFileControl(sqlite3_file *f, int op, void *arg) {
  return Real(f)->pMethods->xFileControl(Real(f), op, arg);
}
#undef VELMORA_JOURNALS_THEN

int CheckReservedLock(sqlite3_file *f, int *out) {
  return Real(f)->pMethods->xCheckReservedLock(Real(f), out);
}
int SectorSize(sqlite3_file *f) { return Real(f)->pMethods->xSectorSize(Real(f)); }
int DeviceCharacteristics(sqlite3_file *f) {
  return Real(f)->pMethods->xDeviceCharacteristics(Real(f));
}
int ShmMap(sqlite3_file *f, int region, int size, int extend, void volatile **out) {
  return Real(f)->pMethods->xShmMap(Real(f), region, size, extend, out);
}
int ShmLock(sqlite3_file *f, int offset, int n, int flags) {
  return Real(f)->pMethods->xShmLock(Real(f), offset, n, flags);
}
void ShmBarrier(sqlite3_file *f) { Real(f)->pMethods->xShmBarrier(Real(f)); }
int ShmUnmap(sqlite3_file *f, int deleteFlag) {
  return Real(f)->pMethods->xShmUnmap(Real(f), deleteFlag);
}
// No memory-mapped reads: a page is always read through xRead.
int Fetch(sqlite3_file *, sqlite3_int64, int, void **out) {
  *out = nullptr;
  return SQLITE_OK;
}
int Unfetch(sqlite3_file *, sqlite3_int64, void *) { return SQLITE_OK; }

const sqlite3_io_methods kJournalMethods = {
    3,
    JournalClose,
    JournalRead,
    JournalWrite,
    JournalTruncate,
    JournalSync,
    JournalFileSize,
    JournalLock,
    JournalUnlock,
    CheckReservedLock,
    JournalFileControl,
    SectorSize,
    DeviceCharacteristics,
    ShmMap,
    ShmLock,
    ShmBarrier,
    ShmUnmap,
    Fetch,
    Unfetch,
};

const sqlite3_io_methods kPassMethods = {
    3,
    PassClose,
    PassRead,
    PassWrite,
    PassTruncate,
    PassSync,
    PassFileSize,
    PassLock,
    PassUnlock,
    CheckReservedLock,
    PassFileControl,
    SectorSize,
    DeviceCharacteristics,
    ShmMap,
    ShmLock,
    ShmBarrier,
    ShmUnmap,
    Fetch,
    Unfetch,
};

// Our methods at the version of the file below (SQLite asks for the shared
// memory and fetch methods only when the version offers them).
const sqlite3_io_methods *MethodsFor(bool journal, int version) {
  static const auto kTables = [] {
    std::array<std::array<sqlite3_io_methods, 3>, 2> tables{};
    for (int v = 0; v < 3; ++v) {
      tables[0][v] = kPassMethods;
      tables[1][v] = kJournalMethods;
      tables[0][v].iVersion = tables[1][v].iVersion = v + 1;
    }
    return tables;
  }();
  const int index = std::clamp(version, 1, 3) - 1;
  return &kTables[journal ? 1 : 0][static_cast<size_t>(index)];
}

int RealOffset() { return static_cast<int>((sizeof(TBufferedFile) + 7) & ~static_cast<size_t>(7)); }

int Open(sqlite3_vfs *, const char *name, sqlite3_file *file, int flags, int *outFlags) {
  TBufferedFile *self = Self(file);
  std::memset(self, 0, sizeof *self);
  self->real = reinterpret_cast<sqlite3_file *>(reinterpret_cast<char *>(file) + RealOffset());
  self->name = name;
  self->journal = (flags & SQLITE_OPEN_MAIN_JOURNAL) != 0;
  const int rc = g_root->xOpen(g_root, name, self->real, flags, outFlags);
  // Only a file whose real open succeeded gets methods (and a close).
  if (rc == SQLITE_OK && self->real->pMethods) {
    if (self->journal) {
      std::lock_guard<std::mutex> lock(g_mutex);
      g_journals.push_back(self);
    }
    self->base.pMethods = MethodsFor(self->journal, self->real->pMethods->iVersion);
  }
  return rc;
}

} // namespace

TBufferedVfsUse::TBufferedVfsUse() {
  std::lock_guard<std::mutex> lock(g_mutex);
  if (g_uses == 0) {
    sqlite3_vfs *root = sqlite3_vfs_find(nullptr);
    if (!root)
      return;
    g_root = root;
    g_vfs = *root; // every other VFS method is the system's own
    g_vfs.pNext = nullptr;
    g_vfs.zName = kVfsName;
    g_vfs.szOsFile = RealOffset() + root->szOsFile;
    g_vfs.xOpen = Open;
    if (sqlite3_vfs_register(&g_vfs, 0) != SQLITE_OK)
      return;
  }
  ++g_uses;
  name_ = kVfsName;
}

TBufferedVfsUse::~TBufferedVfsUse() {
  if (!name_)
    return;
  std::lock_guard<std::mutex> lock(g_mutex);
  if (--g_uses == 0) {
    sqlite3_vfs_unregister(&g_vfs);
    g_root = nullptr;
  }
}

size_t BufferedVfsPendingBytes() { return g_pending.load(); }

} // namespace velmora
