// Finding the profiles of a Chromium browser: its Local State file (JSON)
// names them, and a folder with Preferences is one.
#include "privacy/collectors/ChromiumBrowsers.h"

#include "base/FolderEntries.h"
#include "base/Text.h"

#include <algorithm>
#include <cwctype>
#include <memory>
#include <utility>

namespace velmora::privacy {

namespace {

// A JSON value, as far as the profile list needs it: objects keep their
// members, strings their text; numbers, literals and arrays are skipped.
struct TJson {
  enum class TKind { Other, String, Object } Kind = TKind::Other;
  std::wstring Text;
  std::vector<std::pair<std::wstring, std::unique_ptr<TJson>>> Members;

  const TJson *Member(const std::wstring &name) const {
    for (const auto &[key, value] : Members)
      if (key == name)
        return value.get();
    return nullptr;
  }
};

// A strict reader: any fault makes the whole text unreadable (nullptr);
// nesting deeper than kMaxDepth is a fault, so no text can exhaust the stack.
class TJsonReader {
public:
  explicit TJsonReader(const std::wstring &text) : text_(text) {}

  std::unique_ptr<TJson> ReadDocument() {
    auto value = ReadValue(0);
    SkipBlanks();
    return value && pos_ == text_.size() ? std::move(value) : nullptr;
  }

private:
  static constexpr int kMaxDepth = 64;

  void SkipBlanks() {
    while (pos_ < text_.size() && (text_[pos_] == L' ' || text_[pos_] == L'\t' ||
                                   text_[pos_] == L'\r' || text_[pos_] == L'\n'))
      ++pos_;
  }
  bool Take(wchar_t c) {
    SkipBlanks();
    if (pos_ < text_.size() && text_[pos_] == c) {
      ++pos_;
      return true;
    }
    return false;
  }

  bool ReadString(std::wstring &out) {
    if (!Take(L'"'))
      return false;
    while (pos_ < text_.size()) {
      const wchar_t c = text_[pos_++];
      if (c == L'"')
        return true;
      if (c < 0x20)
        return false;
      if (c != L'\\') {
        out += c;
        continue;
      }
      if (pos_ >= text_.size())
        return false;
      const wchar_t e = text_[pos_++];
      switch (e) {
      case L'"':
      case L'\\':
      case L'/':
        out += e;
        break;
      case L'b':
        out += L'\b';
        break;
      case L'f':
        out += L'\f';
        break;
      case L'n':
        out += L'\n';
        break;
      case L'r':
        out += L'\r';
        break;
      case L't':
        out += L'\t';
        break;
      case L'u': {
        if (text_.size() - pos_ < 4)
          return false;
        unsigned value = 0;
        for (int i = 0; i < 4; ++i) {
          const wchar_t h = text_[pos_++];
          value <<= 4;
          if (h >= L'0' && h <= L'9')
            value |= h - L'0';
          else if (h >= L'a' && h <= L'f')
            value |= h - L'a' + 10;
          else if (h >= L'A' && h <= L'F')
            value |= h - L'A' + 10;
          else
            return false;
        }
        out += static_cast<wchar_t>(value); // surrogate halves stay as they come
        break;
      }
      default:
        return false;
      }
    }
    return false;
  }

  std::unique_ptr<TJson> ReadValue(int depth) {
    if (depth > kMaxDepth)
      return nullptr;
    SkipBlanks();
    if (pos_ >= text_.size())
      return nullptr;
    auto value = std::make_unique<TJson>();
    const wchar_t c = text_[pos_];
    if (c == L'"') {
      value->Kind = TJson::TKind::String;
      return ReadString(value->Text) ? std::move(value) : nullptr;
    }
    if (c == L'{') {
      ++pos_;
      value->Kind = TJson::TKind::Object;
      if (Take(L'}'))
        return value;
      do {
        std::wstring key;
        if (!ReadString(key) || !Take(L':'))
          return nullptr;
        auto member = ReadValue(depth + 1);
        if (!member)
          return nullptr;
        value->Members.emplace_back(std::move(key), std::move(member));
      } while (Take(L','));
      return Take(L'}') ? std::move(value) : nullptr;
    }
    if (c == L'[') {
      ++pos_;
      if (Take(L']'))
        return value;
      do {
        if (!ReadValue(depth + 1))
          return nullptr;
      } while (Take(L','));
      return Take(L']') ? std::move(value) : nullptr;
    }
    // A number or literal: the characters they are written with.
    const size_t start = pos_;
    while (pos_ < text_.size() && (std::iswalnum(text_[pos_]) || text_[pos_] == L'-' ||
                                   text_[pos_] == L'+' || text_[pos_] == L'.'))
      ++pos_;
    return pos_ > start ? std::move(value) : nullptr;
  }

