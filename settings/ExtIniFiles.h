#pragma once
// An INI document held in memory, loaded from a language pack file. Section
// names and keys match without regard to case through hashed look-ups; the
// first of two equal names wins. Nothing is ever written back to disk.
#include <string>
#include <unordered_map>
#include <vector>

namespace velmora {

// Reads a text file as lines. The encoding comes from its byte-order mark
// (UTF-16 LE, UTF-16 BE, UTF-8), else the ANSI code page; lines end with
// CR, LF or CR LF. Throws EAppError when the file cannot be read.
std::vector<std::wstring> ReadTextLines(const std::wstring &path);
// The same on bytes already in memory.
std::vector<std::wstring> DecodeTextLines(const std::string &bytes);

class TExtIniFile {
public:
  void LoadFromFile(const std::wstring &path);
  void SetStrings(const std::vector<std::wstring> &lines);
  void Clear();

  std::wstring ReadString(const std::wstring &section, const std::wstring &key,
                          const std::wstring &def) const;
  std::vector<std::wstring> ReadSectionValues(const std::wstring &section) const;
  std::vector<std::wstring> ReadSection(const std::wstring &section) const;
  std::vector<std::wstring> ReadSections() const;
  bool ValueExists(const std::wstring &section, const std::wstring &key) const;

  void WriteString(const std::wstring &section, const std::wstring &key, const std::wstring &value);
  void DeleteKey(const std::wstring &section, const std::wstring &key);
  void EraseSection(const std::wstring &section);
  void UpdateFile() {} // packs are read-only

private:
  struct Section {
    std::wstring Name;
    std::vector<std::wstring> Lines; // "key=value", or a line without "=" as it stood
    std::unordered_map<std::wstring, size_t> KeyIndex; // upper-cased key -> first line
    void Reindex();
  };
  Section &AddSection(const std::wstring &name);
  const Section *Find(const std::wstring &section) const;
  void ReindexSections();

  std::vector<Section> sections_;
  std::unordered_map<std::wstring, size_t> sectionIndex_; // upper-cased name -> first section
};

} // namespace velmora
