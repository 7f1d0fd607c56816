#pragma once
// The platform's choosers the converter and the image window open (file,
// folder, colour and font dialogs) and the clipboard's image, behind one
// small interface so that the forms' rules run in tests without a desktop.
// Texts and paths are UTF-8; a dialog filter is "name|pattern|name|pattern".

#include <optional>
#include <string>

#include "image/TRasterImage.h"
#include "image/TVuvESettings.h"

class QImage;

namespace kerv {

class IVuvEChoosers {
 public:
  virtual ~IVuvEChoosers() = default;
  // An existing file; nothing when the user cancels.
  virtual std::optional<std::string> OpenFile(const std::string& filter, const std::string& initialPath) = 0;
  // A name to write (the dialog asked before naming an existing file);
  // filterIndex (0-based) is the type shown first and, on return, the type
  // chosen. A name typed without extension gets the chosen type's, or
  // defaultExtension (without the dot).
  virtual std::optional<std::string> SaveFile(const std::string& filter, int& filterIndex,
                                              const std::string& defaultExtension) = 0;
  virtual std::optional<std::string> ChooseFolder(const std::string& prompt, const std::string& initialFolder) = 0;
  virtual std::optional<TColor> ChooseColor(TColor current) = 0;
  // The font's name stays in the internal code page (Shift_JIS); its colour is kept.
  virtual std::optional<TVuvEFont> ChooseFont(const TVuvEFont& current) = 0;
  // Puts the picture on the clipboard as an image.
  virtual void CopyImage(const QImage& image) = 0;
};

}  // namespace kerv