  const std::wstring &text_;
  size_t pos_ = 0;
};

// A profile name as a report line may show it: control characters become
// blanks, the ends are trimmed.
std::wstring DisplayName(std::wstring name) {
  for (wchar_t &c : name)
    if (c < 0x20 || c == 0x7f)
      c = L' ';
  return Trim(name);
}

bool IsNumberedProfile(const std::wstring &name) {
  static const std::wstring prefix = L"Profile ";
  if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0)
    return false;
  return std::all_of(name.begin() + prefix.size(), name.end(),
                     [](wchar_t c) { return c >= L'0' && c <= L'9'; });
}

// Local State is a few hundred kilobytes at most; a larger file is not read.
constexpr uint64_t kLocalStateLimit = 16 * 1024 * 1024;

} // namespace

std::map<std::wstring, std::wstring> LocalStateProfileNames(const std::wstring &localState) {
  std::map<std::wstring, std::wstring> names;
  const auto document = TJsonReader(localState).ReadDocument();
  if (!document)
    return names;
  const TJson *profile = document->Member(L"profile");
  const TJson *cache = profile ? profile->Member(L"info_cache") : nullptr;
  if (!cache)
    return names;
  for (const auto &[folder, entry] : cache->Members) {
    // A key that could leave the User Data folder is no profile folder.
    if (folder.empty() || folder == L"." || folder == L".." ||
        folder.find_first_of(L"\\/:") != std::wstring::npos)
      continue;
    const TJson *name = entry->Member(L"name");
    names[folder] = name && name->Kind == TJson::TKind::String ? DisplayName(name->Text) : L"";
  }
  return names;
}

std::vector<TChromiumProfile> FindChromiumProfiles(const std::wstring &userData) {
  std::vector<TChromiumProfile> profiles;
  if (!FolderExists(userData))
    return profiles;
  std::map<std::wstring, std::wstring> names;
  std::string bytes;
  if (ReadWholeFile(userData + L"\\Local State", kLocalStateLimit, bytes)) {
    if (bytes.starts_with("\xEF\xBB\xBF"))
      bytes.erase(0, 3);
    names = LocalStateProfileNames(FromUtf8(bytes));
  }
  TFolderEntries entries(userData + L"\\*");
  TFolderEntry e;
  while (entries.Next(e)) {
    if (!e.IsFolder() || e.IsReparsePoint())
      continue;
    const std::wstring folder = userData + L"\\" + e.Name;
    const auto named = names.find(e.Name);
    const bool listed = named != names.end();
    const bool isProfile = listed || e.Name == L"Default" || IsNumberedProfile(e.Name) ||
                           (e.Name != L"System Profile" && e.Name != L"Guest Profile" &&
                            FileExists(folder + L"\\Preferences"));
    if (!isProfile)
      continue;
    TChromiumProfile profile;
    profile.Folder = profile.CacheFolder = folder;
    profile.IsDefault = e.Name == L"Default";
    if (!profile.IsDefault)
      profile.Name = listed && !named->second.empty() ? named->second : e.Name;
    profiles.push_back(std::move(profile));
  }
  std::sort(profiles.begin(), profiles.end(), [](const auto &a, const auto &b) {
    if (a.IsDefault != b.IsDefault)
      return a.IsDefault;
    return UpperCase(a.Folder) < UpperCase(b.Folder);
  });
  return profiles;
}

std::vector<std::wstring> ChromiumBrowserFolders(const TChromiumBrowser &browser,
                                                 const TAppFrame &locations) {
  std::vector<std::wstring> folders;
  const std::wstring base = locations.FolderOfKind(browser.RootKind);
  if (base.empty())
    return folders;
  folders.push_back(base + L"\\" + browser.Root);
  if (browser.RootIsProfile) {
    const std::wstring local = locations.FolderOfKind(fkLocalAppData);
    if (!local.empty())
      folders.push_back(local + L"\\" + browser.Root);
  }
  return folders;
}

std::wstring ChromiumCookiePrefix(const TChromiumBrowser &browser,
                                  const TChromiumProfile &profile) {
  std::wstring prefix = browser.Name;
  if (!profile.Name.empty())
    prefix += L" (" + profile.Name + L")";
  return prefix + L" Cookie: ";
}

bool IsChromiumCookieLine(const std::wstring &target) {
  for (const TChromiumBrowser *browser : kChromiumBrowsers) {
    const std::wstring name = browser->Name;
    if (!target.starts_with(name))
      continue;
    const std::wstring rest = target.substr(name.size());
    if (rest.starts_with(L" Cookie: ") ||
        (rest.starts_with(L" (") && rest.find(L") Cookie: ") != std::wstring::npos))
      return true;
  }
  return false;
}

} // namespace velmora::privacy
