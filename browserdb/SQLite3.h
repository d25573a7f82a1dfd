#pragma once
// The binding unit SQLite3: the SQLite C API as the access layer
// uses it, and ResultCodeText.
#include <sqlite3.h>

#include <string>

namespace velmora {

// An English text for an SQLite result code (the table the messages use).
std::wstring ResultCodeText(int code);

} // namespace velmora
