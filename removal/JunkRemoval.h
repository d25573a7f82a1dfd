#pragma once
// The removal library's core: deletes the junk files that the junk rules
// find, optionally overwriting them first, and empties the recycle bin.
#include "removal/JunkRules.h"

#include <functional>
#include <string>

namespace velmora {

// Called after each overwrite pass of a secure deletion (1 zeros, 2 ones,
// 3 random bytes), once that pass has been flushed to the disk.
using TPassDone = std::function<void(int pass)>;

// Deletes one plain file. With secure, its content is first overwritten
// in three passes (zeros, ones, random bytes), each flushed, and the file
// is renamed to a random name of the same length before it is deleted.
// A file that is gone, is a folder or a reparse point, or cannot be opened
// is left alone; returns whether the file was deleted.
bool RemoveJunkFile(const std::wstring &path, bool secure, const TPassDone &passDone = {});

// A random name of the same length as name, of lower-case letters and
// digits.
std::wstring RandomNameLike(const std::wstring &name);

// Removes what an analysis under settings finds: the files of every junk
// folder that the junk rules count, then (with settings.Recycle) the
// recycle bin, emptied without any window. Returns the number of files
// deleted.
int RemoveJunk(const TJunkSettings &settings);

} // namespace velmora
