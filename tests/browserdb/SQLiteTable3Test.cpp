// The SQLite access layer, used directly (it is a static library
// inside Drevka.dll).
#include "Fixtures.h"
#include "TestSupport.h"
#include "base/Text.h"
#include "browserdb/SQLite3.h"
#include "browserdb/SQLiteTable3.h"

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::test;

namespace {

// The message of the ESQLiteException that `action` raises.
template <class F> std::wstring RaisedMessage(F &&action) {
  try {
    action();
  } catch (const ESQLiteException &e) {
    return e.Message();
  }
  return L"<nothing raised>";
}

class SQLiteLayerTest : public ::testing::Test {
protected:
  SQLiteLayerTest() : folder_(L"sqlite-layer") {}
  std::wstring Path(const std::wstring &name) { return folder_ / name; }
  TScratchFolder folder_;
};

TEST(ResultCodeTextTest, KnownAndUnknownCodes) {
  EXPECT_EQ(ResultCodeText(0), L"Successful result");
  EXPECT_EQ(ResultCodeText(1), L"SQL error or missing database");
  EXPECT_EQ(ResultCodeText(5), L"The database file is locked");
  EXPECT_EQ(ResultCodeText(11), L"The database disk image is malformed");
  EXPECT_EQ(ResultCodeText(12), L"(Internal Only) Table or record not found");
  EXPECT_EQ(ResultCodeText(19), L"Abort due to contraint violation");
  EXPECT_EQ(ResultCodeText(25), L"2nd parameter to sqlite3_bind out of range");
  EXPECT_EQ(ResultCodeText(26), L"File opened that is not a database file");
  EXPECT_EQ(ResultCodeText(100), L"sqlite3_step() has another row ready");
  EXPECT_EQ(ResultCodeText(101), L"sqlite3_step() has finished executing");
  EXPECT_EQ(ResultCodeText(27), L"Unknown SQLite Error Code \"27\"");
  EXPECT_EQ(ResultCodeText(-1), L"Unknown SQLite Error Code \"-1\"");
  EXPECT_EQ(ResultCodeText(99), L"Unknown SQLite Error Code \"99\"");
}

TEST_F(SQLiteLayerTest, OpeningAMissingFileCreatesAnEmptyDatabase) {
  const std::wstring path = Path(L"new.sqlite");
  {
    TSQLiteDatabase db(path);
    EXPECT_FALSE(db.HasTable(L"moz_cookies"));
    EXPECT_FALSE(db.HasTable(L"sqlite_master"));
    EXPECT_FALSE(db.IsTransactionOpen());
    EXPECT_FALSE(db.Synchronised());
  }
  EXPECT_TRUE(PathExists(path));
  EXPECT_EQ(ReadFileBytes(path).size(), 0u);
}

TEST_F(SQLiteLayerTest, OpeningFailureMessage) {
  const std::wstring path = Path(L"no such folder\\x.sqlite");
  EXPECT_EQ(RaisedMessage([&] { TSQLiteDatabase db(path); }),
            L"Failed to open database \"" + path + L"\" : unable to open database file");
}

TEST_F(SQLiteLayerTest, HasTableIgnoresCaseAndFindsTablesOnly) {
  const std::wstring path = Path(L"t.sqlite");
  {
    TTestDb fixture(path);
    fixture.Exec("CREATE TABLE MOZ_COOKIES (id INTEGER PRIMARY KEY, host TEXT);"
                 "CREATE TABLE plain (a);"
                 "CREATE VIEW some_view AS SELECT * FROM plain;"
                 "CREATE INDEX some_index ON plain(a);");
  }
  TSQLiteDatabase db(path);
  EXPECT_TRUE(db.HasTable(L"moz_cookies"));
  EXPECT_TRUE(db.HasTable(L"Moz_Cookies"));
  EXPECT_TRUE(db.HasTable(L"PLAIN"));
  EXPECT_FALSE(db.HasTable(L"some_view"));
  EXPECT_FALSE(db.HasTable(L"some_index"));
  EXPECT_FALSE(db.HasTable(L"cookies"));
}

TEST_F(SQLiteLayerTest, EmptyResult) {
  const std::wstring path = Path(L"t.sqlite");
  {
    TTestDb fixture(path);
    fixture.Exec(schema::kFirefoxCookies);
  }
  TSQLiteDatabase db(path);
  const auto table = db.QueryTable("select distinct host from moz_cookies");
  EXPECT_EQ(table->RowCount(), 0);
  EXPECT_TRUE(table->AtEnd());
  EXPECT_FALSE(table->MoveNext());
  EXPECT_TRUE(table->ColumnNames().empty());
  EXPECT_EQ(RaisedMessage([&] { table->ColumnIndex(L"host"); }),
            L"Field host Not found. Empty dataset");
  EXPECT_EQ(RaisedMessage([&] { table->ColumnText(0); }), L"Table is at End of File");
}

TEST_F(SQLiteLayerTest, ColumnKindsAndTexts) {
  const std::wstring path = Path(L"t.sqlite");
  {
    TTestDb fixture(path);
    fixture.Exec("CREATE TABLE t (i INTEGER, b BOOLEAN, r REAL, d DOUBLE, n NUMERIC, x BLOB, "
                 "s TEXT, v VARCHAR(32), lower_b boolean, untyped, lower_i integer);"
                 "INSERT INTO t VALUES (42, 1, 1.5, -0.25, 7, x'414243', 'text', 'short', 17, 'u', 5);"
                 "INSERT INTO t VALUES (NULL, NULL, NULL, NULL, NULL, x'', NULL, NULL, NULL, NULL, "
                 "NULL);");
  }
  TSQLiteDatabase db(path);
  const auto table = db.QueryTable("select * from t");
  ASSERT_EQ(table->RowCount(), 2);
  ASSERT_EQ(table->ColumnCount(), 11);
  // The comparisons with the declared type are exact: a lower-case
  // "boolean" is text. (SQLite 3.37 and later report the standard type
  // names INT, INTEGER, REAL, TEXT, BLOB and ANY upper-cased whatever the
  // schema wrote, so a column declared "integer" reads as "INTEGER".)
  EXPECT_EQ(table->ColumnKinds(), (std::vector<int>{1, 1, 2, 2, 2, 4, 3, 3, 3, 3, 1}));
  EXPECT_EQ(table->ColumnNames()[8], L"LOWER_B");
  EXPECT_EQ(table->ColumnIndex(L"lower_B"), 8);
  EXPECT_EQ(RaisedMessage([&] { table->ColumnIndex(L"nope"); }), L"Field not found in dataset: nope");

  wchar_t separator[8] = {};
  ::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8);
  EXPECT_EQ(table->ColumnText(0), L"42");
  EXPECT_EQ(table->ColumnText(1), L"1");
  EXPECT_EQ(table->ColumnText(2), L"1" + std::wstring(separator) + L"5");
  EXPECT_EQ(table->ColumnText(3), L"-0" + std::wstring(separator) + L"25");
  EXPECT_EQ(table->ColumnText(4), L"7");
  EXPECT_EQ(table->ColumnText(5), L"ABC");
  EXPECT_EQ(table->ColumnText(6), L"text");
  EXPECT_EQ(table->ColumnText(7), L"short");
  EXPECT_EQ(table->ColumnText(8), L"17"); // read as text: the same decimal digits
  EXPECT_TRUE(std::holds_alternative<std::wstring>(table->Cell(0, 8)));
  EXPECT_EQ(table->ColumnText(9), L"u");
  EXPECT_EQ(table->ColumnText(10), L"5");

