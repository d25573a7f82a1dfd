#include "settings/PLanguage.h"

#include "base/Error.h"
#include "base/FolderEntries.h"
#include "base/Text.h"

namespace velmora {

TLanguage::TLanguage(std::wstring prefix, const std::wstring &folder) : prefix_(std::move(prefix)) {
  ScanFolder(folder);
}

int TLanguage::IndexOf(const std::wstring &name) const {
  for (size_t i = 0; i < names_.size(); ++i)
    if (SameText(names_[i], name))
      return static_cast<int>(i);
  return -1;
}

void TLanguage::ScanFolder(const std::wstring &folder) {
  folder_ = ExcludeTrailingBackslash(folder);
  TFolderEntries entries(folder_ + L"\\*.lng");
  TFolderEntry e;
  while (entries.Next(e)) {
    const std::wstring name = e.Name.substr(0, e.Name.size() >= 4 ? e.Name.size() - 4 : 0);
    names_.push_back(name);
    currentIndex_ = static_cast<int>(names_.size()) - 1;
    bool usable = true;
    try {
      SelectLanguage(name);
    } catch (const EAppError &) {
      // An unreadable pack is listed but cannot be loaded; the scan goes on.
      usable = false;
    }
    usable_.push_back(usable);
    displayNames_.push_back(usable ? ReadText(L"Main", L"DisplayName", name) : name);
  }
}

std::wstring TLanguage::FileOf(int index) const {
  return folder_ + L"\\" + names_[static_cast<size_t>(index)] + L".lng";
}

void TLanguage::SelectLanguage(const std::wstring &name) {
  int index = IndexOf(name);
  if (index < 0 || !FileExists(FileOf(index)))
    index = IndexOf(L"English");
  if (index < 0 || !FileExists(FileOf(index)))
    return;
  currentIndex_ = index;
  Load(index);
}

bool TLanguage::TryLoad(const std::wstring &name) {
  const int index = IndexOf(name);
  if (index < 0 || !FileExists(FileOf(index)))
    return false;
  try {
    Load(index);
  } catch (const EAppError &) {
    return false;
  }
  currentIndex_ = index;
  return true;
}

void TLanguage::UseBuiltInTexts() {
  pack_.Clear();
  texts_.clear();
  currentIndex_ = -1;
}

void TLanguage::Load(int index) {
  pack_.LoadFromFile(FileOf(index)); // throws before anything changes
  texts_.clear();
  for (const std::wstring &line : pack_.ReadSectionValues(prefix_ + L"_M")) {
    size_t eq = line.find(L'=');
    if (eq != std::wstring::npos)
      texts_.emplace(UpperCase(line.substr(0, eq)), line.substr(eq + 1));
  }
}

std::wstring TLanguage::LookupText(const std::wstring &key, const std::wstring &def) const {
  auto it = texts_.find(UpperCase(key));
  return it == texts_.end() ? def : it->second;
}

std::wstring TLanguage::ReadText(const std::wstring &section, const std::wstring &key,
                                 const std::wstring &def) const {
  return pack_.ReadString(section, key, def);
}

void TLanguage::ApplyToForm(TTranslatable &component) const {
  const std::wstring name = component.Name();
  if (name.empty())
    return;
  const std::wstring section = prefix_ + L"_" + name;
  try {
    const std::wstring captionKey = name + L".Caption";
    if (pack_.ValueExists(section, captionKey))
      component.SetText(0, ReadText(section, captionKey, component.Text(0)));
    for (TTranslatable *c : component.Owned()) {
      const std::wstring n = c->Name();
      auto indexed = [&](const wchar_t *list) {
        for (int i = 0; i < c->TextCount(); ++i) {
          const std::wstring key = n + L"." + list + L"[" + std::to_wstring(i) + L"].Caption";
          c->SetText(i, ReadText(section, key, c->Text(i)));
        }
      };
      switch (c->Rule()) {
      case TTextRule::Caption:
        c->SetText(0, ReadText(section, n + L".Caption", c->Text(0)));
        break;
      case TTextRule::Hint:
        if (c->HintShown())
          c->SetText(0, ReadText(section, n + L".Hint", c->Text(0)));
        break;
      case TTextRule::Items:
        indexed(L"Items");
        break;
      case TTextRule::Columns:
        indexed(L"Columns");
        break;
      case TTextRule::Nested:
        ApplyToForm(*c);
        break;
      case TTextRule::None:
        break;
      }
    }
  } catch (...) {
    // A failing control ends the walk; what was set stays.
  }
}

std::unique_ptr<TLanguage> CreateStartupLanguage(const std::wstring &exeFolder,
                                                 const std::wstring &choice) {
  const std::wstring folder = exeFolder + L"Language";
  auto language = std::make_unique<TLanguage>(L"Velmora", folder);
  // Never the pack the scan happened to load last: a language nobody chose.
  if (!language->TryLoad(choice) && !language->TryLoad(L"English"))
    language->UseBuiltInTexts();
  return language;
}

} // namespace velmora
