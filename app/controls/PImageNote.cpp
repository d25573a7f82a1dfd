#include "app/controls/PImageNote.h"

namespace velmora {

TPictureItem &TPictureCollection::Add() {
  items_.push_back(std::make_unique<TPictureItem>(Count()));
  return *items_.back();
}

TImageNote::TImageNote(std::wstring name, TGraphicHost &host, RECT bounds)
    : TImage(std::move(name), host, bounds), items_(*this) {}

void TImageNote::SetImageIndex(int value) {
  if (value >= 0 && value < items_.Count()) {
    imageIndex_ = value;
    SetPicture(items_[value].Picture);
  } else if (value == -1) {
    SetPicture(TPicture());
    imageIndex_ = -1;
  }
}

} // namespace velmora
