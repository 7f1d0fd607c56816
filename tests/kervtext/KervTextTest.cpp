// kervtext from outside: arguments, files, standard output and exit status.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/kervtext/TempFolderTest.h"

namespace {

struct Result {
  int status = -1;
  std::string out;
  std::string err;
};

class KervTextTest : public kerv::testing::TempFolderTest {
 protected:
  // Runs kervtext with arguments (already quoted for the shell).
  Result Run(const std::string& arguments) { return Shell(std::string(KERVTEXT_PATH) + " " + arguments); }
  // Runs a shell command line.
  Result Shell(const std::string& line) {
    std::string errPath = dir_ + "stderr";
    std::string command = line + " 2>" + errPath;
    Result result;
    FILE* pipe = ::popen(command.c_str(), "r");
    char buffer[4096];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.out.append(buffer, got);
    int status = ::pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.err = Read(errPath);
    return result;
  }
};

TEST_F(KervTextTest, GuessPrintsCodeNameAndReturns) {
  std::string sjis = Write("s.txt", "\x93\xFA\x96\x7B\r\n");
  std::string utf8 = Write("u.txt", "\xEF\xBB\xBF" "a\nb");
  std::string ascii = Write("a.txt", "plain");
  Result r = Run("guess " + sjis + " " + utf8 + " " + ascii);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, sjis + "\t1\tShift-JIS\tCRLF\n" + utf8 + "\t6\tUTF-8\tLF\n" + ascii + "\t0\tASCII\tnone\n");
  Result missing = Run("guess " + dir_ + "none.txt");
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("none.txt"), std::string::npos);
}

TEST_F(KervTextTest, ConvertRoundTripsAndWritesNothingOnFailure) {
  // "日本語①" in Shift_JIS with LF returns.
  std::string original = "\x93\xFA\x96\x7B\x8C\xEA\x87\x40\nx\n";
  std::string in = Write("in.txt", original);
  for (const char* code : {"jis", "euc", "utf16le", "utf16be", "utf8", "utf8n"}) {
    std::string mid = dir_ + "mid." + code;
    std::string back = dir_ + "back." + code;
    ASSERT_EQ(Run(std::string("convert --to ") + code + " " + in + " " + mid).status, 0) << code;
    ASSERT_EQ(Run("convert --to sjis " + mid + " " + back).status, 0) << code;
    EXPECT_EQ(Read(back), original) << code;
  }
  Result crlf = Run("convert --to sjis --ret crlf " + in + " -");
  EXPECT_EQ(crlf.status, 0);
  EXPECT_EQ(crlf.out, "\x93\xFA\x96\x7B\x8C\xEA\x87\x40\r\nx\r\n");

  std::string out = dir_ + "never.txt";
  EXPECT_EQ(Run("convert --to klingon " + in + " " + out).status, 1);
  EXPECT_EQ(Run("convert --to sjis " + dir_ + "missing " + out).status, 1);
  EXPECT_FALSE(std::filesystem::exists(out));
}

TEST_F(KervTextTest, ConvertCountsWhatTheTargetCannotHoldAndExits3) {
  // Characters with no Shift_JIS form: written as "?", one line on standard error, exit 3.
  std::string in = Write("e.txt", "caf\xC3\xA9\n\xF0\x9F\x98\x80\n");
  Result r = Run("convert --from utf8n --to sjis " + in + " -");
  EXPECT_EQ(r.status, 3);
  EXPECT_EQ(r.out, "caf?\n?\n");
  EXPECT_EQ(r.err, "kervtext convert: " + in +
                       ": 2 characters cannot be carried into Shift-JIS (first on line 1): 2 became '?'\n");
  // JIS holds no half-width katakana: "ｶﾞ" becomes "ガ", and that is said too.
  std::string kana = Write("k.txt", "\xB6\xDE\n");
  Result jis = Run("convert --to jis " + kana + " -");
  EXPECT_EQ(jis.status, 3);
  EXPECT_EQ(jis.out, "\x1B$B\x25\x2C\x1B(B\n");
  EXPECT_NE(jis.err.find("1 half-width katakana became full-width"), std::string::npos);
  EXPECT_EQ(std::count(jis.err.begin(), jis.err.end(), '\n'), 1);
  // --lossy accepts the loss: exit 0, the count still said.
  Result lossy = Run("convert --lossy --to jis " + kana + " -");
  EXPECT_EQ(lossy.status, 0);
  EXPECT_NE(lossy.err.find("warning"), std::string::npos);
}

