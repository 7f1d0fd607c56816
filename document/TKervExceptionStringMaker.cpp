#include "document/TKervExceptionStringMaker.h"

#include <string_view>

namespace kerv {
namespace {

std::string Fill(std::string_view format, std::string_view first, std::string_view second = {}) {
  // Formats hold at most two "%s"; arguments are inserted in order.
  std::string out;
  int used = 0;
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] == '%' && i + 1 < format.size() && format[i + 1] == 's') {
      out += used++ == 0 ? first : second;
      ++i;
    } else {
      out += format[i];
    }
  }
  return out;
}

// Messages of the "%s <what> ..." family: without an argument the thing
// named, with an argument the argument, a line break and the longer name.
struct NamedMessage {
  int code;
  const char* format;      // one %s: what failed
  const char* shortName;   // without an argument
  const char* longName;    // with an argument
};

constexpr NamedMessage kNamedMessages[] = {
    {10050, "%sが見つかりませんでした。", "ファイル", "ファイル"},
    {10051, "%sの作成に失敗しました。", "ファイル", "ファイル"},
    {10052, "%sの読み込みに失敗しました。", "ファイル", "ファイル"},
    {10053, "%sの保存に失敗しました。", "ファイル", "ファイル"},
    {11011, "%sが見つかりませんでした。", "編集モード", "編集モード定義ファイル"},
    {11012, "%sの読み込みに失敗しました。", "編集モード", "編集モード定義ファイル"},
};

struct FixedMessage {
  int code;
  const char* text;
};

constexpr FixedMessage kFixedMessages[] = {
    {10000, "エラーが発生しました。"},
    {10021, "ユーザーフォルダーの生成に失敗しました。"},
    {10100, "バックアップに失敗しました。"},
    {10102, "バックアップフォルダーの作成に失敗しました。\r\n(定期バックアップは実行されません。)"},
    {11205, "強調文字を入力してください。"},
    {11210, "左囲み文字を入力してください。"},
    {11211, "右囲み文字を入力してください。"},
    {19001, "kerv.iniの読み込みに失敗しました。"},
    {19002, "kerv.iniの保存に失敗しました。"},
    {19003, "kervtool.iniの読み込みに失敗しました。"},
    {19004, "kervtool.iniの保存に失敗しました。"},
    {19005, "editmode.iniの読み込みに失敗しました。"},
    {19006, "editmode.iniの保存に失敗しました。"},
};

}  // namespace

std::string TKervExceptionStringMaker::Make(int code, const std::optional<std::string>& argument) {
  for (const NamedMessage& message : kNamedMessages) {
    if (message.code != code) continue;
    if (!argument) return Fill(message.format, message.shortName);
    return *argument + "\r\n" + Fill(message.format, message.longName);
  }
  for (const FixedMessage& message : kFixedMessages) {
    if (message.code == code) return message.text;
  }
  switch (code) {
    case 10101:
      return argument ? *argument + "\r\nバックアップに失敗しました。" : "バックアップに失敗しました";
    case 11206:
      return "正規表現が不正な強調文字が存在するため、一括設定ができません。\r\n不正な正規表現：" + argument.value_or("");
    case 25000:
      return Fill("不正な処理が発生しました。\r\n%s", argument.value_or(""));
    default:
      return "予期せぬエラーが発生しました。(ErrorCode:" + std::to_string(code) + ")";
  }
}

}  // namespace kerv
