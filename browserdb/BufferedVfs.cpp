#include "browserdb/BufferedVfs.h"

#include <sqlite3.h>

#include <cstring>
#include <mutex>

namespace velmora {

namespace {

constexpr int kBufferSize = 1 << 20;
constexpr char kVfsName[] = "drevka-buffered";

sqlite3_vfs *g_root = nullptr; // the VFS below ours, while registered
sqlite3_vfs g_vfs;
int g_uses = 0;
std::mutex g_mutex;

struct TBufferedFile {
  sqlite3_file base;
  sqlite3_file *real; // follows this struct in the same allocation
  char *buffer;
  int length;
  sqlite3_int64 offset; // file offset of buffer[0]
};

TBufferedFile *Self(sqlite3_file *f) { return reinterpret_cast<TBufferedFile *>(f); }
sqlite3_file *Real(sqlite3_file *f) { return Self(f)->real; }

int Flush(TBufferedFile *f) {
  if (f->length == 0)
    return SQLITE_OK;
  const int length = f->length;
  f->length = 0;
  return f->real->pMethods->xWrite(f->real, f->buffer, length, f->offset);
}

int FlushOf(sqlite3_file *f) { return Flush(Self(f)); }

int Close(sqlite3_file *f) {
  TBufferedFile *self = Self(f);
  const int flushed = Flush(self);
  const int rc = self->real->pMethods->xClose(self->real);
  sqlite3_free(self->buffer);
  self->buffer = nullptr;
  return flushed != SQLITE_OK ? flushed : rc;
}

int Read(sqlite3_file *f, void *data, int amount, sqlite3_int64 offset) {
  const int rc = FlushOf(f);
  return rc != SQLITE_OK ? rc : Real(f)->pMethods->xRead(Real(f), data, amount, offset);
}

int Write(sqlite3_file *f, const void *data, int amount, sqlite3_int64 offset) {
  TBufferedFile *self = Self(f);
  const bool follows = self->length > 0 && offset == self->offset + self->length;
  if (follows && self->length + amount <= kBufferSize) {
    std::memcpy(self->buffer + self->length, data, static_cast<size_t>(amount));
    self->length += amount;
    return SQLITE_OK;
  }
  const int rc = Flush(self);
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
  return SQLITE_OK;
}

// Every other method: buffered writes first, then the real file's method.
#define VELMORA_FORWARD(call)                                                                      \
  const int flushed = FlushOf(f);                                                                  \
  if (flushed != SQLITE_OK)                                                                        \
    return flushed;                                                                                \
  return Real(f)->pMethods->call

int Truncate(sqlite3_file *f, sqlite3_int64 size) { VELMORA_FORWARD(xTruncate(Real(f), size)); }
int Sync(sqlite3_file *f, int flags) { VELMORA_FORWARD(xSync(Real(f), flags)); }
int FileSize(sqlite3_file *f, sqlite3_int64 *size) { VELMORA_FORWARD(xFileSize(Real(f), size)); }
int Lock(sqlite3_file *f, int level) { VELMORA_FORWARD(xLock(Real(f), level)); }
int Unlock(sqlite3_file *f, int level) { VELMORA_FORWARD(xUnlock(Real(f), level)); }
int CheckReservedLock(sqlite3_file *f, int *out) {
  return Real(f)->pMethods->xCheckReservedLock(Real(f), out);
}
int FileControl(sqlite3_file *f, int op, void *arg) {
  VELMORA_FORWARD(xFileControl(Real(f), op, arg));
}
int SectorSize(sqlite3_file *f) { return Real(f)->pMethods->xSectorSize(Real(f)); }
int DeviceCharacteristics(sqlite3_file *f) {
  return Real(f)->pMethods->xDeviceCharacteristics(Real(f));
}
int ShmMap(sqlite3_file *f, int region, int size, int extend, void volatile **out) {
  VELMORA_FORWARD(xShmMap(Real(f), region, size, extend, out));
}
int ShmLock(sqlite3_file *f, int offset, int n, int flags) {
  VELMORA_FORWARD(xShmLock(Real(f), offset, n, flags));
}
void ShmBarrier(sqlite3_file *f) {
  FlushOf(f);
  Real(f)->pMethods->xShmBarrier(Real(f));
}
int ShmUnmap(sqlite3_file *f, int deleteFlag) { VELMORA_FORWARD(xShmUnmap(Real(f), deleteFlag)); }
int Fetch(sqlite3_file *f, sqlite3_int64 offset, int amount, void **out) {
  *out = nullptr;
  VELMORA_FORWARD(xFetch(Real(f), offset, amount, out));
}
int Unfetch(sqlite3_file *f, sqlite3_int64 offset, void *page) {
  return Real(f)->pMethods->xUnfetch(Real(f), offset, page);
}
#undef VELMORA_FORWARD

const sqlite3_io_methods kMethods = {
    3,
    Close,
    Read,
    Write,
    Truncate,
    Sync,
    FileSize,
    Lock,
    Unlock,
    CheckReservedLock,
    FileControl,
    SectorSize,
    DeviceCharacteristics,
    ShmMap,
    ShmLock,
    ShmBarrier,
    ShmUnmap,
    Fetch,
    Unfetch,
};

int RealOffset() { return static_cast<int>((sizeof(TBufferedFile) + 7) & ~static_cast<size_t>(7)); }

int Open(sqlite3_vfs *, const char *name, sqlite3_file *file, int flags, int *outFlags) {
  TBufferedFile *self = Self(file);
  std::memset(self, 0, sizeof *self);
  self->real = reinterpret_cast<sqlite3_file *>(reinterpret_cast<char *>(file) + RealOffset());
  const int rc = g_root->xOpen(g_root, name, self->real, flags, outFlags);
  // Only a file whose real open succeeded gets methods (and a close).
  if (rc == SQLITE_OK && self->real->pMethods) {
    if (self->real->pMethods->iVersion >= 3)
      self->base.pMethods = &kMethods;
    else
      return SQLITE_CANTOPEN; // never with the Windows VFS (version 3)
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

} // namespace velmora
