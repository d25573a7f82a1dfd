#include "FolderLink.h"

#include "base/Handles.h"
#include "base/Text.h"

#include <windows.h>

#include <winioctl.h>

#include <cstring>
#include <vector>

namespace velmora::test {

namespace {

bool IsReparseFolder(const std::wstring &path) {
  const DWORD a = ::GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) &&
         (a & FILE_ATTRIBUTE_REPARSE_POINT);
}

// The mount-point form of REPARSE_DATA_BUFFER.
struct TMountPointHeader {
  DWORD ReparseTag;
  WORD ReparseDataLength;
  WORD Reserved;
  WORD SubstituteNameOffset;
  WORD SubstituteNameLength;
  WORD PrintNameOffset;
  WORD PrintNameLength;
};

bool MakeJunction(const std::wstring &link, const std::wstring &target) {
  if (!::CreateDirectoryW(link.c_str(), nullptr))
    return false;
  UniqueFile dir(::CreateFileW(link.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                               FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  const std::wstring substitute = L"\\??\\" + target;
  const WORD nameBytes = static_cast<WORD>(substitute.size() * sizeof(wchar_t));
  // Substitute name, its terminator, then an empty print name.
  const WORD pathBytes = static_cast<WORD>(nameBytes + 2 * sizeof(wchar_t));
  std::vector<BYTE> buffer(sizeof(TMountPointHeader) + pathBytes, 0);
  auto *h = reinterpret_cast<TMountPointHeader *>(buffer.data());
  h->ReparseTag = IO_REPARSE_TAG_MOUNT_POINT;
  h->ReparseDataLength = static_cast<WORD>(8 + pathBytes);
  h->SubstituteNameLength = nameBytes;
  h->PrintNameOffset = static_cast<WORD>(nameBytes + sizeof(wchar_t));
  std::memcpy(buffer.data() + sizeof(TMountPointHeader), substitute.data(), nameBytes);
  DWORD got = 0;
  const bool ok = dir.Valid() &&
                  ::DeviceIoControl(dir.Get(), FSCTL_SET_REPARSE_POINT, buffer.data(),
                                    static_cast<DWORD>(buffer.size()), nullptr, 0, &got, nullptr);
  dir.Reset();
  if (!ok)
    ::RemoveDirectoryW(link.c_str());
  return ok;
}

using UnixNameFn = char *(CDECL *)(const wchar_t *);

} // namespace

std::string UnixName(const std::wstring &path) {
  HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
  auto fn = kernel
                ? reinterpret_cast<UnixNameFn>(::GetProcAddress(kernel, "wine_get_unix_file_name"))
                : nullptr;
  if (!fn)
    return {};
  char *name = fn(path.c_str());
  if (!name)
    return {};
  std::string result = name;
  ::HeapFree(::GetProcessHeap(), 0, name);
  return result;
}

bool StartUnixProgram(const std::wstring &program, std::wstring commandLine) {
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &si, &pi))
    return false;
  ::CloseHandle(pi.hThread);
  ::CloseHandle(pi.hProcess);
  return true;
}

namespace {

std::wstring Quoted(const std::string &unixPath) {
  std::wstring s = L" \"";
  for (char c : unixPath)
    s += static_cast<wchar_t>(static_cast<unsigned char>(c));
  return s + L"\"";
}

template <class Done> bool WaitFor(Done done) {
  for (int i = 0; i < 100 && !done(); ++i)
    ::Sleep(50);
  return done();
}

bool MakeUnixLink(const std::wstring &link, const std::wstring &target) {
  const std::string from = UnixName(link), to = UnixName(target);
  if (from.empty() || to.empty() ||
      !StartUnixProgram(L"Z:\\bin\\ln", L"Z:\\bin\\ln -s" + Quoted(to) + Quoted(from)))
    return false;
  return WaitFor([&] { return IsReparseFolder(link); });
}

} // namespace

bool MakeFolderLink(const std::wstring &link, const std::wstring &target) {
  if (::GetFileAttributesW(link.c_str()) != INVALID_FILE_ATTRIBUTES)
    return false;
  if (MakeJunction(link, target) && IsReparseFolder(link))
    return true;
  return MakeUnixLink(link, target);
}

bool MakeFileLink(const std::wstring &link, const std::wstring &target) {
  auto exists = [&] { return ::GetFileAttributesW(link.c_str()) != INVALID_FILE_ATTRIBUTES; };
  if (::CreateSymbolicLinkW(link.c_str(), target.c_str(), 0) && exists())
    return true;
  // A link left by a killed run is replaced (-f). The folder's Unix name:
  // Wine finds none for a dangling link itself.
  const size_t slash = link.find_last_of(L'\\');
  const std::string folder = UnixName(link.substr(0, slash)), to = UnixName(target);
  const std::string from = folder + "/" + ToUtf8(link.substr(slash + 1));
  if (folder.empty() || to.empty() ||
      !StartUnixProgram(L"Z:\\bin\\ln", L"Z:\\bin\\ln -sf" + Quoted(to) + Quoted(from)))
    return false;
  return WaitFor(exists);
}

bool RemoveFileLink(const std::wstring &link) {
  auto gone = [&] { return ::GetFileAttributesW(link.c_str()) == INVALID_FILE_ATTRIBUTES; };
  const DWORD a = ::GetFileAttributesW(link.c_str());
  if (a == INVALID_FILE_ATTRIBUTES)
    return true;
  if (a & FILE_ATTRIBUTE_REPARSE_POINT)
    return ::DeleteFileW(link.c_str()) && gone();
  const std::string unixName = UnixName(link);
  if (unixName.empty() || !StartUnixProgram(L"Z:\\bin\\rm", L"Z:\\bin\\rm -f" + Quoted(unixName)))
    return false;
  return WaitFor(gone);
}

bool RemoveFolderLink(const std::wstring &link) {
  auto gone = [&] { return ::GetFileAttributesW(link.c_str()) == INVALID_FILE_ATTRIBUTES; };
  if (!IsReparseFolder(link))
    return gone();
  if (::RemoveDirectoryW(link.c_str()) && gone())
    return true;
  // Wine cannot remove a Unix link to a folder itself.
  const std::string unixName = UnixName(link);
  if (unixName.empty() || !StartUnixProgram(L"Z:\\bin\\rm", L"Z:\\bin\\rm -f" + Quoted(unixName)))
    return false;
  return WaitFor(gone);
}

} // namespace velmora::test
