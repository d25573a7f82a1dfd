#include "Fixtures.h"

#include "TestSupport.h"
#include "base/Handles.h"
#include "base/Text.h"

#include <stdexcept>

namespace velmora::test {

namespace {

void Fail(const std::string &what) { throw std::runtime_error(what); }

// Binds one export as the program does and calls it.
template <class Fn, class... Args> auto CallDrevka(const char *name, Args... args) {
  UniqueModule library(::LoadLibraryW(drevka::kDrevkaLibrary));
  if (!library)
    Fail("LoadLibraryW(Drevka.dll) failed, error " + std::to_string(::GetLastError()));
  auto fn = reinterpret_cast<Fn>(::GetProcAddress(library.Get(), name));
  if (!fn)
    Fail(std::string("GetProcAddress(") + name + ") failed");
  return fn(args...);
}

// A BSTR argument owned by the caller.
class TBstr {
public:
  explicit TBstr(const std::wstring &s) : s_(::SysAllocStringLen(s.data(), static_cast<UINT>(s.size()))) {}
  ~TBstr() { ::SysFreeString(s_); }
  TBstr(const TBstr &) = delete;
  TBstr &operator=(const TBstr &) = delete;
  BSTR Get() const { return s_; }

private:
  BSTR s_;
};

template <class Fn>
std::wstring Scan(const char *name, const std::wstring &path, BSTR initialSlot, bool *wasNull) {
  TBstr arg(path);
  BSTR slot = initialSlot;
  CallDrevka<Fn>(name, &slot, arg.Get());
  if (wasNull)
    *wasNull = slot == nullptr;
  std::wstring result = slot ? std::wstring(slot, ::SysStringLen(slot)) : std::wstring();
  ::SysFreeString(slot);
  return result;
}

template <class Fn> bool Repair(const char *name, const std::wstring &path) {
  TBstr arg(path);
  return CallDrevka<Fn>(name, arg.Get());
}

} // namespace

TTestDb::TTestDb(const std::wstring &path) {
  if (sqlite3_open(ToUtf8(path).c_str(), &db_) != SQLITE_OK)
    Fail("sqlite3_open failed: " + std::string(db_ ? sqlite3_errmsg(db_) : "?"));
}

TTestDb::~TTestDb() { sqlite3_close(db_); }

void TTestDb::Exec(const std::string &sql) {
  char *error = nullptr;
  if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
    const std::string message = error ? error : "?";
    sqlite3_free(error);
    Fail("sqlite3_exec failed: " + message + " in: " + sql.substr(0, 200));
  }
}

int64_t TTestDb::Count(const std::string &table, const std::string &where) {
  const auto rows = Column("select count(*) from " + table + (where.empty() ? "" : " where " + where));
  return rows.empty() ? -1 : std::stoll(rows.front());
}

std::vector<std::string> TTestDb::Column(const std::string &sql) {
  sqlite3_stmt *stmt = nullptr;
  if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK)
    Fail("sqlite3_prepare_v2 failed: " + std::string(sqlite3_errmsg(db_)) + " in: " + sql);
  std::vector<std::string> values;
  int rc;
  while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
    const auto *text = sqlite3_column_text(stmt, 0);
    values.push_back(text ? reinterpret_cast<const char *>(text) : "<null>");
  }
  sqlite3_finalize(stmt);
  if (rc != SQLITE_DONE)
    Fail("sqlite3_step failed: " + std::string(sqlite3_errmsg(db_)) + " in: " + sql);
  return values;
}

std::string ChromeBookmarksJson(const std::vector<std::pair<std::string, std::string>> &bookmarks) {
  std::string json = "{\n   \"roots\": {\n      \"bookmark_bar\": {\n         \"children\": [ ";
  int id = 3;
  for (size_t i = 0; i < bookmarks.size(); ++i) {
    json += (i ? ", {\n" : "{\n");
    json += "            \"date_added\": \"12893456789012345\",\n";
    json += "            \"id\": \"" + std::to_string(id++) + "\",\n";
    json += "            \"name\": \"" + bookmarks[i].first + "\",\n";
    json += "            \"type\": \"url\",\n";
    json += "            \"url\": \"" + bookmarks[i].second + "\"\n         }";
  }
  json += " ],\n         \"date_added\": \"0\",\n         \"date_modified\": \"12893456789012345\",\n"
          "         \"id\": \"1\",\n         \"name\": \"Bookmarks bar\",\n         \"type\": "
          "\"folder\"\n      },\n      \"other\": {\n         \"children\": [  ],\n"
          "         \"date_added\": \"0\",\n         \"date_modified\": \"0\",\n         \"id\": "
          "\"2\",\n         \"name\": \"Other bookmarks\",\n         \"type\": \"folder\"\n      }\n"
          "   },\n   \"version\": 1\n}\n";
  return json;
}