TEST_F(KervTextTest, ConvertNeverDestroysItsInput) {
  // A 0x1A in the middle, control bytes and a zero byte: a converter keeps them.
  const std::string withEof = std::string("line one\r\nli\x1Ane two\x01\x07\0\r\nline three\r\n", 33);
  std::string f = Write("f.txt", withEof);
  Result same = Run("convert --to sjis " + f + " " + f);
  EXPECT_EQ(same.status, 0) << same.err;
  EXPECT_EQ(Read(f), withEof);
  EXPECT_EQ(same.err, "");
  Result utf8 = Run("convert --from sjis --to utf8n " + f + " -");
  EXPECT_EQ(utf8.out, withEof);
  // A single 0x1A as the very last byte is the old end-of-file mark: dropped.
  std::string marked = Write("m.txt", "a\r\n\x1A");
  EXPECT_EQ(Run("convert --to sjis " + marked + " -").out, "a\r\n");

  // UTF-8 to UTF-8 carries what Shift_JIS lacks (😀, 𠮷); UTF-16 too.
  const std::string emoji = "\xF0\x9F\x98\x80 \xF0\xA0\xAE\xB7 \xE6\x97\xA5\r\n";
  std::string u = Write("u.txt", emoji);
  Result inPlace = Run("convert --to utf8n " + u + " " + u);
  EXPECT_EQ(inPlace.status, 0) << inPlace.err;
  EXPECT_EQ(Read(u), emoji);
  ASSERT_EQ(Run("convert --to utf16be " + u + " " + dir_ + "u16").status, 0);
  EXPECT_EQ(Run("convert --to utf8n " + dir_ + "u16 -").out, emoji);

  // A lossy result never replaces the input: exit 3, the file as it was.
  Result refused = Run("convert --to sjis " + u + " " + u);
  EXPECT_EQ(refused.status, 3);
  EXPECT_EQ(Read(u), emoji);
  EXPECT_NE(refused.err.find("left as it was"), std::string::npos);
  EXPECT_EQ(std::count(refused.err.begin(), refused.err.end(), '\n'), 1);
  // Also under another name of the same file.
  std::filesystem::create_symlink(u, dir_ + "link.txt");
  EXPECT_EQ(Run("convert --to sjis " + dir_ + "link.txt " + u).status, 3);
  EXPECT_EQ(Read(u), emoji);
  // Unless asked for.
  EXPECT_EQ(Run("convert --lossy --to sjis " + u + " " + u).status, 0);
  EXPECT_EQ(Read(u), "? ? \x93\xFA\r\n");
}

TEST_F(KervTextTest, JisOutputReadsBackThroughOtherReaders) {
  // Backslash and tilde after kanji stay ASCII (ESC ( B), and the text ends in ASCII.
  std::string in = Write("j.txt", "\x93\xFA\\~\n\x93\xFA");
  Result r = Run("convert --to jis " + in + " -");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "\x1B$BF|\x1B(B\\~\n\x1B$BF|\x1B(B");
  std::string jis = Write("out.jis", r.out);
  if (std::system("command -v iconv >/dev/null 2>&1") == 0) {
    Result iconv = Shell("iconv -f ISO-2022-JP -t UTF-8 " + jis);
    EXPECT_EQ(iconv.out, "\xE6\x97\xA5\\~\n\xE6\x97\xA5");
  }
  // Reading still takes ESC ( J.
  std::string roman = Write("r.jis", "\x1B$BF|\x1B(Ja\n");
  EXPECT_EQ(Run("convert --from jis --to sjis " + roman + " -").out, "\x93\xFA" "a\n");
}

