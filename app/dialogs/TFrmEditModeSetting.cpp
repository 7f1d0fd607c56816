#include "app/dialogs/TFrmEditModeSetting.h"

#include <QCheckBox>
#include <QCollator>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFileDialog>
#include <QFontDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "app/dialogs/TFrmMultiWord.h"
#include "editmode/TEditModeFile.h"
#include "ui/TEditorWidget.h"

namespace kerv {

struct TFrmEditModeSetting::Binding {
  std::function<void()> load;
};

namespace {

// The switch the check box "「エディタ」の配色を使う" shows inverted, by colour set.
struct ColorSwitch {
  bool (TEditorPropEx::*get)() const;
  void (TEditorPropEx::*set)(bool);
};

std::optional<ColorSwitch> SwitchOfColorSet(int colorSet) {
  switch (colorSet) {
    case 10: return ColorSwitch{&TEditorPropEx::ColorHex, &TEditorPropEx::SetColorHex};
    case 11: return ColorSwitch{&TEditorPropEx::ColorStr, &TEditorPropEx::SetColorStr};
    case 12: return ColorSwitch{&TEditorPropEx::ColorComment, &TEditorPropEx::SetColorComment};
    case 24: return ColorSwitch{&TEditorPropEx::ColorSearchStr, &TEditorPropEx::SetColorSearchStr};
    case 25: return ColorSwitch{&TEditorPropEx::ColorSimpleStress, &TEditorPropEx::SetColorSimpleStress};
    default:
      // The ten emphasis levels share one switch.
      if (colorSet == 13 || (colorSet >= 15 && colorSet <= 23)) {
        return ColorSwitch{&TEditorPropEx::ColorReserve, &TEditorPropEx::SetColorReserve};
      }
      return std::nullopt;
  }
}

QPushButton* AddButton(QWidget* parent, QLayout* layout, const char* name, const QString& caption,
                       std::function<void()> run) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(QString::fromLatin1(name));
  QObject::connect(button, &QPushButton::clicked, parent, [run] { run(); });
  layout->addWidget(button);
  return button;
}

// The buttons of an ordered list the user edits: "Btn_" + kind + the operation.
struct ListActions {
  std::function<void()> add;
  std::function<void()> edit;
  std::function<void()> copy;
  std::function<void()> remove;
  std::function<void(TMoveDirection)> move;
};

QVBoxLayout* AddListButtons(QWidget* page, const char* kind, const ListActions& actions) {
  auto* buttons = new QVBoxLayout();
  auto name = [kind](const char* operation) { return (std::string("Btn_") + kind + operation); };
  AddButton(page, buttons, name("Add").c_str(), QStringLiteral("追加(&A)..."), actions.add);
  AddButton(page, buttons, name("Edit").c_str(), QStringLiteral("編集(&E)..."), actions.edit);
  AddButton(page, buttons, name("Copy").c_str(), QStringLiteral("コピー(&C)"), actions.copy);
  AddButton(page, buttons, name("Delete").c_str(), QStringLiteral("削除(&D)"), actions.remove);
  const struct {
    const char* operation;
    const char* caption;
    TMoveDirection direction;
  } moves[] = {{"Top", "先頭へ(&T)", TMoveDirection::Top},
               {"Up", "上へ(&U)", TMoveDirection::Up},
               {"Down", "下へ(&W)", TMoveDirection::Down},
               {"Bottom", "末尾へ(&B)", TMoveDirection::Bottom}};
  for (const auto& move : moves) {
    AddButton(page, buttons, name(move.operation).c_str(), QString::fromUtf8(move.caption),
              [run = actions.move, direction = move.direction] { run(direction); });
  }
  return buttons;
}

QTreeWidget* AddList(QWidget* parent, const char* name, const QStringList& headers, bool multiSelect) {
  auto* list = new QTreeWidget(parent);
  list->setObjectName(QString::fromLatin1(name));
  list->setHeaderLabels(headers);
  list->setRootIsDecorated(false);
  list->setSelectionMode(multiSelect ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
  return list;
}

// How much of the mode's own words the preview shows.
constexpr size_t kPreviewOwnWordsBytes = 200;

std::string MessageInternal(ICodePage& codePage, TEditModeMessage id) {
  return codePage.Utf8ToCp932(EditModeMessage(id), nullptr);
}

}  // namespace

TFrmEditModeSetting::TFrmEditModeSetting(TKervEditModeManager& manager, const std::string& currentName,
                                         IKervInformation& info, QWidget* parent)
    : QDialog(parent),
      codePage_(manager.CodePage()),
      user_(info, manager.CodePage()),
      modes_(std::make_unique<TKervEditModeSettingManager>(manager.FileSystem(), manager.CodePage(), user_,
                                                            manager.SettingFolder())),
      currentName_(currentName.empty() ? std::string(kDefaultModeName) : currentName) {
  setObjectName(QStringLiteral("TFrmEditModeSetting"));
  setWindowTitle(QStringLiteral("編集モードの設定"));
  modes_->SetSystemColorResolver(manager.SystemColorResolver());

  AskName = [this](const QString& caption, const QString& prompt, const QString& proposal) -> std::optional<QString> {
    bool ok = false;
    QString name = QInputDialog::getText(this, caption, prompt, QLineEdit::Normal, proposal, &ok);
    return ok ? std::optional<QString>(name) : std::nullopt;
  };
  ChooseFile = [this](bool save, const QString& filter) {
    return save ? QFileDialog::getSaveFileName(this, QString(), QString(), filter)
                : QFileDialog::getOpenFileName(this, QString(), QString(), filter);
  };
  ChooseFont = [this](TEditorFont& font, bool proportional) {
    bool ok = false;
    QFont initial(SjisToQString(codePage_, font.Name()), font.Size());
    QFont chosen = QFontDialog::getFont(&ok, initial, this, QString(),
                                        proportional ? QFontDialog::FontDialogOptions()
                                                     : QFontDialog::FontDialogOptions(QFontDialog::MonospacedFonts));
    if (!ok) return false;
    font.SetName(QStringToSjis(codePage_, chosen.family()));
    if (chosen.pointSize() > 0) font.SetSize(chosen.pointSize());
    return true;
  };

  auto* layout = new QVBoxLayout(this);
  auto* body = new QHBoxLayout();
  body->addWidget(CreateModePanel());
  pages_ = new QTabWidget(this);
  pages_->setObjectName(QStringLiteral("PageControl"));
  pages_->addTab(CreateViewPage(), QStringLiteral("表示"));
  pages_->addTab(CreateCaretPage(), QStringLiteral("カーソル・インデント"));
  pages_->addTab(CreateWrapPage(), QStringLiteral("ワードラップ"));
  pages_->addTab(CreateRulerPage(), QStringLiteral("ルーラー・行番号"));
  pages_->addTab(CreateColorPage(), QStringLiteral("配色・フォント"));
  pages_->addTab(CreateWordPage(), QStringLiteral("強調文字"));
  pages_->addTab(CreateBracketPage(), QStringLiteral("囲み文字"));
  pages_->addTab(CreateAssociationPage(), QStringLiteral("関連付け"));
  body->addWidget(pages_, 1);
  layout->addLayout(body, 1);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->setObjectName(QStringLiteral("Buttons"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);

  modes_->Open(currentName_);
  FillModeList();
  FillAssociations();
  colorList_->setCurrentRow(0);
  LoadPages();
}

TFrmEditModeSetting::~TFrmEditModeSetting() = default;

// ---- bound controls

QCheckBox* TFrmEditModeSetting::BindCheck(QFormLayout* form, const char* name, const QString& caption,
                                          std::function<bool(const TEditorPropEx&)> get,
                                          std::function<void(TEditorPropEx&, bool)> set) {
  auto* box = new QCheckBox(caption, form->parentWidget());
  box->setObjectName(QString::fromLatin1(name));
  form->addRow(box);
  bindings_.push_back(std::make_unique<Binding>(Binding{[this, box, get] { box->setChecked(get(Set())); }}));
  connect(box, &QCheckBox::toggled, this, [this, set](bool on) {
    if (loading_) return;
    set(Set(), on);
    Edited();
  });
  return box;
}

QWidget* TFrmEditModeSetting::BindNumber(QFormLayout* form, const char* name, const QString& caption, int min,
                                         int max, std::function<int(const TEditorPropEx&)> get,
                                         std::function<void(TEditorPropEx&, int)> set) {
  auto* spin = new QSpinBox(form->parentWidget());
  spin->setObjectName(QString::fromLatin1(name));
  spin->setRange(min, max);
  form->addRow(caption, spin);
  bindings_.push_back(std::make_unique<Binding>(Binding{[this, spin, get] { spin->setValue(get(Set())); }}));
  connect(spin, &QSpinBox::valueChanged, this, [this, set](int value) {
    if (loading_) return;
    set(Set(), value);
    Edited();
  });
  return spin;
}

QWidget* TFrmEditModeSetting::BindChoice(QFormLayout* form, const char* name, const QString& caption,
                                         const QStringList& items, std::function<int(const TEditorPropEx&)> get,
                                         std::function<void(TEditorPropEx&, int)> set) {
  auto* box = new QComboBox(form->parentWidget());
  box->setObjectName(QString::fromLatin1(name));
  box->addItems(items);
  form->addRow(caption, box);
  bindings_.push_back(std::make_unique<Binding>(Binding{[this, box, get] { box->setCurrentIndex(get(Set())); }}));
  connect(box, &QComboBox::currentIndexChanged, this, [this, set](int index) {
    if (loading_ || index < 0) return;
    set(Set(), index);
    Edited();
  });
  return box;
}

QWidget* TFrmEditModeSetting::BindText(QFormLayout* form, const char* name, const QString& caption,
                                       std::function<std::string(const TEditorPropEx&)> get,
                                       std::function<void(TEditorPropEx&, const std::string&)> set) {
  auto* field = new QLineEdit(form->parentWidget());
  field->setObjectName(QString::fromLatin1(name));
  form->addRow(caption, field);
  bindings_.push_back(
      std::make_unique<Binding>(Binding{[this, field, get] { field->setText(SjisToQString(codePage_, get(Set()))); }}));
  connect(field, &QLineEdit::textEdited, this, [this, set](const QString& text) {
    if (loading_) return;
    set(Set(), QStringToSjis(codePage_, text));
    Edited();
  });
  return field;
}

// ---- the pages

QWidget* TFrmEditModeSetting::CreateModePanel() {
  auto* panel = new QWidget(this);
  auto* layout = new QVBoxLayout(panel);
  layout->setContentsMargins(0, 0, 0, 0);
  modeList_ = new QListWidget(panel);
  modeList_->setObjectName(QStringLiteral("LB_EditMode"));
  layout->addWidget(modeList_, 1);
  connect(modeList_, &QListWidget::currentRowChanged, this, [this](int row) { ModeSelected(row); });
  AddButton(panel, layout, "Btn_ModeNew", QStringLiteral("新規作成(&N)..."), [this] { NewMode(); });
  AddButton(panel, layout, "Btn_ModeCopy", QStringLiteral("コピー(&C)..."), [this] { CopyMode(); });
  AddButton(panel, layout, "Btn_ModeRename", QStringLiteral("名前の変更(&R)..."), [this] { RenameMode(); });
  AddButton(panel, layout, "Btn_ModeDelete", QStringLiteral("削除(&D)"), [this] { DeleteMode(); });
  AddButton(panel, layout, "Btn_ModeImport", QStringLiteral("インポート(&I)..."), [this] { ImportMode(); });
  return panel;
}

QWidget* TFrmEditModeSetting::CreateViewPage() {
  auto* page = new QWidget(this);
  auto* form = new QFormLayout(page);
  using P = TEditorPropEx;
  BindText(form, "Edt_Author", QStringLiteral("作成者:"), [](const P& s) { return s.Author(); },
           [](P& s, const std::string& v) { s.SetAuthor(v); });
  BindText(form, "Edt_UserComment", QStringLiteral("コメント:"), [](const P& s) { return s.UserComment(); },
           [](P& s, const std::string& v) { s.SetUserComment(v); });
  BindCheck(form, "Chk_ShowTab", QStringLiteral("タブを表示する(&T)"), [](const P& s) { return s.ShowTab(); },
            [](P& s, bool v) { s.SetShowTab(v); });
  BindCheck(form, "Chk_ShowSpace", QStringLiteral("半角スペースを表示する(&S)"), [](const P& s) { return s.ShowSpace(); },
            [](P& s, bool v) { s.SetShowSpace(v); });
  BindCheck(form, "Chk_ShowDoubleSpace", QStringLiteral("全角スペースを表示する(&W)"),
            [](const P& s) { return s.ShowDoubleSpace(); }, [](P& s, bool v) { s.SetShowDoubleSpace(v); });
  BindCheck(form, "Chk_RetMark", QStringLiteral("改行マークを表示する(&R)"),
            [](const P& s) { return s.Marks().RetMark().Visible(); },
            [](P& s, bool v) { s.Marks().RetMark().SetVisible(v); });
  BindCheck(form, "Chk_EofMark", QStringLiteral("EOF マークを表示する(&E)"),
            [](const P& s) { return s.Marks().EofMark().Visible(); },
            [](P& s, bool v) { s.Marks().EofMark().SetVisible(v); });
  BindCheck(form, "Chk_Underline", QStringLiteral("編集行に下線を引く(&U)"),
            [](const P& s) { return s.Marks().Underline().Visible(); },
            [](P& s, bool v) { s.Marks().Underline().SetVisible(v); });
  BindCheck(form, "Chk_Url", QStringLiteral("URL を強調する(&L)"), [](const P& s) { return s.View().Url(); },
            [](P& s, bool v) { s.View().SetUrl(v); });
  BindCheck(form, "Chk_Mail", QStringLiteral("E-Mail アドレスを強調する(&M)"), [](const P& s) { return s.View().Mail(); },
            [](P& s, bool v) { s.View().SetMail(v); });
  BindCheck(form, "Chk_ColorBrackets", QStringLiteral("囲み文字を強調する(&B)"),
            [](const P& s) { return s.ColorBrackets(); }, [](P& s, bool v) { s.SetColorBrackets(v); });
  BindText(form, "Edt_HexPrefix", QStringLiteral("16進数の接頭辞:"), [](const P& s) { return s.View().HexPrefix(); },
           [](P& s, const std::string& v) { s.View().SetHexPrefix(v); });
  BindText(form, "Edt_Quotation", QStringLiteral("文字列の引用符:"), [](const P& s) { return s.View().Quotation(); },
           [](P& s, const std::string& v) { s.View().SetQuotation(v); });
  BindText(form, "Edt_Commenter", QStringLiteral("行コメントの開始:"), [](const P& s) { return s.View().Commenter(); },
           [](P& s, const std::string& v) { s.View().SetCommenter(v); });
  BindChoice(form, "Cmb_ScrollBars", QStringLiteral("スクロールバー:"),
             {QStringLiteral("なし"), QStringLiteral("水平"), QStringLiteral("垂直"), QStringLiteral("両方")},
             [](const P& s) { return static_cast<int>(s.ScrollBars()); },
             [](P& s, int v) { s.SetScrollBars(static_cast<TScrollStyle>(v)); });
  return page;
}

QWidget* TFrmEditModeSetting::CreateCaretPage() {
  auto* page = new QWidget(this);
  auto* form = new QFormLayout(page);
  using P = TEditorPropEx;
  BindCheck(form, "Chk_FreeCaret", QStringLiteral("フリーカーソル(&F)"), [](const P& s) { return s.Caret().FreeCaret(); },
            [](P& s, bool v) { s.Caret().SetFreeCaret(v); });
  BindCheck(form, "Chk_BoxFreeCaret", QStringLiteral("矩形選択中はフリーカーソル(&B)"),
            [](const P& s) { return s.BoxFreeCaret(); }, [](P& s, bool v) { s.SetBoxFreeCaret(v); });
  // Tab widths 2, 4, 6 and 8: the items' indices times two, plus two.
  BindChoice(form, "Cmb_TabCount", QStringLiteral("タブ幅:"),
             {QStringLiteral("2"), QStringLiteral("4"), QStringLiteral("6"), QStringLiteral("8")},
             [](const P& s) { return std::clamp(s.Caret().TabSpaceCount() / 2 - 1, 0, 3); },
             [](P& s, int v) { s.Caret().SetTabSpaceCount((v + 1) * 2); });
  BindCheck(form, "Chk_SoftTab", QStringLiteral("タブを空白で入力する(&S)"), [](const P& s) { return s.Caret().SoftTab(); },
            [](P& s, bool v) { s.Caret().SetSoftTab(v); });
  BindCheck(form, "Chk_AutoIndent", QStringLiteral("オートインデント(&A)"), [](const P& s) { return s.AutoIndent(); },
            [](P& s, bool v) { s.SetAutoIndent(v); });
  BindCheck(form, "Chk_DSIndent", QStringLiteral("全角スペースもインデントに含める(&D)"),
            [](const P& s) { return s.DSIndent(); }, [](P& s, bool v) { s.SetDSIndent(v); });
  BindCheck(form, "Chk_BSUnIndent", QStringLiteral("BackSpace でインデントを戻す(&U)"),
            [](const P& s) { return s.Caret().BackSpaceUnIndent(); },
            [](P& s, bool v) { s.Caret().SetBackSpaceUnIndent(v); });
  BindCheck(form, "Chk_NoIndentEmptyLine", QStringLiteral("空行にインデントを残さない(&N)"),
            [](const P& s) { return s.NoIndentEmptyLine(); }, [](P& s, bool v) { s.SetNoIndentEmptyLine(v); });
  BindNumber(form, "Spn_SpaceIndentSize", QStringLiteral("空白インデントの幅:"), TEditorPropEx::kMinSpaceIndentSize,
             TEditorPropEx::kMaxSpaceIndentSize, [](const P& s) { return s.SpaceIndentSize(); },
             [](P& s, int v) { s.SetSpaceIndentSize(v); });
  BindCheck(form, "Chk_AutoIME", QStringLiteral("IME を自動的にオンにする(&I)"), [](const P& s) { return s.AutoIME(); },
            [](P& s, bool v) { s.SetAutoIME(v); });
  BindText(form, "Edt_ReturnInsertStr", QStringLiteral("行末に挿入する文字列:"),
           [](const P& s) { return s.ReturnInsertStr(); }, [](P& s, const std::string& v) { s.SetReturnInsertStr(v); });
  return page;
}

QWidget* TFrmEditModeSetting::CreateWrapPage() {
  auto* page = new QWidget(this);
  auto* form = new QFormLayout(page);
  using P = TEditorPropEx;
  BindCheck(form, "Chk_WordWrap", QStringLiteral("ワードラップを行なう(&W)"), [](const P& s) { return s.WordWrap(); },
            [](P& s, bool v) { s.SetWordWrap(v); });
  BindNumber(form, "Spn_WrapByte", QStringLiteral("折り返し桁数:"), TEditorWrapOption::kMinWrapByte,
             TEditorWrapOption::kMaxWrapByte, [](const P& s) { return s.WrapOption().WrapByte(); },
             [](P& s, int v) { s.WrapOption().SetWrapByte(v); });
  BindCheck(form, "Chk_WordBreak", QStringLiteral("英単語の途中で折り返さない(&B)"),
            [](const P& s) { return s.WrapOption().WordBreak(); }, [](P& s, bool v) { s.WrapOption().SetWordBreak(v); });
  BindCheck(form, "Chk_Leading", QStringLiteral("行末禁則処理(&L)"), [](const P& s) { return s.WrapOption().Leading(); },
            [](P& s, bool v) { s.WrapOption().SetLeading(v); });
  BindCheck(form, "Chk_FollowPunctuation", QStringLiteral("句読点のぶら下げ(&P)"),
            [](const P& s) { return s.WrapOption().FollowPunctuation(); },
            [](P& s, bool v) { s.WrapOption().SetFollowPunctuation(v); });
  BindCheck(form, "Chk_FollowRetMark", QStringLiteral("改行マークのぶら下げ(&R)"),
            [](const P& s) { return s.WrapOption().FollowRetMark(); },
            [](P& s, bool v) { s.WrapOption().SetFollowRetMark(v); });
  BindText(form, "Edt_FollowStr", QStringLiteral("行頭禁則文字:"), [](const P& s) { return s.WrapOption().FollowStr(); },
           [](P& s, const std::string& v) { s.WrapOption().SetFollowStr(v); });
  BindText(form, "Edt_LeadStr", QStringLiteral("行末禁則文字:"), [](const P& s) { return s.WrapOption().LeadStr(); },
           [](P& s, const std::string& v) { s.WrapOption().SetLeadStr(v); });
  BindText(form, "Edt_PunctuationStr", QStringLiteral("ぶら下げ文字:"),
           [](const P& s) { return s.WrapOption().PunctuationStr(); },
           [](P& s, const std::string& v) { s.WrapOption().SetPunctuationStr(v); });
  return page;
}

QWidget* TFrmEditModeSetting::CreateRulerPage() {
  auto* page = new QWidget(this);
  auto* form = new QFormLayout(page);
  using P = TEditorPropEx;
  BindCheck(form, "Chk_ShowRuler", QStringLiteral("ルーラーを表示する(&R)"), [](const P& s) { return s.Ruler().Visible(); },
            [](P& s, bool v) { s.Ruler().SetVisible(v); });
  BindCheck(form, "Chk_RulerEdge", QStringLiteral("ルーラーの境界線(&E)"), [](const P& s) { return s.Ruler().Edge(); },
            [](P& s, bool v) { s.Ruler().SetEdge(v); });
  BindChoice(form, "Cmb_GaugeRange", QStringLiteral("ルーラーの目盛り:"), {QStringLiteral("8"), QStringLiteral("10")},
             [](const P& s) { return s.Ruler().GaugeRange() == 8 ? 0 : 1; },
             [](P& s, int v) { s.Ruler().SetGaugeRange(v == 0 ? 8 : 10); });
  BindCheck(form, "Chk_ShowLeftBar", QStringLiteral("行番号を表示する(&L)"), [](const P& s) { return s.Leftbar().Visible(); },
            [](P& s, bool v) { s.Leftbar().SetVisible(v); });
  BindNumber(form, "Spn_LineNumColumn", QStringLiteral("行番号の桁数:"), 1, 8,
             [](const P& s) { return s.Leftbar().Column(); }, [](P& s, int v) { s.Leftbar().SetColumn(v); });
  BindCheck(form, "Chk_LineNumZeroBase", QStringLiteral("0 から数える(&Z)"),
            [](const P& s) { return s.Leftbar().ZeroBase(); }, [](P& s, bool v) { s.Leftbar().SetZeroBase(v); });
  BindCheck(form, "Chk_LineNumZeroLead", QStringLiteral("上位桁を 0 で埋める(&O)"),
            [](const P& s) { return s.Leftbar().ZeroLead(); }, [](P& s, bool v) { s.Leftbar().SetZeroLead(v); });
  BindCheck(form, "Chk_LineNumEdge", QStringLiteral("行番号の境界線(&B)"), [](const P& s) { return s.Leftbar().Edge(); },
            [](P& s, bool v) { s.Leftbar().SetEdge(v); });
  BindCheck(form, "Chk_LineNumCountWrap", QStringLiteral("折り返した行も数える(&W)"),
            [](const P& s) { return s.Leftbar().ShowNumberMode() == nmRow; },
            [](P& s, bool v) { s.Leftbar().SetShowNumberMode(v ? nmRow : nmLine); });
  return page;
}

QWidget* TFrmEditModeSetting::CreateColorPage() {
  auto* page = new QWidget(this);
  auto* grid = new QGridLayout(page);
  colorList_ = new QListWidget(page);
  colorList_->setObjectName(QStringLiteral("LB_ColorItem"));
  for (const TColorPageEntry& entry : ColorPageEntries()) colorList_->addItem(QString::fromUtf8(entry.name));
  grid->addWidget(colorList_, 0, 0, 2, 1);
  connect(colorList_, &QListWidget::currentRowChanged, this, [this] { LoadColorEntry(); });

  auto* controls = new QVBoxLayout();
  textColor_ = new TColorButton(QStringLiteral("文字色(&C)..."), page);
  textColor_->setObjectName(QStringLiteral("Btn_TextColor"));
  bkColor_ = new TColorButton(QStringLiteral("背景色(&B)..."), page);
  bkColor_->setObjectName(QStringLiteral("Btn_BkColor"));
  controls->addWidget(textColor_);
  controls->addWidget(bkColor_);
  connect(textColor_, &TColorButton::ColorChanged, this, [this] { StoreColorEntry(); });
  connect(bkColor_, &TColorButton::ColorChanged, this, [this] { StoreColorEntry(); });
  auto addStyle = [&](const char* name, const QString& caption) {
    auto* box = new QCheckBox(caption, page);
    box->setObjectName(QString::fromLatin1(name));
    controls->addWidget(box);
    connect(box, &QCheckBox::toggled, this, [this] { StoreColorEntry(); });
    return box;
  };
  bold_ = addStyle("Chk_Bold", QStringLiteral("太字(&O)"));
  italic_ = addStyle("Chk_Italic", QStringLiteral("斜体(&I)"));
  underline_ = addStyle("Chk_Underline", QStringLiteral("下線(&U)"));
  useEditorColors_ = addStyle("Chk_UseEditorColor", Utf8(EditModeMessage(TEditModeMessage::UseEditorColors)));

  auto* fontForm = new QFormLayout();
  fontForm->addRow(controls);
  fontLabel_ = new QLabel(page);
  fontLabel_->setObjectName(QStringLiteral("Lbl_Font"));
  fontForm->addRow(QStringLiteral("フォント:"), fontLabel_);
  AddButton(page, fontForm, "Btn_Font", QStringLiteral("フォントの選択(&F)..."), [this] {
    TEditorFont font;
    font.Assign(Set().Font());
    if (!ChooseFont || !ChooseFont(font, proportional_->isChecked())) return;
    Set().Font().SetName(font.Name());
    Set().Font().SetSize(font.Size());
    UpdateFontLabel();
    Edited();
  });
  proportional_ = new QCheckBox(Utf8(EditModeMessage(TEditModeMessage::ShowProportionalFonts)), page);
  proportional_->setObjectName(QStringLiteral("Chk_Proportional"));
  fontForm->addRow(proportional_);
  using P = TEditorPropEx;
  BindCheck(fontForm, "Chk_DefaultFont", QStringLiteral("共通のフォントを使う(&D)"),
            [](const P& s) { return s.UseDafaultFont(); }, [](P& s, bool v) { s.SetUseDafaultFont(v); });
  grid->addLayout(fontForm, 0, 1);

  preview_ = new TEditorWidget(codePage_, page);
  preview_->setObjectName(QStringLiteral("Preview"));
  preview_->setMinimumHeight(160);
  preview_->Editor().SetReadOnly(true);
  grid->addWidget(preview_, 2, 0, 1, 2);
  grid->setRowStretch(2, 1);
  return page;
}

QWidget* TFrmEditModeSetting::CreateWordPage() {
  auto* page = new QWidget(this);
  auto* layout = new QHBoxLayout(page);
  words_ = AddList(page, "LV_ReserveWord",
                   {QStringLiteral("強調文字"), QStringLiteral("強調レベル"), QStringLiteral("検索方法")}, true);
  words_->header()->setSectionsClickable(true);
  connect(words_->header(), &QHeaderView::sectionClicked, this, [this](int column) { SortWords(column); });
  connect(words_, &QTreeWidget::itemDoubleClicked, this, [this] { EditWords(); });
  layout->addWidget(words_, 1);
  QVBoxLayout* buttons = AddListButtons(page, "Word", {[this] { AddWord(); }, [this] { EditWords(); },
                                                       [this] { CopyWords(); }, [this] { DeleteWords(); },
                                                       [this](TMoveDirection to) { MoveWordRows(to); }});
  AddButton(page, buttons, "Btn_WordImport", QStringLiteral("インポート(&I)..."), [this] { ImportWords(); });
  AddButton(page, buttons, "Btn_WordExport", QStringLiteral("エクスポート(&X)..."), [this] { ExportWords(); });
  buttons->addStretch(1);
  layout->addLayout(buttons);
  return page;
}

QWidget* TFrmEditModeSetting::CreateBracketPage() {
  auto* page = new QWidget(this);
  auto* layout = new QHBoxLayout(page);
  brackets_ = AddList(page, "LV_Bracket",
                      {QStringLiteral("開始文字"), QStringLiteral("終了文字"), QStringLiteral("強調文字の強調")}, false);
  connect(brackets_, &QTreeWidget::itemDoubleClicked, this, [this] { EditBracket(); });
  layout->addWidget(brackets_, 1);
  QVBoxLayout* buttons = AddListButtons(page, "Bracket", {[this] { AddBracket(); }, [this] { EditBracket(); },
                                                          [this] { CopyBracket(); }, [this] { DeleteBracket(); },
                                                          [this](TMoveDirection to) { MoveBracket(to); }});
  buttons->addStretch(1);
  layout->addLayout(buttons);
  return page;
}

QWidget* TFrmEditModeSetting::CreateAssociationPage() {
  auto* page = new QWidget(this);
  auto* layout = new QHBoxLayout(page);
  associations_ = AddList(page, "LV_Association", {QStringLiteral("拡張子"), QStringLiteral("編集モード")}, false);
  connect(associations_, &QTreeWidget::itemDoubleClicked, this, [this] { EditAssociation(); });
  layout->addWidget(associations_, 1);
  auto* buttons = new QVBoxLayout();
  AddButton(page, buttons, "Btn_AssocAdd", QStringLiteral("追加(&A)..."), [this] { AddAssociation(); });
  AddButton(page, buttons, "Btn_AssocEdit", QStringLiteral("編集(&E)..."), [this] { EditAssociation(); });
  AddButton(page, buttons, "Btn_AssocDelete", QStringLiteral("削除(&D)"), [this] { DeleteAssociation(); });
  buttons->addStretch(1);
  layout->addLayout(buttons);
  return page;
}

// ---- showing the selected mode

void TFrmEditModeSetting::Edited() { UpdatePreview(); }

void TFrmEditModeSetting::LoadPages() {
  loading_ = true;
  for (const auto& binding : bindings_) binding->load();
  loading_ = false;
  FillWords();
  FillBrackets();
  LoadColorEntry();
  UpdateFontLabel();
  UpdatePreview();
}

void TFrmEditModeSetting::FillModeList() {
  QSignalBlocker block(modeList_);
  modeList_->clear();
  const std::vector<std::string>& names = modes_->ModeList();
  for (const std::string& name : names) modeList_->addItem(SjisToQString(codePage_, name));
  const auto found = std::find(names.begin(), names.end(), modes_->Selected());
  if (found != names.end()) modeList_->setCurrentRow(static_cast<int>(found - names.begin()));
}

void TFrmEditModeSetting::FillAssociations() {
  associations_->clear();
  for (const TKervEditModeAssociation& pair : modes_->DialogAssociations()) {
    associations_->addTopLevelItem(
        new QTreeWidgetItem({SjisToQString(codePage_, pair.ext), SjisToQString(codePage_, pair.mode)}));
  }
}

void TFrmEditModeSetting::FillWords(const std::vector<int>& selectedRows) {
  words_->clear();
  for (const TEditorWord& word : Set().ReserveWordList()) {
    words_->addTopLevelItem(new QTreeWidgetItem(
        {SjisToQString(codePage_, word.text), Utf8(WordLevelText(word.options)), Utf8(WordMethodText(word.options))}));
  }
  for (int row : selectedRows) {
    if (QTreeWidgetItem* item = words_->topLevelItem(row)) item->setSelected(true);
  }
  if (!selectedRows.empty()) {
    if (QTreeWidgetItem* item = words_->topLevelItem(selectedRows.front())) {
      words_->setCurrentItem(item, 0, QItemSelectionModel::NoUpdate);
    }
  }
}

void TFrmEditModeSetting::FillBrackets(int selectedRow) {
  brackets_->clear();
  const TEditorBracketCollection& pairs = Set().View().Brackets();
  for (int i = 0; i < pairs.Count(); ++i) {
    const TEditorBracketItem& pair = pairs.Items(i);
    brackets_->addTopLevelItem(new QTreeWidgetItem({SjisToQString(codePage_, pair.LeftBracket()),
                                                    SjisToQString(codePage_, pair.RightBracket()),
                                                    pair.ShowReserve() ? QStringLiteral("する") : QStringLiteral("しない")}));
  }
  if (QTreeWidgetItem* item = brackets_->topLevelItem(selectedRow)) brackets_->setCurrentItem(item);
}

void TFrmEditModeSetting::SelectColorEntry(int index) { colorList_->setCurrentRow(index); }

void TFrmEditModeSetting::LoadColorEntry() {
  const int row = colorList_->currentRow();
  const auto entries = ColorPageEntries();
  if (row < 0 || row >= static_cast<int>(entries.size())) return;
  const int colorSet = entries[static_cast<size_t>(row)].colorSet;
  const TColorSetValue value = TEditModeFile::ColorSet(Set(), colorSet);
  const TColorSetShape shape = TEditModeFile::ColorSetShape(colorSet);
  const std::optional<ColorSwitch> colorSwitch = SwitchOfColorSet(colorSet);
  const bool wasLoading = loading_;
  loading_ = true;
  textColor_->SetColor(value.color);
  bkColor_->SetColor(value.bkColor);
  bold_->setChecked(value.style & fsBold);
  italic_->setChecked(value.style & fsItalic);
  underline_->setChecked(value.style & fsUnderline);
  useEditorColors_->setChecked(colorSwitch && !(Set().*(colorSwitch->get))());
  loading_ = wasLoading;
  bkColor_->setEnabled(shape != TColorSetShape::Single);
  for (QCheckBox* box : {bold_, italic_, underline_}) box->setEnabled(shape == TColorSetShape::Full);
  useEditorColors_->setVisible(colorSwitch.has_value());
}

void TFrmEditModeSetting::StoreColorEntry() {
  if (loading_) return;
  const int row = colorList_->currentRow();
  const auto entries = ColorPageEntries();
  if (row < 0 || row >= static_cast<int>(entries.size())) return;
  const int colorSet = entries[static_cast<size_t>(row)].colorSet;
  const TFontStyles style = (bold_->isChecked() ? fsBold : 0) | (italic_->isChecked() ? fsItalic : 0) |
                            (underline_->isChecked() ? fsUnderline : 0);
  TEditModeFile::SetColorSet(Set(), colorSet, {textColor_->Color(), bkColor_->Color(), style});
  if (const std::optional<ColorSwitch> colorSwitch = SwitchOfColorSet(colorSet)) {
    (Set().*(colorSwitch->set))(!useEditorColors_->isChecked());
  }
  Edited();
}

void TFrmEditModeSetting::UpdateFontLabel() {
  const TEditorFont& font = Set().Font();
  fontLabel_->setText(SjisToQString(codePage_, font.Name()) + QStringLiteral(", %1pt").arg(font.Size()));
}

void TFrmEditModeSetting::UpdatePreview() {
  auto internal = [this](const char* utf8) { return codePage_.Utf8ToCp932(utf8, nullptr); };
  TEditorPropEx shown;
  shown.Assign(Set());
  // The sample shows comments, strings and numbers even when the mode names
  // no comment start, quote or prefix of its own.
  if (shown.View().Commenter().empty()) shown.View().SetCommenter("//");
  if (shown.View().Quotation().empty()) shown.View().SetQuotation("\"");
  shown.View().Brackets().Clear();
  // The ten sample words, the longest first so that "強調レベル10" is not
  // taken for "強調レベル1" followed by a zero.
  TEditorWordList samples;
  for (int level = kMaxWordLevel; level >= kMinWordLevel; --level) {
    samples.push_back({internal("強調レベル") + std::to_string(level), LevelOptionBits(level)});
  }
  // The mode's own plain words follow, on a line of their own, so that a
  // word just added shows its level's colour at once.
  std::string ownWords;
  for (const TEditorWord& word : Set().ReserveWordList()) {
    samples.push_back(word);
    if ((word.options & WordOption::RegExp) || word.text.empty() || ownWords.size() > kPreviewOwnWordsBytes) continue;
    ownWords += (ownWords.empty() ? "" : " ") + word.text;
  }
  shown.SetReserveWordList(samples);

  TEditor& editor = preview_->Editor();
  const std::string& comment = shown.View().Commenter();
  const std::string& quote = shown.View().Quotation();
  std::string text = "http://www.example.com/\r\nuser@example.com\r\n12345 0x1F\r\n" + quote +
                     internal("文字列") + quote + "\r\n" + comment + internal(" コメント") + "\r\n";
  for (int level = kMinWordLevel; level <= kMaxWordLevel; ++level) {
    text += internal("強調レベル") + std::to_string(level) + (level == 5 || level == 10 ? "\r\n" : " ");
  }
  text += MessageInternal(codePage_, TEditModeMessage::SampleTempWord) + " " +
          MessageInternal(codePage_, TEditModeMessage::SampleSearchString);
  if (!ownWords.empty()) text += "\r\n" + ownWords;
  if (text != previewText_) {
    previewText_ = text;
    editor.Lines().SetTextStr(text);
  }

  shown.AssignTo(editor);
  TEditorColors& colors = editor.View().Colors();
  if (!shown.ColorSearchStr()) SetPlainColors(colors.FindStr(), editor.Font(), shown.Color());
  if (!shown.ColorSimpleStress()) SetPlainColors(colors.StressTmp(), editor.Font(), shown.Color());
  editor.SetTmpReserveList({{MessageInternal(codePage_, TEditModeMessage::SampleTempWord), 0}});
  editor.SetFindString(MessageInternal(codePage_, TEditModeMessage::SampleSearchString), 0);
  preview_->SetWhitespaceMarks({shown.ShowTab(), shown.ShowSpace(), shown.ShowDoubleSpace(), shown.TabMarkColor()});
  preview_->viewport()->update();
}

// ---- modes

void TFrmEditModeSetting::ModeSelected(int row) {
  const std::vector<std::string>& names = modes_->ModeList();
  if (row < 0 || row >= static_cast<int>(names.size())) return;
  if (!modes_->Select(names[static_cast<size_t>(row)])) {
    // The mode did not load (already reported): the previous one stays selected.
    FillModeList();
    return;
  }
  LoadPages();
}

std::optional<std::string> TFrmEditModeSetting::AskModeName(TEditModeMessage caption, TEditModeMessage prompt,
                                                            const std::string& proposal) {
  if (!AskName) return std::nullopt;
  std::optional<QString> typed = AskName(Utf8(EditModeMessage(caption)), Utf8(EditModeMessage(prompt)),
                                         SjisToQString(codePage_, proposal));
  if (!typed) return std::nullopt;
  ConversionReport report;
  std::string name = codePage_.Utf16ToCp932(typed->toStdU16String(), &report);
  // A character without a Shift_JIS form cannot be part of a mode name.
  if (report.replaced > 0) {
    user_.RefuseName(EditModeMessage(TEditModeMessage::InvalidChars));
    return std::nullopt;
  }
  return name;
}

void TFrmEditModeSetting::NewMode() {
  std::optional<std::string> name = AskModeName(TEditModeMessage::NewCaption, TEditModeMessage::NewPrompt, "");
  if (!name || !modes_->NewMode(*name)) return;
  modesChanged_ = true;
  FillModeList();
  LoadPages();
}

void TFrmEditModeSetting::CopyMode() {
  std::optional<std::string> name =
      AskModeName(TEditModeMessage::CopyCaption, TEditModeMessage::CopyPrompt, modes_->ProposedCopyName());
  if (!name || !modes_->CopyMode(*name)) return;
  modesChanged_ = true;
  FillModeList();
  LoadPages();
}

void TFrmEditModeSetting::RenameMode() {
  const std::string oldName = modes_->Selected();
  std::optional<std::string> name = AskModeName(TEditModeMessage::RenameCaption, TEditModeMessage::RenamePrompt, oldName);
  if (!name || !modes_->RenameMode(oldName, *name)) return;
  modesChanged_ = true;
  if (currentName_ == oldName) currentName_ = *name;
  FillModeList();
  FillAssociations();
  LoadPages();
}

void TFrmEditModeSetting::DeleteMode() {
  const std::string name = modes_->Selected();
  if (!modes_->DeleteMode(name)) return;
  modesChanged_ = true;
  if (currentName_ == name) currentName_ = kDefaultModeName;
  FillModeList();
  FillAssociations();
  LoadPages();
}

void TFrmEditModeSetting::ImportMode() {
  if (!ChooseFile) return;
  const QString path = ChooseFile(false, QStringLiteral("編集モード定義ファイル (*.em2)"));
  if (path.isEmpty() || !modes_->ImportMode(path.toStdString())) return;
  modesChanged_ = true;
  FillModeList();
  LoadPages();
}

// ---- reserved words

std::vector<int> TFrmEditModeSetting::SelectedWordRows() const {
  std::vector<int> rows;
  for (int row = 0; row < words_->topLevelItemCount(); ++row) {
    if (words_->topLevelItem(row)->isSelected()) rows.push_back(row);
  }
  return rows;
}

void TFrmEditModeSetting::AddWord() {
  TFrmMultiWord dialog(codePage_, user_, {TEditorWord{}}, this);
  if (dialog.exec() != QDialog::Accepted) return;
  TEditorWordList& list = Set().ReserveWordList();
  list.push_back(dialog.Words().front());
  FillWords({static_cast<int>(list.size()) - 1});
  Edited();
}

void TFrmEditModeSetting::EditWords() {
  const std::vector<int> rows = SelectedWordRows();
  if (rows.empty()) return;
  TEditorWordList& list = Set().ReserveWordList();
  std::vector<TEditorWord> selected;
  for (int row : rows) selected.push_back(list[static_cast<size_t>(row)]);
  TFrmMultiWord dialog(codePage_, user_, selected, this);
  if (dialog.exec() != QDialog::Accepted) return;
  for (size_t i = 0; i < rows.size(); ++i) list[static_cast<size_t>(rows[i])] = dialog.Words()[i];
  FillWords(rows);
  Edited();
}

void TFrmEditModeSetting::CopyWords() {
  const std::vector<int> rows = SelectedWordRows();
  if (rows.empty()) return;
  TEditorWordList& list = Set().ReserveWordList();
  std::vector<int> copies;
  for (int row : rows) {
    list.push_back(list[static_cast<size_t>(row)]);
    copies.push_back(static_cast<int>(list.size()) - 1);
  }
  FillWords(copies);
  Edited();
}

void TFrmEditModeSetting::DeleteWords() {
  const std::vector<int> rows = SelectedWordRows();
  if (rows.empty()) return;
  TEditorWordList& list = Set().ReserveWordList();
  for (auto row = rows.rbegin(); row != rows.rend(); ++row) list.erase(list.begin() + *row);
  FillWords({std::min(rows.front(), static_cast<int>(list.size()) - 1)});
  Edited();
}

void TFrmEditModeSetting::MoveWordRows(TMoveDirection direction) {
  const std::vector<int> rows = SelectedWordRows();
  if (rows.empty()) return;
  FillWords(MoveWords(Set().ReserveWordList(), rows, direction));
  Edited();
}

void TFrmEditModeSetting::SortWords(int column) {
  TEditorWordList& list = Set().ReserveWordList();
  if (column == 0) {
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::vector<std::pair<QString, TEditorWord>> keyed;
    for (const TEditorWord& word : list) keyed.emplace_back(SjisToQString(codePage_, word.text), word);
    std::stable_sort(keyed.begin(), keyed.end(),
                     [&collator](const auto& a, const auto& b) { return collator.compare(a.first, b.first) < 0; });
    list.clear();
    for (auto& [key, word] : keyed) list.push_back(std::move(word));
  } else if (column == 1) {
    SortWordsByLevel(list);
  } else {
    SortWordsByMethod(list);
  }
  FillWords();
  Edited();
}

void TFrmEditModeSetting::ImportWords() {
  if (!ChooseFile) return;
  const QString path = ChooseFile(false, QStringLiteral("テキストファイル (*.txt);;すべてのファイル (*)"));
  if (path.isEmpty()) return;
  try {
    ImportWordList(modes_->FileSystem(), path.toStdString(), Set().ReserveWordList());
  } catch (const EFileError&) {
    user_.ShowErrorCode(10052, path.toStdString());
    return;
  }
  FillWords();
  Edited();
}

void TFrmEditModeSetting::ExportWords() {
  if (!ChooseFile) return;
  QString path = ChooseFile(true, QStringLiteral("テキストファイル (*.txt)"));
  if (path.isEmpty()) return;
  // The list's files carry ".txt" unless the user named another extension.
  if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".txt");
  try {
    ExportWordList(modes_->FileSystem(), path.toStdString(), Set().ReserveWordList());
  } catch (const EFileError&) {
    user_.ShowErrorCode(10053, path.toStdString());
  }
}

// ---- bracket pairs

int TFrmEditModeSetting::SelectedBracketRow() const {
  QTreeWidgetItem* item = brackets_->currentItem();
  return item ? brackets_->indexOfTopLevelItem(item) : -1;
}

void TFrmEditModeSetting::AddBracket() {
  TEditorBracketItem fresh;
  fresh.SetItemColor(TEditorColor(Set().Color(), Set().Font().Color(), 0));
  TFrmBracketPair dialog(codePage_, user_, fresh, this);
  if (dialog.exec() != QDialog::Accepted) return;
  TEditorBracketCollection& pairs = Set().View().Brackets();
  try {
    dialog.AssignTo(pairs.Add());
  } catch (const EEditorBracketCollection& error) {
    user_.ShowError(error.what());
    return;
  }
  FillBrackets(pairs.Count() - 1);
  Edited();
}

void TFrmEditModeSetting::EditBracket() {
  const int row = SelectedBracketRow();
  TEditorBracketCollection& pairs = Set().View().Brackets();
  if (row < 0 || row >= pairs.Count()) return;
  TFrmBracketPair dialog(codePage_, user_, pairs.Items(row), this);
  if (dialog.exec() != QDialog::Accepted) return;
  dialog.AssignTo(pairs.Items(row));
  FillBrackets(row);
  Edited();
}

void TFrmEditModeSetting::CopyBracket() {
  const int row = SelectedBracketRow();
  TEditorBracketCollection& pairs = Set().View().Brackets();
  if (row < 0 || row >= pairs.Count()) return;
  try {
    pairs.Add().Assign(pairs.Items(row));
  } catch (const EEditorBracketCollection& error) {
    user_.ShowError(error.what());
    return;
  }
  FillBrackets(pairs.Count() - 1);
  Edited();
}

void TFrmEditModeSetting::DeleteBracket() {
  const int row = SelectedBracketRow();
  TEditorBracketCollection& pairs = Set().View().Brackets();
  if (row < 0 || row >= pairs.Count()) return;
  pairs.Delete(row);
  FillBrackets(std::min(row, pairs.Count() - 1));
  Edited();
}

void TFrmEditModeSetting::MoveBracket(TMoveDirection direction) {
  const int row = SelectedBracketRow();
  TEditorBracketCollection& pairs = Set().View().Brackets();
  if (row < 0 || row >= pairs.Count()) return;
  const std::vector<int> moved = MovedOrder(pairs.Count(), {row}, direction);
  const int target = static_cast<int>(std::find(moved.begin(), moved.end(), row) - moved.begin());
  if (target != row) pairs.Move(row, target);
  FillBrackets(target);
  Edited();
}

// ---- associations

void TFrmEditModeSetting::AddAssociation() {
  TFrmEditModeAssociation dialog(*modes_, modes_->AssociableModes(), "", "", this);
  if (dialog.exec() != QDialog::Accepted) return;
  modes_->PutAssociation(dialog.Ext(), dialog.Mode());
  FillAssociations();
}

void TFrmEditModeSetting::EditAssociation() {
  QTreeWidgetItem* item = associations_->currentItem();
  const int row = item ? associations_->indexOfTopLevelItem(item) : -1;
  if (row < 0 || row >= modes_->DialogAssociations().Count()) return;
  const TKervEditModeAssociation pair = modes_->DialogAssociations().Items(row);
  TFrmEditModeAssociation dialog(*modes_, modes_->AssociableModes(), pair.ext, pair.mode, this);
  if (dialog.exec() != QDialog::Accepted) return;
  // A changed extension is a new pair; the old one goes.
  if (!EqualsIgnoringAsciiCase(dialog.Ext(), pair.ext)) modes_->DeleteAssociation(pair.ext);
  modes_->PutAssociation(dialog.Ext(), dialog.Mode());
  FillAssociations();
}

void TFrmEditModeSetting::DeleteAssociation() {
  QTreeWidgetItem* item = associations_->currentItem();
  const int row = item ? associations_->indexOfTopLevelItem(item) : -1;
  if (row < 0 || row >= modes_->DialogAssociations().Count()) return;
  modes_->DeleteAssociation(modes_->DialogAssociations().Items(row).ext);
  FillAssociations();
}

// ---- closing

void TFrmEditModeSetting::accept() {
  // Files written before a failure stay written: the window re-reads either way.
  modesChanged_ = true;
  if (!modes_->Commit()) return;
  QDialog::accept();
}

}  // namespace kerv
