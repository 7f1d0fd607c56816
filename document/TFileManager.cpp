#include "document/TFileManager.h"

#include <algorithm>
#include <cstdint>

#include "document/DocumentMessages.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kerv {
namespace {

bool IsUtf16(TCharCode code) { return code == ccUnicode || code == ccUnicodeBE; }

bool IsDecoded(TCharCode code) { return code >= ccJIS && code <= ccUTF8N; }

// The share of LoadText's progress that the read takes.
constexpr int kReadPermille = 850;

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

// Bytes below 0x08 (zero included) become blanks; returns how many, and the
// index of the first in *first.
size_t BlankControlBytes(std::string& text, size_t* first) {
  unsigned char* p = reinterpret_cast<unsigned char*>(text.data());
  const size_t n = text.size();
  size_t count = 0;
  size_t i = 0;
  auto blank = [&](size_t k) {
    if (count++ == 0) *first = k;
    p[k] = ' ';
  };
#if defined(__SSE2__)
  const __m128i seven = _mm_set1_epi8(7);
  for (; i + 16 <= n; i += 16) {
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
    if (_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_min_epu8(v, seven), v)) == 0) continue;
    for (size_t k = i; k < i + 16; ++k) {
      if (p[k] < 0x08) blank(k);
    }
  }
#endif
  for (; i < n; ++i) {
    if (p[i] < 0x08) blank(i);
  }
  return count;
}

// No document is too big to be read: its size is the system's business.
constexpr int64_t kAnySize = INT64_MAX;

}  // namespace

TFileManager::TFileManager(IFileSystem& fs, ICodePage& codePage, IDialogs& dialogs)
    : fs_(fs), dialogs_(dialogs), converter_(codePage) {}

TCharCode TFileManager::ResolveCode(std::string_view bytes, TCharCode requested, bool utf8nCheck) {
  if (requested != ccAuto) return requested;
  return ResolveDetected(TStringCodeConverter::DetectCode(bytes, utf8nCheck));
}

TCharCode TFileManager::ResolveDetected(TCharCode detected) {
  if (detected == ccSJISOrEUC) return AskSJISOrEUC() ? ccEUC : ccShiftJIS;
  if (detected == ccJIS78 || detected == ccJIS83) return ccJIS;
  return detected;
}

bool TFileManager::LoadText(const std::string& fileName, std::string& text, bool askNull, bool utf8nCheck,
                            TReturnCode& returnCode, TCharCode& charCode, TLoadReport* report) {
  if (!loadProgress_) {
    return DecodeText(fs_.ReadRegularFile(fileName, kAnySize), text, askNull, utf8nCheck, returnCode, charCode,
                      report);
  }
  const TReadProgress read = [this](int64_t done, int64_t total) {
    return loadProgress_(total > 0 ? static_cast<int>(done * kReadPermille / total) : 0);
  };
  return DecodeText(fs_.ReadRegularFileWithProgress(fileName, kAnySize, read), text, askNull, utf8nCheck, returnCode,
                    charCode, report);
}

void TFileManager::LoadStep(int permille) {
  if (loadProgress_ && !loadProgress_(permille)) throw EFileError(EFileError::Kind::Cancelled, "", "cancelled");
}

