#pragma once
// Reading and writing documents: the file's bytes in any of the character
// codes and return codes to the internal text (Shift_JIS, CR LF) and back.
// Base of the window's file manager, which adds dialogs, locking and history.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "document/CharCode.h"
#include "document/TStringCodeConverter.h"
#include "platform/CodePage.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"

namespace kerv {

// What a load could not keep. Whoever opens a document shows it (LoadWarning)
// and asks before the file is saved over with what is left.
struct TLoadReport {
  size_t replaced = 0;               // characters with no Shift_JIS form, now "?"
  int64_t firstReplacedOffset = -1;  // byte offset in the file of the first
  int firstReplacedLine = 0;         // its line, 1-based; 0 when nothing was replaced
  int64_t endedAtOffset = -1;        // byte offset of the zero byte (unit) that ended the text; the rest was not read
  int endedAtLine = 0;               // its line, 1-based; 0 when the whole file was read
  bool endedAtEof = false;           // the byte that ended the text was an end-of-file byte (0x1A)
  size_t blanked = 0;                // control bytes (below 0x08) turned into blanks
  int firstBlankedLine = 0;          // line of the first, 1-based; 0 when none
  bool oddLastByte = false;          // UTF-16 of an odd length: its last byte, half a character, was dropped
  bool Lossy() const { return replaced != 0 || endedAtOffset >= 0 || blanked != 0 || oddLastByte; }
};

// What a save could not write as it is.
struct TSaveReport {
  size_t replaced = 0;        // characters the chosen code cannot hold, written as "?"
  int firstReplacedLine = 0;  // line of the first, 1-based; 0 when none
  size_t widened = 0;         // half-width katakana written full-width (JIS has none)
  int firstWidenedLine = 0;   // line of the first, 1-based; 0 when none
  bool Lossy() const { return replaced != 0 || widened != 0; }
};

class TFileManager {
 public:
  TFileManager(IFileSystem& fs, ICodePage& codePage, IDialogs& dialogs);
  virtual ~TFileManager() = default;
  TFileManager(const TFileManager&) = delete;
  TFileManager& operator=(const TFileManager&) = delete;

  // Reads fileName into text. On entry charCode is the code to read it in
  // (ccAuto detects it); on exit it holds the code used, and returnCode the
  // file's return code (never rcNone). False when the user declined the file
  // because of its control bytes (only asked with askNull); text is then
  // empty. Read errors raise EFileError, and so does a name that is no
  // regular file (a pipe or a device, whose reading might never end).
  bool LoadText(const std::string& fileName, std::string& text, bool askNull, bool utf8nCheck, TReturnCode& returnCode,
                TCharCode& charCode, TLoadReport* report = nullptr);
  // LoadText of bytes already read (a stream cannot be read twice).
  bool DecodeText(std::string bytes, std::string& text, bool askNull, bool utf8nCheck, TReturnCode& returnCode,
                  TCharCode& charCode, TLoadReport* report = nullptr);
  // Writes text with returnCode and charCode, replacing the file only once
  // every byte is written; on an error the old file is untouched and
  // EFileError is raised. Returns true.
  bool SaveText(const std::string& fileName, std::string_view text, TReturnCode returnCode, TCharCode charCode,
                TSaveReport* report = nullptr);
  // The bytes SaveText writes, so that a caller can see what a code cannot
  // hold before anything is written.
  std::string EncodeText(std::string_view text, TReturnCode returnCode, TCharCode charCode,
                         TSaveReport* report = nullptr);
  // The code to read bytes in: requested, or for ccAuto the detected one
  // (an undecided Shift_JIS or EUC asks AskSJISOrEUC; JIS78 and JIS83 are JIS).
  TCharCode ResolveCode(std::string_view bytes, TCharCode requested, bool utf8nCheck);
  // The code to read in for a detection result (DetectCode, TCodeDetector).
  TCharCode ResolveDetected(TCharCode detected);
  // Size in bytes, or -1 when there is no such file.
  int64_t FileSize(const std::string& fileName);
  // Creates or replaces the file with initialText as it is (no conversion).
  void CreateEmptyFile(const std::string& fileName, std::string_view initialText);

  // The questions of LoadText, shown through the platform's standard dialogs.
  // True when the user declines a file with control bytes.
  virtual bool AskSpecialChars();
  // True when the user chooses EUC for a file that could be either.
  virtual bool AskSJISOrEUC();

  // The notice of a lossy load at open (UTF-8), empty when nothing was lost:
  // what was lost and, for the document's own file, that a save over the
  // file will ask first (an inserted file is never saved over).
  static std::string LoadWarning(const TLoadReport& report, bool documentsFile = true);
  // The lines of the question before such a save: what the file would lose.
  static std::string LoadLossItems(const TLoadReport& report);
  // The 1-based line of the character at byteOffset of a document's bytes
  // in code (UTF-16 counted in units); CR LF, a lone CR and a lone LF each end a line.
  static int LineOfOffset(std::string_view bytes, size_t byteOffset, TCharCode code);

  TStringCodeConverter& Converter() { return converter_; }

  // How far LoadText has come, in thousandths (the read to 850, the
  // decoding the rest); answering false stops it with EFileError of kind
  // Cancelled. Empty: nobody is told.
  using TLoadProgress = std::function<bool(int permille)>;
  void SetLoadProgress(TLoadProgress progress) { loadProgress_ = std::move(progress); }

 protected:
  IFileSystem& fs_;
  IDialogs& dialogs_;

 private:
  void LoadStep(int permille);

  TStringCodeConverter converter_;
  TLoadProgress loadProgress_;
};

}  // namespace kerv
