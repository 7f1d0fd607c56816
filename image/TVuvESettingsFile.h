#pragma once
// The converter's settings files: .tg2 (an ini file, read and written) and
// the older .tgs record (852 bytes, little-endian, read only).

#include <cstddef>
#include <string>
#include <string_view>

#include "image/TVuvESettings.h"
#include "platform/CodePage.h"
#include "platform/FileSystem.h"

namespace kerv {

inline constexpr size_t kTgsRecordBytes = 852;

// True when the name's extension is exactly ".tgs" (case-sensitive): such a
// file is read as a .tgs record; any other name, ".TGS" included, as .tg2.
bool IsTgsFileName(const std::string& path);

// Reads a .tgs record into settings. A record shorter than 852 bytes fails
// (TgsTooShort) before any field is set. The fields are set in the dialog's
// order: margins, check boxes, colours, picture path and font, then the size
// mode and the alignment last; a field that cannot be taken (a margin
// outside 0-999, a mode or alignment outside 0-2, a font size outside
// 1-1000, a colour that is neither plain nor a system colour, a text with a
// control byte) fails with ReadFailed and leaves the fields set before it.
// The picture path is Windows text (code page 932): with a code page it
// becomes a native (UTF-8) path; without one its bytes stay. The font name
// stays Shift_JIS.
void ReadTgsRecord(std::string_view record, TVuvESettings& settings, ICodePage* codePage);

// Reads a settings file by the rule above. Throws EImageError: ReadFailed
// with the file error when it cannot be read, or the reader's own failure.
void LoadVuvESettingsFile(IFileSystem& fs, const std::string& path, TVuvESettings& settings, ICodePage* codePage);

// The whole .tg2 file for settings (CR LF lines).
std::string Tg2Text(IFileSystem& fs, const TVuvESettings& settings, TImageColorResolver resolve);
// Writes a .tg2 file whole, through a temporary file. Throws EImageError
// (SettingsSaveFailed) with the file error.
void SaveTg2File(IFileSystem& fs, const std::string& path, const TVuvESettings& settings, TImageColorResolver resolve);

}  // namespace kerv
