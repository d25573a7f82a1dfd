#pragma once
// TLabelNote: the text twin of TImageNote, a label that shows one of a list
// of texts, chosen by TextIndex.
#include "app/controls/GraphicControls.h"

#include <memory>
#include <string>
#include <vector>

namespace velmora {

class TLabelNote;

class TLabelItem {
public:
  explicit TLabelItem(int index) : Text(L"Text_" + std::to_wstring(index)) {}
  TLabelItem(const TLabelItem &) = default;
  TLabelItem &operator=(const TLabelItem &other) = default; // copies the text

  std::wstring Text;
};

class TLabelCollection {
public:
  explicit TLabelCollection(TLabelNote &owner) : owner_(owner) {}
  TLabelNote &Owner() const { return owner_; }
  TLabelItem &Add();
  int Count() const { return static_cast<int>(items_.size()); }
  TLabelItem &operator[](int index) { return *items_.at(static_cast<size_t>(index)); }
  const TLabelItem &operator[](int index) const { return *items_.at(static_cast<size_t>(index)); }

private:
  TLabelNote &owner_;
  std::vector<std::unique_ptr<TLabelItem>> items_;
};

class TLabelNote : public TLabel {
public:
  TLabelNote(std::wstring name, TGraphicHost &host, RECT bounds);

  int TextIndex() const { return textIndex_; }
  // 0 <= value < Items.Count(): shows that item's text; any other value is
  // ignored.
  void SetTextIndex(int value);
  TLabelCollection &Items() { return items_; }

  // Language packs translate the item texts; the caption follows at the
  // next SetTextIndex.
  TTextRule Rule() const override { return TTextRule::Items; }
  int TextCount() const override { return items_.Count(); }
  std::wstring Text(int index) const override;
  void SetText(int index, const std::wstring &text) override;

private:
  int textIndex_ = -1;
  TLabelCollection items_;
};

} // namespace velmora
