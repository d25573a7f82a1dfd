#include "removal/JunkList.h"

#include "base/FolderEntries.h"
#include "base/Handles.h"
#include "base/Text.h"

#include <algorithm>

namespace velmora {

namespace {

// UTF-8 lines, fields separated by tabs (a character no Windows path can
// hold). The last line names the number of files, so a list cut short is
// seen as malformed.
const wchar_t kHeader[] = L"Quorvix junk list 1";
constexpr uint64_t kMaxListBytes = 512ull << 20;

const wchar_t *WalkName(TJunkWalk walk) {
  switch (walk) {
  case TJunkWalk::IECache:
    return L"IECache";
  case TJunkWalk::AgedFiles:
    return L"AgedFiles";
  case TJunkWalk::AllFiles:
    return L"AllFiles";
  case TJunkWalk::LogFiles:
    return L"LogFiles";
  }
  return L"";
}

bool WalkOfName(const std::wstring &name, TJunkWalk &walk) {
  for (TJunkWalk w :
       {TJunkWalk::IECache, TJunkWalk::AgedFiles, TJunkWalk::AllFiles, TJunkWalk::LogFiles})
    if (name == WalkName(w)) {
      walk = w;
      return true;
    }
  return false;
}

std::vector<std::wstring> Fields(const std::wstring &line) {
  std::vector<std::wstring> fields;
  size_t start = 0;
  for (size_t tab; (tab = line.find(L'\t', start)) != std::wstring::npos; start = tab + 1)
    fields.push_back(line.substr(start, tab - start));
  fields.push_back(line.substr(start));
  return fields;
}

// A whole field of decimal digits (no sign, no spaces) that fits.
bool ParseCount(const std::wstring &text, int64_t &value) {
  if (text.empty() || text.size() > 19)
    return false;
  value = 0;
  for (wchar_t c : text) {
    if (c < L'0' || c > L'9')
      return false;
    value = value * 10 + (c - L'0');
  }
  return value >= 0;
}

uint64_t FileTimeValue(const FILETIME &t) {
  return (static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

} // namespace

std::wstring JunkListPath(const std::wstring &configFile) {
  return ExtractFilePath(configFile) + L"VL_JunkList.txt";
}

bool WriteJunkList(const std::wstring &path, const TJunkList &list) {
  std::wstring text = std::wstring(kHeader) + L"\r\n";
  text += L"RemoveDay\t" + std::to_wstring(list.RemoveDay) + L"\r\n";
  text += L"Recycle\t" + std::wstring(list.RecycleCounted ? L"1" : L"0") + L"\t" +
          std::to_wstring(list.RecycleSize) + L"\t" + std::to_wstring(list.RecycleItems) + L"\r\n";
  for (const TListedJunkFile &f : list.Files)
    text += std::wstring(L"File\t") + WalkName(f.Walk) + L"\t" + std::to_wstring(f.Size) + L"\t" +
            std::to_wstring(FileTimeValue(f.LastWrite)) + L"\t" + f.Root + L"\t" + f.Path + L"\r\n";
  text += L"End\t" + std::to_wstring(list.Files.size()) + L"\r\n";
  const std::string bytes = ToUtf8(text);

  bool written = false;
  {
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file) {
      written = true;
      for (size_t done = 0; written && done < bytes.size();) {
        const DWORD n = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
        DWORD got = 0;
        written = ::WriteFile(file.Get(), bytes.data() + done, n, &got, nullptr) && got == n;
        done += got;
      }
    }
  }
  if (!written)
    ::DeleteFileW(path.c_str());
  return written;
}

bool ReadJunkList(const std::wstring &path, TJunkList &list) {
  list = TJunkList();
  std::string bytes;
  if (!ReadWholeFile(path, kMaxListBytes, bytes))
    return false;
  const std::wstring text = FromUtf8(bytes);
  if (ToUtf8(text) != bytes) // not valid UTF-8
    return false;

  std::vector<std::wstring> lines;
  size_t start = 0;
  for (size_t nl; (nl = text.find(L"\r\n", start)) != std::wstring::npos; start = nl + 2)
    lines.push_back(text.substr(start, nl - start));
  if (start != text.size() || lines.size() < 4 || lines[0] != kHeader)
    return false; // the last line must end, too

  TJunkList read;
  const std::vector<std::wstring> day = Fields(lines[1]);
  int64_t value = 0;
  if (day.size() != 2 || day[0] != L"RemoveDay" || !ParseCount(day[1], value) || value > 1000000)
    return false;
  read.RemoveDay = static_cast<int>(value);
  const std::vector<std::wstring> bin = Fields(lines[2]);
  if (bin.size() != 4 || bin[0] != L"Recycle" || (bin[1] != L"0" && bin[1] != L"1") ||
      !ParseCount(bin[2], read.RecycleSize) || !ParseCount(bin[3], read.RecycleItems))
    return false;
  read.RecycleCounted = bin[1] == L"1";

  for (size_t i = 3; i + 1 < lines.size(); ++i) {
    const std::vector<std::wstring> f = Fields(lines[i]);
    TListedJunkFile file;
    int64_t time = 0;
    if (f.size() != 6 || f[0] != L"File" || !WalkOfName(f[1], file.Walk) ||
        !ParseCount(f[2], file.Size) || !ParseCount(f[3], time) || f[4].empty() || f[5].empty())
      return false;
    file.LastWrite.dwLowDateTime = static_cast<DWORD>(static_cast<uint64_t>(time));
    file.LastWrite.dwHighDateTime = static_cast<DWORD>(static_cast<uint64_t>(time) >> 32);
    file.Root = f[4];
    file.Path = f[5];
    read.Files.push_back(std::move(file));
  }
  const std::vector<std::wstring> end = Fields(lines.back());
  if (end.size() != 2 || end[0] != L"End" || !ParseCount(end[1], value) ||
      static_cast<uint64_t>(value) != read.Files.size())
    return false;
  list = std::move(read);
  return true;
}

} // namespace velmora
