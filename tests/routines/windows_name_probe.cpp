// Prints WindowsName() for the version this process was started under.
#include "junk/Routines.h"

#include <cstdio>

int main() {
  std::fputs(std::string(velmora::WindowsName().begin(), velmora::WindowsName().end()).c_str(),
             stdout);
  return 0;
}
