#pragma once
// Loading the program's own libraries (Drevka.dll, Tosmir.dll) only from the
// program's folder, never through the system's search (current folder,
// PATH), where a planted library of the same name would run inside us.
#include "base/Handles.h"

#include <string>

namespace velmora {

// Loads fileName from the folder of the running program file (a full path is
// taken as it is). The libraries it imports (sqlite3.dll for Drevka.dll) are
// looked for in its own folder and the system folder only, where Windows
// offers that (Windows 7 with KB2533623 and later); otherwise in its own
// folder first. Empty when the file is missing or cannot be loaded.
UniqueModule LoadProgramLibrary(const std::wstring &fileName);

// Restricts the process's library search to the system folder and the
// program's folder (SetDefaultDllDirectories), where Windows offers that.
// Called once at start-up, before any library is loaded on demand.
void RestrictLibrarySearch();

} // namespace velmora
