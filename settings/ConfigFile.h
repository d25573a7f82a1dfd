#pragma once
// The shared configuration file, read and written through the Windows
// profile functions: every call goes straight to the file, nothing is
// cached, so what one opener writes the next read of any other sees.
#include <string>
#include <vector>

namespace velmora {

class TAppFrame;

// Data folder and file under the all-users application-data folder.
std::wstring ConfigFolder(const TAppFrame &frame);   // ...\Quorvix\ (trailing backslash)
std::wstring ConfigFilePath(const TAppFrame &frame); // ...\Quorvix\VL_Config.ini

// Sections and keys of the file.
namespace cfg {
inline const wchar_t kJunkSection[] = L"Junk File Removal";
inline const wchar_t kScanNow[] = L"Scannow";
inline const wchar_t kRecycle[] = L"Recycle";
inline const wchar_t kTempFile[] = L"TempFile";
inline const wchar_t kIeCache[] = L"IE Cache";
inline const wchar_t kRemoveDay[] = L"RemoveDay";
inline const wchar_t kSecureDeletion[] = L"Secure Deletion";
inline const wchar_t kCookieSection[] = L"Cookie";
inline const wchar_t kVelmoraSection[] = L"Velmora";
inline const wchar_t kSelection[] = L"pzinfo";
// One mark per privacy leaf; positions 43-57 (Edge, Brave, Vivaldi) repeat
// the marks of Chrome's leaves (12-16).
inline const wchar_t kDefaultSelection[] =
    L"101000011000110001101100101111111111111111011000110001100";
} // namespace cfg

class TConfigFile {
public:
  explicit TConfigFile(std::wstring path) : path_(std::move(path)) {}
  const std::wstring &FileName() const { return path_; }

  // At most 2047 characters of a value are seen.
  std::wstring ReadString(const std::wstring &section, const std::wstring &key,
                          const std::wstring &def) const;
  // Decimal, or hexadecimal after "0x"/"0X" (three or more characters);
  // non-zero is true; default when absent or not a number.
  bool ReadBool(const std::wstring &section, const std::wstring &key, bool def) const;
  int ReadInteger(const std::wstring &section, const std::wstring &key, int def) const;
  // The junk worker's rule: on only when the text (default "1") is exactly "1".
  bool ReadExactOne(const std::wstring &section, const std::wstring &key) const;

  // Throw EAppError("Unable to write to <path>") when the file cannot be written.
  void WriteString(const std::wstring &section, const std::wstring &key, const std::wstring &value);
  void WriteBool(const std::wstring &section, const std::wstring &key, bool value);
  void DeleteKey(const std::wstring &section, const std::wstring &key);

  bool SectionExists(const std::wstring &section) const;
  // The section's keys in file order.
  std::vector<std::wstring> ReadSection(const std::wstring &section) const;
  // One "key=value" line per key, in file order.
  std::vector<std::wstring> ReadSectionValues(const std::wstring &section) const;

private:
  std::wstring path_;
};

// Converts the text of an integer value by the file's rules; false when it
// is not a number.
bool TryParseConfigInteger(const std::wstring &text, int &value);

// The language pack named in the companion security suite's configuration
// file: "English" when file or key is missing, empty when the lookup failed.
std::wstring ReadLanguageChoice();
// The same on a companion file of the caller's choice.
std::wstring ReadLanguageChoiceFrom(const std::wstring &companionFile);

} // namespace velmora