TEST_F(KervTextTest, PipesAndDevicesAreRefusedUnlessItWasToldToReadThem) {
  std::string fifo = dir_ + "pipe";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  for (const std::string& command :
       std::vector<std::string>{"guess " + fifo, "wrap " + fifo, "guess /dev/zero", "wrap /dev/zero"}) {
    Result r = Run(command);
    EXPECT_EQ(r.status, 1) << command;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << command << ": " << r.err;
    EXPECT_NE(r.err.find("not a regular file"), std::string::npos) << command;
  }
  EXPECT_EQ(Run("grep x " + fifo).status, 2);  // grep's own error status
  EXPECT_EQ(Run("convert --to utf8n /dev/zero -").status, 1);
  // A FIFO given to convert as IN, and standard input, are streams it was told to read.
  Result fromFifo = Run("convert --to utf8n " + fifo + " - & printf 'abc\\n' > " + fifo + "; wait");
  EXPECT_EQ(fromFifo.out, "abc\n");
  EXPECT_EQ(Run("convert --to utf8n - - < " + Write("s.txt", "\x93\xFA\n")).out, "\xE6\x97\xA5\n");
  EXPECT_EQ(Run("guess - < " + Write("g.txt", "\x93\xFA\n")).out, "-\t1\tShift-JIS\tLF\n");
}

TEST_F(KervTextTest, ConvertStreamsInputsLargerThanDetectionKeeps) {
  // A UTF-8 text is decided only at its end: a file is read again for the
  // conversion, a stream is kept aside (beyond 16 MB in a temporary file).
  const std::string line = "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E abc\r\n";  // 日本語 abc
  std::string utf8;
  while (utf8.size() < (size_t{18} << 20)) utf8 += line;
  utf8 += "\xE2\x91\xA0";  // ①, no final line break
  const std::string in = Write("big.txt", utf8);
  ASSERT_EQ(Run("convert --to sjis " + in + " " + dir_ + "big.sjis").status, 0);
  const std::string sjis = Read(dir_ + "big.sjis");
  EXPECT_EQ(sjis.size(), utf8.size() / line.size() * 12 + 2);
  Result piped = Shell("cat " + in + " | " + KERVTEXT_PATH + " convert --to sjis - -");
  EXPECT_EQ(piped.status, 0);
  EXPECT_TRUE(piped.out == sjis);
  Result back = Run("convert --from auto --to utf8n --ret crlf " + dir_ + "big.sjis -");
  EXPECT_EQ(back.status, 0);
  EXPECT_TRUE(back.out == utf8);
}

TEST_F(KervTextTest, WarningsNameTheByteInOneLanguage) {
  std::string eof = Write("eof.txt", "ab\ncd\x1A" "ef\n");
  Result wrap = Run("wrap " + eof);
  EXPECT_EQ(wrap.out, "ab\ncd\n");
  EXPECT_EQ(wrap.err, "kervtext wrap: warning: " + eof +
                          ": an end-of-file byte (0x1A) on line 2 ends the text; the rest was not wrapped\n");
  std::string zero = Write("zero.txt", std::string("\xE6\x97\xA5\xE6\x97\xA5\nx\0y\n", 11));  // UTF-8
  Result grep = Run("grep x " + zero);
  EXPECT_NE(grep.err.find("a zero byte (0x00) on line 2"), std::string::npos) << grep.err;
  // Standard input that is not Shift_JIS is searched (it cannot be read twice).
  EXPECT_EQ(Run("grep -n x - < " + zero).out, "(standard input):2:x\n");
}

TEST_F(KervTextTest, WrapCutsByTheRulesInTheFilesOwnCodes) {
  // Ten "あ" and "」" in UTF-8 with LF: the closing bracket never begins a row.
  std::string line;
  for (int i = 0; i < 10; ++i) line += "\xE3\x81\x82";
  std::string in = Write("w.txt", std::string(25, 'a') + "\n" + line + "\xE3\x80\x8D\n");
  Result plain = Run("wrap --width 20 " + in);
  EXPECT_EQ(plain.status, 0);
  EXPECT_EQ(plain.out, std::string(20, 'a') + "\naaaaa\n" + line + "\n\xE3\x80\x8D\n");
  Result kinsoku = Run("wrap --width=20 --kinsoku " + in);
  std::string nine = line.substr(0, 27);
  EXPECT_EQ(kinsoku.out, std::string(20, 'a') + "\naaaaa\n" + nine + "\n\xE3\x81\x82\xE3\x80\x8D\n");
  std::string exact = Write("x.txt", std::string(20, 'b') + "\r\n");
  EXPECT_EQ(Run("wrap --width 20 " + exact).out, std::string(20, 'b') + "\r\n\r\n");
  EXPECT_EQ(Run("wrap --width 20 --follow-ret " + exact).out, std::string(20, 'b') + "\r\n");
  EXPECT_EQ(Run("wrap --width abc " + in).status, 1);
  EXPECT_EQ(Run("wrap --bogus " + in).status, 1);
}

