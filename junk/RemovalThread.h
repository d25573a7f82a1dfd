#pragma once
// Velmora's side of the hand-off to the removal library Tosmir.dll: load
// it, give it the configuration file, let it remove the junk, free it.
#include <windows.h>

#include <string>

namespace velmora {

// The removal library and its two entry points (stdcall, exported by these
// undecorated names). CreateDll takes the configuration file's path and
// may leave a message in *reply (unused, set to null by our library);
// RepairTFile removes the junk by the file's settings and returns when
// done, with the number of files removed or -1 on failure.
inline const wchar_t kRemovalLibrary[] = L"Tosmir.dll";
using TCreateDll = int(WINAPI *)(const wchar_t **reply, const wchar_t *configFile);
using TRepairTFile = int(WINAPI *)();

// Loads library (by bare name: the system's search order, the program's
// folder first), calls CreateDll with configFile, then RepairTFile, and
// frees it. Every failure is swallowed; returns whether RepairTFile ran.
bool RunRemovalLibrary(const std::wstring &library, const std::wstring &configFile);

// Thread body for CreateThread: param is a std::wstring* (the configuration
// file's path) allocated with new, which the thread deletes. Runs
// RunRemovalLibrary with kRemovalLibrary.
DWORD WINAPI RemovalThread(void *param);

} // namespace velmora
