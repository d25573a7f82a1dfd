#pragma once
// The list of junk files an analysis showed in its report: written by the
// worker when an analysis ends, beside the configuration file, and read by
// the removal library, which removes nothing that is not on it. Each entry
// keeps what is needed to re-check the file at cleaning time: the walk and
// folder that admitted it, its size and its last-write time.
#include "removal/JunkRules.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace velmora {

struct TListedJunkFile {
  std::wstring Path;
  std::wstring Root; // the folder the walk started from
  TJunkWalk Walk = TJunkWalk::AllFiles;
  int64_t Size = 0;
  FILETIME LastWrite{};
};

struct TJunkList {
  int RemoveDay = 7; // the age limit the aged walk used
  // Whether the report's total counted the recycle bin, and what it held.
  bool RecycleCounted = false;
  int64_t RecycleSize = 0;
  int64_t RecycleItems = 0;
  std::vector<TListedJunkFile> Files;
};

// The list file beside the configuration file configFile.
std::wstring JunkListPath(const std::wstring &configFile);

// Writes list to path, replacing what was there. False when it cannot be
// written completely (then no list is left behind).
bool WriteJunkList(const std::wstring &path, const TJunkList &list);

// Reads the list at path. False when there is none, or it is unreadable,
// incomplete or malformed anywhere: then list is left empty.
bool ReadJunkList(const std::wstring &path, TJunkList &list);

} // namespace velmora
