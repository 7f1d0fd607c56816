#include "app/window/TKervInformation.h"

#include "platform/qt/QtText.h"
#include <QAction>
#include <QLabel>
#include <QMenu>

#include "app/TKervMessages.h"
#include "app/window/TKervStatusTexts.h"
#include "app/window/TKervState.h"
#include "platform/Dialogs.h"

namespace kerv {

TKervInformation::TKervInformation(IDialogs& dialogs, TKervState& state, QObject* parent)
    : QObject(parent), dialogs_(dialogs), state_(state) {
  timer_.setSingleShot(true);
  connect(&timer_, &QTimer::timeout, this, [this] { ClearNotice(); });
}

IKervInformation::Answer TKervInformation::MessageBox(const std::string& text, int kind, int buttons) {
  const char* caption = messages::kCaptionInformation;
  IDialogs::Icon icon = IDialogs::Icon::Information;
  switch (kind) {
    case mkWarning: caption = messages::kCaptionWarning; icon = IDialogs::Icon::Warning; break;
    case mkError: caption = messages::kCaptionError; icon = IDialogs::Icon::Error; break;
    case mkConfirm: caption = messages::kCaptionConfirm; icon = IDialogs::Icon::Question; break;
    default: break;
  }
  IDialogs::Buttons set = buttons == mbYesNo            ? IDialogs::Buttons::YesNo
                          : buttons == mbYesNoDefaultNo ? IDialogs::Buttons::YesNoDefaultNo
                          : buttons == mbYesNoCancel ? IDialogs::Buttons::YesNoCancel
                          : buttons == mbOkCancel    ? IDialogs::Buttons::OkCancel
                                                     : IDialogs::Buttons::Ok;
  const int previous = state_.DialogState;
  state_.DialogState = dlgMessage;
  IDialogs::Answer answer = dialogs_.MessageBox(caption, text, icon, set);
  state_.DialogState = previous == dlgMessage ? dlgNone : previous;
  switch (answer) {
    case IDialogs::Answer::Cancel: return maCancel;
    case IDialogs::Answer::Yes: return maYes;
    case IDialogs::Answer::No: return maNo;
    default: return maOk;
  }
}

bool TKervInformation::InfoBarShown() const { return infoBar_ && !infoBar_->isHidden(); }

void TKervInformation::Notify(const std::string& text, int level) {
  if (useInfoBar_ && InfoBarShown()) {
    ShowNotice(text, level);
  } else if (level == nlError) {
    ShowError(text);
  } else if (level == nlInformation) {
    MessageBox(text, mkInformation, mbOk);
  }
}

void TKervInformation::ShowNotice(const std::string& text, int level) {
  if (!infoLabel_ || !InfoBarShown()) return;
  std::string shown = text;
  if (level == nlRepeat) {
    if (!hasLast_) return;
    shown = lastText_;
    level = lastLevel_;
  } else {
    lastText_ = text;
    lastLevel_ = level;
    hasLast_ = true;
  }
  QFont font = infoLabel_->font();
  QPalette palette = infoLabel_->palette();
  QString prefix;
  if (level == nlError) {
    prefix = QString::fromUtf8("[エラー] ");
    font.setBold(true);
    palette.setColor(QPalette::WindowText, Qt::red);
    dialogs_.Beep(IDialogs::Icon::Error);
  } else if (level == nlInformation) {
    prefix = QString::fromUtf8("[情報] ");
    font.setBold(true);
    palette.setColor(QPalette::WindowText, infoLabel_->style() ? QPalette().color(QPalette::ButtonText) : Qt::black);
    dialogs_.Beep(IDialogs::Icon::Information);
  } else {
    font.setBold(false);
    palette.setColor(QPalette::WindowText, QPalette().color(QPalette::WindowText));
  }
  infoLabel_->setFont(font);
  infoLabel_->setPalette(palette);
  // The bar is one line: a message's line breaks become blanks there.
  QString line = Utf8(shown);
  line.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
  line.replace(QLatin1Char('\n'), QLatin1Char(' '));
  infoLabel_->setText(prefix + line);
  timer_.start(std::max(1, infoBarSeconds_) * 1000);
}

QString TKervInformation::NoticeText() const { return infoLabel_ ? infoLabel_->text() : QString(); }

void TKervInformation::ClearNotice() {
  if (infoLabel_) infoLabel_->clear();
  timer_.stop();
}

void TKervInformation::SetCodes(int charCode, int returnCode) {
  codeText_ = QString::fromUtf8(StatusCodeName(charCode));
  returnText_ = QString::fromUtf8(StatusReturnName(returnCode));
  // ASCII and unknown codes check the Shift-JIS entry; entries hold the code in their data.
  const int checkedCode = charCode >= 1 && charCode <= 7 ? charCode : 1;
  const int checkedReturn = returnCode == 2 || returnCode == 3 ? returnCode : 1;
  if (charCodeMenu_) {
    for (QAction* action : charCodeMenu_->actions()) action->setChecked(action->data().toInt() == checkedCode);
  }
  if (returnCodeMenu_) {
    for (QAction* action : returnCodeMenu_->actions()) action->setChecked(action->data().toInt() == checkedReturn);
  }
  if (cells_.code) cells_.code->setText(codeText_);
  if (cells_.returnCode) cells_.returnCode->setText(returnText_);
}

void TKervInformation::SetCaretPos(int line, int col) {
  caretText_ = Utf8(CaretPosText(line, col));
  if (cells_.caret) cells_.caret->setText(caretText_);
}

void TKervInformation::SetOverwrite(bool on) {
  overwriteText_ = QString::fromUtf8(on ? "上書" : "挿入");
  if (cells_.overwrite) cells_.overwrite->setText(overwriteText_);
}

void TKervInformation::SetReadOnlyShown(bool on) {
  readOnlyShown_ = on;
  if (!cells_.readOnly) return;
  cells_.readOnly->setEnabled(on);
}

void TKervInformation::SetHint(const QString& text) {
  if (cells_.hint) cells_.hint->setText(text);
}

}  // namespace kerv
