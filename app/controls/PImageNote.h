#pragma once
// TImageNote: an image that shows one of a list of named pictures, chosen
// by ImageIndex (the navigation bar's hover and selection backgrounds).
#include "app/controls/GraphicControls.h"

#include <memory>
#include <string>
#include <vector>

namespace velmora {

class TImageNote;

class TPictureItem {
public:
  explicit TPictureItem(int index) : Name(L"Picture_" + std::to_wstring(index)) {}
  // Copies the picture only, never the name.
  TPictureItem &operator=(const TPictureItem &other) {
    Picture = other.Picture;
    return *this;
  }
  TPictureItem(const TPictureItem &) = default;

  std::wstring Name;
  TPicture Picture;
};

class TPictureCollection {
public:
  explicit TPictureCollection(TImageNote &owner) : owner_(owner) {}
  TImageNote &Owner() const { return owner_; }
  TPictureItem &Add();
  int Count() const { return static_cast<int>(items_.size()); }
  TPictureItem &operator[](int index) { return *items_.at(static_cast<size_t>(index)); }
  const TPictureItem &operator[](int index) const { return *items_.at(static_cast<size_t>(index)); }

private:
  TImageNote &owner_;
  std::vector<std::unique_ptr<TPictureItem>> items_;
};

class TImageNote : public TImage {
public:
  TImageNote(std::wstring name, TGraphicHost &host, RECT bounds);

  int ImageIndex() const { return imageIndex_; }
  // 0 <= value < Items.Count(): shows that item's picture; -1: shows none;
  // any other value is ignored. No picture shows before the first call.
  void SetImageIndex(int value);
  TPictureCollection &Items() { return items_; }
  const TPictureCollection &Items() const { return items_; }

  // Language packs: the hint, translated only while it is shown.
  TTextRule Rule() const override { return TTextRule::Hint; }
  bool HintShown() const override { return showHint_; }
  std::wstring Text(int) const override { return hint_; }
  void SetText(int, const std::wstring &text) override { hint_ = text; }
  void SetShowHint(bool show) { showHint_ = show; }

private:
  int imageIndex_ = -1;
  TPictureCollection items_;
  bool showHint_ = false;
  std::wstring hint_;
};

} // namespace velmora
