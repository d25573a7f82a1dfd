// A library that leaves a marker file in the current folder when it is
// loaded: planted under a name of ours where the program must never look.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    HANDLE marker = ::CreateFileW(L"planted-library-loaded.txt", GENERIC_WRITE, 0, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (marker != INVALID_HANDLE_VALUE)
      ::CloseHandle(marker);
  }
  return TRUE;
}
