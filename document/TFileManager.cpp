#include "document/TFileManager.h"

#include <algorithm>

#include "document/DocumentMessages.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kerv {
namespace {

bool IsUtf16(TCharCode code) { return code == ccUnicode || code == ccUnicodeBE; }

bool IsDecoded(TCharCode code) { return code >= ccJIS && code <= ccUTF8N; }

// 1-based line of the character at byteOffset of a document's bytes; CR LF,
// a lone CR and a lone LF each end a line.
int LineAt(std::string_view bytes, size_t byteOffset, TCharCode code) {
  const size_t unitSize = IsUtf16(code) ? 2 : 1;
  const int low = code == ccUnicodeBE ? 1 : 0;
  const size_t units = std::min(byteOffset, bytes.size()) / unitSize;
  auto unitAt = [&](size_t k) -> unsigned {
    if (unitSize == 1) return static_cast<unsigned char>(bytes[k]);
    unsigned char a = static_cast<unsigned char>(bytes[2 * k + low]);
    unsigned char b = static_cast<unsigned char>(bytes[2 * k + 1 - low]);
    return static_cast<unsigned>(a | b << 8);
  };
  int line = 1;
  for (size_t k = 0; k < units; ++k) {
    unsigned unit = unitAt(k);
    if (unit == '\n' || (unit == '\r' && !(k + 1 < bytes.size() / unitSize && unitAt(k + 1) == '\n'))) ++line;
  }
  return line;
}

// Bytes below 0x08 (zero included) become blanks; returns how many.
size_t BlankControlBytes(std::string& text) {
  unsigned char* p = reinterpret_cast<unsigned char*>(text.data());
  const size_t n = text.size();
  size_t count = 0;
  size_t i = 0;
#if defined(__SSE2__)
  const __m128i seven = _mm_set1_epi8(7);
  for (; i + 16 <= n; i += 16) {
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
    if (_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_min_epu8(v, seven), v)) == 0) continue;
    for (size_t k = i; k < i + 16; ++k) {
      if (p[k] < 0x08) {
        p[k] = ' ';
        ++count;
      }
    }
  }
#endif
  for (; i < n; ++i) {
    if (p[i] < 0x08) {
      p[i] = ' ';
      ++count;
    }
  }
  return count;
}

}  // namespace

TFileManager::TFileManager(IFileSystem& fs, ICodePage& codePage, IDialogs& dialogs)
    : fs_(fs), dialogs_(dialogs), converter_(codePage) {}

bool TFileManager::LoadText(const std::string& fileName, std::string& text, bool askNull, bool utf8nCheck,
                            TReturnCode& returnCode, TCharCode& charCode, TLoadReport* report) {
  std::string bytes = fs_.ReadFile(fileName);

  if (charCode == ccAuto) {
    TCharCode detected = TStringCodeConverter::DetectCode(bytes, utf8nCheck);
    if (detected == ccSJISOrEUC) {
      charCode = AskSJISOrEUC() ? ccEUC : ccShiftJIS;
    } else if (detected == ccJIS78 || detected == ccJIS83) {
      charCode = ccJIS;
    } else {
      charCode = detected;
    }
  }

  TLoadReport result;
  if (IsDecoded(charCode)) {
    TDecodeReport decode;
    text = converter_.ToInternal(bytes, charCode, &decode);
    if (decode.replaced.replaced != 0) {
      result.replaced = decode.replaced.replaced;
      result.firstReplacedOffset = static_cast<int64_t>(decode.replaced.firstReplaced);
      result.firstReplacedLine = LineAt(bytes, decode.replaced.firstReplaced, charCode);
    }
    if (decode.endedAt != TDecodeReport::npos) {
      result.endedAtOffset = static_cast<int64_t>(decode.endedAt);
      result.endedAtLine = LineAt(bytes, decode.endedAt, charCode);
    }
    // The file's bytes are not needed any more: the text is what stays.
    bytes = std::string();
  } else {
    text = std::move(bytes);
  }

  // The line store ends a text at an end-of-file byte (0x1A): what follows
  // would be lost by the next save, so the text ends there openly, and the
  // user is told before a save can happen. Trail bytes are never 0x1A.
  if (charCode != ccBinary && result.endedAtOffset < 0) {
    const size_t eof = text.find('\x1A');
    if (eof != std::string::npos) {
      int line = 1;
      for (size_t i = 0; i < eof; ++i) {
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 >= eof || text[i + 1] != '\n'))) ++line;
      }
      text.resize(eof);
      result.endedAtOffset = static_cast<int64_t>(eof);
      result.endedAtLine = line;
      result.endedAtEof = true;
    }
  }

  result.blanked = BlankControlBytes(text);
  if (report != nullptr) *report = result;
  if (result.blanked != 0 && askNull && AskSpecialChars()) {
    text.clear();
    return false;
  }

  // A binary file keeps its bytes; its own return code is reported so that
  // saving it back does not convert them either.
  if (charCode != ccBinary) {
    returnCode = TStringCodeConverter::ConvertReturnCodeInPlace(text, rcCRLF);
  } else {
    returnCode = TStringCodeConverter::DetectReturnCode(text);
  }
  if (returnCode == rcNone) returnCode = rcCRLF;
  return true;
}

