#pragma once
// The multi-row bracket pairs of the view options (block comments, here
// documents and the like): at most 50, indexed 0..49 in collection order.
// The index is the bracket state the parser carries from row to row.

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "editor/TEditorColors.h"
#include "editor/TNotifyPersistent.h"

namespace kerv {

class TEditorBracketCollection;

// Raised when a pair beyond the limit is added; the collection is unchanged.
class EEditorBracketCollection : public std::runtime_error {
 public:
  explicit EEditorBracketCollection(const std::string& message) : std::runtime_error(message) {}
};

class TEditorBracketItem {
 public:
  // An item made outside a collection notifies nobody.
  explicit TEditorBracketItem(TEditorBracketCollection* collection = nullptr);
  TEditorBracketItem(const TEditorBracketItem&) = delete;
  TEditorBracketItem& operator=(const TEditorBracketItem&) = delete;

  TEditorColor& ItemColor() { return itemColor_; }
  const TEditorColor& ItemColor() const { return itemColor_; }
  void SetItemColor(const TEditorColor& value) { itemColor_.Assign(value); }
  const std::string& LeftBracket() const { return leftBracket_; }
  void SetLeftBracket(const std::string& value);
  const std::string& RightBracket() const { return rightBracket_; }
  void SetRightBracket(const std::string& value);
  bool ShowReserve() const { return showReserve_; }
  void SetShowReserve(bool value);

  // Copies the four properties; the collection is told once.
  void Assign(const TEditorBracketItem& source);

  TEditorBracketCollection* Collection() const { return collection_; }
  // The pair index, or -1 outside a collection.
  int Index() const;

 private:
  friend class TEditorBracketCollection;
  void Changed();

  TEditorBracketCollection* collection_;
  TEditorColor itemColor_;
  std::string leftBracket_;
  std::string rightBracket_;
  bool showReserve_ = false;
  bool assigning_ = false;
};

class TEditorBracketCollection : public TNotifyPersistent {
 public:
  static constexpr int MaxCount = 50;

  TEditorBracketCollection() = default;

  int Count() const { return static_cast<int>(items_.size()); }
  TEditorBracketItem& Items(int index) { return *items_.at(static_cast<size_t>(index)); }
  const TEditorBracketItem& Items(int index) const { return *items_.at(static_cast<size_t>(index)); }

  // Appends an empty pair; throws EEditorBracketCollection when MaxCount pairs are held.
  TEditorBracketItem& Add();
  // Inserts an empty pair before index (clamped to 0..Count); same limit.
  TEditorBracketItem& Insert(int index);
  void Delete(int index);
  void Clear();
  // Moves the pair at fromIndex to toIndex; the indices of the pairs between shift.
  void Move(int fromIndex, int toIndex);
  int IndexOf(const TEditorBracketItem* item) const;

  // Clears and re-adds every pair of source in one batch.
  void Assign(const TEditorBracketCollection& source);

  // These set one value on every pair's ItemColor, in one batch.
  virtual void SetAllBkColor(TColor value);
  virtual void SetAllColor(TColor value);
  virtual void SetAllStyle(TFontStyles value);

  // The text of the exception that Add raises at the limit.
  static std::string LimitMessage();

 private:
  void CheckLimit() const;

  std::vector<std::unique_ptr<TEditorBracketItem>> items_;
};

}  // namespace kerv
