#pragma once
// Colour reduction for the BMP types: 16 colours, 256 colours and
// monochrome. No dithering: the images are text, whose edges stay crisp when
// every pixel takes its nearest colour. Black, white and the pure primaries
// always come through exactly.

#include <array>
#include <vector>

#include "image/TRasterImage.h"

namespace kerv {

// The classic 16-colour palette: black, maroon, green, olive, navy, purple,
// teal, silver, grey, red, lime, yellow, blue, fuchsia, aqua, white.
const std::array<TRgb, 16>& Vga16Palette();
// The fixed 256-colour palette used when an image has more than 256
// colours: the 16 colours above, a 6 × 6 × 6 colour cube and 24 greys.
const std::vector<TRgb>& Fixed256Palette();

// Each pixel becomes the nearest palette colour (plain RGB distance, the
// lower index on a tie).
TRasterImage ReduceTo16Colors(const TRasterImage& image);
// An image of at most 256 colours keeps them all exactly (its palette is
// its colours in ascending 0x00BBGGRR order); a richer one takes the nearest
// colours of Fixed256Palette.
TRasterImage ReduceTo256Colors(const TRasterImage& image);
// Black where the luminance (0.299 R + 0.587 G + 0.114 B) is below 128,
// white elsewhere; palette black, white.
TRasterImage ReduceToMonochrome(const TRasterImage& image);
// The image in the given format: one of the reductions above, or a 24-bit copy.
TRasterImage ReduceToFormat(const TRasterImage& image, TPixelFormat format);

// The nearest entry of a palette (the lower index on a tie), as the reductions choose.
int NearestPaletteIndex(const TRgb* palette, int count, TRgb color);

}  // namespace kerv
