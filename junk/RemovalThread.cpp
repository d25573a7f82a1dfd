#include "junk/RemovalThread.h"

#include "base/Handles.h"
#include "base/ProgramLibrary.h"

#include <memory>

namespace velmora {

bool RunRemovalLibrary(const std::wstring &library, const std::wstring &configFile) {
  try {
    // Only from the program's folder, never through the search path.
    UniqueModule module = LoadProgramLibrary(library);
    if (!module)
      return false;
    auto createDll =
        reinterpret_cast<tosmir::TCreateDll>(::GetProcAddress(module.Get(), tosmir::kCreateDll));
    auto repairTFile = reinterpret_cast<tosmir::TRepairTFile>(
        ::GetProcAddress(module.Get(), tosmir::kRepairTFile));
    if (!createDll || !repairTFile)
      return false;
    const wchar_t *reply = nullptr;
    createDll(&reply, configFile.c_str());
    repairTFile();
    return true;
  } catch (...) {
    return false;
  }
}

DWORD WINAPI RemovalThread(void *param) {
  try {
    std::unique_ptr<std::wstring> configFile(static_cast<std::wstring *>(param));
    if (configFile)
      RunRemovalLibrary(tosmir::kTosmirLibrary, *configFile);
  } catch (...) {
  }
  return 0;
}

} // namespace velmora
