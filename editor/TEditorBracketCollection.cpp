#include "editor/TEditorBracketCollection.h"

#include <algorithm>

namespace kerv {

namespace {

// The syntax-highlighting subsystem's messages.
constexpr char kBracketLimitMessage[] = "TEditorBracketCollection\r\nYou can not add item over ";

}  // namespace

TEditorBracketItem::TEditorBracketItem(TEditorBracketCollection* collection) : collection_(collection) {
  itemColor_.SetOnChange([this](TNotifyPersistent*) { Changed(); });
}

void TEditorBracketItem::Changed() {
  if (collection_ != nullptr && !assigning_) collection_->Changed();
}

void TEditorBracketItem::SetLeftBracket(const std::string& value) {
  if (leftBracket_ == value) return;
  leftBracket_ = value;
  Changed();
}

void TEditorBracketItem::SetRightBracket(const std::string& value) {
  if (rightBracket_ == value) return;
  rightBracket_ = value;
  Changed();
}

void TEditorBracketItem::SetShowReserve(bool value) {
  if (showReserve_ == value) return;
  showReserve_ = value;
  Changed();
}

void TEditorBracketItem::Assign(const TEditorBracketItem& source) {
  if (&source == this) return;
  assigning_ = true;
  itemColor_.Assign(source.itemColor_);
  leftBracket_ = source.leftBracket_;
  rightBracket_ = source.rightBracket_;
  showReserve_ = source.showReserve_;
  assigning_ = false;
  Changed();
}

int TEditorBracketItem::Index() const { return collection_ != nullptr ? collection_->IndexOf(this) : -1; }

std::string TEditorBracketCollection::LimitMessage() { return kBracketLimitMessage + std::to_string(MaxCount); }

void TEditorBracketCollection::CheckLimit() const {
  if (Count() >= MaxCount) throw EEditorBracketCollection(LimitMessage());
}

TEditorBracketItem& TEditorBracketCollection::Add() { return Insert(Count()); }

TEditorBracketItem& TEditorBracketCollection::Insert(int index) {
  CheckLimit();
  index = std::clamp(index, 0, Count());
  auto item = std::make_unique<TEditorBracketItem>(this);
  TEditorBracketItem& added = *item;
  items_.insert(items_.begin() + index, std::move(item));
  Changed();
  return added;
}

void TEditorBracketCollection::Delete(int index) {
  if (index < 0 || index >= Count()) throw std::out_of_range("TEditorBracketCollection: index out of range");
  items_.erase(items_.begin() + index);
  Changed();
}

void TEditorBracketCollection::Clear() {
  if (items_.empty()) return;
  items_.clear();
  Changed();
}

void TEditorBracketCollection::Move(int fromIndex, int toIndex) {
  if (fromIndex < 0 || fromIndex >= Count() || toIndex < 0 || toIndex >= Count()) {
    throw std::out_of_range("TEditorBracketCollection: index out of range");
  }
  if (fromIndex == toIndex) return;
  auto item = std::move(items_[static_cast<size_t>(fromIndex)]);
  items_.erase(items_.begin() + fromIndex);
  items_.insert(items_.begin() + toIndex, std::move(item));
  Changed();
}

int TEditorBracketCollection::IndexOf(const TEditorBracketItem* item) const {
  for (size_t i = 0; i < items_.size(); ++i) {
    if (items_[i].get() == item) return static_cast<int>(i);
  }
  return -1;
}

void TEditorBracketCollection::Assign(const TEditorBracketCollection& source) {
  if (&source == this) return;
  TNotifyUpdateBatch batch(*this);
  Clear();
  for (const auto& item : source.items_) Add().Assign(*item);
}

void TEditorBracketCollection::SetAllBkColor(TColor value) {
  TNotifyUpdateBatch batch(*this);
  for (auto& item : items_) item->ItemColor().SetBkColor(value);
}

void TEditorBracketCollection::SetAllColor(TColor value) {
  TNotifyUpdateBatch batch(*this);
  for (auto& item : items_) item->ItemColor().SetColor(value);
}

void TEditorBracketCollection::SetAllStyle(TFontStyles value) {
  TNotifyUpdateBatch batch(*this);
  for (auto& item : items_) item->ItemColor().SetStyle(value);
}

}  // namespace kerv
