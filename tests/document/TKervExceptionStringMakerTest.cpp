#include "document/TKervExceptionStringMaker.h"

#include <gtest/gtest.h>

namespace kerv {
namespace {

TEST(TKervExceptionStringMakerTest, MessagesWithAndWithoutArgument) {
  struct Case {
    int code;
    std::optional<std::string> argument;
    const char* expected;
  } cases[] = {
      {10000, std::nullopt, "エラーが発生しました。"},
      {10021, std::nullopt, "ユーザーフォルダーの生成に失敗しました。"},
      {10051, std::nullopt, "ファイルの作成に失敗しました。"},
      {10051, "/a/b.txt", "/a/b.txt\r\nファイルの作成に失敗しました。"},
      {10052, "x", "x\r\nファイルの読み込みに失敗しました。"},
      {11011, std::nullopt, "編集モードが見つかりませんでした。"},
      {11011, "c.em2", "c.em2\r\n編集モード定義ファイルが見つかりませんでした。"},
      {10101, std::nullopt, "バックアップに失敗しました"},
      {10101, "f", "f\r\nバックアップに失敗しました。"},
      {11206, "a(", "正規表現が不正な強調文字が存在するため、一括設定ができません。\r\n不正な正規表現：a("},
      {19003, std::nullopt, "kervtool.iniの読み込みに失敗しました。"},
      {25000, "oops", "不正な処理が発生しました。\r\noops"},
      {25000, "%s", "不正な処理が発生しました。\r\n%s"},
      {4242, std::nullopt, "予期せぬエラーが発生しました。(ErrorCode:4242)"},
  };
  for (const Case& c : cases) EXPECT_EQ(TKervExceptionStringMaker::Make(c.code, c.argument), c.expected) << c.code;
}

}  // namespace
}  // namespace kerv
