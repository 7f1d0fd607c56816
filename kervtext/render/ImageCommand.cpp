// kervtext image: a text file drawn into an image as the editor's converter
// draws it: the whole text as one image, or each non-empty line of a range
// as a numbered image of its own.

#include <climits>
#include <cstdio>
#include <optional>
#include <string>

#include "document/CharCode.h"
#include "document/TFileManager.h"
#include "image/EImageError.h"
#include "image/TImageFileWriter.h"
#include "image/TImageOutputType.h"
#include "image/TJpegCodec.h"
#include "image/TVuvESettingsFile.h"
#include "image/qt/TVuvEConverter.h"
#include "kervtext/render/RenderCommands.h"
#include "platform/Dialogs.h"
#include "platform/posix/IconvCodePage.h"
#include "platform/posix/PosixFileSystem.h"

namespace kerv::render {
namespace {

// Points become pixels at the desktop's usual resolution, so a script gets
// the same image on every machine.
constexpr int kDotsPerInch = 96;

// No window: nothing is asked.
class NoDialogs : public IDialogs {
 public:
  void ShowStandardError(const std::string&) override {}
  bool AskYesNo(const std::string&, Icon) override { return false; }
  Answer MessageBox(const std::string&, const std::string&, Icon, Buttons) override { return Answer::Ok; }
  void Beep(Icon) override {}
};

// A file that could be Shift_JIS or EUC is read as Shift_JIS; control
// bytes are kept as the editor keeps them when told to.
class QuietFileManager : public TFileManager {
 public:
  using TFileManager::TFileManager;
  bool AskSpecialChars() override { return false; }
  bool AskSJISOrEUC() override { return false; }
};

struct FormatName {
  const char* name;
  int typeIndex;
};
constexpr FormatName kFormats[] = {
    {"png", 4}, {"jpeg", 5}, {"jpg", 5}, {"bmp24", 2}, {"bmp8", 1}, {"bmp4", 0}, {"bmp1", 3},
};

std::optional<int> ParseFormat(const std::string& name) {
  for (const FormatName& format : kFormats) {
    if (name == format.name) return format.typeIndex;
  }
  return std::nullopt;
}

// The type an output name asks for without --format: its extension's, PNG
// for any other.
int TypeForFileName(const std::string& path) {
  const std::optional<TImageEncoding> named = EncodingOfExtension(path);
  if (named == TImageEncoding::Jpeg) return 5;
  if (named == TImageEncoding::Bmp24) return 2;
  return 4;
}

std::optional<int> ParseWhole(const std::string& text) {
  if (text.empty() || text.size() > 9) return std::nullopt;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

// "FIRST-LAST", "FIRST-" or "-LAST", 1-based, FIRST <= LAST.
bool ParseLines(const std::string& text, int& first, int& last) {
  const size_t dash = text.find('-');
  if (dash == std::string::npos) return false;
  const std::string head = text.substr(0, dash);
  const std::string tail = text.substr(dash + 1);
  std::optional<int> from = head.empty() ? std::optional<int>(1) : ParseWhole(head);
  std::optional<int> to = tail.empty() ? std::optional<int>(INT_MAX) : ParseWhole(tail);
  if (!from || !to || *from < 1 || *to < *from) return false;
  first = *from;
  last = *to;
  return true;
}

// Every message on one line: a cause on a second line follows after ": ".
std::string OneLine(std::string text) {
  std::string line;
  for (char c : text) {
    if (c == '\r') continue;
    if (c == '\n') {
      line += ": ";
    } else {
      line += c;
    }
  }
  return line;
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "kervtext image: %s\n", OneLine(message).c_str());
  return 1;
}

}  // namespace

int RunImage(const Args& args) {
  bool eachLine = false;
  std::optional<int> typeIndex;
  std::string settingsFile;
  int firstLine = 1;
  int lastLine = INT_MAX;
  bool linesGiven = false;
  std::vector<std::string> files;

  bool optionsEnded = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
      files.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    if (arg == "--each-line") {
      eachLine = true;
      continue;
    }
    std::string name = arg, value;
    bool hasValue = false;
    if (size_t equals = arg.find('='); equals != std::string::npos) {
      name = arg.substr(0, equals);
      value = arg.substr(equals + 1);
      hasValue = true;
    }
    if (name != "--settings" && name != "--format" && name != "--lines") {
      return Fail("unknown option '" + arg + "' (see kervtext --help)");
    }
    if (!hasValue) {
      if (i + 1 >= args.size()) return Fail("option '" + name + "' needs a value");
      value = args[++i];
    }
    if (name == "--settings") {
      settingsFile = value;
    } else if (name == "--format") {
      typeIndex = ParseFormat(value);
      if (!typeIndex) return Fail("--format takes png, jpeg, bmp24, bmp8, bmp4 or bmp1, not '" + value + "'");
    } else {
      if (!ParseLines(value, firstLine, lastLine))
        return Fail("--lines takes FIRST-LAST (1-based), not '" + value + "'");
      linesGiven = true;
    }
  }
  if (linesGiven && !eachLine) return Fail("--lines goes with --each-line");
  if (files.size() != 2) {
    return Fail(eachLine ? "expected FILE and FOLDER (see kervtext --help)"
                         : "expected FILE and OUT (see kervtext --help)");
  }
  const std::string& textFile = files[0];
  const std::string& target = files[1];

  try {
    PosixFileSystem fs;
    IconvCodePage codePage;
    NoDialogs dialogs;

    TVuvESettings settings;
    if (!settingsFile.empty()) LoadVuvESettingsFile(fs, settingsFile, settings, &codePage);

    QuietFileManager manager(fs, codePage, dialogs);
    std::string text;
    TReturnCode returnCode = rcCRLF;
    TCharCode charCode = ccAuto;
    manager.LoadText(textFile, text, false, true, returnCode, charCode);

    if (!eachLine) {
      const int type = typeIndex.value_or(TypeForFileName(target));
      TVuvEConverter converter(fs, codePage, settings, kDotsPerInch);
      const TRasterImage image = converter.RenderSingle(text);
      TImageFileWriter(fs).Save(target, image, ImageOutputType(type).encoding, kDefaultJpegQuality);
      return 0;
    }

    if (!fs.FolderExists(target)) return Fail("no folder '" + target + "'");
    settings.CntCnv = true;
    settings.CntCnv_Foldor = target;
    settings.FirstLine = firstLine;
    settings.LastLine = lastLine;
    // Without --format: the settings file's type, or PNG.
    settings.CntCnv_FileType = typeIndex.value_or(settingsFile.empty() ? 4 : settings.CntCnv_FileType);
    CheckContinuousConversion(settings, text);
    TVuvEConverter converter(fs, codePage, settings, kDotsPerInch);
    TImageFileWriter writer(fs);
    converter.ConvertEachLine(text, writer, [] { return kDefaultJpegQuality; });
  } catch (const std::exception& error) {  // EImageError and EFileError carry their own texts
    return Fail(error.what());
  }
  return 0;
}

}  // namespace kerv::render