  EXPECT_TRUE(table->MoveNext());
  for (int c = 0; c < 11; ++c) {
    EXPECT_EQ(table->ColumnText(c), L"") << c; // NULL is empty text, never "0"
    EXPECT_TRUE(std::holds_alternative<std::monostate>(table->Cell(1, c))) << c; // empty blob absent
  }
  EXPECT_TRUE(table->MoveNext());
  EXPECT_TRUE(table->AtEnd());
  EXPECT_FALSE(table->MoveNext());
  EXPECT_EQ(RaisedMessage([&] { table->ColumnText(0); }), L"Table is at End of File");
}

TEST_F(SQLiteLayerTest, ExpressionColumnTakesTheKindOfItsFirstValue) {
  TSQLiteDatabase db(Path(L"t.sqlite"));
  db.RunStatement("create table t (a)");
  db.RunStatement("insert into t values (1)");
  const auto count = db.QueryTable("select count(*) as n, 'x' || 1, 2.5 * 2 from t");
  EXPECT_EQ(count->ColumnKinds(), (std::vector<int>{1, 3, 2}));
  EXPECT_EQ(count->ColumnText(count->ColumnIndex(L"N")), L"1");
  EXPECT_EQ(count->ColumnNames()[1], L"'X' || 1");
}

TEST_F(SQLiteLayerTest, TextCellsAreDecodedWithTheAnsiCodePage) {
  TSQLiteDatabase db(Path(L"t.sqlite"));
  db.RunStatement("create table t (s TEXT)");
  db.RunStatement("insert into t values (cast(x'e9c3a9' as text))");
  const auto table = db.QueryTable("select s from t");
  EXPECT_EQ(table->ColumnText(0), FromAnsi("\xe9\xc3\xa9"));
}

