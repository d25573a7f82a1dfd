#include "base/RegistryKey.h"

#include <shlwapi.h>

namespace velmora {

TRegistryKey::TRegistryKey(HKEY root, const std::wstring &path, REGSAM access) {
  ::RegOpenKeyExW(root, path.c_str(), 0, access, key_.Receive());
}

bool TRegistryKey::Exists(HKEY root, const std::wstring &path) {
  return TRegistryKey(root, path).Valid();
}

std::vector<std::wstring> TRegistryKey::SubkeyNames() const {
  std::vector<std::wstring> names;
  if (!Valid())
    return names;
  DWORD count = 0, longest = 0;
  if (::RegQueryInfoKeyW(key_.Get(), nullptr, nullptr, nullptr, &count, &longest, nullptr, nullptr,
                         nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
    return names;
  std::wstring buf(longest + 2, L'\0');
  for (DWORD i = 0;; ++i) {
    DWORD len = static_cast<DWORD>(buf.size());
    LONG rc = ::RegEnumKeyExW(key_.Get(), i, buf.data(), &len, nullptr, nullptr, nullptr, nullptr);
    if (rc == ERROR_MORE_DATA) {
      buf.resize(buf.size() * 2);
      --i;
      continue;
    }
    if (rc != ERROR_SUCCESS)
      break;
    names.emplace_back(buf.data(), len);
  }
  return names;
}

std::vector<std::wstring> TRegistryKey::ValueNames() const {
  std::vector<std::wstring> names;
  if (!Valid())
    return names;
  DWORD count = 0, longest = 0;
  if (::RegQueryInfoKeyW(key_.Get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count,
                         &longest, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
    return names;
  std::wstring buf(longest + 2, L'\0');
  for (DWORD i = 0;; ++i) {
    DWORD len = static_cast<DWORD>(buf.size());
    LONG rc = ::RegEnumValueW(key_.Get(), i, buf.data(), &len, nullptr, nullptr, nullptr, nullptr);
    if (rc == ERROR_MORE_DATA) {
      buf.resize(buf.size() * 2);
      --i;
      continue;
    }
    if (rc != ERROR_SUCCESS)
      break;
    names.emplace_back(buf.data(), len);
  }
  return names;
}

DWORD TRegistryKey::ValueType(const std::wstring &name) const {
  DWORD type = REG_NONE;
  if (!Valid() || ::RegQueryValueExW(key_.Get(), name.c_str(), nullptr, &type, nullptr, nullptr) !=
                      ERROR_SUCCESS)
    return REG_NONE;
  return type;
}

bool TRegistryKey::ValueExists(const std::wstring &name) const {
  return Valid() && ::RegQueryValueExW(key_.Get(), name.c_str(), nullptr, nullptr, nullptr,
                                       nullptr) == ERROR_SUCCESS;
}

DWORD TRegistryKey::ValueSize(const std::wstring &name) const {
  DWORD size = 0;
  if (!Valid() || ::RegQueryValueExW(key_.Get(), name.c_str(), nullptr, nullptr, nullptr, &size) !=
                      ERROR_SUCCESS)
    return 0;
  return size;
}

std::wstring TRegistryKey::ReadString(const std::wstring &name) const {
  DWORD type = 0, size = 0;
  if (!Valid() ||
      ::RegQueryValueExW(key_.Get(), name.c_str(), nullptr, &type, nullptr, &size) !=
          ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ))
    return {};
  std::wstring buf(size / sizeof(wchar_t) + 1, L'\0');
  DWORD got = static_cast<DWORD>(buf.size() * sizeof(wchar_t));
  if (::RegQueryValueExW(key_.Get(), name.c_str(), nullptr, nullptr,
                         reinterpret_cast<BYTE *>(buf.data()), &got) != ERROR_SUCCESS)
    return {};
  buf.resize(got / sizeof(wchar_t));
  while (!buf.empty() && buf.back() == L'\0')
    buf.pop_back();
  return buf;
}

bool TRegistryKey::DeleteValue(const std::wstring &name) const {
  return Valid() && ::RegDeleteValueW(key_.Get(), name.c_str()) == ERROR_SUCCESS;
}

bool TRegistryKey::DeleteTree(HKEY root, const std::wstring &path) {
  // SHDeleteKeyW removes the key with all its subkeys, on every Windows.
  return !path.empty() && ::SHDeleteKeyW(root, path.c_str()) == ERROR_SUCCESS;
}

} // namespace velmora
