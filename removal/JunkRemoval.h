#pragma once
// The removal library's core: removes the junk files an analysis listed,
// each only after re-checking it, optionally overwriting it first, and
// empties the recycle bin when the analysis counted it.
#include "removal/JunkList.h"
#include "removal/JunkRules.h"

#include <functional>
#include <string>

namespace velmora {

// Called after each overwrite pass of a secure deletion (1 zeros, 2 ones,
// 3 random bytes), once that pass has been flushed to the disk.
using TPassDone = std::function<void(int pass)>;

// What a listed file looked like when the analysis saw it.
struct TFileIdentity {
  int64_t Size = 0;
  FILETIME LastWrite{};
};

// Removes the plain file path, which must lie below the folder root with no
// reparse point on the way, through one handle opened on the file itself
// (never on what a reparse point names): the folders between root and the
// file are held open so none can be swapped meanwhile, and the handle's
// final path must still be root's final path plus the same relative path.
// With expected, the file must still have that size and last-write time.
// With secure, a file with one name is overwritten three times (zeros,
// ones, random bytes; each pass written completely and flushed, or nothing
// more happens), renamed to a random name and deleted through the same
// handle; a file with further hard links only loses this name. A file that
// is gone, changed, read-only, a folder or reparse point, or that someone
// else holds open for writing or deleting is left alone. Returns whether
// the file was removed.
bool RemoveJunkFileBelow(const std::wstring &root, const std::wstring &path, bool secure,
                         const TFileIdentity *expected = nullptr, const TPassDone &passDone = {});

// The same with the file's own folder as root.
bool RemoveJunkFile(const std::wstring &path, bool secure, const TPassDone &passDone = {});

// A random name of the same length as name, of lower-case letters and
// digits.
std::wstring RandomNameLike(const std::wstring &name);

struct TRemovalResult {
  bool ListRead = false; // a well-formed list was found
  int Removed = 0;       // files removed
  int Skipped = 0;       // listed files that failed a check or could not go
  bool BinEmptied = false;
};

// Removes what the list beside configFile names and nothing else: each
// entry must still be admitted by its walk's rules below one of the folders
// an analysis walks (as this process finds them), and pass
// RemoveJunkFileBelow. The recycle bin is emptied only when the list says
// the report counted it and it still holds what the analysis saw. No list,
// or a malformed one, removes nothing. The list is deleted afterwards.
TRemovalResult RemoveListedJunk(const std::wstring &configFile, bool secure);

} // namespace velmora
