// kervtext print: a text file laid out as the print dialog lays it out (the
// [Printer] keys of a settings file, the editor's default font) on A4
// portrait, written to a PDF file. The PDF is written whole or not at all.

#include <QPageSize>
#include <QString>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "app/settings/TKervPrinterSetting.h"
#include "app/settings/TKervSettingGroups.h"
#include "editor/TEditorColumnRules.h"
#include "editor/TEditorStringList.h"
#include "kervtext/KervTextSupport.h"
#include "kervtext/render/RenderCommands.h"
#include "platform/qt/print/QtLocalClock.h"
#include "platform/qt/print/QtPdfOutput.h"
#include "platform/qt/print/QtPrintMeasurer.h"
#include "print/EPrintError.h"
#include "print/TStringsPrinter.h"

namespace kerv::render {
namespace {

constexpr const char* kCommand = "print";
constexpr const char* kUsage =
    "usage: kervtext print [--settings KERV_INI] [--from auto|sjis|jis|euc|utf16le|utf16be|utf8|utf8n] --pdf OUT.pdf "
    "FILE";
// A screen's resolution: fixed, so the same input gives the same PDF with
// or without a display.
constexpr int kScreenDpi = 96;

int Fail(const std::string& message) {
  cli::PrintError(kCommand, message);
  return 1;
}

int Usage(const std::string& message) { return Fail(message + " (" + kUsage + ")"); }

struct Options {
  std::optional<std::string> settings;
  TCharCode from = ccAuto;
  std::string pdf;
  std::string file;
};

// Options or nullopt after the message of a usage error.
std::optional<Options> ParseArgs(const Args& args, int& status) {
  Options options;
  std::vector<std::string> files;
  bool optionsEnded = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg == "-" || arg.empty() || arg[0] != '-') {
      files.push_back(arg);
      continue;
    }
    std::string name, value;
    const bool inlineValue = cli::SplitOption(arg, name, value);
    if (name == "--") {
      optionsEnded = true;
      continue;
    }
    if (name != "--settings" && name != "--from" && name != "--pdf") {
      status = Usage("unknown option '" + arg + "'");
      return std::nullopt;
    }
    if (!inlineValue) {
      if (i + 1 >= args.size()) {
        status = Usage("option '" + name + "' needs a value");
        return std::nullopt;
      }
      value = args[++i];
    }
    if (name == "--settings") {
      options.settings = value;
    } else if (name == "--pdf") {
      options.pdf = value;
    } else if (std::optional<TCharCode> code = cli::ParseCharCode(value, true)) {
      options.from = *code;
    } else {
      status = Usage("unknown code '" + value + "' for --from");
      return std::nullopt;
    }
  }
  if (options.pdf.empty()) {
    status = Usage("--pdf OUT.pdf is required");
    return std::nullopt;
  }
  if (files.size() != 1) {
    status = Usage(files.empty() ? "no file given" : "one file at a time");
    return std::nullopt;
  }
  options.file = files[0];
  return options;
}

// The editor's default font (section DefaultFont) and the [Printer] keys,
// from the named settings file or their defaults.
TKervPrinterSetting ReadSettings(IFileSystem& fs, const std::optional<std::string>& path, TPrintFont& editorFont) {
  TKervViewSetting view;
  std::optional<TIniFile> ini;
  if (path) {
    if (!fs.FileExists(*path)) throw EFileError(EFileError::Kind::NotFound, *path, "no such file");
    ini.emplace(fs, *path);
    view.Load(*ini);
  }
  editorFont.name = view.FontName;
  editorFont.size = view.FontSize;
  editorFont.bold = (view.FontStyle & 1) != 0;
  editorFont.italic = (view.FontStyle & 2) != 0;
  editorFont.underline = (view.FontStyle & 4) != 0;
  TKervPrinterSetting setting(editorFont);
  if (ini) setting.Load(*ini);
  return setting;
}

