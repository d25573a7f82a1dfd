// Prints WindowsName() for the version this process was started under.
#include "system/Routines.h"

#include <cstdio>

int main() {
  const std::wstring name = velmora::WindowsName();
  std::fputs(std::string(name.begin(), name.end()).c_str(), stdout);
  return 0;
}
