#pragma once
// Databases of today's Firefox profiles, built from the CREATE TABLE
// statements of two Firefox versions (115 ESR: places schema 74, cookies 12;
// 128 ESR: places schema 77 with the *_extra tables, cookies 13) and of the
// current cookie schema, all in WAL mode as Firefox keeps them.
#include <string>
#include <vector>

namespace velmora::test {

enum class TFirefoxVersion { Esr115, Esr128 };

// places.sqlite and favicons.sqlite in folder, for one site name ("a"
// gives https://seen-a.example/ ...):
//   place 1 https://seen-<s>.example/page      visited, icon 1, input, metadata
//   place 2 https://kept-<s>.example/          visited and bookmarked, icon 2
//   place 3 https://dl-<s>.example/file.zip    downloaded (visit type 7, annotations)
//   place 4 https://kept-<s>.example/unvisited bookmarked, never visited
//   place 5 https://typed-<s>.example/         neither (no visit, no bookmark)
// Root icons of seen-<s> (icon 3) and kept-<s> (icon 4). A history repair
// keeps places 2, 4 and 5, origins of kept-<s> and typed-<s>, icons 2 and 4.
void MakeCurrentPlaces(const std::wstring &folder, TFirefoxVersion version,
                       const std::string &site);
// cookies.sqlite with one cookie per host (schema 12, 13 or 17).
void MakeCurrentCookies(const std::wstring &path, int schemaVersion,
                        const std::vector<std::string> &hosts);
// formhistory.sqlite (schema 5) with one entry per (field name, value).
void MakeCurrentFormHistory(const std::wstring &path,
                            const std::vector<std::pair<std::string, std::string>> &entries);
// The journal mode a database file says it is in ("wal", "delete", ...).
std::string JournalModeOf(const std::wstring &path);

} // namespace velmora::test
