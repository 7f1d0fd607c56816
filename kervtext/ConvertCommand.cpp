// kervtext convert: reads a file as the editor opens it and writes it as the
// editor saves it, in another character code or return code.

#include <malloc.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "kervtext/KervTextCommands.h"
#include "kervtext/KervTextSupport.h"
#include "document/CharCode.h"
#include "editor/TEditorStringList.h"

namespace kerv::cli {
namespace {

constexpr const char* kUsage =
    "usage: kervtext convert [--from auto|sjis|jis|euc|utf16le|utf16be|utf8|utf8n] [--ambiguous sjis|euc]\n"
    "                        --to CODE [--ret crlf|lf|cr] [--no-utf8n] IN OUT   (IN or OUT may be -)";

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
  std::fprintf(stderr, "kervtext convert: %s\n", message.c_str());
  return 1;
}

std::string Plural(size_t count, const char* what) {
  return std::to_string(count) + " " + what + (count == 1 ? "" : "s");
}

}  // namespace

int RunConvert(const Args& args) {
  TCharCode from = ccAuto;
  std::optional<TCharCode> to;
  std::optional<TReturnCode> returnCode;
  bool ambiguousIsEuc = false;
  bool utf8nCheck = true;
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
  const std::string outName = out == "-" ? "standard output" : out;

  // Whole-file buffers each get a mapping of their own that goes back to the
  // system when freed, instead of lingering in the heap after the first one.
  mallopt(M_MMAP_THRESHOLD, 1 << 20);

  try {
    CliPlatform platform;
    CliFileManager manager(platform.fs, platform.codePage, platform.dialogs, ambiguousIsEuc);
    std::string text;
    TCharCode charCode = from;
    TReturnCode fileReturnCode = rcCRLF;
    TLoadReport loaded;
    manager.LoadText(in, text, false, utf8nCheck, fileReturnCode, charCode, &loaded);
    if (loaded.replaced != 0) {
      std::fprintf(stderr, "kervtext convert: warning: %s: %s with no Shift_JIS form became '?' (first on line %d)\n",
                   inName.c_str(), Plural(loaded.replaced, "character").c_str(), loaded.firstReplacedLine);
    }
    if (loaded.endedAtOffset >= 0) {
      std::fprintf(stderr,
                   "kervtext convert: warning: %s: a zero byte on line %d (offset %lld) ends the text; the rest was not "
                   "converted\n",
                   inName.c_str(), loaded.endedAtLine, static_cast<long long>(loaded.endedAtOffset));
    }
    if (loaded.blanked != 0) {
      std::fprintf(stderr, "kervtext convert: warning: %s: %s below 0x08 became %s\n", inName.c_str(),
                   Plural(loaded.blanked, "control byte").c_str(), loaded.blanked == 1 ? "a blank" : "blanks");
    }

    // The text takes the editor's own path: into the line store and back out of it.
    TEditorStringList rows;
    rows.AdoptText(std::move(text), [&](std::string_view line) { rows.AppendAdopted(line, raCrlf); });
    // Only one whole copy at a time: the rows go once their text is out.
    std::string whole = rows.GetText();
    rows.Clear();
    TSaveReport saved;
    manager.SaveText(out, whole, returnCode.value_or(fileReturnCode), *to, &saved);
    if (saved.replaced != 0) {
      std::fprintf(stderr, "kervtext convert: warning: %s: %s with no %s form became '?' (first on line %d)\n",
                   outName.c_str(), Plural(saved.replaced, "character").c_str(), CharCodeName(*to),
                   saved.firstReplacedLine);
    }
  } catch (const std::exception& error) {  // EFileError names the file and the reason
    return Fail(error.what());
  }
  return 0;
}

}  // namespace kerv::cli
