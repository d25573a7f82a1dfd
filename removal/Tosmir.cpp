// Tosmir.dll: the junk-file removal library that Velmora loads at each
// junk cleaning. CreateDll names the configuration file; RepairTFile
// removes the junk by its section "Junk File Removal" and returns when done.
// Nothing thrown inside leaves the library.
#include "removal/JunkRemoval.h"
#include "removal/TosmirApi.h"

#include <mutex>
#include <string>
#include <type_traits>

namespace {

std::mutex g_lock;
std::wstring g_configFile;

} // namespace

extern "C" int WINAPI CreateDll(const wchar_t **reply, const wchar_t *configFile) {
  try {
    if (reply)
      *reply = nullptr;
    const std::lock_guard<std::mutex> hold(g_lock);
    g_configFile = configFile ? configFile : L"";
    return 1;
  } catch (...) {
    return 0;
  }
}

extern "C" int WINAPI RepairTFile() {
  try {
    const std::lock_guard<std::mutex> hold(g_lock);
    if (g_configFile.empty())
      return -1;
    return velmora::RemoveJunk(velmora::ReadJunkSettings(g_configFile));
  } catch (...) {
    return -1;
  }
}

// Both entry points agree with what Velmora calls.
static_assert(std::is_same_v<decltype(&CreateDll), velmora::tosmir::TCreateDll>);
static_assert(std::is_same_v<decltype(&RepairTFile), velmora::tosmir::TRepairTFile>);