bool TFileManager::SaveText(const std::string& fileName, std::string_view text, TReturnCode returnCode,
                            TCharCode charCode, TSaveReport* report) {
  fs_.WriteFile(fileName, EncodeText(text, returnCode, charCode, report));
  return true;
}

std::string TFileManager::EncodeText(std::string_view text, TReturnCode returnCode, TCharCode charCode,
                                     TSaveReport* report) {
  std::string converted;
  std::string_view body = text;
  TReturnCode detected = TStringCodeConverter::DetectReturnCode(text);
  if (detected != rcNone && detected != returnCode) {
    // Written once with the new returns, not copied first and rewritten.
    converted = TStringCodeConverter::ConvertReturnCode(text, returnCode).text;
    body = converted;
  }

  TSaveReport result;
  std::string bytes;
  if (IsDecoded(charCode)) {
    ConversionReport replaced;
    bytes = converter_.FromInternal(body, charCode, &replaced);
    if (replaced.replaced != 0) {
      result.replaced = replaced.replaced;
      result.firstReplacedLine = LineAt(body, replaced.firstReplaced, ccShiftJIS);
    }
  } else if (converted.empty()) {
    bytes = std::string(body);
  } else {
    bytes = std::move(converted);
  }
  if (report != nullptr) *report = result;
  return bytes;
}

int64_t TFileManager::FileSize(const std::string& fileName) { return fs_.FileSize(fileName); }

void TFileManager::CreateEmptyFile(const std::string& fileName, std::string_view initialText) {
  fs_.WriteFile(fileName, initialText);
}

bool TFileManager::AskSpecialChars() {
  return !dialogs_.AskYesNo(DocumentMessage(TDocumentMessage::SpecialChars), IDialogs::Icon::Warning);
}

bool TFileManager::AskSJISOrEUC() {
  return !dialogs_.AskYesNo(DocumentMessage(TDocumentMessage::SJISOrEUC), IDialogs::Icon::Question);
}

std::string TFileManager::LoadWarning(const TLoadReport& report) {
  if (!report.Lossy()) return std::string();
  std::string text;
  if (report.replaced != 0) {
    text += FormatDocumentMessage(TDocumentMessage::ReplacedChars,
                                  {std::to_string(report.replaced), std::to_string(report.firstReplacedLine)});
    text += "\r\n";
  }
  if (report.endedAtOffset >= 0) {
    text += FormatDocumentMessage(report.endedAtEof ? TDocumentMessage::EndedAtEof : TDocumentMessage::EndedAtZero,
                                  {std::to_string(report.endedAtLine)});
    text += "\r\n";
  }
  return text + DocumentMessage(TDocumentMessage::SaveWarning);
}

}  // namespace kerv
