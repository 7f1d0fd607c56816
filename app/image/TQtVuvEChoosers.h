#pragma once
// The converter's choosers on the desktop: Qt's file, folder, colour and
// font dialogs and the system clipboard.

#include "app/image/IVuvEChoosers.h"

class QWidget;

namespace kerv {

class ICodePage;
struct TFileFilter;

class TQtVuvEChoosers : public IVuvEChoosers {
 public:
  TQtVuvEChoosers(ICodePage& codePage, QWidget* owner) : codePage_(codePage), owner_(owner) {}
  void SetOwner(QWidget* owner) { owner_ = owner; }

  std::optional<std::string> OpenFile(const std::string& filter, const std::string& initialPath) override;
  std::optional<std::string> SaveFile(const std::string& filter, int& filterIndex,
                                      const std::string& defaultExtension) override;
  std::optional<std::string> ChooseFolder(const std::string& prompt, const std::string& initialFolder) override;
  std::optional<TColor> ChooseColor(TColor current) override;
  std::optional<TVuvEFont> ChooseFont(const TVuvEFont& current) override;
  void CopyImage(const QImage& image) override;

 private:
  ICodePage& codePage_;
  QWidget* owner_;
};

}  // namespace kerv
