#pragma once
// The abstract ordered list of byte strings that line-oriented callers use
// (file loading and saving, formatting, search, printing, tools), with nested
// update batches.

#include <string>
#include <string_view>

namespace kerv {

class TStrings {
 public:
  virtual ~TStrings() = default;

  virtual int GetCount() const = 0;
  virtual std::string Get(int index) const = 0;
  virtual void Put(int index, std::string_view text) = 0;
  virtual void Insert(int index, std::string_view text) = 0;
  // Returns the index of the new string.
  virtual int Add(std::string_view text) {
    int index = GetCount();
    Insert(index, text);
    return index;
  }
  virtual void Delete(int index) = 0;
  virtual void Clear() = 0;
  // The strings joined, each followed by CR LF.
  virtual std::string GetTextStr() const;
  virtual void SetTextStr(std::string_view text);
  virtual void Assign(const TStrings& source) { SetTextStr(source.GetTextStr()); }

  // Nested batches; SetUpdateState hears only the outermost begin and end.
  void BeginUpdate() {
    if (updateCount_++ == 0) SetUpdateState(true);
  }
  void EndUpdate() {
    if (updateCount_ > 0 && --updateCount_ == 0) SetUpdateState(false);
  }
  int UpdateCount() const { return updateCount_; }

 protected:
  virtual void SetUpdateState(bool updating) { (void)updating; }

 private:
  int updateCount_ = 0;
};

// Keeps a batch open for a scope, ended on every way out.
class TStringsUpdate {
 public:
  explicit TStringsUpdate(TStrings& list) : list_(list) { list_.BeginUpdate(); }
  ~TStringsUpdate() { list_.EndUpdate(); }
  TStringsUpdate(const TStringsUpdate&) = delete;
  TStringsUpdate& operator=(const TStringsUpdate&) = delete;

 private:
  TStrings& list_;
};

}  // namespace kerv
