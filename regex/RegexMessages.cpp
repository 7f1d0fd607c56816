#include "regex/RegexMessages.h"

namespace kerv {

const char* RegexMessage(ERegexMessage id) {
  switch (id) {
    case ERegexMessage::BadDoubleByteChar: return "不正な２バイト文字コードです。";
    case ERegexMessage::NeedCharAfterBackslash: return "\"\\\"の次には文字が必要です。";
    case ERegexMessage::BadHexCode: return "不正な１６進数コード表記です。";
    case ERegexMessage::BadOctalCode: return "不正な８進数コード表記です。";
    case ERegexMessage::NeedRightBracket: return "右ブラケット\"]\"が必要です";
    case ERegexMessage::BadCharRange: return "不正なキャラクタ範囲です";
    case ERegexMessage::BadCharClass: return "不正なキャラクタクラス指定です。";
    case ERegexMessage::NeedRightParen: return "右(閉じ)括弧が必要です";
    case ERegexMessage::NeedCharOrLeftParen: return "普通の文字、または左括弧\"(\"が必要です";
    case ERegexMessage::ExtraChars: return "正規表現に余分な文字があります";
    case ERegexMessage::NestingTooDeep: return "括弧の入れ子が深すぎます";
    case ERegexMessage::TooComplex: return "正規表現が複雑すぎます";
    case ERegexMessage::ParseTreeFatal: return "TREParseTree : 致命的エラー";
    case ERegexMessage::GenerateStateListFatal: return "This cannot happen in TRE_NFA.GenerateStateList";
  }
  return "";
}

}  // namespace kerv
