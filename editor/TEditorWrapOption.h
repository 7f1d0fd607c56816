#pragma once
// The options of word wrap: the width and the Japanese line-break rules.

#include <string>

#include "editor/TNotifyPersistent.h"

namespace kerv {

class TEditorWrapOption : public TNotifyPersistent {
 public:
  static constexpr int kMinWrapByte = 20;
  static constexpr int kMaxWrapByte = 500;
  // Defaults, as Shift_JIS bytes.
  static const char* const kDefaultFollowStr;       // must not begin a row
  static const char* const kDefaultLeadStr;         // must not end a row
  static const char* const kDefaultPunctuationStr;  // may hang past the width

  bool FollowRetMark() const { return followRetMark_; }
  bool FollowPunctuation() const { return followPunctuation_; }
  const std::string& FollowStr() const { return followStr_; }
  bool Leading() const { return leading_; }
  const std::string& LeadStr() const { return leadStr_; }
  const std::string& PunctuationStr() const { return punctuationStr_; }
  bool WordBreak() const { return wordBreak_; }
  int WrapByte() const { return wrapByte_; }

  void SetFollowRetMark(bool value) { SetAndNotify(followRetMark_, value); }
  void SetFollowPunctuation(bool value) { SetAndNotify(followPunctuation_, value); }
  void SetFollowStr(const std::string& value) { SetAndNotify(followStr_, value); }
  void SetLeading(bool value) { SetAndNotify(leading_, value); }
  void SetLeadStr(const std::string& value) { SetAndNotify(leadStr_, value); }
  void SetPunctuationStr(const std::string& value) { SetAndNotify(punctuationStr_, value); }
  void SetWordBreak(bool value) { SetAndNotify(wordBreak_, value); }
  // Clamped to 20..500.
  void SetWrapByte(int value);

  // Copies all eight properties and notifies once.
  void Assign(const TEditorWrapOption& source);

 private:
  bool followRetMark_ = false;
  bool followPunctuation_ = false;
  std::string followStr_ = kDefaultFollowStr;
  bool leading_ = false;
  std::string leadStr_ = kDefaultLeadStr;
  std::string punctuationStr_ = kDefaultPunctuationStr;
  bool wordBreak_ = false;
  int wrapByte_ = 80;
};

}  // namespace kerv
