// kervtext convert: reads a file in one character code and writes it in
// another, carrying every byte the two codes can carry: control bytes, zero
// bytes and a 0x1A inside the text stay (a single 0x1A as the very last byte,
// the old end-of-file mark, goes), and every line break becomes the target
// return code. Between two Unicode codes the text never passes through
// Shift_JIS, so nothing outside it is lost.
//
// Exit status: 0 when everything was carried; 3 when the target code cannot
// hold some characters (one line on standard error counts them; OUT is
// written unless it is IN, which is never overwritten with a lossy result
// unless --lossy is given, and then the status is 0); 1 on any other error.

#include <malloc.h>

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "document/CharCode.h"
#include "kervtext/KervTextCommands.h"
#include "kervtext/KervTextSupport.h"

namespace kerv::cli {
namespace {

constexpr const char* kCommand = "convert";
constexpr int kFailed = 1;
constexpr int kLossy = 3;

constexpr const char* kUsage =
    "usage: kervtext convert [--from auto|sjis|jis|euc|utf16le|utf16be|utf8|utf8n] [--ambiguous sjis|euc]\n"
    "                        --to CODE [--ret crlf|lf|cr] [--no-utf8n] [--lossy] IN OUT   (IN or OUT may be -)";

std::string Lower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

std::optional<TReturnCode> ParseReturnCode(const std::string& value) {
  std::string name = Lower(value);
  if (name == "crlf") return rcCRLF;
  if (name == "lf") return rcLF;
  if (name == "cr") return rcCR;
  return std::nullopt;
}

int Fail(const std::string& message) {
  PrintError(kCommand, message);
  return kFailed;
}

bool IsUnicode(TCharCode code) { return code >= ccUnicode && code <= ccUTF8N; }
bool IsUtf16(TCharCode code) { return code == ccUnicode || code == ccUnicodeBE; }

// What the conversion could not carry.
struct Loss {
  size_t replaced = 0;  // characters written as "?" (or U+FFFD)
  size_t widened = 0;   // half-width katakana written full-width
  bool oddByte = false;  // the odd last byte of UTF-16, dropped
  int firstLine = 0;     // 1-based line of the first loss in IN; 0 when not known
  size_t Count() const { return replaced + widened + (oddByte ? 1 : 0); }
  void Note(int line) {
    if (line > 0 && (firstLine == 0 || line < firstLine)) firstLine = line;
  }
};

// Every line break (CR LF, a lone CR, a lone LF) as target; rcNone keeps them.
// The bytes of the text are ASCII-transparent (Shift_JIS trail bytes and
// UTF-8 continuation bytes are never CR or LF).
std::string UnifyReturns(std::string_view text, TReturnCode target) {
  if (target == rcNone) return std::string(text);
  const std::string_view brk = target == rcCRLF ? "\r\n" : target == rcLF ? "\n" : "\r";
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r') {
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
      out += brk;
    } else if (c == '\n') {
      out += brk;
    } else {
      out += c;
    }
  }
  return out;
}

// The old end-of-file mark: one 0x1A as the very last byte ends the text.
void DropEndMark(std::string& text) {
  if (!text.empty() && text.back() == '\x1A' && (text.size() == 1 || text[text.size() - 2] != '\x1A')) text.pop_back();
}

// UTF-16 bytes (mark skipped) to UTF-8, counting what UTF-8 cannot take (a
// lone surrogate) and an odd last byte.
std::string Utf16ToUtf8(ICodePage& codePage, std::string_view bytes, bool bigEndian, Loss& loss) {
  const unsigned char mark0 = bigEndian ? 0xFE : 0xFF;
  size_t skip = bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == mark0 &&
                        static_cast<unsigned char>(bytes[1]) == (mark0 ^ 0x01)
                    ? 2
                    : 0;
  const size_t units = (bytes.size() - skip) / 2;
  std::u16string text(units, u'\0');
  for (size_t k = 0; k < units; ++k) {
    const unsigned char a = static_cast<unsigned char>(bytes[skip + 2 * k]);
    const unsigned char b = static_cast<unsigned char>(bytes[skip + 2 * k + 1]);
    text[k] = static_cast<char16_t>(bigEndian ? (a << 8 | b) : (b << 8 | a));
  }
  for (size_t k = 0; k < units; ++k) {
    const char16_t unit = text[k];
    const bool high = unit >= 0xD800 && unit <= 0xDBFF;
    const bool low = unit >= 0xDC00 && unit <= 0xDFFF;
    if (high && k + 1 < units && text[k + 1] >= 0xDC00 && text[k + 1] <= 0xDFFF) {
      ++k;
    } else if (high || low) {
      if (loss.replaced++ == 0) {
        loss.Note(TFileManager::LineOfOffset(bytes, skip + 2 * k, bigEndian ? ccUnicodeBE : ccUnicode));
      }
    }
  }
  if ((bytes.size() - skip) % 2 == 1) {
    loss.oddByte = true;
    loss.Note(TFileManager::LineOfOffset(bytes, bytes.size() - 1, bigEndian ? ccUnicodeBE : ccUnicode));
  }
  return codePage.Utf16ToUtf8(text);
}

