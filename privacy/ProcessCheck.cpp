#include "privacy/ProcessCheck.h"

#include "base/Handles.h"

#include <windows.h>

#include <tlhelp32.h>

#include <cwchar>

namespace velmora {

namespace {

using SnapshotFn = HANDLE(WINAPI *)(DWORD, DWORD);
using ProcessFn = BOOL(WINAPI *)(HANDLE, LPPROCESSENTRY32W);

struct TToolhelp {
  SnapshotFn Snapshot = nullptr;
  ProcessFn First = nullptr;
  ProcessFn Next = nullptr;
  bool Present() const { return Snapshot && First && Next; }
};

// Looked up by name at first use: not every Windows has them.
const TToolhelp &Toolhelp() {
  static const TToolhelp functions = [] {
    TToolhelp t;
    if (HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll")) {
      t.Snapshot =
          reinterpret_cast<SnapshotFn>(::GetProcAddress(kernel, "CreateToolhelp32Snapshot"));
      t.First = reinterpret_cast<ProcessFn>(::GetProcAddress(kernel, "Process32FirstW"));
      t.Next = reinterpret_cast<ProcessFn>(::GetProcAddress(kernel, "Process32NextW"));
    }
    return t;
  }();
  return functions;
}

std::wstring AsciiUpper(std::wstring s) {
  for (wchar_t &c : s)
    if (c >= L'a' && c <= L'z')
      c = static_cast<wchar_t>(c - L'a' + L'A');
  return s;
}

} // namespace

void ListProcesses(std::vector<std::wstring> &list) {
  const TToolhelp &t = Toolhelp();
  if (!t.Present())
    return;
  UniqueFile snapshot(t.Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot)
    return;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = t.First(snapshot.Get(), &entry); more; more = t.Next(snapshot.Get(), &entry))
    list.emplace_back(entry.szExeFile, ::wcsnlen(entry.szExeFile, MAX_PATH));
}

bool IsProcessRunning(const std::wstring &exeName) {
  std::vector<std::wstring> processes;
  ListProcesses(processes);
  const std::wstring wanted = AsciiUpper(exeName);
  for (const std::wstring &name : processes)
    if (AsciiUpper(name) == wanted)
      return true;
  return false;
}

} // namespace velmora
