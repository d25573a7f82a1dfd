#include "app/controls/PLabelNote.h"

namespace velmora {

TLabelItem &TLabelCollection::Add() {
  items_.push_back(std::make_unique<TLabelItem>(Count()));
  return *items_.back();
}

TLabelNote::TLabelNote(std::wstring name, TGraphicHost &host, RECT bounds)
    : TLabel(std::move(name), host, bounds, std::wstring()), items_(*this) {}

void TLabelNote::SetTextIndex(int value) {
  if (value >= 0 && value < items_.Count()) {
    textIndex_ = value;
    SetCaption(items_[value].Text);
  }
}

std::wstring TLabelNote::Text(int index) const { return items_[index].Text; }

void TLabelNote::SetText(int index, const std::wstring &text) { items_[index].Text = text; }

} // namespace velmora