// UTF-8 to a document's bytes in a Unicode code, with its mark.
std::string Utf8ToUnicode(ICodePage& codePage, std::string_view text, TCharCode to, Loss& loss) {
  if (to == ccUTF8) return "\xEF\xBB\xBF" + std::string(text);
  if (to == ccUTF8N) return std::string(text);
  ConversionReport malformed;
  std::u16string units = codePage.Utf8ToUtf16(text, &malformed);
  if (malformed.replaced != 0) {
    loss.replaced += malformed.replaced;
    loss.Note(TFileManager::LineOfOffset(text, malformed.firstReplaced, ccUTF8N));
  }
  const bool bigEndian = to == ccUnicodeBE;
  std::string out(bigEndian ? "\xFE\xFF" : "\xFF\xFE", 2);
  out.reserve(2 + units.size() * 2);
  for (char16_t unit : units) {
    const char high = static_cast<char>(unit >> 8);
    const char low = static_cast<char>(unit & 0xFF);
    out += bigEndian ? high : low;
    out += bigEndian ? low : high;
  }
  return out;
}

// IN's bytes in code as OUT's bytes in to with the return code ret (rcNone:
// the first kind found in IN).
std::string Convert(CliFileManager& manager, ICodePage& codePage, std::string bytes, TCharCode code, TCharCode to,
                    TReturnCode ret, Loss& loss) {
  if (IsUnicode(code) && IsUnicode(to)) {
    std::string text;
    if (IsUtf16(code)) {
      text = Utf16ToUtf8(codePage, bytes, code == ccUnicodeBE, loss);
    } else {
      const size_t skip = code == ccUTF8 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
      text = bytes.substr(skip);
    }
    bytes = std::string();
    DropEndMark(text);
    text = UnifyReturns(text, ret != rcNone ? ret : TStringCodeConverter::DetectReturnCode(text));
    return Utf8ToUnicode(codePage, text, to, loss);
  }

  std::string text;
  if (code >= ccJIS && code <= ccUTF8N) {
    TDecodeReport decode;
    text = manager.Converter().ToInternal(bytes, code, &decode, true);
    if (decode.replaced.replaced != 0) {
      loss.replaced += decode.replaced.replaced;
      loss.Note(TFileManager::LineOfOffset(bytes, decode.replaced.firstReplaced, code));
    }
    if (decode.oddLastByte) {
      loss.oddByte = true;
      loss.Note(TFileManager::LineOfOffset(bytes, bytes.size() - 1, code));
    }
  } else {
    text = std::move(bytes);
  }
  bytes = std::string();
  DropEndMark(text);
  const TReturnCode target = ret != rcNone ? ret : TStringCodeConverter::DetectReturnCode(text);
  text = UnifyReturns(text, target);
  TSaveReport saved;
  std::string out = manager.EncodeText(text, target, to, &saved);
  // Positions of what the encoding lost are lines of the text, which has IN's lines.
  loss.replaced += saved.replaced;
  loss.Note(saved.firstReplacedLine);
  loss.widened += saved.widened;
  loss.Note(saved.firstWidenedLine);
  return out;
}

std::string LossLine(const std::string& inName, const Loss& loss, TCharCode to) {
  std::string line = inName + ": " + Plural(loss.Count(), "character") + " cannot be carried into " + CharCodeName(to);
  if (loss.firstLine > 0) line += " (first on line " + std::to_string(loss.firstLine) + ")";
  std::string what;
  auto add = [&what](const std::string& part) { what += (what.empty() ? ": " : ", ") + part; };
  if (loss.replaced != 0) add(std::to_string(loss.replaced) + " became '?'");
  if (loss.widened != 0) add(std::to_string(loss.widened) + " half-width katakana became full-width");
  if (loss.oddByte) add("the odd last byte was dropped");
  return line + what;
}

}  // namespace

