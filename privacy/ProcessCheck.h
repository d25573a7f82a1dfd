#pragma once
// Which programs run, from a Toolhelp process snapshot.
#include <string>
#include <vector>

namespace velmora {

// Appends the executable name of every running process to list. Without
// the Toolhelp functions, or when the snapshot fails, appends nothing.
void ListProcesses(std::vector<std::wstring> &list);

// True when a running process has this executable name, compared without
// regard to the case of ASCII letters.
bool IsProcessRunning(const std::wstring &exeName);

} // namespace velmora