// What the print dialog copies into the printer, from the stored keys.
void ApplySettings(TStringsPrinter& printer, const TKervPrinterSetting& setting, const TPrintFont& editorFont) {
  printer.SetFont(setting.UseEditorFont ? editorFont : setting.StoredFont());
  printer.SetMarginTop(setting.TopMargin);
  printer.SetMarginBottom(setting.BottomMargin);
  printer.SetMarginLeft(setting.LeftMargin);
  printer.SetMarginRight(setting.RightMargin);
  printer.SetColumnCount(setting.ColumnNum + 1);
  printer.SetColumnSpace(setting.ColumnSpace);
  printer.SetLineNumber(setting.LineNum);
  printer.SetHeader(setting.Header);
  printer.SetFooter(setting.Footer);
  if (std::optional<TStringsPrinterHeaderAlign> align = HeaderAlignFromIndex(setting.HeaderAlign)) {
    printer.SetHeaderAlign(*align);
  }
  if (std::optional<TStringsPrinterHeaderAlign> align = HeaderAlignFromIndex(setting.FooterAlign)) {
    printer.SetFooterAlign(*align);
  }
  printer.SetCopies(setting.Copies < 1 ? 1 : setting.Copies > 999 ? 999 : setting.Copies);
  printer.SetCollate(setting.Collate);
}

// The printed lines: the file's lines with their tabs expanded, as the
// editor shows them without wrapping.
std::vector<std::string> PrintLines(const std::string& text) {
  TEditorColumnRules rules;
  std::vector<std::string> lines;
  ForEachLine(text, [&](std::string_view line) {
    if (line.find('\t') == std::string_view::npos) {
      lines.emplace_back(line);
      return;
    }
    const std::string classes = rules.ColumnAttributes(line);
    std::string expanded;
    expanded.reserve(classes.size());
    size_t byteIndex = 0;
    for (char cls : classes) {
      if (cls == kColTabFill) {
        expanded += ' ';
        continue;
      }
      const char byte = line[byteIndex++];
      expanded += byte == '\t' ? ' ' : byte;
    }
    lines.push_back(std::move(expanded));
  });
  return lines;
}

}  // namespace

int RunPrint(const Args& args) {
  int status = 0;
  const std::optional<Options> options = ParseArgs(args, status);
  if (!options) return status;

  cli::CliPlatform platform;
  TPrintFont editorFont;
  std::optional<TKervPrinterSetting> setting;
  std::string text;
  try {
    setting.emplace(ReadSettings(platform.fs, options->settings, editorFont));
    cli::CliFileManager files(platform.fs, platform.codePage, platform.dialogs, false);
    TReturnCode returnCode = rcCRLF;
    TCharCode charCode = options->from;
    TLoadReport report;
    files.LoadText(options->file, text, false, true, returnCode, charCode, &report);
    const std::string warning = TFileManager::LoadWarning(report);
    if (!warning.empty()) cli::PrintError(kCommand, "warning: " + warning);
  } catch (const std::exception& error) {  // EFileError names the file and the reason
    return Fail(error.what());
  }
  const std::vector<std::string> lines = PrintLines(text);
  text.clear();
  text.shrink_to_fit();

  const QPageLayout layout = PdfPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait);
  QtPdfDevice device(layout, kScreenDpi);
  // Page fonts are sized in pixels, which measure alike on every device.
  QtPrintMeasurer measurer(platform.codePage, nullptr);
  QtLocalClock clock;
  TStringsPrinter printer(device, measurer, clock);
  ApplySettings(printer, *setting, editorFont);
  printer.SetFileName(platform.codePage.Utf8ToCp932(options->file, nullptr));
  QtPdfJob job(QString::fromStdString(options->pdf), layout, platform.codePage,
               QString::fromStdString(options->file));
  try {
    printer.Print(lines, job);
  } catch (const EPrintError& error) {
    // A layout refused names the settings; a job that failed names the file.
    if (error.Message() == TPrintMessage::NoRoomForText || error.Message() == TPrintMessage::NoRoomForRow) {
      return Fail(error.what());
    }
    return Fail(options->pdf + ": " + error.what());
  }
  return 0;
}

}  // namespace kerv::render
