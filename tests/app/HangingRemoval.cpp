// A stand-in for the removal library that never returns from its removal:
// the program must still end when its window is closed.
#include "removal/TosmirApi.h"

extern "C" {

__declspec(dllexport) int WINAPI CreateDll(const wchar_t **reply, const wchar_t *) {
  if (reply)
    *reply = nullptr;
  return 1;
}

__declspec(dllexport) int WINAPI RepairTFile() {
  Sleep(INFINITE);
  return 0;
}
}

// The library's own entry points have the contract's types.
static_assert(sizeof(velmora::tosmir::TCreateDll) == sizeof(&CreateDll));
