#include "app/dialogs/TFrmMultiWord.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "app/dialogs/TFrmEditModeSettingSupport.h"
#include "editmode/EditModeMessages.h"
#include "editmode/ReserveWords.h"

namespace kerv {
namespace {

// The state a box shows for one bit over the words: mixed when they differ.
Qt::CheckState StateOf(const std::vector<TEditorWord>& words, int bit) {
  bool any = false;
  bool all = true;
  for (const TEditorWord& word : words) {
    const bool set = (word.options & bit) != 0;
    any = any || set;
    all = all && set;
  }
  return all ? Qt::Checked : any ? Qt::PartiallyChecked : Qt::Unchecked;
}

// A box left mixed keeps each word's own bit.
int ApplyState(int options, Qt::CheckState state, int bit) {
  if (state == Qt::Checked) return options | bit;
  if (state == Qt::Unchecked) return options & ~bit;
  return options;
}

}  // namespace

TFrmMultiWord::TFrmMultiWord(ICodePage& codePage, IEditModeUser& user, std::vector<TEditorWord> words,
                             QWidget* parent)
    : QDialog(parent), codePage_(codePage), user_(user), words_(std::move(words)) {
  if (words_.empty()) words_.push_back({});
  setObjectName(QStringLiteral("TFrmMultiWord"));
  setWindowTitle(Multiple() ? Utf8(EditModeMessage(TEditModeMessage::MultiWordCaption))
                            : QStringLiteral("予約語のプロパティ"));
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout();
  word_ = new QLineEdit(this);
  word_->setObjectName(QStringLiteral("Edt_Word"));
  if (!Multiple()) word_->setText(SjisToQString(codePage_, words_.front().text));
  word_->setEnabled(!Multiple());
  form->addRow(QStringLiteral("強調文字(&W):"), word_);
  layout->addLayout(form);

  auto addBox = [&](const char* name, const QString& caption, int bit) {
    auto* box = new QCheckBox(caption, this);
    box->setObjectName(QString::fromLatin1(name));
    box->setTristate(Multiple());
    box->setCheckState(StateOf(words_, bit));
    layout->addWidget(box);
    connect(box, &QCheckBox::stateChanged, this, [this] { UpdateEnabled(); });
    return box;
  };
  matchCase_ = addBox("Chk_MatchCase", QStringLiteral("大文字と小文字を区別する(&C)"), WordOption::MatchCase);
  wholeWord_ = addBox("Chk_WholeWord", QStringLiteral("単語単位で探す(&O)"), WordOption::WholeWord);
  regExp_ = addBox("Chk_RegExp", QStringLiteral("正規表現(&E)"), WordOption::RegExp);
  fuzzy_ = addBox("Chk_Fuzzy", QStringLiteral("あいまい検索(&F)"), WordOption::Fuzzy);

  level_ = new QComboBox(this);
  level_->setObjectName(QStringLiteral("Cmb_Level"));
  for (int level = kMinWordLevel; level <= kMaxWordLevel; ++level) {
    level_->addItem(Utf8(WordLevelText(LevelOptionBits(level))));
  }
  level_->setCurrentIndex(WordLevel(words_.front().options) - kMinWordLevel);
  if (Multiple()) {
    setLevel_ = new QCheckBox(Utf8(EditModeMessage(TEditModeMessage::SetLevelForAll)), this);
    setLevel_->setObjectName(QStringLiteral("Chk_SetLevel"));
    layout->addWidget(setLevel_);
    connect(setLevel_, &QCheckBox::toggled, this, [this] { UpdateEnabled(); });
  }
  auto* levelForm = new QFormLayout();
  levelForm->addRow(QStringLiteral("強調レベル(&L):"), level_);
  layout->addLayout(levelForm);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  UpdateEnabled();
}

void TFrmMultiWord::UpdateEnabled() {
  // A regular expression has its own case and word rules; fuzzy matching
  // exists only for regular expressions.
  const bool regExp = regExp_->checkState() == Qt::Checked;
  matchCase_->setEnabled(!regExp);
  wholeWord_->setEnabled(!regExp);
  fuzzy_->setEnabled(regExp_->checkState() != Qt::Unchecked);
  level_->setEnabled(setLevel_ == nullptr || setLevel_->isChecked());
}

std::vector<TEditorWord> TFrmMultiWord::Applied() const {
  std::vector<TEditorWord> result = words_;
  const bool changeLevel = setLevel_ == nullptr || setLevel_->isChecked();
  for (TEditorWord& word : result) {
    if (!Multiple()) word.text = QStringToSjis(codePage_, word_->text());
    int options = word.options;
    options = ApplyState(options, matchCase_->checkState(), WordOption::MatchCase);
    options = ApplyState(options, wholeWord_->checkState(), WordOption::WholeWord);
    options = ApplyState(options, regExp_->checkState(), WordOption::RegExp);
    options = ApplyState(options, fuzzy_->isEnabled() ? fuzzy_->checkState() : Qt::Unchecked, WordOption::Fuzzy);
    if (changeLevel) options = WithLevel(options, level_->currentIndex() + kMinWordLevel);
    word.options = NormalizeWordOptions(options);
  }
  return result;
}

void TFrmMultiWord::accept() {
  ResetRefused(word_);
  std::vector<TEditorWord> applied = Applied();
  if (!Multiple()) {
    if (applied.front().text.empty()) {
      user_.ShowErrorCode(11205, std::nullopt);
      MarkRefused(word_);
      return;
    }
    if (std::optional<std::string> error = WordCompileError(applied.front())) {
      user_.ShowError(*error);
      MarkRefused(word_);
      return;
    }
  } else if (regExp_->checkState() == Qt::Checked) {
    // Every word must compile, or nothing changes.
    for (const TEditorWord& word : applied) {
      if (WordCompileError(word)) {
        user_.ShowErrorCode(11206, codePage_.Cp932ToUtf8(word.text));
        return;
      }
    }
  }
  words_ = std::move(applied);
  QDialog::accept();
}

}  // namespace kerv
