#include "settings/ExtIniFiles.h"

#include "base/Error.h"
#include "base/FolderEntries.h"
#include "base/Text.h"

#include <windows.h>

namespace velmora {

namespace {

std::wstring Key(const std::wstring &s) { return UpperCase(s); }

} // namespace

std::vector<std::wstring> DecodeTextLines(const std::string &bytes) {
  const std::wstring text = DecodeText(bytes);
  std::vector<std::wstring> lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != L'\r' && text[i] != L'\n')
      continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n')
      ++i;
    start = i + 1;
  }
  if (start < text.size())
    lines.push_back(text.substr(start));
  return lines;
}

std::vector<std::wstring> ReadTextLines(const std::wstring &path) {
  std::string bytes;
  if (!ReadWholeFile(path, 256 << 20, bytes))
    throw EAppError(Format(L"Cannot read file \"%s\".", path.c_str()));
  return DecodeTextLines(bytes);
}

void TExtIniFile::Section::Reindex() {
  KeyIndex.clear();
  for (size_t i = 0; i < Lines.size(); ++i) {
    size_t eq = Lines[i].find(L'=');
    if (eq != std::wstring::npos)
      KeyIndex.emplace(Key(Lines[i].substr(0, eq)), i);
  }
}

std::vector<std::wstring> ReadPackLines(const std::wstring &path) {
  std::string bytes;
  if (!ReadWholeFile(path, kMaxPackBytes, bytes))
    throw EAppError(Format(L"Cannot read the language pack \"%s\" (at most %d KB)", path.c_str(),
                           static_cast<int>(kMaxPackBytes >> 10)));
  const std::wstring text = DecodeText(bytes);
  bytes.clear();
  std::vector<std::wstring> lines;
  size_t start = 0;
  auto cut = [&](size_t end) {
    if (end - start > kMaxPackLine)
      throw EAppError(Format(L"Line %d of the language pack \"%s\" is too long",
                             static_cast<int>(lines.size() + 1), path.c_str()));
    lines.push_back(text.substr(start, end - start));
  };
  for (size_t i = 0; i < text.size(); ++i) {
    const wchar_t c = text[i];
    if (c == L'\r' || c == L'\n') {
      cut(i);
      if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n')
        ++i;
      start = i + 1;
    } else if (c < 0x20 && c != L'\t') {
      throw EAppError(Format(L"Line %d of the language pack \"%s\" is not text",
                             static_cast<int>(lines.size() + 1), path.c_str()));
    }
  }
  if (start < text.size())
    cut(text.size());
  return lines;
}

void TExtIniFile::LoadFromFile(const std::wstring &path) { SetStrings(ReadPackLines(path)); }

void TExtIniFile::Clear() {
  sections_.clear();
  sectionIndex_.clear();
}

TExtIniFile::Section &TExtIniFile::AddSection(const std::wstring &name) {
  sectionIndex_.emplace(Key(name), sections_.size());
  sections_.push_back(Section{name, {}, {}});
  return sections_.back();
}

void TExtIniFile::SetStrings(const std::vector<std::wstring> &lines) {
  Clear();
  Section *current = nullptr;
  for (const std::wstring &raw : lines) {
    const std::wstring line = Trim(raw);
    if (line.empty() || line[0] == L';')
      continue;
    if (line.size() >= 2 && line.front() == L'[' && line.back() == L']') {
      current = &AddSection(Trim(line.substr(1, line.size() - 2)));
      continue;
    }
    if (!current)
      continue;
    size_t eq = line.find(L'=');
    if (eq == std::wstring::npos) {
      current->Lines.push_back(line);
      continue;
    }
    const std::wstring key = Trim(line.substr(0, eq));
    current->KeyIndex.emplace(Key(key), current->Lines.size());
    current->Lines.push_back(key + L"=" + Trim(line.substr(eq + 1)));
  }
}

const TExtIniFile::Section *TExtIniFile::Find(const std::wstring &section) const {
  auto it = sectionIndex_.find(Key(section));
  return it == sectionIndex_.end() ? nullptr : &sections_[it->second];
}

std::wstring TExtIniFile::ReadString(const std::wstring &section, const std::wstring &key,
                                     const std::wstring &def) const {
  const Section *s = Find(section);
  if (!s)
    return def;
  auto it = s->KeyIndex.find(Key(key));
  if (it == s->KeyIndex.end())
    return def;
  const std::wstring &line = s->Lines[it->second];
  return line.substr(line.find(L'=') + 1);
}

std::vector<std::wstring> TExtIniFile::ReadSectionValues(const std::wstring &section) const {
  const Section *s = Find(section);
  return s ? s->Lines : std::vector<std::wstring>();
}

std::vector<std::wstring> TExtIniFile::ReadSection(const std::wstring &section) const {
  std::vector<std::wstring> keys;
  if (const Section *s = Find(section))
    for (const std::wstring &line : s->Lines) {
      size_t eq = line.find(L'=');
      keys.push_back(eq == std::wstring::npos ? line : line.substr(0, eq));
    }
  return keys;
}

std::vector<std::wstring> TExtIniFile::ReadSections() const {
  std::vector<std::wstring> names;
  for (const Section &s : sections_)
    names.push_back(s.Name);
  return names;
}

bool TExtIniFile::ValueExists(const std::wstring &section, const std::wstring &key) const {
  for (const std::wstring &k : ReadSection(section))
    if (SameText(k, key))
      return true;
  return false;
}

void TExtIniFile::WriteString(const std::wstring &section, const std::wstring &key,
                              const std::wstring &value) {
  auto it = sectionIndex_.find(Key(section));
  Section &s = it == sectionIndex_.end() ? AddSection(section) : sections_[it->second];
  auto k = s.KeyIndex.find(Key(key));
  if (k != s.KeyIndex.end()) {
    s.Lines[k->second] = key + L"=" + value;
    return;
  }
  s.KeyIndex.emplace(Key(key), s.Lines.size());
  s.Lines.push_back(key + L"=" + value);
}

void TExtIniFile::DeleteKey(const std::wstring &section, const std::wstring &key) {
  auto it = sectionIndex_.find(Key(section));
  if (it == sectionIndex_.end())
    return;
  Section &s = sections_[it->second];
  auto k = s.KeyIndex.find(Key(key));
  if (k == s.KeyIndex.end())
    return;
  s.Lines.erase(s.Lines.begin() + static_cast<ptrdiff_t>(k->second));
  s.Reindex();
}

void TExtIniFile::EraseSection(const std::wstring &section) {
  auto it = sectionIndex_.find(Key(section));
  if (it == sectionIndex_.end())
    return;
  sections_.erase(sections_.begin() + static_cast<ptrdiff_t>(it->second));
  ReindexSections();
}

void TExtIniFile::ReindexSections() {
  sectionIndex_.clear();
  for (size_t i = 0; i < sections_.size(); ++i)
    sectionIndex_.emplace(Key(sections_[i].Name), i);
}

} // namespace velmora
