// A stand-in for the removal library that never returns from its removal:
// the program must still end when its window is closed.
#include "removal/TosmirApi.h"

#include <type_traits>

// Exported by the .def file under the contract's plain names.
extern "C" {

int WINAPI CreateDll(const wchar_t **reply, const wchar_t *) {
  if (reply)
    *reply = nullptr;
  return 1;
}

int WINAPI RepairTFile() {
  Sleep(INFINITE);
  return 0;
}
}

// The entry points have the contract's types.
static_assert(std::is_same_v<decltype(&CreateDll), velmora::tosmir::TCreateDll>);
static_assert(std::is_same_v<decltype(&RepairTFile), velmora::tosmir::TRepairTFile>);