TEST_F(SQLiteLayerTest, OnlyTheFirstOfTwoStatementsRuns) {
  TSQLiteDatabase db(Path(L"t.sqlite"));
  db.RunStatement("create table a (x); create table b (x)");
  EXPECT_TRUE(db.HasTable(L"a"));
  EXPECT_FALSE(db.HasTable(L"b"));
}

TEST_F(SQLiteLayerTest, FailureMessages) {
  TSQLiteDatabase db(Path(L"t.sqlite"));
  EXPECT_EQ(RaisedMessage([&] { db.RunStatement("delete from nosuch"); }),
            L"Error executing SQL.\rError [1]: SQL error or missing database.\r\"delete from "
            L"nosuch\": no such table: nosuch");
  EXPECT_EQ(RaisedMessage([&] { db.QueryTable("select * from nosuch"); }),
            L"Error executing SQL.\rError [1]: SQL error or missing database.\r\"select * from "
            L"nosuch\": no such table: nosuch");
  // A text without a statement: no error code, the message alone.
  EXPECT_EQ(RaisedMessage([&] { db.RunStatement("  -- only a comment"); }),
            L"Could not prepare SQL statement");
  // A statement that yields a row fails RunStatement.
  db.RunStatement("create table t (x INTEGER NOT NULL)");
  db.RunStatement("insert into t values (1)");
  EXPECT_EQ(RaisedMessage([&] { db.RunStatement("select x from t"); }), L"Error executing SQL statement");
  EXPECT_EQ(RaisedMessage([&] { db.RunStatement("insert into t values (NULL)"); }),
            L"Error executing SQL statement.\rError [19]: Abort due to contraint violation.\r\"insert "
            L"into t values (NULL)\": NOT NULL constraint failed: t.x");
}

TEST_F(SQLiteLayerTest, NotADatabase) {
  const std::wstring path = Path(L"text.sqlite");
  WriteFileBytes(path, std::string(3000, 'x'));
  TSQLiteDatabase db(path);
  EXPECT_EQ(RaisedMessage([&] { db.HasTable(L"moz_cookies"); }),
            L"Error executing SQL.\rError [26]: File opened that is not a database file.\r\"select "
            L"[sql] from sqlite_master where [type] = 'table' and lower(name) = 'moz_cookies' \": "
            L"file is not a database");
}

TEST_F(SQLiteLayerTest, BusyQueryStep) {
  const std::wstring path = Path(L"t.sqlite");
  {
    TTestDb fixture(path);
    fixture.Exec(schema::kFirefoxCookies);
  }
  TSQLiteDatabase db(path);
  ASSERT_TRUE(db.HasTable(L"moz_cookies")); // the schema is read now
  TTestDb other(path);
  other.Exec("BEGIN EXCLUSIVE");
  EXPECT_EQ(RaisedMessage([&] { db.QueryTable("select host from moz_cookies"); }),
            L"Could not prepare SQL statement");
  other.Exec("ROLLBACK");
  EXPECT_EQ(db.QueryTable("select host from moz_cookies")->RowCount(), 0);
}