void MakeFirefoxCookies(const std::wstring &path, const std::vector<const char *> &hosts) {
  ::DeleteFileW(path.c_str());
  TTestDb db(path);
  db.Exec(schema::kFirefoxCookies);
  db.Exec("BEGIN");
  int id = 1;
  for (const char *host : hosts) {
    const std::string h = host ? "'" + std::string(host) + "'" : "NULL";
    db.Exec("insert into moz_cookies values(" + std::to_string(id) + ",'id" + std::to_string(id) +
            "','value-" + std::to_string(id) + "-secret-cookie-value'," + h +
            ",'/',1893456000,1234567890123456,0,0)");
    ++id;
  }
  db.Exec("COMMIT");
}

void MakeChromeCookies(const std::wstring &path, const std::vector<const char *> &hosts) {
  ::DeleteFileW(path.c_str());
  TTestDb db(path);
  db.Exec(schema::kChromeCookies);
  db.Exec("insert into meta values('version','3'),('last_compatible_version','3')");
  db.Exec("BEGIN");
  int id = 1;
  for (const char *host : hosts) {
    db.Exec("insert into cookies values(" + std::to_string(12890000000000000LL + id) + ",'" + host +
            "','SID" + std::to_string(id) + "','chrome-secret-cookie-" + std::to_string(id) +
            "','/',12990000000000000,0,1,12890000000000000)");
    ++id;
  }
  db.Exec("COMMIT");
}

std::wstring ScanMozCk(const std::wstring &path, BSTR initialSlot, bool *wasNull) {
  return Scan<drevka::TScanMozCk>(drevka::kScanMozCk, path, initialSlot, wasNull);
}
std::wstring ScanChromeCk(const std::wstring &path, BSTR initialSlot, bool *wasNull) {
  return Scan<drevka::TScanChromeCk>(drevka::kScanChromeCk, path, initialSlot, wasNull);
}
bool RepairMozCk(const std::wstring &path) {
  return Repair<drevka::TRepairMozCk>(drevka::kRepairMozCk, path);
}
bool RepairMozHis(const std::wstring &path) {
  return Repair<drevka::TRepairMozHis>(drevka::kRepairMozHis, path);
}
bool RepairChromeCk(const std::wstring &path) {
  return Repair<drevka::TRepairChromeCk>(drevka::kRepairChromeCk, path);
}
bool RepairChromeDown(const std::wstring &path) {
  return Repair<drevka::TRepairChromeDown>(drevka::kRepairChromeDown, path);
}
bool RepairChromeFill(const std::wstring &path) {
  return Repair<drevka::TRepairChromeFill>(drevka::kRepairChromeFill, path);
}
bool RepairChromeHis(const std::wstring &bookmarks, const std::wstring &history,
                     const std::wstring &thumbnails) {
  TBstr b(bookmarks), h(history), t(thumbnails);
  return CallDrevka<drevka::TRepairChromeHis>(drevka::kRepairChromeHis, b.Get(), h.Get(), t.Get());
}

std::wstring RepairLogPath() { return ProgramFolder() + L"aa.log"; }

std::vector<std::wstring> RepairLogLines() {
  std::vector<std::wstring> lines;
  if (!PathExists(RepairLogPath()))
    return lines;
  const std::wstring text = FromAnsi(ReadFileBytes(RepairLogPath()));
  size_t start = 0;
  for (;;) {
    const size_t end = text.find(L"\r\n", start);
    if (end == std::wstring::npos) {
      if (start < text.size())
        lines.push_back(text.substr(start) + L"<no CR LF>");
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

} // namespace velmora::test
