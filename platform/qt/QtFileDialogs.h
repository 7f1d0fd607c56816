#pragma once
#include <QString>
#include <QStringList>

#include "platform/FileDialogs.h"

class QWidget;

namespace kerv {

// Qt's own (non-native) file dialogs, which take extra widgets: the code
// lists sit in rows added below the dialog's file-type row.
class QtFileDialogs : public IFileDialogs {
 public:
  // owner: the window the dialogs are modal to (may be null).
  explicit QtFileDialogs(QWidget* owner = nullptr) : owner_(owner) {}
  void SetOwner(QWidget* owner) { owner_ = owner; }

  std::optional<TOpenDialogResult> OpenFile(const TOpenDialogRequest& request) override;
  std::optional<TSaveDialogResult> SaveFile(const TSaveDialogRequest& request) override;

  // "Text (*.txt *.log)" for each filter, as Qt's name filters read them.
  static QStringList NameFilters(const std::vector<TFileFilter>& filters);

 private:
  QWidget* owner_;
};

}  // namespace kerv
