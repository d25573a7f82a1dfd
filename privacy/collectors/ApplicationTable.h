#pragma once
// Where the supported programs outside the browsers and Windows keep their
// most-recently-used lists and caches.
#include <string>
#include <vector>

namespace velmora::privacy {

enum class TLocationKind {
  FolderOneLevel, // every entry directly in the folder
  FolderTree,     // every file below the folder
  File,           // one file, when it exists
  Key,            // a registry key below HKEY_CURRENT_USER
  Value,          // "key path|value name" below HKEY_CURRENT_USER
};

// Where a file location's relative path starts.
enum class TPathBase {
  AppData,     // the roaming application-data folder
  SystemDrive, // the drive of the system folder, e.g. "C:"
  Registry,    // a registry location: no file base
};

struct TAppLocation {
  TLocationKind Kind;
  TPathBase Base;
  std::wstring Path; // relative path, or registry key path, starting with '\'
};

struct TAppRow {
  std::wstring CategoryKey;
  // The progress caption; empty means the full path of the row's first
  // folder (cut to 60 characters).
  std::wstring Caption;
  std::vector<TAppLocation> Locations; // folders and files first, then the registry
};

// The 17 rows, in the order of the check tree.
const std::vector<TAppRow> &ApplicationTable();

} // namespace velmora::privacy
