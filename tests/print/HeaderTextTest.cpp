// The variables of header and footer texts.

#include <gtest/gtest.h>

#include "print/HeaderText.h"
#include "tests/print/PrintTestSupport.h"

namespace kerv {
namespace {

using test::S;
using test::U;

TEST(HeaderTextTest, Variables) {
  const TKervLocalTime march5{2024, 3, 5, 9, 7, 3, 0};
  const std::string fileName = S("/home/user/文書/メモ.txt");
  const std::pair<const char*, const char*> cases[] = {
      {"%y/%m/%d", "2024/3/5"},
      {"%t", "9:07:03"},
      {"- %p -", "- 12 -"},
      {"%F", "メモ.txt"},
      {"%f", "/home/user/文書/メモ.txt"},
      {"100%%", "100%"},
      {"end %", "end "},
      {"%", ""},
      {"%x%P%Y", "xPY"},
      {"%%p", "%p"},
      {"表%p示", "表12示"},
      {"%表", "表"},
      {"", ""},
  };
  for (const auto& [text, expected] : cases) {
    EXPECT_EQ(U(ExpandHeaderText(S(text), 12, fileName, march5)), expected) << text;
  }
  EXPECT_EQ(ExpandHeaderText("%F", 1, "memo.txt", march5), "memo.txt") << "no folder";
  EXPECT_EQ(ExpandHeaderText("%t", 1, "", TKervLocalTime{2024, 12, 31, 23, 59, 58, 0}), "23:59:58");
}

TEST(HeaderTextTest, ReadsTheClockForEveryBand) {
  test::PrinterRig rig;
  rig.device.pageHeight = 200;
  rig.printer.SetHeader("%y/%m/%d %t");
  rig.printer.SetHeaderAlign(TStringsPrinterHeaderAlign::haLeft);
  TMetaFileList pages = rig.Lay(test::NumberedLines(1));
  EXPECT_EQ(test::Texts(pages.Items(0), TPrintTextRole::Header), std::vector<std::string>{"2024/3/5 9:07:03"});
  rig.clock.now.day = 6;
  pages = rig.Lay(test::NumberedLines(1));
  EXPECT_EQ(test::Texts(pages.Items(0), TPrintTextRole::Header), std::vector<std::string>{"2024/3/6 9:07:03"});
}

}  // namespace
}  // namespace kerv
