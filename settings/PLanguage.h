#pragma once
// Language packs: "<name>.lng" files in the "Language" folder beside the
// program. Every text the user sees is looked up here, with the built-in
// English text as default.
#include "settings/ExtIniFiles.h"

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace velmora {

// Which rule rewrites a component's texts from a pack.
enum class TTextRule {
  None,    // panels, memos, images, progress bars: nothing to translate
  Caption, // name.Caption
  Items,   // name.Items[i].Caption: state-text labels, combo items, tree nodes (flat order)
  Hint,    // name.Hint, only while the hint is shown
  Columns, // name.Columns[i].Caption
  Nested,  // a component with a section of its own: ApplyToForm on it
};

// A window's view of one of its components for ApplyToForm. The window
// adapts its real controls to this; text index 0 is the caption of a
// Caption or Hint component.
class TTranslatable {
public:
  virtual ~TTranslatable() = default;
  virtual std::wstring Name() const = 0;
  virtual TTextRule Rule() const = 0;
  virtual bool HintShown() const { return false; }
  virtual int TextCount() const { return 1; }
  virtual std::wstring Text(int index) const = 0;
  virtual void SetText(int index, const std::wstring &text) = 0;
  // Components owned by a form or a nested component, in creation order.
  virtual std::vector<TTranslatable *> Owned() { return {}; }
};

class TLanguage {
public:
  // Scans folder for packs; loads each once, the last one listed stays loaded.
  TLanguage(std::wstring prefix, const std::wstring &folder);

  void ScanFolder(const std::wstring &folder);
  // Loads the named pack (without regard to case), else "English", else
  // keeps the pack loaded before. Throws EAppError when a pack file exists
  // but cannot be read.
  void SelectLanguage(const std::wstring &name);
  // Loads the named pack only: false (and nothing changed) when it is not
  // listed, is missing, or cannot be read.
  bool TryLoad(const std::wstring &name);
  // Drops the loaded pack: every look-up gives its built-in default.
  void UseBuiltInTexts();
  std::wstring LookupText(const std::wstring &key, const std::wstring &def) const;
  std::wstring ReadText(const std::wstring &section, const std::wstring &key,
                        const std::wstring &def) const;
  // Rewrites the captions of a form and its components from the pack.
  void ApplyToForm(TTranslatable &component) const;

  const std::wstring &Prefix() const { return prefix_; }
  const std::wstring &Folder() const { return folder_; }
  int CurrentIndex() const { return currentIndex_; }
  const std::vector<std::wstring> &Names() const { return names_; }
  const std::vector<std::wstring> &DisplayNames() const { return displayNames_; }
  // Parallel to Names: false for a pack the scan could not read (too
  // large, not text, locked); such a pack is listed but skipped.
  const std::vector<bool> &Usable() const { return usable_; }

private:
  int IndexOf(const std::wstring &name) const;
  std::wstring FileOf(int index) const;
  void Load(int index);

  std::wstring prefix_;
  std::wstring folder_;
  int currentIndex_ = -1;
  std::vector<std::wstring> names_;
  std::vector<std::wstring> displayNames_;
  std::vector<bool> usable_;
  TExtIniFile pack_;
  std::unordered_map<std::wstring, std::wstring> texts_; // upper-cased key -> value
};

// Builds the start-up language: scans the "Language" folder beside the
// program and loads the companion file's choice; when that pack cannot be
// loaded, English; when English cannot either, the built-in texts. A pack
// that cannot be read never stops the start-up.
std::unique_ptr<TLanguage> CreateStartupLanguage(const std::wstring &exeFolder,
                                                 const std::wstring &choice);

} // namespace velmora
