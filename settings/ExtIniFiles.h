#pragma once
// An INI document held in memory, loaded from a language pack file. Section
// names and keys match without regard to case through hashed look-ups; the
// first of two equal names wins. Nothing is ever written back to disk.
#include <cstdint>
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

// Largest language pack read; real packs are a few kilobytes.
constexpr uint64_t kMaxPackBytes = 1 << 20;
// Longest line of a pack, in characters.
constexpr size_t kMaxPackLine = 4096;
// The lines of a language pack file, each checked as it is cut from the
// text: throws EAppError (and keeps nothing) when the file cannot be read,
// is larger than kMaxPackBytes, or a line is longer than kMaxPackLine or
// holds a control character other than a tab (binary data, not a pack).
std::vector<std::wstring> ReadPackLines(const std::wstring &path);

class TExtIniFile {
public:
  // Replaces the content with the pack file's (ReadPackLines); on an error
  // the content stays as it was.
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
