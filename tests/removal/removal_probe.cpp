// Removes one file in a process of its own, for limits that a process gets
// at its start (a Unix file-size limit under Wine). Prints
// "removed=<0|1> passes=<completed overwrite passes>".
//   removal_probe secure|plain <path>
#include "removal/JunkRemoval.h"

#include <cstdio>
#include <string>

int wmain(int argc, wchar_t **argv) {
  if (argc < 3)
    return 2;
  int passes = 0;
  const bool removed = velmora::RemoveJunkFile(argv[2], std::wstring(argv[1]) == L"secure",
                                               [&passes](int pass) { passes = pass; });
  std::printf("removed=%d passes=%d\n", removed ? 1 : 0, passes);
  return 0;
}
