#include "junk/RemovalThread.h"

#include "base/Handles.h"

#include <memory>

namespace velmora {

bool RunRemovalLibrary(const std::wstring &library, const std::wstring &configFile) {
  try {
    UniqueModule module(::LoadLibraryW(library.c_str()));
    if (!module)
      return false;
    auto createDll = reinterpret_cast<TCreateDll>(::GetProcAddress(module.Get(), "CreateDll"));
    auto repairTFile =
        reinterpret_cast<TRepairTFile>(::GetProcAddress(module.Get(), "RepairTFile"));
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
      RunRemovalLibrary(kRemovalLibrary, *configFile);
  } catch (...) {
  }
  return 0;
}

} // namespace velmora
