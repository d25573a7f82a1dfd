#include "browserdb/SQLite3.h"

#include <iterator>

namespace velmora {

std::wstring ResultCodeText(int code) {
  static const wchar_t *const kTexts[] = {
      L"Successful result",                           // 0
      L"SQL error or missing database",               // 1
      L"An internal logic error in SQLite",           // 2
      L"Access permission denied",                    // 3
      L"Callback routine requested an abort",         // 4
      L"The database file is locked",                 // 5
      L"A table in the database is locked",           // 6
      L"A malloc() failed",                           // 7
      L"Attempt to write a readonly database",        // 8
      L"Operation terminated by sqlite3_interrupt()", // 9
      L"Some kind of disk I/O error occurred",        // 10
      L"The database disk image is malformed",        // 11
      L"(Internal Only) Table or record not found",   // 12
      L"Insertion failed because database is full",   // 13
      L"Unable to open the database file",            // 14
      L"Database lock protocol error",                // 15
      L"Database is empty",                           // 16
      L"The database schema changed",                 // 17
      L"Too much data for one row of a table",        // 18
      L"Abort due to contraint violation",            // 19
      L"Data type mismatch",                          // 20
      L"Library used incorrectly",                    // 21
      L"Uses OS features not supported on host",      // 22
      L"Authorization denied",                        // 23
      L"Auxiliary database format error",             // 24
      L"2nd parameter to sqlite3_bind out of range",  // 25
      L"File opened that is not a database file",     // 26
  };
  if (code >= 0 && code < static_cast<int>(std::size(kTexts)))
    return kTexts[code];
  if (code == SQLITE_ROW)
    return L"sqlite3_step() has another row ready";
  if (code == SQLITE_DONE)
    return L"sqlite3_step() has finished executing";
  return L"Unknown SQLite Error Code \"" + std::to_wstring(code) + L"\"";
}

} // namespace velmora