TEST_F(KervTextTest, GrepPrintsMatchingLinesInUtf8WithGrepsStatus) {
  // Shift_JIS lines: "猫がいる", "犬", "ネコ"
  std::string sjis = Write("g.txt", "\x94\x4C\x82\xAA\x82\xA2\x82\xE9\r\n\x8C\xA2\r\n\x83\x6C\x83\x52\r\n");
  Result plain = Run("grep -n 猫 " + sjis);
  EXPECT_EQ(plain.status, 0);
  EXPECT_EQ(plain.out, sjis + ":1:猫がいる\n");
  EXPECT_EQ(Run("grep 猫 " + sjis).out, sjis + ":猫がいる\n");
  EXPECT_EQ(Run("grep 象 " + sjis).status, 1);
  EXPECT_EQ(Run("grep -n -e '犬|ネ.' " + sjis).out, sjis + ":2:犬\n" + sjis + ":3:ネコ\n");
  // Fuzzy: hiragana finds katakana.
  EXPECT_EQ(Run("grep --fuzzy ねこ " + sjis).out, sjis + ":ネコ\n");
  Result bad = Run("grep -e 'a(b' " + sjis);
  EXPECT_EQ(bad.status, 2);
  EXPECT_NE(bad.err.find("position"), std::string::npos);
  EXPECT_EQ(Run("grep 猫 " + dir_ + "missing").status, 2);
  std::string words = Write("w.txt", "xabc\nabc def\n");
  EXPECT_EQ(Run("grep --whole-word abc " + words).out, words + ":abc def\n");
  EXPECT_EQ(Run("grep ABC " + words).status, 0) << "case is ignored unless asked";
  EXPECT_EQ(Run("grep --match-case ABC " + words).status, 1);
}

TEST_F(KervTextTest, UnknownCommandIsAnError) {
  EXPECT_EQ(Run("frobnicate").status, 2);
  EXPECT_EQ(Run("--help").status, 0);
}

TEST_F(KervTextTest, VersionAndHelp) {
  Result version = Run("--version");
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out.rfind("kervtext (KervEditor) ", 0), 0u);
  Result help = Run("--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("--version"), std::string::npos);
}

TEST_F(KervTextTest, HelpNamesTheDrawingCommands) {
  const Result help = Run("--help");
  EXPECT_NE(help.out.find("print [--settings KERV_INI] [--from CODE] --pdf OUT.pdf FILE"), std::string::npos);
  EXPECT_NE(help.out.find("image [--settings FILE.tg2|FILE.tgs] [--format png|jpeg|bmp24|bmp8|bmp4|bmp1] FILE OUT"),
            std::string::npos);
  EXPECT_NE(help.out.find("image --each-line [--lines FIRST-LAST] [--settings ...] [--format ...] FILE FOLDER"),
            std::string::npos);
}

#ifdef KERVTEXT_RENDER_BUILT
// The text of a PDF as pdftotext reads it; empty when it cannot.
std::string PdfText(const std::string& path) {
  FILE* pipe = ::popen(("pdftotext -layout '" + path + "' - 2>/dev/null").c_str(), "r");
  std::string text;
  char buffer[4096];
  size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) text.append(buffer, got);
  ::pclose(pipe);
  return text;
}