int RunConvert(const Args& args) {
  TCharCode from = ccAuto;
  std::optional<TCharCode> to;
  std::optional<TReturnCode> returnCode;
  bool ambiguousIsEuc = false;
  bool utf8nCheck = true;
  bool lossyAllowed = false;
  std::vector<std::string> files;

  bool optionsEnded = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg == "-" || arg.empty() || arg[0] != '-') {
      files.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    if (arg == "--no-utf8n") {
      utf8nCheck = false;
      continue;
    }
    if (arg == "--lossy") {
      lossyAllowed = true;
      continue;
    }
    // "--name value", "--name=value" and iconv's "-f value", "-t value".
    std::string name = arg, value;
    bool hasValue = false;
    if (size_t equals = arg.find('='); arg.rfind("--", 0) == 0 && equals != std::string::npos) {
      name = arg.substr(0, equals);
      value = arg.substr(equals + 1);
      hasValue = true;
    }
    if (name == "-f") name = "--from";
    if (name == "-t") name = "--to";
    if (name != "--from" && name != "--to" && name != "--ambiguous" && name != "--ret") {
      return Fail("unknown option '" + arg + "'\n" + kUsage);
    }
    if (!hasValue) {
      if (i + 1 >= args.size()) return Fail("option '" + name + "' needs a value\n" + kUsage);
      value = args[++i];
    }
    if (name == "--from") {
      std::optional<TCharCode> code = ParseCharCode(value, true);
      if (!code) return Fail("unknown code '" + value + "' for --from (auto sjis jis euc utf16le utf16be utf8 utf8n)");
      from = *code;
    } else if (name == "--to") {
      to = ParseCharCode(value, false);
      if (!to) return Fail("unknown code '" + value + "' for --to (sjis jis euc utf16le utf16be utf8 utf8n)");
    } else if (name == "--ambiguous") {
      std::string lower = Lower(value);
      if (lower != "sjis" && lower != "euc") return Fail("--ambiguous takes sjis or euc, not '" + value + "'");
      ambiguousIsEuc = lower == "euc";
    } else {
      returnCode = ParseReturnCode(value);
      if (!returnCode) return Fail("--ret takes crlf, lf or cr, not '" + value + "'");
    }
  }
  if (!to) return Fail(std::string("--to CODE is required\n") + kUsage);
  if (files.size() != 2) return Fail(std::string("expected IN and OUT\n") + kUsage);
  const std::string& in = files[0];
  const std::string& out = files[1];
  const std::string inName = in == "-" ? "standard input" : in;

  // Whole-file buffers each get a mapping of their own that goes back to the
  // system when freed, instead of lingering in the heap after the first one.
  mallopt(M_MMAP_THRESHOLD, 1 << 20);

  Loss loss;
  try {
    CliPlatform platform;
    // IN may be a pipe it was told to read (a FIFO, standard input).
    platform.fs.SetStreamsAllowed(true);
    CliFileManager manager(platform.fs, platform.codePage, platform.dialogs, ambiguousIsEuc);
    std::string bytes = platform.fs.ReadRegularFile(in, INT64_MAX);
    const TCharCode code = manager.ResolveCode(bytes, from, utf8nCheck);
    std::string result =
        Convert(manager, platform.codePage, std::move(bytes), code, *to, returnCode.value_or(rcNone), loss);
    if (loss.Count() != 0 && !lossyAllowed && platform.fs.SameFile(in, out)) {
      PrintError(kCommand, LossLine(inName, loss, *to) + "; " + in +
                               " left as it was (a lossy result never replaces IN; --lossy writes it anyway)");
      return kLossy;
    }
    platform.fs.WriteFile(out, result);
  } catch (const std::exception& error) {  // EFileError names the file and the reason
    return Fail(error.what());
  }
  if (loss.Count() != 0) {
    PrintError(kCommand, (lossyAllowed ? "warning: " : "") + LossLine(inName, loss, *to));
    return lossyAllowed ? 0 : kLossy;
  }
  return 0;
}

}  // namespace kerv::cli
