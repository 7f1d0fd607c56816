#include "image/TVuvESettingsFile.h"

#include <cstdint>
#include <string>

#include "document/TIniFile.h"
#include "image/EImageError.h"

namespace kerv {
namespace {

// The fields of the record that are read; the other bytes mean nothing here.
enum TgsOffset : size_t {
  kAllText = 0,
  kUseBackImage = 2,
  kTileBackImage = 3,
  kTextVAlign = 4,
  kExpMargin = 5,
  kFillMargin = 6,
  kBackColor = 8,
  kFillColor = 12,
  kBackImagePath = 16,  // a length byte and up to 255 bytes
  kLeftMargin = 272,
  kRightMargin = 276,
  kTopMargin = 280,
  kBottomMargin = 284,
  kSizeMode = 304,
  kTextAlign = 308,
  kFontSize = 584,
  kFontStyle = 588,
  kFontColor = 592,
  kFontName = 596,  // a length byte and up to 255 bytes
};

class TTgsRecord {
 public:
  explicit TTgsRecord(std::string_view bytes) : bytes_(bytes) {}

  bool Flag(size_t offset) const { return bytes_[offset] != 0; }
  uint8_t Byte(size_t offset) const { return static_cast<uint8_t>(bytes_[offset]); }
  uint32_t U32(size_t offset) const {
    return uint32_t(Byte(offset)) | (uint32_t(Byte(offset + 1)) << 8) | (uint32_t(Byte(offset + 2)) << 16) |
           (uint32_t(Byte(offset + 3)) << 24);
  }
  int32_t I32(size_t offset) const { return static_cast<int32_t>(U32(offset)); }
  int32_t Ranged(size_t offset, int32_t min, int32_t max) const {
    int32_t value = I32(offset);
    if (value < min || value > max) throw EImageError(TImageMessage::ReadFailed);
    return value;
  }
  TColor Color(size_t offset) const {
    TColor value = U32(offset);
    uint32_t high = value >> 24;
    if (high != 0x00 && high != 0xFF) throw EImageError(TImageMessage::ReadFailed);
    return value;
  }
  // The length byte always fits the 255 bytes that follow it. Blanks at
  // either end are dropped, as the ini forms would drop them on reading.
  std::string Text(size_t offset) const {
    std::string text(bytes_.substr(offset + 1, Byte(offset)));
    for (char c : text) {
      if (static_cast<unsigned char>(c) < 0x20) throw EImageError(TImageMessage::ReadFailed);
    }
    size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
  }

 private:
  std::string_view bytes_;
};

}  // namespace

bool IsTgsFileName(const std::string& path) { return ExtractFileExt(path) == ".tgs"; }

void ReadTgsRecord(std::string_view record, TVuvESettings& settings, ICodePage* codePage) {
  if (record.size() < kTgsRecordBytes) {
    throw EImageError(TImageMessage::TgsTooShort, {std::to_string(record.size())});
  }
  TTgsRecord r(record);
  TVuvESettings& s = settings;
  s.LeftMargin = r.Ranged(kLeftMargin, 0, TVuvESettings::kMaxMargin);
  s.RightMargin = r.Ranged(kRightMargin, 0, TVuvESettings::kMaxMargin);
  s.TopMargin = r.Ranged(kTopMargin, 0, TVuvESettings::kMaxMargin);
  s.BottomMargin = r.Ranged(kBottomMargin, 0, TVuvESettings::kMaxMargin);
  s.AllText = r.Flag(kAllText);
  s.UseBackImage = r.Flag(kUseBackImage);
  s.TileBackImage = r.Flag(kTileBackImage);
  s.TextVAlign = r.Flag(kTextVAlign);
  s.ExpMargin = r.Flag(kExpMargin);
  s.FillMargin = r.Flag(kFillMargin);
  s.BackColor = r.Color(kBackColor);
  s.FillColor = r.Color(kFillColor);
  std::string path = r.Text(kBackImagePath);
  s.BackImagePath = codePage != nullptr ? codePage->Cp932ToUtf8(path) : path;
  s.Font.Size = r.Ranged(kFontSize, TVuvESettings::kMinFontSize, TVuvESettings::kMaxFontSize);
  uint8_t style = r.Byte(kFontStyle);
  s.Font.Bold = (style & 1) != 0;
  s.Font.Italic = (style & 2) != 0;
  s.Font.UnderLine = (style & 4) != 0;
  s.Font.StrikeOut = (style & 8) != 0;
  s.Font.Color = r.Color(kFontColor);
  s.Font.Name = r.Text(kFontName);
  // Last, as the dialog sets them: the size mode decides which size fields
  // apply, and the other settings must be in place first.
  s.SizeSetType = static_cast<TVuvESizeMode>(r.Ranged(kSizeMode, 0, 2));
  s.TextAlign = static_cast<TVuvEAlign>(r.Ranged(kTextAlign, 0, 2));
}

void LoadVuvESettingsFile(IFileSystem& fs, const std::string& path, TVuvESettings& settings, ICodePage* codePage) {
  std::string bytes;
  try {
    bytes = TIniFile::ReadSettingsFile(fs, path);
  } catch (const EFileError& error) {
    throw EImageError::WithCause(TImageMessage::ReadFailed, error.what());
  }
  if (IsTgsFileName(path)) {
    ReadTgsRecord(bytes, settings, codePage);
    return;
  }
  settings.ReadTg2(TIniFile::FromText(fs, path, bytes));
}

std::string Tg2Text(IFileSystem& fs, const TVuvESettings& settings, TImageColorResolver resolve) {
  TIniFile ini = TIniFile::FromText(fs, std::string(), std::string());
  settings.WriteTg2(ini, resolve);
  return ini.Text();
}

void SaveTg2File(IFileSystem& fs, const std::string& path, const TVuvESettings& settings, TImageColorResolver resolve) {
  try {
    fs.WriteFile(path, Tg2Text(fs, settings, resolve));
  } catch (const EFileError& error) {
    throw EImageError::WithCause(TImageMessage::SettingsSaveFailed, error.what());
  }
}

}  // namespace kerv