TEST_F(KervTextTest, PrintLaysAMemoOutIntoAPdfWithItsBands) {
  if (std::system("pdftotext -v >/dev/null 2>&1") != 0) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
  std::string memo;
  for (int i = 1; i <= 300; ++i) memo += "memo line " + std::to_string(i) + "\t\x93\xFA\x96\x7B\x8C\xEA\r\n";
  const std::string file = Write("memo.txt", memo);
  const std::string settings = Write("kerv.ini", "[Printer]\r\nHeaderAlign=1\r\nFooterAlign=2\r\nLineNum=1\r\n");
  const std::string pdf = dir_ + "memo.pdf";
  const Result r = Run("print --settings " + settings + " --pdf " + pdf + " " + file);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out, "");
  const std::string text = PdfText(pdf);
  EXPECT_NE(text.find("memo.txt"), std::string::npos);
  EXPECT_NE(text.find("- 2 -"), std::string::npos);
  EXPECT_NE(text.find("300:memo line 300"), std::string::npos);
  EXPECT_NE(text.find("日本語"), std::string::npos);
  EXPECT_GE(std::count(text.begin(), text.end(), '\f'), 3);
  // Without a settings file: no header or footer, no numbers.
  ASSERT_EQ(Run("print --from sjis --pdf=" + pdf + " " + file).status, 0);
  const std::string plain = PdfText(pdf);
  EXPECT_EQ(plain.find("- 2 -"), std::string::npos);
  EXPECT_EQ(plain.find("300:"), std::string::npos);
  EXPECT_NE(plain.find("memo line 300"), std::string::npos);
}

TEST_F(KervTextTest, PrintFailsWithOneLineAndLeavesNothing) {
  const std::string file = Write("a.txt", "text\r\n");
  const std::string narrow = Write("narrow.ini", "[Printer]\r\nLeftMargin=100\r\nRightMargin=100\r\nColumnNum=2\r\nColumnSpace=100\r\n");
  const struct Case {
    const char* name;
    std::string arguments;
    const char* says;
  } cases[] = {
      {"no output named", "print " + file, "--pdf"},
      {"no input", "print --pdf " + dir_ + "o.pdf", "no file"},
      {"an unknown option", "print --colour --pdf " + dir_ + "o.pdf " + file, "--colour"},
      {"an unknown code", "print --from latin1 --pdf " + dir_ + "o.pdf " + file, "latin1"},
      {"a missing input", "print --pdf " + dir_ + "o.pdf " + dir_ + "none.txt", "none.txt"},
      {"a missing settings file", "print --settings " + dir_ + "none.ini --pdf " + dir_ + "o.pdf " + file, "none.ini"},
      {"no folder for the output", "print --pdf " + dir_ + "no/such/o.pdf " + file, "no/such/o.pdf"},
      {"settings without room", "print --settings " + narrow + " --pdf " + dir_ + "o.pdf " + file, "本文を印刷する幅"},
  };
  for (const Case& c : cases) {
    const Result r = Run(c.arguments);
    EXPECT_EQ(r.status, 1) << c.name;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << c.name << ": " << r.err;
    EXPECT_EQ(r.err.rfind("kervtext print: ", 0), 0u) << c.name << ": " << r.err;
    EXPECT_NE(r.err.find(c.says), std::string::npos) << c.name << ": " << r.err;
    EXPECT_FALSE(std::filesystem::exists(dir_ + "o.pdf")) << c.name;
  }
  // Only the inputs (and the captured errors) remain: no temporary file either.
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir_)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"a.txt", "narrow.ini", "stderr"}));
}
#endif

TEST_F(KervTextTest, DrawingCommandsWithoutTheirProgramSaySo) {
  // kervtext alone in a folder: kervtext-render is neither beside it nor in ../libexec/kerv/.
  const std::string alone = dir_ + "bin/";
  std::filesystem::create_directories(alone);
  std::filesystem::copy_file(KERVTEXT_PATH, alone + "kervtext");
  for (const char* command : {"print --pdf o.pdf a.txt", "image a.txt o.png"}) {
    const std::string errPath = dir_ + "alone.err";
    const int status = std::system((alone + "kervtext " + command + " 2>" + errPath).c_str());
    EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 1) << command;
    const std::string err = Read(errPath);
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_NE(err.find("kervtext-render"), std::string::npos) << err;
  }
}

}  // namespace
