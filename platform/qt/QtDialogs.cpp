#include "platform/qt/QtDialogs.h"

#include "platform/qt/QtText.h"
#include <QApplication>
#include <QMessageBox>

namespace kerv {
namespace {

QMessageBox::Icon ToQt(IDialogs::Icon icon) {
  switch (icon) {
    case IDialogs::Icon::Warning: return QMessageBox::Warning;
    case IDialogs::Icon::Error: return QMessageBox::Critical;
    case IDialogs::Icon::Question: return QMessageBox::Question;
    case IDialogs::Icon::Information: return QMessageBox::Information;
  }
  return QMessageBox::NoIcon;
}


}  // namespace

void QtDialogs::ShowStandardError(const std::string& text) {
  Beep(Icon::Error);
  QMessageBox box(QMessageBox::Critical, QApplication::applicationName(), Utf8(text), QMessageBox::Ok);
  box.exec();
}

bool QtDialogs::AskYesNo(const std::string& text, Icon icon) {
  Beep(icon);
  QMessageBox box(ToQt(icon), QApplication::applicationName(), Utf8(text), QMessageBox::Yes | QMessageBox::No);
  box.setDefaultButton(QMessageBox::Yes);
  return box.exec() == QMessageBox::Yes;
}

IDialogs::Answer QtDialogs::MessageBox(const std::string& caption, const std::string& text, Icon icon, Buttons buttons) {
  QMessageBox::StandardButtons qtButtons = QMessageBox::Ok;
  switch (buttons) {
    case Buttons::Ok: qtButtons = QMessageBox::Ok; break;
    case Buttons::YesNo: qtButtons = QMessageBox::Yes | QMessageBox::No; break;
    case Buttons::YesNoCancel: qtButtons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel; break;
    case Buttons::OkCancel: qtButtons = QMessageBox::Ok | QMessageBox::Cancel; break;
    case Buttons::YesNoDefaultNo: qtButtons = QMessageBox::Yes | QMessageBox::No; break;
  }
  QMessageBox box(ToQt(icon), Utf8(caption), Utf8(text), qtButtons);
  if (buttons == Buttons::YesNoDefaultNo) box.setDefaultButton(QMessageBox::No);
  switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Cancel: return Answer::Cancel;
    default: return Answer::Ok;
  }
}

void QtDialogs::Beep(Icon) { QApplication::beep(); }

}  // namespace kerv
