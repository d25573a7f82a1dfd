// Stands in for a running browser: started under the browser's file name,
// it waits until the test ends it.
#include <windows.h>

int main() {
  ::Sleep(120000);
  return 0;
}
