#include "app/dialogs/TFrmHelp.h"

#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace kerv {

TFrmHelp::TFrmHelp(const QString& file, QWidget* parent) : QDialog(parent, Qt::Window) {
  setAttribute(Qt::WA_DeleteOnClose);
  setObjectName(QStringLiteral("Frm_Help"));
  browser_ = new QTextBrowser(this);
  browser_->setOpenExternalLinks(true);
  browser_->setSource(QUrl::fromLocalFile(file));
  setWindowTitle(browser_->documentTitle().isEmpty() ? QStringLiteral("KervEditor") : browser_->documentTitle());
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(browser_);
  resize(720, 600);
}

}  // namespace kerv
