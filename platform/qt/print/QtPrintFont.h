#pragma once
// The printing font as Qt draws it. Stored names are Shift_JIS and often
// name fonts of another desktop ("ＭＳ ゴシック"): a name that is not
// installed becomes the first installed Japanese fixed-pitch family.

#include <QFont>
#include <QString>
#include <string_view>

#include "platform/CodePage.h"
#include "print/IPrintMeasurer.h"

namespace kerv {

// The installed family for a stored name; empty when no candidate is installed.
QString PrintFontFamily(ICodePage& codePage, std::string_view sjisName);
// The page font: the family at emDots pixels, unhinted so that a row measures
// the same on the printer, in a PDF and in the preview.
QFont PageQFont(const TPageFont& font, ICodePage& codePage);
// The printing font in points, for the font dialog, and back. The character
// set has no Qt counterpart and is kept from the font given.
QFont PrintFontToQFont(const TPrintFont& font, ICodePage& codePage);
TPrintFont QFontToPrintFont(const QFont& font, ICodePage& codePage, const TPrintFont& previous);

// The screen's horizontal resolution; 96 without a screen.
int ScreenDpi();

}  // namespace kerv
