#pragma once
// Velmora's side of the hand-off to the removal library Tosmir.dll: load
// it, give it the configuration file, let it remove the junk, free it.
#include "removal/TosmirApi.h"

#include <windows.h>

#include <string>

namespace velmora {

// Loads library (by bare name: the system's search order, the program's
// folder first), calls CreateDll with configFile, then RepairTFile, and
// frees it. Every failure is swallowed; returns whether RepairTFile ran.
bool RunRemovalLibrary(const std::wstring &library, const std::wstring &configFile);

// Thread body for CreateThread: param is a std::wstring* (the configuration
// file's path) allocated with new, which the thread deletes. Runs
// RunRemovalLibrary with tosmir::kTosmirLibrary.
DWORD WINAPI RemovalThread(void *param);

} // namespace velmora