TEST_F(SQLiteLayerTest, OnQueryAndSynchronised) {
  TSQLiteDatabase db(Path(L"t.sqlite"));
  std::vector<std::string> seen;
  db.SetOnQuery([&](TSQLiteDatabase &sender, const std::string &sql) {
    EXPECT_EQ(&sender, &db);
    seen.push_back(sql);
  });
  db.SetSynchronised(false); // same value: nothing runs
  EXPECT_TRUE(seen.empty());
  db.SetSynchronised(true);
  EXPECT_TRUE(db.Synchronised());
  db.SetSynchronised(false);
  db.RunStatement("create table t (x)");
  EXPECT_EQ(seen, (std::vector<std::string>{"PRAGMA synchronous = ON;", "PRAGMA synchronous = OFF;",
                                            "create table t (x)"}));
  db.RunStatement("insert into t values (1)");
  EXPECT_EQ(db.RowsChanged(), 1);
}

TEST_F(SQLiteLayerTest, DestructionRollsAnOpenTransactionBack) {
  const std::wstring path = Path(L"t.sqlite");
  {
    TTestDb fixture(path);
    fixture.Exec("create table t (x); insert into t values (1), (2)");
  }
  {
    TSQLiteDatabase db(path);
    db.BeginTransaction();
    EXPECT_TRUE(db.IsTransactionOpen());
    db.RunStatement("delete from t");
  }
  TTestDb check(path);
  EXPECT_EQ(check.Count("t"), 2);
  {
    TSQLiteDatabase db(path);
    db.BeginTransaction();
    db.RunStatement("delete from t");
    db.CommitTransaction();
    EXPECT_FALSE(db.IsTransactionOpen());
  }
  EXPECT_EQ(check.Count("t"), 0);
}

TEST_F(SQLiteLayerTest, TableOutlivesChangesToTheDatabase) {
  TSQLiteDatabase db(Path(L"t.sqlite"));
  db.RunStatement("create table t (x INTEGER)");
  db.RunStatement("insert into t values (1)");
  db.RunStatement("insert into t values (2)");
  const auto table = db.QueryTable("select x from t order by x");
  db.RunStatement("delete from t");
  ASSERT_EQ(table->RowCount(), 2);
  EXPECT_EQ(table->ColumnText(0), L"1");
  table->MoveNext();
  EXPECT_EQ(table->ColumnText(0), L"2");
}

} // namespace

namespace {

TEST_F(SQLiteLayerTest, WriteGatheringVfsIsRegisteredOnlyWhileADatabaseIsOpen) {
  EXPECT_EQ(sqlite3_vfs_find("drevka-buffered"), nullptr);
  {
    TSQLiteDatabase a(Path(L"a.sqlite"));
    EXPECT_NE(sqlite3_vfs_find("drevka-buffered"), nullptr);
    {
      TSQLiteDatabase b(Path(L"b.sqlite"));
      b.RunStatement("create table t (x)");
    }
    EXPECT_NE(sqlite3_vfs_find("drevka-buffered"), nullptr);
    // Many consecutive writes in one transaction, then read back by another
    // connection (the default VFS).
    a.RunStatement("create table t (x TEXT)");
    a.BeginTransaction();
    for (int i = 0; i < 2000; ++i)
      a.RunStatement("insert into t values ('" + std::string(500, static_cast<char>('a' + i % 26)) + "')");
    a.CommitTransaction();
  }
  EXPECT_EQ(sqlite3_vfs_find("drevka-buffered"), nullptr);
  EXPECT_EQ(sqlite3_vfs_find(nullptr), sqlite3_vfs_find("win32"));
  TTestDb check(Path(L"a.sqlite"));
  EXPECT_EQ(check.Count("t"), 2000);
  EXPECT_EQ(check.Column("pragma integrity_check"), std::vector<std::string>{"ok"});
}

} // namespace
