#include "app/dialogs/TFrmSearchOp.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

#include "app/commands/TKervInformation.h"
#include "app/commands/TKervSearchCommand.h"
#include "search/SearchMessages.h"

namespace kerv {

namespace {

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

QGroupBox* Group(const char* title, std::initializer_list<QWidget*> widgets) {
  auto* group = new QGroupBox(U(title));
  auto* layout = new QVBoxLayout(group);
  for (QWidget* widget : widgets) layout->addWidget(widget);
  return group;
}

}  // namespace

TFrm_SearchOp::TFrm_SearchOp(QWidget* parent, TKervSearchCommand& command, IKervInformation& information,
                             bool selectionEmpty)
    : QDialog(parent, Qt::Tool | Qt::FramelessWindowHint), command_(command), information_(information) {
  setAttribute(Qt::WA_DeleteOnClose);
  auto box = [this](const char* name, const char* text) {
    auto* check = new QCheckBox(U(text), this);
    check->setObjectName(name);
    return check;
  };
  Chk_FromTop = box("Chk_FromTop", "先頭から検索(&T)");
  Chk_Loop = box("Chk_Loop", "末尾まで検索したら先頭に戻る(&O)");
  Chk_ConfirmRep = box("Chk_ConfirmRep", "置換の前に確認する(&C)");
  Chk_AutoComplete = box("Chk_AutoComplete", "入力を補完する(&P)");
  Chk_WholeWord = box("Chk_WholeWord", "単語単位で検索(&W)");
  Chk_MatchCase = box("Chk_MatchCase", "大文字と小文字を区別(&M)");
  Chk_NoMatchZenkaku = box("Chk_NoMatchZenkaku", "全角と半角を区別しない(&Z)");
  Chk_IncludeRet = box("Chk_IncludeRet", "改行を無視(&R)");
  Chk_IncludeSpace = box("Chk_IncludeSpace", "空白を無視(&S)");
  Chk_RegExp = box("Chk_RegExp", "正規表現を使う(&E)");
  Chk_Fuzzy = box("Chk_Fuzzy", "あいまい検索(&F)");
  RB_SearchAll = new QRadioButton(U(searchmessages::kSearchAll), this);
  RB_SelSearch = new QRadioButton(U(searchmessages::kSelSearch), this);
  Btn_ClearSearch = new QPushButton(U("検索文字列(&H)"), this);
  Btn_ClearReplace = new QPushButton(U("置換文字列(&I)"), this);
  FltBtn_Close = new QPushButton(U("×"), this);
  FltBtn_Close->setFlat(true);

  auto* title = new QHBoxLayout;
  title->addWidget(new QLabel(U(searchmessages::kOptionsTitle), this), 1);
  title->addWidget(FltBtn_Close);
  auto* columns = new QHBoxLayout;
  auto* left = new QVBoxLayout;
  left->addWidget(Group(searchmessages::kGroupBasic, {Chk_FromTop, Chk_Loop, Chk_ConfirmRep, Chk_AutoComplete}));
  left->addWidget(Group(searchmessages::kGroupRange, {RB_SearchAll, RB_SelSearch}));
  auto* right = new QVBoxLayout;
  right->addWidget(Group(searchmessages::kGroupCondition,
                         {Chk_WholeWord, Chk_MatchCase, Chk_NoMatchZenkaku, Chk_IncludeRet, Chk_IncludeSpace}));
  right->addWidget(Group(searchmessages::kGroupRegExp, {Chk_RegExp, Chk_Fuzzy}));
  right->addWidget(Group(searchmessages::kGroupHistory, {Btn_ClearSearch, Btn_ClearReplace}));
  columns->addLayout(left);
  columns->addLayout(right);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(title);
  layout->addLayout(columns);

  // A tick of an enabled option, filling included, marks the options changed.
  for (QCheckBox* check : {Chk_FromTop, Chk_Loop, Chk_ConfirmRep, Chk_AutoComplete, Chk_WholeWord, Chk_MatchCase,
                           Chk_NoMatchZenkaku, Chk_IncludeRet, Chk_IncludeSpace, Chk_Fuzzy}) {
    connect(check, &QCheckBox::toggled, this, [this, check] {
      if (check->isEnabled()) changed_ = true;
    });
  }
  connect(Chk_RegExp, &QCheckBox::toggled, this, [this] {
    changed_ = true;
    ApplyEnableRules();
  });
  connect(FltBtn_Close, &QPushButton::clicked, this, &QDialog::close);
  connect(Btn_ClearSearch, &QPushButton::clicked, this, [this] {
    if (information_.Confirm(searchmessages::kClearSearchHistoryQuestion)) command_.ClearSearchHistory();
  });
  connect(Btn_ClearReplace, &QPushButton::clicked, this, [this] {
    if (information_.Confirm(searchmessages::kClearReplaceHistoryQuestion)) command_.ClearReplaceHistory();
  });
  Fill(command_.Options(), selectionEmpty);
}

void TFrm_SearchOp::Fill(const TKervSearchOptions& options, bool selectionEmpty) {
  Chk_RegExp->setChecked((options.Flags & SearchFlag::RegExp) != 0);
  ApplyEnableRules();
  Chk_FromTop->setChecked(options.FromTop);
  Chk_Loop->setChecked((options.Flags & SearchFlag::LoopSearch) != 0);
  Chk_ConfirmRep->setChecked(options.Confirm);
  Chk_AutoComplete->setChecked(options.AutoComplete);
  Chk_WholeWord->setChecked((options.Flags & SearchFlag::WholeWord) != 0);
  Chk_MatchCase->setChecked((options.Flags & SearchFlag::MatchCase) != 0);
  Chk_NoMatchZenkaku->setChecked((options.Flags & SearchFlag::NoMatchZenkaku) != 0);
  Chk_IncludeRet->setChecked((options.Flags & SearchFlag::IncludeRet) != 0);
  Chk_IncludeSpace->setChecked((options.Flags & SearchFlag::IncludeSpace) != 0);
  Chk_Fuzzy->setChecked((options.Flags & SearchFlag::RegFuzzy) != 0);
  (selectionEmpty ? RB_SearchAll : RB_SelSearch)->setChecked(true);
}

void TFrm_SearchOp::ApplyEnableRules() {
  bool regExp = Chk_RegExp->isChecked();
  for (QCheckBox* check : {Chk_IncludeRet, Chk_IncludeSpace, Chk_MatchCase, Chk_NoMatchZenkaku, Chk_WholeWord}) {
    check->setEnabled(!regExp);
  }
  Chk_Fuzzy->setEnabled(regExp);
}

TKervSearchOptions TFrm_SearchOp::Options() const {
  TKervSearchOptions options;
  options.Confirm = Chk_ConfirmRep->isChecked();
  options.FromTop = Chk_FromTop->isChecked();
  options.AutoComplete = Chk_AutoComplete->isChecked();
  // Rebuilt from nothing; a disabled box still counts by its tick.
  SearchFlags flags = 0;
  auto take = [&flags](const QCheckBox* check, SearchFlags bit) {
    if (check->isChecked()) flags |= bit;
  };
  take(Chk_IncludeRet, SearchFlag::IncludeRet);
  take(Chk_IncludeSpace, SearchFlag::IncludeSpace);
  take(Chk_WholeWord, SearchFlag::WholeWord);
  take(Chk_NoMatchZenkaku, SearchFlag::NoMatchZenkaku);
  take(Chk_MatchCase, SearchFlag::MatchCase);
  take(Chk_RegExp, SearchFlag::RegExp);
  take(Chk_Fuzzy, SearchFlag::RegFuzzy);
  take(Chk_Loop, SearchFlag::LoopSearch);
  if (RB_SelSearch->isChecked()) flags |= SearchFlag::SelectionOnly;
  options.Flags = flags;
  return options;
}

void TFrm_SearchOp::PlaceBelow(const QRect& buttonOnScreen) {
  adjustSize();
  int x = width() > buttonOnScreen.left() ? buttonOnScreen.left() : buttonOnScreen.right() + 1 - width();
  move(x, buttonOnScreen.top() + 26);
}

void TFrm_SearchOp::Finish() {
  if (finished_) return;
  finished_ = true;
  command_.ApplyOptions(Options(), changed_);
  if (OnClosed) OnClosed();
}

void TFrm_SearchOp::closeEvent(QCloseEvent* event) {
  Finish();
  QDialog::closeEvent(event);
}

void TFrm_SearchOp::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  // The panel closes when it loses activation, as a drop-down does.
  if (event->type() == QEvent::ActivationChange && isVisible() && !isActiveWindow() && !finished_) close();
}

void TFrm_SearchOp::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    close();
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace kerv
