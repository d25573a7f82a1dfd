// Tosmir.dll: the junk-file removal library that Velmora loads at each
// junk cleaning. CreateDll names the configuration file; RepairTFile
// removes the files that the last analysis listed beside it (with secure
// deletion when its section "Junk File Removal" asks for it) and returns
// when done.
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
    // The list the last analysis left beside the configuration file says
    // what goes; the file itself only says how.
    const bool secure = velmora::ReadJunkSettings(g_configFile).SecureDeletion;
    return velmora::RemoveListedJunk(g_configFile, secure).Removed;
  } catch (...) {
    return -1;
  }
}

// Both entry points agree with what Velmora calls.
static_assert(std::is_same_v<decltype(&CreateDll), velmora::tosmir::TCreateDll>);
static_assert(std::is_same_v<decltype(&RepairTFile), velmora::tosmir::TRepairTFile>);
