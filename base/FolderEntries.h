#pragma once
// Iterates the entries of one folder (or of one wildcard pattern) with
// FindFirstFileExW, skipping "." and "..". Entries report whether they are
// folders and whether they are reparse points, so walkers can refuse to
// follow junctions and symbolic links.
#include "base/Handles.h"

#include <cstdint>
#include <string>

namespace velmora {

struct TFolderEntry {
  std::wstring Name;
  DWORD Attributes = 0;
  int64_t Size = 0;
  FILETIME LastWrite{};
  FILETIME Created{};

  bool IsFolder() const { return (Attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
  bool IsReparsePoint() const { return (Attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0; }
};

// How a listing asks the system: Fast (no short names, large fetch) where
// the system allows it, falling back to Standard when it refuses; Standard
// (the level every Windows version has) only.
enum class TFindLevel { Fast, Standard };

class TFolderEntries {
public:
  // pattern is a full path with wildcards, e.g. L"C:\\x\\*" or L"C:\\x\\*.lng".
  explicit TFolderEntries(const std::wstring &pattern, TFindLevel level = TFindLevel::Fast);
  // Fills entry with the next entry; false at the end (or when the pattern
  // matched nothing).
  bool Next(TFolderEntry &entry);

private:
  UniqueFind find_;
  WIN32_FIND_DATAW data_{};
  bool pending_ = false;
};

// What GetFileAttributesW says of a path.
bool FileExists(const std::wstring &path);   // plain file, not a folder
bool FolderExists(const std::wstring &path); // folder (reparse points included)

// Paths compare ordinally without regard to case, as the file system does
// (a linguistic comparison would ignore hyphens and apostrophes).
bool SamePath(const std::wstring &a, const std::wstring &b);

// The final path of an open file or folder as the system resolves it
// ("\\?\C:\..." or "\\?\UNC\..."): links and junctions on the way
// followed. Empty when the system cannot say.
std::wstring FinalPathOf(HANDLE h);

// Reads a whole file into bytes, opened for reading while others may read
// but not write. False when it cannot be opened or read, or is larger than
// maxBytes.
bool ReadWholeFile(const std::wstring &path, uint64_t maxBytes, std::string &bytes);

} // namespace velmora
