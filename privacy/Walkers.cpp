// Folder walkers: record files (and, one level deep, folders) with their
// sizes. None of them descends into a reparse point: a junction or link
// may point back up the tree (an endless walk) or out of the folder the
// user chose (files that are not traces).
#include "privacy/PrivacyScanner.h"
#include "privacy/ScannerDetail.h"

#include "base/FolderEntries.h"
#include "base/Text.h"
#include "system/Routines.h"

#include <cwctype>

namespace velmora {

namespace {

bool NameContains(const std::wstring &name, const wchar_t *lowerPart) {
  std::wstring lower = name;
  for (wchar_t &c : lower)
    c = static_cast<wchar_t>(std::towlower(c));
  return lower.find(lowerPart) != std::wstring::npos;
}

} // namespace

std::wstring TPrivacyScanner::WalkerSizeText(int64_t size) {
  if (size <= 1024)
    return std::to_wstring(size) + L" bytes";
  if (size <= 1048576)
    return TwoDecimals(static_cast<double>(size) / 1024) + L" KB";
  return TwoDecimals(static_cast<double>(size) / 1048576) + L" M";
}

void TPrivacyScanner::RecordFile(const std::wstring &path, int64_t size) {
  ++ItemCount;
  TotalBytes += size;
  DetailLines.push_back(path + privacy::kSizeGap + WalkerSizeText(size));
  Targets.push_back(path);
}

void TPrivacyScanner::Walk(const std::wstring &folder, TWalk kind) {
  if (folder.empty())
    return;
  const std::wstring dir = IncludeTrailingBackslash(folder);
  // The index.dat search neither pumps messages nor stops on a cancel.
  const bool responsive = kind != TWalk::IndexDat;
  TFolderEntries entries(dir + L"*.*");
  TFolderEntry e;
  while (entries.Next(e)) {
    if (responsive) {
      PumpBetweenEntries();
      if (Cancelled)
        return;
    }
    const std::wstring path = dir + e.Name;
    switch (kind) {
    case TWalk::Tree:
      if (!e.IsFolder())
        RecordFile(path, e.Size);
      else if (!e.IsReparsePoint())
        Walk(path, kind);
      break;
    case TWalk::Folder:
      RecordFile(path, e.IsFolder() ? 0 : e.Size);
      break;
    case TWalk::IndexDat:
      if (!e.IsFolder()) {
        if (NameContains(e.Name, L"index.dat")) {
          RecordFile(path, e.Size);
          RestartMarked.push_back(path);
        }
      } else if (!e.IsReparsePoint()) {
        Walk(path, kind);
      }
      break;
    case TWalk::HistoryIndex:
      if (NameContains(e.Name, L"history index"))
        RecordFile(path, e.IsFolder() ? 0 : e.Size);
      break;
    }
  }
}

void TPrivacyScanner::CollectTree(const std::wstring &folder) { Walk(folder, TWalk::Tree); }

void TPrivacyScanner::CollectFolder(const std::wstring &folder) { Walk(folder, TWalk::Folder); }

void TPrivacyScanner::CollectIndexDat(const std::wstring &folder) { Walk(folder, TWalk::IndexDat); }

void TPrivacyScanner::CollectHistoryIndex(const std::wstring &folder) {
  Walk(folder, TWalk::HistoryIndex);
}

void TPrivacyScanner::CollectPath(const std::wstring &filePath) {
  if (filePath.empty())
    return;
  TFolderEntries entries(filePath);
  TFolderEntry e;
  if (!entries.Next(e) || e.IsFolder())
    return;
  PumpBetweenEntries();
  if (Cancelled)
    return;
  RecordFile(filePath, e.Size);
}

} // namespace velmora
