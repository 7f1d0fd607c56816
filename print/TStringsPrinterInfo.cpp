#include "print/TStringsPrinterInfo.h"

#include <exception>
#include <iterator>
#include <utility>

#include "print/PrintMessages.h"

namespace kerv {
namespace {

// The platform's standard paper codes with their sizes rounded to whole
// millimetres. Four entries are published in landscape (17 x 11 in,
// 176 x 125 mm, 14 7/8 x 11 in, 15 x 11 in); they are kept portrait like
// every other, because the landscape setting swaps the sizes later. The
// sheet codes and the reserved codes have no size of their own.
constexpr TPaperCode kPaperCodes[] = {
    {1, "DMPAPER_LETTER", 216, 279},
    {2, "DMPAPER_LETTERSMALL", 216, 279},
    {3, "DMPAPER_TABLOID", 279, 432},
    {4, "DMPAPER_LEDGER", 279, 432},
    {5, "DMPAPER_LEGAL", 216, 356},
    {6, "DMPAPER_STATEMENT", 140, 216},
    {7, "DMPAPER_EXECUTIVE", 184, 267},
    {8, "DMPAPER_A3", 297, 420},
    {9, "DMPAPER_A4", 210, 297},
    {10, "DMPAPER_A4SMALL", 210, 297},
    {11, "DMPAPER_A5", 148, 210},
    {12, "DMPAPER_B4", 250, 354},
    {13, "DMPAPER_B5", 182, 257},
    {14, "DMPAPER_FOLIO", 216, 330},
    {15, "DMPAPER_QUARTO", 215, 275},
    {16, "DMPAPER_10X14", 254, 356},
    {17, "DMPAPER_11X17", 279, 432},
    {18, "DMPAPER_NOTE", 216, 279},
    {19, "DMPAPER_ENV_9", 98, 225},
    {20, "DMPAPER_ENV_10", 105, 241},
    {21, "DMPAPER_ENV_11", 114, 264},
    {22, "DMPAPER_ENV_12", 121, 279},
    {23, "DMPAPER_ENV_14", 127, 292},
    {24, "DMPAPER_CSHEET", 100, 100},
    {25, "DMPAPER_DSHEET", 100, 100},
    {26, "DMPAPER_ESHEET", 100, 100},
    {27, "DMPAPER_ENV_DL", 110, 220},
    {28, "DMPAPER_ENV_C5", 162, 229},
    {29, "DMPAPER_ENV_C3", 324, 458},
    {30, "DMPAPER_ENV_C4", 229, 324},
    {31, "DMPAPER_ENV_C6", 114, 162},
    {32, "DMPAPER_ENV_C65", 114, 229},
    {33, "DMPAPER_ENV_B4", 250, 353},
    {34, "DMPAPER_ENV_B5", 176, 250},
    {35, "DMPAPER_ENV_B6", 125, 176},
    {36, "DMPAPER_ENV_ITALY", 110, 230},
    {37, "DMPAPER_ENV_MONARCH", 98, 191},
    {38, "DMPAPER_ENV_PERSONAL", 92, 165},
    {39, "DMPAPER_FANFOLD_US", 279, 378},
    {40, "DMPAPER_FANFOLD_STD_GERMAN", 216, 305},
    {41, "DMPAPER_FANFOLD_LGL_GERMAN", 216, 330},
    {42, "DMPAPER_ISO_B4", 250, 353},
    {43, "DMPAPER_JAPANESE_POSTCARD", 100, 148},
    {44, "DMPAPER_9X11", 229, 279},
    {45, "DMPAPER_10X11", 254, 279},
    {46, "DMPAPER_15X11", 279, 381},
    {47, "DMPAPER_ENV_INVITE", 220, 220},
    {48, "DMPAPER_RESERVED_48", 100, 100},
    {49, "DMPAPER_RESERVED_49", 100, 100},
    {50, "DMPAPER_LETTER_EXTRA", 241, 305},
    {51, "DMPAPER_LEGAL_EXTRA", 241, 381},
    {52, "DMPAPER_TABLOID_EXTRA", 297, 457},
    {53, "DMPAPER_A4_EXTRA", 235, 322},
    {54, "DMPAPER_LETTER_TRANSVERSE", 216, 279},
    {55, "DMPAPER_A4_TRANSVERSE", 210, 297},
    {56, "DMPAPER_LETTER_EXTRA_TRANSVERSE", 241, 305},
    {57, "DMPAPER_A_PLUS", 227, 356},
    {58, "DMPAPER_B_PLUS", 305, 487},
    {59, "DMPAPER_LETTER_PLUS", 216, 322},
    {60, "DMPAPER_A4_PLUS", 210, 330},
    {61, "DMPAPER_A5_TRANSVERSE", 148, 210},
    {62, "DMPAPER_B5_TRANSVERSE", 182, 257},
    {63, "DMPAPER_A3_EXTRA", 322, 445},
    {64, "DMPAPER_A5_EXTRA", 174, 235},
    {65, "DMPAPER_B5_EXTRA", 201, 276},
    {66, "DMPAPER_A2", 420, 594},
    {67, "DMPAPER_A3_TRANSVERSE", 297, 420},
    {68, "DMPAPER_A3_EXTRA_TRANSVERSE", 322, 445},
};
static_assert(std::size(kPaperCodes) == 68);

// trunc(tenths / 10 + 0.5), as the printer's sizes are rounded.
int TenthsToMm(int tenths) { return static_cast<int>(tenths / 10.0 + 0.5); }

}  // namespace

std::span<const TPaperCode> TStringsPrinterInfo::PaperCodes() { return kPaperCodes; }

const TPaperCode* TStringsPrinterInfo::FindPaperCode(int code) {
  if (code < 1 || code > static_cast<int>(std::size(kPaperCodes))) return nullptr;
  return &kPaperCodes[code - 1];
}

std::string TStringsPrinterInfo::PrinterName() {
  try {
    if (std::optional<std::string> name = device_.PrinterName()) return std::move(*name);
  } catch (const std::exception&) {
  }
  return PrintMessage(TPrintMessage::PrinterUnknown);
}

const TPaperItemList& TStringsPrinterInfo::Forms() {
  const int index = device_.PrinterIndex();
  if (formsPrinterIndex_ == index) return forms_;
  formsPrinterIndex_ = index;
  forms_.clear();
  try {
    std::optional<std::vector<TPrinterForm>> forms = device_.PaperForms();
    if (!forms) return forms_;
    for (const TPrinterForm& form : *forms) {
      forms_.push_back(TPaperItem{form.name, TenthsToMm(form.widthTenthsMm), TenthsToMm(form.heightTenthsMm), form.code});
    }
  } catch (const std::exception&) {
    forms_.clear();
  }
  return forms_;
}

int TStringsPrinterInfo::CurrentPaperCode() {
  try {
    if (std::optional<int> code = device_.CurrentPaperCode()) return *code;
  } catch (const std::exception&) {
  }
  return kDefaultPaperCode;
}

std::optional<TPaperSize> TStringsPrinterInfo::PaperSize() {
  const TPaperItemList& forms = Forms();
  const int code = CurrentPaperCode();
  for (const TPaperItem& form : forms) {
    if (form.code == code) return TPaperSize{form.widthMm, form.heightMm};
  }
  if (const TPaperCode* entry = FindPaperCode(code)) return TPaperSize{entry->widthMm, entry->heightMm};
  return std::nullopt;
}

}  // namespace kerv
