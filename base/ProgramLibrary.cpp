#include "base/ProgramLibrary.h"

#include "base/Text.h"

#include <vector>

namespace velmora {

namespace {

// The folder-restricting load flags exist where SetDefaultDllDirectories
// does (Microsoft's documented test).
bool HasSearchFlags() {
  const HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
  return kernel && ::GetProcAddress(kernel, "SetDefaultDllDirectories");
}

std::wstring ProgramFolder() {
  std::vector<wchar_t> module(MAX_PATH);
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(nullptr, module.data(), static_cast<DWORD>(module.size()));
    if (n == 0)
      return {};
    if (n < module.size())
      return ExtractFilePath(std::wstring(module.data(), n));
    module.resize(module.size() * 2);
  }
}

} // namespace

UniqueModule LoadProgramLibrary(const std::wstring &fileName) {
  std::wstring path = fileName;
  if (fileName.find_first_of(L"\\/:") == std::wstring::npos) {
    const std::wstring folder = ProgramFolder();
    if (folder.empty())
      return UniqueModule();
    path = folder + fileName;
  }
  const DWORD flags = HasSearchFlags()
                          ? LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32
                          : LOAD_WITH_ALTERED_SEARCH_PATH;
  return UniqueModule(::LoadLibraryExW(path.c_str(), nullptr, flags));
}

void RestrictLibrarySearch() {
  using TSetDefaultDllDirectories = BOOL(WINAPI *)(DWORD);
  const HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
  if (!kernel)
    return;
  const auto set = reinterpret_cast<TSetDefaultDllDirectories>(
      reinterpret_cast<void *>(::GetProcAddress(kernel, "SetDefaultDllDirectories")));
  if (set)
    set(LOAD_LIBRARY_SEARCH_SYSTEM32 | LOAD_LIBRARY_SEARCH_APPLICATION_DIR);
}

} // namespace velmora
