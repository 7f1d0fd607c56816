#include "editor/TEditorWrapOption.h"

namespace kerv {

// "、。，．・？！゛゜ヽヾゝゞ々ー）］｝」』!),.:;?]}｡｣､･ｰﾞﾟ"
const char* const TEditorWrapOption::kDefaultFollowStr =
    "\x81\x41\x81\x42\x81\x43\x81\x44\x81\x45\x81\x48\x81\x49\x81\x4a\x81\x4b\x81\x52\x81\x53\x81\x54\x81\x55\x81\x58"
    "\x81\x5b\x81\x6a\x81\x6e\x81\x70\x81\x76\x81\x78\x21\x29\x2c\x2e\x3a\x3b\x3f\x5d\x7d\xa1\xa3\xa4\xa5\xb0\xde\xdf";
// "（［｛「『([{｢"
const char* const TEditorWrapOption::kDefaultLeadStr = "\x81\x69\x81\x6d\x81\x6f\x81\x75\x81\x77\x28\x5b\x7b\xa2";
// "、。，．,.｡､"
const char* const TEditorWrapOption::kDefaultPunctuationStr = "\x81\x41\x81\x42\x81\x43\x81\x44\x2c\x2e\xa1\xa4";

void TEditorWrapOption::SetWrapByte(int value) {
  if (value < kMinWrapByte) value = kMinWrapByte;
  if (value > kMaxWrapByte) value = kMaxWrapByte;
  SetAndNotify(wrapByte_, value);
}

void TEditorWrapOption::Assign(const TEditorWrapOption& source) {
  if (&source == this) return;
  followRetMark_ = source.followRetMark_;
  followPunctuation_ = source.followPunctuation_;
  followStr_ = source.followStr_;
  leading_ = source.leading_;
  leadStr_ = source.leadStr_;
  punctuationStr_ = source.punctuationStr_;
  wordBreak_ = source.wordBreak_;
  wrapByte_ = source.wrapByte_;
  Changed();
}

}  // namespace kerv
