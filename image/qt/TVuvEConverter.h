#pragma once
// One conversion's work, shared by the dialog and kervtext: the settings
// turned into a font and a renderer, the background picture read once, the
// size of each image, and the two kinds of conversion (the whole text or
// its selection as one image; each non-empty line of a range as a numbered
// file). Texts come in the internal code page (Shift_JIS, CR LF).

#include <QImage>
#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "image/TRasterImage.h"
#include "image/TVuvELayout.h"
#include "image/TVuvESettings.h"
#include "image/qt/TVuvERenderer.h"

namespace kerv {

class ICodePage;
class IFileSystem;
class TImageFileWriter;

// A picture path as used: blanks at either end dropped.
std::string TrimmedPicturePath(const std::string& path);
std::string TrimmedPicturePath(const TVuvESettings& settings);
// Whether the image gets a background picture: the picture is used and its
// trimmed path is not empty.
bool UsesBackgroundPicture(const TVuvESettings& settings);

class TVuvEConverter {
 public:
  TVuvEConverter(IFileSystem& fs, ICodePage& codePage, const TVuvESettings& settings, int dotsPerInch);

  const TVuvESettings& Settings() const { return settings_; }
  TVuvERenderer& Renderer() { return renderer_; }
  QString ToText(std::string_view text) const;

  // The size "背景画像にあわせる(&G)" fits to. The dialog remembers the size
  // of the picture it loaded last; without one set, it is the size of the
  // picture the image is drawn on (0 × 0 when there is none).
  void SetPictureSize(TImageSize size) { pictureSize_ = size; }
  TImageSize PictureSize();
  // The background picture, read on first use; null when none is used.
  // Throws EImageError (BackgroundOpenFailed).
  const QImage* Picture();

  // The size of the image of a text (UpdateImageSize).
  TImageSize ImageSize(const QString& text);
  // The image of a single conversion: the text with its trailing blanks and
  // line breaks removed, drawn as a single line when one line is left.
  // Throws EImageError (an empty or oversized image, an unreadable picture).
  TRasterImage RenderSingle(std::string_view text);
  // Draws each non-empty line from FirstLine to LastLine of text into an
  // image of its own and writes it as number n (0, 1, ...) of the
  // settings' stem, type and folder. jpegQuality is asked before each JPEG
  // image; afterEach hears of every file written. Returns the number of
  // files. Throws EImageError at the first failure; the files already
  // written stay.
  int ConvertEachLine(std::string_view text, TImageFileWriter& writer, const std::function<int()>& jpegQuality,
                      const std::function<void(int number, const std::string& path)>& afterEach = {});

 private:
  IFileSystem& fs_;
  ICodePage& codePage_;
  TVuvESettings settings_;
  TVuvERenderer renderer_;
  std::optional<TImageSize> pictureSize_;
  bool pictureRead_ = false;
  QImage picture_;
};

}  // namespace kerv
