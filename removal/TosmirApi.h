#pragma once
// The export table and calling contract of Tosmir.dll, the junk-file removal
// library, as the program binds it: LoadLibraryW(kTosmirLibrary),
// GetProcAddress by the names below, CreateDll with the configuration file's
// path, then RepairTFile, FreeLibrary. Both entry points use the standard
// call convention and are exported by these undecorated names. Nothing
// thrown inside ever leaves the library.
#include <windows.h>

namespace velmora::tosmir {

inline constexpr wchar_t kTosmirLibrary[] = L"Tosmir.dll";

// CreateDll(reply slot, configuration file): names the configuration file
// for the next RepairTFile; may leave a message in *reply (our library sets
// it to null). Returns nonzero on success.
using TCreateDll = int(WINAPI *)(const wchar_t **reply, const wchar_t *configFile);
// RepairTFile(): removes the junk and returns when done, with the number of
// files removed, or -1 on failure.
using TRepairTFile = int(WINAPI *)();

inline constexpr char kCreateDll[] = "CreateDll";
inline constexpr char kRepairTFile[] = "RepairTFile";

} // namespace velmora::tosmir
