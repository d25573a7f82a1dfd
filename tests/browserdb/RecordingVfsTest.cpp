// The write-gathering file layer seen from below: a recording VFS under it
// logs every call that reaches the real files during a history repair.
#include "CurrentFirefoxFixtures.h"
#include "Fixtures.h"
#include "TestSupport.h"
#include "base/Text.h"
#include "browserdb/BufferedVfs.h"
#include "browserdb/DrevkaCommon.h"
#include "browserdb/SQLiteTable3.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace velmora;
using namespace velmora::test;

namespace {

enum class TKind { Database, Journal, Wal, Other };
enum class TOp { Write, Sync, Lock, Unlock, Close, Truncate, ShmLock, ShmBarrier };

struct TEvent {
  TKind kind;
  TOp op;
  size_t pending; // journal bytes still held above at that moment
  int amount;     // bytes written (writes only)
};

std::vector<TEvent> g_events;
sqlite3_vfs *g_below = nullptr;

struct TRecordingFile {
  sqlite3_file base;
  sqlite3_file *real;
  TKind kind;
};

TRecordingFile *Rec(sqlite3_file *f) { return reinterpret_cast<TRecordingFile *>(f); }
sqlite3_file *Real(sqlite3_file *f) { return Rec(f)->real; }
void Note(sqlite3_file *f, TOp op, int amount = 0) {
  g_events.push_back({Rec(f)->kind, op, BufferedVfsPendingBytes(), amount});
}

int Close(sqlite3_file *f) {
  Note(f, TOp::Close);
  return Real(f)->pMethods->xClose(Real(f));
}
int Read(sqlite3_file *f, void *p, int n, sqlite3_int64 o) {
  return Real(f)->pMethods->xRead(Real(f), p, n, o);
}
int Write(sqlite3_file *f, const void *p, int n, sqlite3_int64 o) {
  Note(f, TOp::Write, n);
  return Real(f)->pMethods->xWrite(Real(f), p, n, o);
}
int Truncate(sqlite3_file *f, sqlite3_int64 size) {
  Note(f, TOp::Truncate);
  return Real(f)->pMethods->xTruncate(Real(f), size);
}
int Sync(sqlite3_file *f, int flags) {
  Note(f, TOp::Sync);
  return Real(f)->pMethods->xSync(Real(f), flags);
}
int FileSize(sqlite3_file *f, sqlite3_int64 *size) {
  return Real(f)->pMethods->xFileSize(Real(f), size);
}
int Lock(sqlite3_file *f, int level) {
  Note(f, TOp::Lock);
  return Real(f)->pMethods->xLock(Real(f), level);
}
int Unlock(sqlite3_file *f, int level) {
  Note(f, TOp::Unlock);
  return Real(f)->pMethods->xUnlock(Real(f), level);
}
int CheckReserved(sqlite3_file *f, int *out) {
  return Real(f)->pMethods->xCheckReservedLock(Real(f), out);
}
int FileControl(sqlite3_file *f, int op, void *arg) {
  return Real(f)->pMethods->xFileControl(Real(f), op, arg);
}
int SectorSize(sqlite3_file *f) { return Real(f)->pMethods->xSectorSize(Real(f)); }
int Characteristics(sqlite3_file *f) { return Real(f)->pMethods->xDeviceCharacteristics(Real(f)); }

// Version 1 methods: no shared memory, so databases stay in rollback mode.
const sqlite3_io_methods kMethods = {1,           Close,      Read,           Write,  Truncate,
                                     Sync,        FileSize,   Lock,           Unlock, CheckReserved,
                                     FileControl, SectorSize, Characteristics};

// Version 2 methods, with shared memory, for databases in WAL mode.
int ShmMap(sqlite3_file *f, int region, int size, int extend, void volatile **out) {
  return Real(f)->pMethods->xShmMap(Real(f), region, size, extend, out);
}
int ShmLock(sqlite3_file *f, int offset, int n, int flags) {
  Note(f, TOp::ShmLock);
  return Real(f)->pMethods->xShmLock(Real(f), offset, n, flags);
}
void ShmBarrier(sqlite3_file *f) {
  Note(f, TOp::ShmBarrier);
  Real(f)->pMethods->xShmBarrier(Real(f));
}
int ShmUnmap(sqlite3_file *f, int deleteFlag) {
  return Real(f)->pMethods->xShmUnmap(Real(f), deleteFlag);
}
const sqlite3_io_methods kSharedMemoryMethods = {
    2,       Close,         Read,        Write,      Truncate,        Sync,   FileSize, Lock,
    Unlock,  CheckReserved, FileControl, SectorSize, Characteristics, ShmMap, ShmLock,  ShmBarrier,
    ShmUnmap};
bool g_sharedMemory = false;

int Open(sqlite3_vfs *, const char *name, sqlite3_file *file, int flags, int *outFlags) {
  TRecordingFile *self = Rec(file);
  std::memset(self, 0, sizeof *self);
  self->real = reinterpret_cast<sqlite3_file *>(self + 1);
  self->kind = (flags & SQLITE_OPEN_MAIN_DB)        ? TKind::Database
               : (flags & SQLITE_OPEN_MAIN_JOURNAL) ? TKind::Journal
               : (flags & SQLITE_OPEN_WAL)          ? TKind::Wal
                                                    : TKind::Other;
  const int rc = g_below->xOpen(g_below, name, self->real, flags, outFlags);
  if (rc == SQLITE_OK && self->real->pMethods)
    self->base.pMethods =
        g_sharedMemory && self->real->pMethods->iVersion >= 2 ? &kSharedMemoryMethods : &kMethods;
  return rc;
}

// Registered as the default VFS while it lives, so Drevka's layer goes on
// top of it.
class TRecordingVfs {
public:
  explicit TRecordingVfs(bool sharedMemory = false) {
    g_sharedMemory = sharedMemory;
    g_below = sqlite3_vfs_find(nullptr);
    vfs_ = *g_below;
    vfs_.pNext = nullptr;
    vfs_.zName = "recording";
    vfs_.szOsFile = static_cast<int>(sizeof(TRecordingFile)) + g_below->szOsFile;
    vfs_.xOpen = Open;
    g_events.clear();
    sqlite3_vfs_register(&vfs_, 1);
  }
  ~TRecordingVfs() {
    sqlite3_vfs_unregister(&vfs_);
    sqlite3_vfs_register(g_below, 1);
  }

private:
  sqlite3_vfs vfs_;
};

class RecordingVfsTest : public ::testing::Test {
protected:
  RecordingVfsTest() : folder_(L"recording-vfs") {}
  ~RecordingVfsTest() override { ::DeleteFileW(RepairLogPath().c_str()); }
  std::wstring Path(const std::wstring &name) { return folder_ / name; }
  TScratchFolder folder_;
};

TEST_F(RecordingVfsTest, JournalReachesTheDiskBeforeTheDatabaseAndNothingStaysBuffered) {
  const std::wstring path = Path(L"places.sqlite");
  MakeFirefoxPlaces(path);
  {
    TTestDb db(path);
    db.Exec("BEGIN");
    for (int i = 100; i < 3100; ++i)
      db.Exec("insert into moz_places (id, url, title) values (" + std::to_string(i) +
              ", 'http://site" + std::to_string(i) +
              ".example/', hex(randomblob(200)));"
              "insert into moz_historyvisits (place_id, visit_date) values (" +
              std::to_string(i) + ", 1)");
    db.Exec("COMMIT");
  }
  {
    const TRecordingVfs recording;
    try {
      drevka::RepairMozHistory(path);
    } catch (const EAppError &e) {
      FAIL() << ToUtf8(e.Message());
    }
  }
  size_t databaseWrites = 0, journalWrites = 0;
  bool journalSynced = false, journalDirty = false;
  for (size_t i = 0; i < g_events.size(); ++i) {
    const TEvent &e = g_events[i];
    SCOPED_TRACE("event " + std::to_string(i));
    if (e.kind == TKind::Journal && e.op == TOp::Write) {
      ++journalWrites;
      journalDirty = true;
    }
    if (e.kind == TKind::Journal && e.op == TOp::Sync) {
      journalSynced = true;
      journalDirty = false;
    }
    if (e.kind == TKind::Database && e.op == TOp::Write) {
      ++databaseWrites;
      // Every database write comes after a sync of all journal records so far.
      EXPECT_TRUE(journalSynced);
      EXPECT_FALSE(journalDirty);
    }
    if (e.op != TOp::Write) {
      EXPECT_EQ(e.pending, 0u); // nothing held at a sync, lock change or close
    }
  }
  EXPECT_GT(databaseWrites, 0u);
  // Gathered: far fewer writes than the three per journalled page SQLite makes.
  EXPECT_GT(journalWrites, 0u);
  EXPECT_LT(journalWrites, databaseWrites);
  TTestDb db(path);
  EXPECT_EQ(db.Column("pragma integrity_check"), std::vector<std::string>{"ok"});
  EXPECT_EQ(db.Count("moz_places"), 3);
}

TEST_F(RecordingVfsTest, WalPassesStraightThroughAndReachesTheDiskBeforeTheDatabase) {
  // Today's Firefox keeps places.sqlite and favicons.sqlite in WAL mode.
  MakeCurrentPlaces(folder_.Path(), TFirefoxVersion::Esr128, "r");
  const std::wstring path = Path(L"places.sqlite");
  {
    TTestDb db(path);
    db.Exec("BEGIN");
    for (int i = 100; i < 3100; ++i)
      db.Exec("insert into moz_places (id, url, title, guid) values (" + std::to_string(i) +
              ", 'http://site" + std::to_string(i) + ".example/', hex(randomblob(200)), 'g" +
              std::to_string(i) +
              "');"
              "insert into moz_historyvisits (place_id, visit_date) values (" +
              std::to_string(i) + ", 1)");
    db.Exec("COMMIT");
  }
  {
    const TRecordingVfs recording(true);
    try {
      drevka::RepairMozHistory(path);
    } catch (const EAppError &e) {
      FAIL() << ToUtf8(e.Message());
    }
  }
  const int pageSize = std::stoi(TTestDb(path).Column("pragma page_size").at(0));
  size_t walWrites = 0, databaseWrites = 0, barriers = 0;
  bool walDirty = false;
  for (size_t i = 0; i < g_events.size(); ++i) {
    const TEvent &e = g_events[i];
    SCOPED_TRACE("event " + std::to_string(i));
    if (e.kind == TKind::Wal && e.op == TOp::Write) {
      ++walWrites;
      walDirty = true;
      // A frame header or one page at a time, as SQLite wrote it: the log
      // is never gathered, so no frame waits in memory while another
      // connection (the browser) reads or extends the log.
      EXPECT_LE(e.amount, pageSize);
    }
    if (e.kind == TKind::Wal && e.op == TOp::Sync)
      walDirty = false;
    if (e.kind == TKind::Database && e.op == TOp::Write) {
      ++databaseWrites;
      EXPECT_FALSE(walDirty); // a checkpoint copies only synced frames
    }
    barriers += e.op == TOp::ShmBarrier;
    EXPECT_EQ(e.pending, 0u); // no rollback journal in WAL mode: nothing is ever held
  }
  EXPECT_GT(barriers, 0u);
  EXPECT_GT(databaseWrites, 0u);
  // Two writes per frame (its header, its page), each copied page once.
  EXPECT_GE(walWrites, 2 * databaseWrites);
  TTestDb db(path);
  EXPECT_EQ(db.Column("pragma integrity_check"), std::vector<std::string>{"ok"});
  EXPECT_EQ(db.Column("pragma journal_mode"), std::vector<std::string>{"wal"});
  EXPECT_EQ(db.Count("moz_places"), 3);
}

TEST_F(RecordingVfsTest, ExistingDatabasesOnlyCreateNothing) {
  const std::wstring path = Path(L"missing.sqlite");
  EXPECT_THROW(TSQLiteDatabase(path, TSQLiteDatabase::TOpenMode::ExistingOnly), ESQLiteException);
  EXPECT_FALSE(PathExists(path));
}

} // namespace
