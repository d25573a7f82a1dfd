#pragma once
// The binding unit SQLite3 (Part 5.1): the SQLite C API as the access layer
// uses it, and ResultCodeText.
#include <sqlite3.h>

#include <string>

namespace velmora {

// An English text for an SQLite result code (the table of Part 5.1).
std::wstring ResultCodeText(int code);

} // namespace velmora
