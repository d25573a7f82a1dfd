#pragma once
// Calls into Drevka.dll, the browser-database library. Every call binds the
// library afresh: loaded by full path from the program's folder (never
// through the search path), GetProcAddress by export name, the call,
// FreeLibrary, also when anything fails. Nothing is cached between calls.
//
// A library that cannot be loaded, or that lacks the export, makes the call
// a no-op: a repair is skipped, a cookie listing is empty.
#include "base/Handles.h"
#include "base/ProgramLibrary.h"
#include "browserdb/DrevkaApi.h"

#include <optional>
#include <string>

namespace velmora::privacy {

// A BSTR the caller owns: SysAllocStringLen on creation, SysFreeString
// when it goes. Also serves as the result slot of the scan exports.
class TBstr {
public:
  TBstr() = default;
  explicit TBstr(const std::wstring &text);
  ~TBstr();
  TBstr(const TBstr &) = delete;
  TBstr &operator=(const TBstr &) = delete;

  BSTR Get() const { return s_; }
  // For an export that frees what the slot holds and stores a new BSTR.
  BSTR *Slot() { return &s_; }
  std::wstring Text() const;

private:
  BSTR s_ = nullptr;
};

// Drevka.dll loaded for one call; freed with the object.
class TDrevkaModule {
public:
  TDrevkaModule() : module_(LoadProgramLibrary(drevka::kDrevkaLibrary)) {}

  // The export, or nullptr when the library or the export is missing.
  template <class Fn> Fn Export(const char *name) const {
    if (!module_)
      return nullptr;
    return reinterpret_cast<Fn>(reinterpret_cast<void *>(::GetProcAddress(module_.Get(), name)));
  }

private:
  UniqueModule module_;
};

// Calls a scan export (ScanMozCk, ScanChromeCk) on a database; the host
// list, or nothing when the library or the export is missing.
template <class Fn>
std::optional<std::wstring> CallDrevkaScan(const char *name, const std::wstring &path) {
  const TDrevkaModule library;
  const Fn scan = library.Export<Fn>(name);
  if (!scan)
    return std::nullopt;
  const TBstr argument(path);
  TBstr result;
  scan(result.Slot(), argument.Get());
  return result.Text();
}

// Calls a repair export that takes one database path; its result, or false
// when the library or the export is missing (nothing was called).
template <class Fn> bool CallDrevkaRepair(const char *name, const std::wstring &path) {
  const TDrevkaModule library;
  const Fn repair = library.Export<Fn>(name);
  if (!repair)
    return false;
  const TBstr argument(path);
  return repair(argument.Get());
}

} // namespace velmora::privacy
