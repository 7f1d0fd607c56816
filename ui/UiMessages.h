#pragma once
// The editor control's own notices (UTF-8; %1 and %2 are arguments).

namespace kerv::ui_messages {

inline constexpr const char* kCannotType = "「%1」はShift_JISで表せない文字のため入力できません。";
inline constexpr const char* kCharsReplaced = "Shift_JISで表せない文字が%1個あったため、「?」に置き換えました。";
inline constexpr const char* kBadReserveWord = "予約語「%1」は正規表現として正しくないため、強調表示から外しました。(%2)";

}  // namespace kerv::ui_messages
