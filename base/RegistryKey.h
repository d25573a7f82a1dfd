#pragma once
// A registry key opened without creating it, with the few operations the
// engine needs: names of subkeys and values, value types and data, and
// deletion of a value or of a whole tree.
#include "base/Handles.h"

#include <string>
#include <vector>

namespace velmora {

class TRegistryKey {
public:
  TRegistryKey() = default;
  // Opens root\path; Valid() tells whether it exists and could be opened.
  TRegistryKey(HKEY root, const std::wstring &path, REGSAM access = KEY_READ);

  bool Valid() const { return key_.Valid(); }
  HKEY Get() const { return key_.Get(); }

  static bool Exists(HKEY root, const std::wstring &path);

  std::vector<std::wstring> SubkeyNames() const;
  std::vector<std::wstring> ValueNames() const;
  // REG_NONE when the value is absent.
  DWORD ValueType(const std::wstring &name) const;
  bool ValueExists(const std::wstring &name) const;
  // The data of a REG_SZ / REG_EXPAND_SZ value; empty when absent.
  std::wstring ReadString(const std::wstring &name) const;
  // Size in bytes of a value's data; 0 when absent.
  DWORD ValueSize(const std::wstring &name) const;

  // Needs a key opened with write access. Return whether it succeeded.
  bool DeleteValue(const std::wstring &name) const;
  static bool DeleteTree(HKEY root, const std::wstring &path);

private:
  UniqueRegKey key_;
};

} // namespace velmora