bool TFileManager::DecodeText(std::string bytes, std::string& text, bool askNull, bool utf8nCheck,
                              TReturnCode& returnCode, TCharCode& charCode, TLoadReport* report) {
  LoadStep(kReadPermille);
  charCode = ResolveCode(bytes, charCode, utf8nCheck);
  LoadStep(kReadPermille + 30);

  TLoadReport result;
  TDecodeReport decodeOver;
  size_t textReplacedAt = ConversionReport::npos;
  if ((charCode == ccUTF8 || charCode == ccUTF8N) &&
      converter_.Utf8ToInternalOver(bytes, charCode, &decodeOver, &textReplacedAt)) {
    // Converted over the file's bytes; line breaks keep their places in the
    // order of the text, so the lines are counted in the text.
    text = std::move(bytes);
    if (decodeOver.replaced.replaced != 0) {
      result.replaced = decodeOver.replaced.replaced;
      result.firstReplacedOffset = static_cast<int64_t>(decodeOver.replaced.firstReplaced);
      result.firstReplacedLine = LineAt(text, textReplacedAt, ccShiftJIS);
    }
    if (decodeOver.endedAt != TDecodeReport::npos) {
      result.endedAtOffset = static_cast<int64_t>(decodeOver.endedAt);
      result.endedAtLine = LineAt(text, text.size(), ccShiftJIS);
    }
  } else if (IsDecoded(charCode)) {
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
    result.oddLastByte = decode.oddLastByte;
    // The file's bytes are not needed any more: the text is what stays.
    bytes = std::string();
  } else {
    text = std::move(bytes);
  }

  // The line store ends a text at an end-of-file byte (0x1A): what follows
  // would be lost by the next save, so the text ends there openly, and the
  // user is told before a save can happen. Trail bytes are never 0x1A. A
  // single 0x1A as the very last byte is the old end-of-file mark, which
  // ends the text without losing any of it.
  if (!text.empty() && text.back() == '\x1A' && (text.size() == 1 || text[text.size() - 2] != '\x1A')) {
    text.pop_back();
  }
  if (result.endedAtOffset < 0) {
    // A binary file keeps its 0x1A bytes but the last ones, which the line store drops.
    size_t eof = std::string::npos;
    if (charCode != ccBinary) {
      eof = text.find('\x1A');
    } else if (!text.empty() && text.back() == '\x1A') {
      eof = text.find_last_not_of('\x1A');
      eof = eof == std::string::npos ? 0 : eof + 1;
    }
    if (eof != std::string::npos) {
      text.resize(eof);
      result.endedAtOffset = static_cast<int64_t>(eof);
      result.endedAtLine = LineAt(text, eof, ccShiftJIS);
      result.endedAtEof = true;
    }
  }

  LoadStep(kReadPermille + 100);
  size_t firstBlanked = 0;
  result.blanked = BlankControlBytes(text, &firstBlanked);
  if (result.blanked != 0) result.firstBlankedLine = LineAt(text, firstBlanked, ccShiftJIS);
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
    ConversionReport widened;
    bytes = converter_.FromInternal(body, charCode, &replaced, &widened);
    if (replaced.replaced != 0) {
      result.replaced = replaced.replaced;
      result.firstReplacedLine = LineAt(body, replaced.firstReplaced, ccShiftJIS);
    }
    if (widened.replaced != 0) {
      result.widened = widened.replaced;
      result.firstWidenedLine = LineAt(body, widened.firstReplaced, ccShiftJIS);
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

std::string TFileManager::LoadWarning(const TLoadReport& report, bool documentsFile) {
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
  if (report.blanked != 0) {
    text += FormatDocumentMessage(TDocumentMessage::BlankedChars,
                                  {std::to_string(report.blanked), std::to_string(report.firstBlankedLine)});
    text += "\r\n";
  }
  if (report.oddLastByte) text += DocumentMessage(TDocumentMessage::OddLastByte) + "\r\n";
  if (!documentsFile) return text.substr(0, text.size() - 2);
  return text + DocumentMessage(TDocumentMessage::SaveWillAsk);
}

int TFileManager::LineOfOffset(std::string_view bytes, size_t byteOffset, TCharCode code) {
  return LineAt(bytes, byteOffset, code);
}

std::string TFileManager::LoadLossItems(const TLoadReport& report) {
  std::string items;
  auto add = [&items](const std::string& item) { items += (items.empty() ? "" : "\r\n") + item; };
  if (report.endedAtOffset >= 0) {
    add(FormatDocumentMessage(TDocumentMessage::LossTextAfter,
                              {std::to_string(report.endedAtLine),
                               DocumentMessage(report.endedAtEof ? TDocumentMessage::EofByteName
                                                                 : TDocumentMessage::ZeroByteName)}));
  }
  if (report.replaced != 0) {
    add(FormatDocumentMessage(TDocumentMessage::LossReplaced,
                              {std::to_string(report.replaced), std::to_string(report.firstReplacedLine)}));
  }
  if (report.blanked != 0) {
    add(FormatDocumentMessage(TDocumentMessage::LossBlanked,
                              {std::to_string(report.blanked), std::to_string(report.firstBlankedLine)}));
  }
  if (report.oddLastByte) add(DocumentMessage(TDocumentMessage::LossOddByte));
  return items;
}

}  // namespace kerv
