#include "app/image/TFrmVuvECnv.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "app/image/IVuvEChoosers.h"
#include "app/image/TVuvEPreview.h"
#include "editmode/TEditorProp.h"
#include "editor/TEditor.h"
#include "image/ImageMessages.h"
#include "image/TImageOutputType.h"
#include "image/qt/TVuvEConverter.h"
#include "image/qt/TVuvERenderer.h"
#include "platform/CodePage.h"
#include "platform/qt/QtText.h"
#include "ui/TEditorWidget.h"

namespace kerv {
namespace {

QString Text(TImageMessage id) { return Utf8(ImageMessage(id)); }

std::string ToUtf8(const QString& text) { return text.toUtf8().toStdString(); }

QSpinBox* NumberField(QWidget* parent, const char* name, int max) {
  auto* field = new QSpinBox(parent);
  field->setObjectName(QString::fromLatin1(name));
  field->setRange(0, max);
  field->setAccelerated(true);
  return field;
}

QLabel* ColorSwatch(QWidget* parent, const char* name) {
  auto* swatch = new QLabel(parent);
  swatch->setObjectName(QString::fromLatin1(name));
  swatch->setFixedSize(40, 20);
  swatch->setFrameShape(QFrame::Box);
  swatch->setAutoFillBackground(true);
  return swatch;
}

void PaintSwatch(QLabel* swatch, TColor color) {
  QPalette palette = swatch->palette();
  palette.setColor(QPalette::Window, VuvEQColor(color));
  swatch->setPalette(palette);
}

// A label whose mnemonic reaches its field.
QLabel* BuddyLabel(TImageMessage id, QWidget* buddy, QWidget* parent) {
  auto* label = new QLabel(Text(id), parent);
  label->setBuddy(buddy);
  return label;
}

TVuvEFont FontOf(const TEditor& editor) {
  const TEditorFont& source = editor.Font();
  TVuvEFont font;
  font.Name = source.Name();
  font.Size = std::clamp(source.Size(), TVuvESettings::kMinFontSize, TVuvESettings::kMaxFontSize);
  font.Color = source.Color();
  font.Bold = (source.Style() & fsBold) != 0;
  font.Italic = (source.Style() & fsItalic) != 0;
  font.UnderLine = (source.Style() & fsUnderline) != 0;
  font.StrikeOut = (source.Style() & fsStrikeOut) != 0;
  return font;
}

}  // namespace

TFrm_VuvECnv::TFrm_VuvECnv(TVuvEServices& services, TEditor& editor, const TEditorPropEx& paneProperties,
                           QWidget* parent)
    : QDialog(parent), services_(services) {
  setObjectName(QStringLiteral("TFrm_VuvECnv"));
  setWindowTitle(Text(TImageMessage::DialogCaption));
  font_ = FontOf(editor);

  Tab_Pages = new QTabWidget(this);
  Tab_Pages->setObjectName(QStringLiteral("Tab_Pages"));
  Tab_Pages->addTab(CreateLayoutPage(), Text(TImageMessage::TabLayout));
  Tab_Pages->addTab(CreateDecorationPage(), Text(TImageMessage::TabDecoration));
  Tab_Pages->addTab(CreateContinuousPage(), Text(TImageMessage::TabContinuous));
  Tab_Pages->addTab(CreateTextPage(editor, paneProperties), Text(TImageMessage::TabText));

  preview_ = new TVuvEPreview();
  previewArea_ = new QScrollArea(this);
  previewArea_->setObjectName(QStringLiteral("Pnl_Preview"));
  previewArea_->setWidget(preview_);
  previewArea_->setWidgetResizable(false);
  previewArea_->setBackgroundRole(QPalette::Dark);
  previewArea_->setMinimumSize(240, 200);

  auto* buttons = new QHBoxLayout();
  auto button = [this, buttons](TImageMessage id, const char* name) {
    auto* b = new QPushButton(Text(id), this);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    buttons->addWidget(b);
    return b;
  };
  Btn_Convert = button(TImageMessage::ConvertButton, "Btn_Convert");
  Btn_Cancel = button(TImageMessage::CancelButton, "Btn_Cancel");
  buttons->addStretch(1);
  Btn_LoadSettings = button(TImageMessage::LoadSettingsButton, "Btn_LoadSettings");
  Btn_SaveSettings = button(TImageMessage::SaveSettingsButton, "Btn_SaveSettings");
  Btn_Help = button(TImageMessage::HelpButton, "Btn_Help");
  Btn_Convert->setDefault(true);
  connect(Btn_Convert, &QPushButton::clicked, this, [this] { Convert(); });
  connect(Btn_Cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(Btn_LoadSettings, &QPushButton::clicked, this, [this] { LoadSettingsFile(); });
  connect(Btn_SaveSettings, &QPushButton::clicked, this, [this] { SaveSettingsFile(); });
  connect(Btn_Help, &QPushButton::clicked, this, [this] {
    if (services_.showHelp) services_.showHelp();
  });

  auto* body = new QHBoxLayout();
  body->addWidget(Tab_Pages, 0);
  body->addWidget(previewArea_, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(body, 1);
  layout->addLayout(buttons);

  ConnectLayoutControls();
  ReadIniSettings();
  resize(860, 520);
}

TFrm_VuvECnv::~TFrm_VuvECnv() = default;

// ---------------------------------------------------------------- pages

QWidget* TFrm_VuvECnv::CreateLayoutPage() {
  auto* page = new QWidget();
  auto* range = new QGroupBox(Text(TImageMessage::GroupRange), page);
  RB_AllText = new QRadioButton(Text(TImageMessage::RangeAllText), range);
  RB_AllText->setObjectName(QStringLiteral("RB_AllText"));
  RB_Selection = new QRadioButton(Text(TImageMessage::RangeSelection), range);
  RB_Selection->setObjectName(QStringLiteral("RB_Selection"));
  auto* rangeLayout = new QVBoxLayout(range);
  rangeLayout->addWidget(RB_AllText);
  rangeLayout->addWidget(RB_Selection);

  auto* align = new QGroupBox(Text(TImageMessage::GroupAlign), page);
  RB_AlignLeft = new QRadioButton(Text(TImageMessage::AlignLeft), align);
  RB_AlignLeft->setObjectName(QStringLiteral("RB_AlignLeft"));
  RB_AlignCenter = new QRadioButton(Text(TImageMessage::AlignCenter), align);
  RB_AlignCenter->setObjectName(QStringLiteral("RB_AlignCenter"));
  RB_AlignRight = new QRadioButton(Text(TImageMessage::AlignRight), align);
  RB_AlignRight->setObjectName(QStringLiteral("RB_AlignRight"));
  Chk_VAlign = new QCheckBox(Text(TImageMessage::VAlignCenter), align);
  Chk_VAlign->setObjectName(QStringLiteral("Chk_VAlign"));
  auto* alignLayout = new QVBoxLayout(align);
  for (QWidget* w : std::initializer_list<QWidget*>{RB_AlignLeft, RB_AlignCenter, RB_AlignRight, Chk_VAlign}) {
    alignLayout->addWidget(w);
  }

  auto* size = new QGroupBox(Text(TImageMessage::GroupSize), page);
  RB_SizeGiven = new QRadioButton(Text(TImageMessage::SizeGiven), size);
  RB_SizeGiven->setObjectName(QStringLiteral("RB_SizeGiven"));
  RB_SizeFitText = new QRadioButton(Text(TImageMessage::SizeFitText), size);
  RB_SizeFitText->setObjectName(QStringLiteral("RB_SizeFitText"));
  RB_SizeFitPicture = new QRadioButton(Text(TImageMessage::SizeFitPicture), size);
  RB_SizeFitPicture->setObjectName(QStringLiteral("RB_SizeFitPicture"));
  Edt_SizeX = NumberField(size, "Edt_SizeX", TVuvESettings::kMaxSize);
  Edt_SizeY = NumberField(size, "Edt_SizeY", TVuvESettings::kMaxSize);
  Chk_ExpMargin = new QCheckBox(Text(TImageMessage::ExpandMargin), size);
  Chk_ExpMargin->setObjectName(QStringLiteral("Chk_ExpMargin"));
  auto* sizeLayout = new QGridLayout(size);
  sizeLayout->addWidget(RB_SizeGiven, 0, 0, 1, 4);
  sizeLayout->addWidget(BuddyLabel(TImageMessage::SizeWidth, Edt_SizeX, size), 1, 0);
  sizeLayout->addWidget(Edt_SizeX, 1, 1);
  sizeLayout->addWidget(BuddyLabel(TImageMessage::SizeHeight, Edt_SizeY, size), 1, 2);
  sizeLayout->addWidget(Edt_SizeY, 1, 3);
  sizeLayout->addWidget(RB_SizeFitText, 2, 0, 1, 4);
  sizeLayout->addWidget(RB_SizeFitPicture, 3, 0, 1, 4);
  sizeLayout->addWidget(Chk_ExpMargin, 4, 0, 1, 4);

  auto* margin = new QGroupBox(Text(TImageMessage::GroupMargin), page);
  Edt_LeftMargin = NumberField(margin, "Edt_LeftMargin", TVuvESettings::kMaxMargin);
  Edt_TopMargin = NumberField(margin, "Edt_TopMargin", TVuvESettings::kMaxMargin);
  Edt_RightMargin = NumberField(margin, "Edt_RightMargin", TVuvESettings::kMaxMargin);
  Edt_BottomMargin = NumberField(margin, "Edt_BottomMargin", TVuvESettings::kMaxMargin);
  Chk_FillMargin = new QCheckBox(Text(TImageMessage::FillMargin), margin);
  Chk_FillMargin->setObjectName(QStringLiteral("Chk_FillMargin"));
  auto* marginLayout = new QGridLayout(margin);
  marginLayout->addWidget(BuddyLabel(TImageMessage::MarginLeft, Edt_LeftMargin, margin), 0, 0);
  marginLayout->addWidget(Edt_LeftMargin, 0, 1);
  marginLayout->addWidget(BuddyLabel(TImageMessage::MarginTop, Edt_TopMargin, margin), 0, 2);
  marginLayout->addWidget(Edt_TopMargin, 0, 3);
  marginLayout->addWidget(BuddyLabel(TImageMessage::MarginRight, Edt_RightMargin, margin), 1, 0);
  marginLayout->addWidget(Edt_RightMargin, 1, 1);
  marginLayout->addWidget(BuddyLabel(TImageMessage::MarginBottom, Edt_BottomMargin, margin), 1, 2);
  marginLayout->addWidget(Edt_BottomMargin, 1, 3);
  marginLayout->addWidget(Chk_FillMargin, 2, 0, 1, 4);

  auto* grid = new QGridLayout(page);
  grid->addWidget(range, 0, 0);
  grid->addWidget(align, 1, 0);
  grid->addWidget(size, 0, 1);
  grid->addWidget(margin, 1, 1);
  grid->setRowStretch(2, 1);
  return page;
}

QWidget* TFrm_VuvECnv::CreateDecorationPage() {
  auto* page = new QWidget();
  Chk_UseBackImage = new QCheckBox(Text(TImageMessage::UseBackImage), page);
  Chk_UseBackImage->setObjectName(QStringLiteral("Chk_UseBackImage"));
  Edt_BackImagePath = new QLineEdit(page);
  Edt_BackImagePath->setObjectName(QStringLiteral("Edt_BackImagePath"));
  Edt_BackImagePath->setMaxLength(static_cast<int>(TVuvESettings::kMaxPathChars));
  Lbl_BackImagePath = BuddyLabel(TImageMessage::BackImagePath, Edt_BackImagePath, page);
  Lbl_BackImagePath->setObjectName(QStringLiteral("Lbl_BackImagePath"));
  Btn_BrowseBackImage = new QPushButton(QStringLiteral("..."), page);
  Btn_BrowseBackImage->setObjectName(QStringLiteral("Btn_BrowseBackImage"));
  Btn_BrowseBackImage->setAutoDefault(false);
  Chk_TileBackImage = new QCheckBox(Text(TImageMessage::TileBackImage), page);
  Chk_TileBackImage->setObjectName(QStringLiteral("Chk_TileBackImage"));
  Pbx_Thumbnail = new QLabel(page);
  Pbx_Thumbnail->setObjectName(QStringLiteral("Pbx_Thumbnail"));
  Pbx_Thumbnail->setFixedSize(96, 96);
  Pbx_Thumbnail->setFrameShape(QFrame::Box);
  Pbx_Thumbnail->setAlignment(Qt::AlignCenter);

  Btn_Font = new QPushButton(Text(TImageMessage::FontButton), page);
  Btn_Font->setObjectName(QStringLiteral("Btn_Font"));
  Btn_Font->setAutoDefault(false);
  Lbl_Font = new QLabel(page);
  Lbl_Font->setObjectName(QStringLiteral("Lbl_Font"));
  Pnl_FontColor = ColorSwatch(page, "Pnl_FontColor");
  Pnl_BackColor = ColorSwatch(page, "Pnl_BackColor");
  Pnl_FillColor = ColorSwatch(page, "Pnl_FillColor");
  auto change = [page](const char* name) {
    auto* b = new QPushButton(Text(TImageMessage::ChangeColorButton), page);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
  };
  Btn_FontColor = change("Btn_FontColor");
  Btn_BackColor = change("Btn_BackColor");
  Btn_FillColor = change("Btn_FillColor");

  auto* grid = new QGridLayout(page);
  int row = 0;
  grid->addWidget(Chk_UseBackImage, row++, 0, 1, 4);
  grid->addWidget(Lbl_BackImagePath, row++, 0, 1, 4);
  grid->addWidget(Edt_BackImagePath, row, 0, 1, 3);
  grid->addWidget(Btn_BrowseBackImage, row++, 3);
  grid->addWidget(Chk_TileBackImage, row, 0, 1, 2);
  grid->addWidget(Pbx_Thumbnail, row++, 2, 1, 2, Qt::AlignRight);
  grid->addWidget(Btn_Font, row, 0);
  grid->addWidget(Lbl_Font, row++, 1, 1, 3);
  grid->addWidget(new QLabel(Text(TImageMessage::FontColorLabel), page), row, 0);
  grid->addWidget(Pnl_FontColor, row, 1);
  grid->addWidget(Btn_FontColor, row++, 2);
  grid->addWidget(new QLabel(Text(TImageMessage::BackColorLabel), page), row, 0);
  grid->addWidget(Pnl_BackColor, row, 1);
  grid->addWidget(Btn_BackColor, row++, 2);
  grid->addWidget(new QLabel(Text(TImageMessage::FillColorLabel), page), row, 0);
  grid->addWidget(Pnl_FillColor, row, 1);
  grid->addWidget(Btn_FillColor, row++, 2);
  grid->setRowStretch(row, 1);
  grid->setColumnStretch(1, 1);
  return page;
}

QWidget* TFrm_VuvECnv::CreateContinuousPage() {
  auto* page = new QWidget();
  Chk_CntCnv = new QCheckBox(Text(TImageMessage::ContinuousCheck), page);
  Chk_CntCnv->setObjectName(QStringLiteral("Chk_CntCnv"));

  auto* lines = new QGroupBox(Text(TImageMessage::GroupLineRange), page);
  Edt_FirstLine = NumberField(lines, "Edt_FirstLine", TVuvESettings::kMaxLineField);
  Edt_LastLine = NumberField(lines, "Edt_LastLine", TVuvESettings::kMaxLineField);
  Lbl_FirstLine = BuddyLabel(TImageMessage::FirstLine, Edt_FirstLine, lines);
  Lbl_LastLine = BuddyLabel(TImageMessage::LastLine, Edt_LastLine, lines);
  auto* linesLayout = new QGridLayout(lines);
  linesLayout->addWidget(Lbl_FirstLine, 0, 0);
  linesLayout->addWidget(Edt_FirstLine, 0, 1);
  linesLayout->addWidget(Lbl_LastLine, 1, 0);
  linesLayout->addWidget(Edt_LastLine, 1, 1);
  linesLayout->setColumnStretch(2, 1);

  auto* output = new QGroupBox(Text(TImageMessage::GroupOutput), page);
  Edt_FileName = new QLineEdit(output);
  Edt_FileName->setObjectName(QStringLiteral("Edt_FileName"));
  Edt_FileName->setMaxLength(static_cast<int>(TVuvESettings::kMaxStemChars));
  Lbl_FileName = BuddyLabel(TImageMessage::FileNameStem, Edt_FileName, output);
  Lbl_NumberHint = new QLabel(Text(TImageMessage::NumberHint), output);
  Lbl_NumberHint->setObjectName(QStringLiteral("Lbl_NumberHint"));
  Cmb_FileType = new QComboBox(output);
  Cmb_FileType->setObjectName(QStringLiteral("Cmb_FileType"));
  for (const TImageOutputType& type : ImageOutputTypes()) Cmb_FileType->addItem(Utf8(type.comboItem));
  Lbl_FileType = new QLabel(output);
  Lbl_FileType->setBuddy(Cmb_FileType);
  Edt_Folder = new QLineEdit(output);
  Edt_Folder->setObjectName(QStringLiteral("Edt_Folder"));
  Edt_Folder->setMaxLength(static_cast<int>(TVuvESettings::kMaxPathChars));
  Lbl_Folder = BuddyLabel(TImageMessage::OutputFolder, Edt_Folder, output);
  Btn_Folder = new QPushButton(QStringLiteral("..."), output);
  Btn_Folder->setObjectName(QStringLiteral("Btn_Folder"));
  Btn_Folder->setAutoDefault(false);
  auto* outputLayout = new QGridLayout(output);
  outputLayout->addWidget(Lbl_FileName, 0, 0, 1, 3);
  outputLayout->addWidget(Edt_FileName, 1, 0);
  outputLayout->addWidget(Lbl_NumberHint, 1, 1);
  outputLayout->addWidget(Cmb_FileType, 1, 2);
  outputLayout->addWidget(Lbl_Folder, 2, 0, 1, 3);
  outputLayout->addWidget(Edt_Folder, 3, 0, 1, 2);
  outputLayout->addWidget(Btn_Folder, 3, 2);
  outputLayout->setColumnStretch(0, 1);

  auto* layout = new QVBoxLayout(page);
  layout->addWidget(Chk_CntCnv);
  layout->addWidget(lines);
  layout->addWidget(output);
  layout->addStretch(1);
  return page;
}

QWidget* TFrm_VuvECnv::CreateTextPage(TEditor& editor, const TEditorPropEx& paneProperties) {
  auto* page = new QWidget();
  pane_ = new TEditorWidget(services_.codePage, page);
  pane_->setObjectName(QStringLiteral("Edt_Text"));
  TEditor& text = pane_->Editor();
  paneProperties.AssignTo(text);
  text.SetScrollBars(ssBoth);
  text.Marks().EofMark().SetVisible(false);
  text.Marks().Underline().SetVisible(false);
  // Loaded, not set as lines: a last line without a line break stays without one.
  text.Lines().LoadText(editor.RowStore().GetText());
  if (editor.SelLength() > 0) {
    text.SetSelStart(editor.SelStart());
    text.SetSelLength(editor.SelLength());
  }
  pane_->installEventFilter(this);

  Btn_Preview = new QPushButton(Text(TImageMessage::PreviewButton), page);
  Btn_Preview->setObjectName(QStringLiteral("Btn_Preview"));
  Btn_Preview->setAutoDefault(false);
  Chk_ShowLineNum = new QCheckBox(Text(TImageMessage::ShowLineNum), page);
  Chk_ShowLineNum->setObjectName(QStringLiteral("Chk_ShowLineNum"));
  auto* row = new QHBoxLayout();
  row->addWidget(Btn_Preview);
  row->addWidget(Chk_ShowLineNum);
  row->addStretch(1);
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(pane_, 1);
  layout->addLayout(row);
  return page;
}

void TFrm_VuvECnv::ConnectLayoutControls() {
  auto changed = [this] { LayoutChanged(); };
  for (QRadioButton* b : {RB_AllText, RB_Selection, RB_AlignLeft, RB_AlignCenter, RB_AlignRight, RB_SizeGiven,
                          RB_SizeFitText, RB_SizeFitPicture}) {
    connect(b, &QRadioButton::toggled, this, [this](bool on) {
      if (on) LayoutChanged();
    });
  }
  for (QCheckBox* c : {Chk_VAlign, Chk_ExpMargin, Chk_FillMargin, Chk_UseBackImage, Chk_TileBackImage, Chk_CntCnv}) {
    connect(c, &QCheckBox::toggled, this, changed);
  }
  for (QSpinBox* s : {Edt_SizeX, Edt_SizeY, Edt_LeftMargin, Edt_TopMargin, Edt_RightMargin, Edt_BottomMargin}) {
    connect(s, &QSpinBox::valueChanged, this, changed);
  }
  for (QSpinBox* s : {Edt_FirstLine, Edt_LastLine}) {
    connect(s, &QSpinBox::valueChanged, this, [this] {
      if (showingSettings_) return;
      UpdateLineLimits();
      LayoutChanged();
    });
  }
  connect(Edt_BackImagePath, &QLineEdit::editingFinished, this, [this] {
    LoadBackground(ToUtf8(Edt_BackImagePath->text()));
    LayoutChanged();
  });
  connect(Btn_BrowseBackImage, &QPushButton::clicked, this, [this] { BrowseBackground(); });
  connect(Btn_Font, &QPushButton::clicked, this, [this] { ChooseFont(); });
  connect(Btn_FontColor, &QPushButton::clicked, this, [this] { ChooseColor(font_.Color); });
  connect(Btn_BackColor, &QPushButton::clicked, this, [this] { ChooseColor(backColor_); });
  connect(Btn_FillColor, &QPushButton::clicked, this, [this] { ChooseColor(fillColor_); });
  connect(Btn_Folder, &QPushButton::clicked, this, [this] { ChooseFolder(); });
  connect(Btn_Preview, &QPushButton::clicked, this, [this] {
    UpdateLineLimits();
    UpdateImageSize();
    UpdatePreview();
  });
  connect(Chk_ShowLineNum, &QCheckBox::toggled, this, [this](bool on) { pane_->Editor().Leftbar().SetVisible(on); });
}

// ---------------------------------------------------------------- settings and controls

TVuvESettings TFrm_VuvECnv::Settings() const {
  TVuvESettings s;
  s.AllText = !RB_Selection->isChecked();
  s.TextAlign = RB_AlignCenter->isChecked()  ? TVuvEAlign::Center
                : RB_AlignRight->isChecked() ? TVuvEAlign::Right
                                             : TVuvEAlign::Left;
  s.TextVAlign = Chk_VAlign->isChecked();
  s.SizeSetType = RB_SizeGiven->isChecked()        ? TVuvESizeMode::Given
                  : RB_SizeFitPicture->isChecked() ? TVuvESizeMode::FitPicture
                                                   : TVuvESizeMode::FitText;
  s.SizeX = Edt_SizeX->value();
  s.SizeY = Edt_SizeY->value();
  s.ExpMargin = Chk_ExpMargin->isChecked();
  s.LeftMargin = Edt_LeftMargin->value();
  s.TopMargin = Edt_TopMargin->value();
  s.RightMargin = Edt_RightMargin->value();
  s.BottomMargin = Edt_BottomMargin->value();
  s.FillMargin = Chk_FillMargin->isChecked();
  s.BackColor = backColor_;
  s.FillColor = fillColor_;
  s.UseBackImage = Chk_UseBackImage->isChecked();
  s.BackImagePath = ToUtf8(Edt_BackImagePath->text());
  s.TileBackImage = Chk_TileBackImage->isChecked();
  s.Font = font_;
  s.CntCnv = Chk_CntCnv->isChecked();
  s.CntCnv_FileName = ToUtf8(Edt_FileName->text());
  s.CntCnv_FileType = std::max(0, Cmb_FileType->currentIndex());
  s.CntCnv_Foldor = ToUtf8(Edt_Folder->text());
  s.ShowLineNum = Chk_ShowLineNum->isChecked();
  s.FirstLine = Edt_FirstLine->value();
  s.LastLine = Edt_LastLine->value();
  return s;
}

void TFrm_VuvECnv::ShowSettings(const TVuvESettings& s) {
  showingSettings_ = true;
  (s.AllText ? RB_AllText : RB_Selection)->setChecked(true);
  (s.TextAlign == TVuvEAlign::Center  ? RB_AlignCenter
   : s.TextAlign == TVuvEAlign::Right ? RB_AlignRight
                                      : RB_AlignLeft)
      ->setChecked(true);
  Chk_VAlign->setChecked(s.TextVAlign);
  (s.SizeSetType == TVuvESizeMode::Given        ? RB_SizeGiven
   : s.SizeSetType == TVuvESizeMode::FitPicture ? RB_SizeFitPicture
                                                : RB_SizeFitText)
      ->setChecked(true);
  Edt_SizeX->setValue(s.SizeX);
  Edt_SizeY->setValue(s.SizeY);
  Chk_ExpMargin->setChecked(s.ExpMargin);
  Edt_LeftMargin->setValue(s.LeftMargin);
  Edt_TopMargin->setValue(s.TopMargin);
  Edt_RightMargin->setValue(s.RightMargin);
  Edt_BottomMargin->setValue(s.BottomMargin);
  Chk_FillMargin->setChecked(s.FillMargin);
  backColor_ = s.BackColor;
  fillColor_ = s.FillColor;
  Chk_UseBackImage->setChecked(s.UseBackImage);
  Edt_BackImagePath->setText(Utf8(s.BackImagePath));
  Chk_TileBackImage->setChecked(s.TileBackImage);
  font_ = s.Font;
  Chk_CntCnv->setChecked(s.CntCnv);
  Edt_FileName->setText(Utf8(s.CntCnv_FileName));
  Cmb_FileType->setCurrentIndex(std::clamp(s.CntCnv_FileType, 0, kImageOutputTypeCount - 1));
  Edt_Folder->setText(Utf8(s.CntCnv_Foldor));
  Chk_ShowLineNum->setChecked(s.ShowLineNum);
  pane_->Editor().Leftbar().SetVisible(s.ShowLineNum);
  Edt_FirstLine->setMaximum(TVuvESettings::kMaxLineField);
  Edt_LastLine->setMaximum(TVuvESettings::kMaxLineField);
  Edt_LastLine->setValue(s.LastLine);
  Edt_FirstLine->setValue(s.FirstLine);
  showingSettings_ = false;
  ShowFont();
  ShowColors();
  UpdateLineLimits();
  LayoutChanged();
}

void TFrm_VuvECnv::ShowFont() {
  QString style;
  if (font_.Bold) style += QStringLiteral(" Bold");
  if (font_.Italic) style += QStringLiteral(" Italic");
  Lbl_Font->setText(SjisToQString(services_.codePage, font_.Name) + QStringLiteral(" %1pt").arg(font_.Size) + style);
}

void TFrm_VuvECnv::ShowColors() {
  PaintSwatch(Pnl_FontColor, font_.Color);
  PaintSwatch(Pnl_BackColor, backColor_);
  PaintSwatch(Pnl_FillColor, fillColor_);
}

void TFrm_VuvECnv::LayoutChanged() {
  if (showingSettings_) return;
  UpdateEnabled();
  UpdateImageSize();
  UpdatePreview();
}

void TFrm_VuvECnv::UpdateEnabled() {
  const bool picture = Chk_UseBackImage->isChecked();
  for (QWidget* w : std::initializer_list<QWidget*>{Lbl_BackImagePath, Edt_BackImagePath, Btn_BrowseBackImage,
                                                    Chk_TileBackImage, RB_SizeFitPicture}) {
    w->setEnabled(picture);
  }
  const bool given = RB_SizeGiven->isChecked();
  Edt_SizeX->setEnabled(given);
  Edt_SizeY->setEnabled(given);
  const bool continuous = Chk_CntCnv->isChecked();
  for (QWidget* w : std::initializer_list<QWidget*>{Lbl_FirstLine, Lbl_LastLine, Edt_FirstLine, Edt_LastLine,
                                                    Lbl_FileName, Lbl_NumberHint, Edt_FileName, Cmb_FileType,
                                                    Lbl_Folder, Edt_Folder, Btn_Folder}) {
    w->setEnabled(continuous);
  }
}

void TFrm_VuvECnv::UpdateImageSize() {
  const TVuvESettings s = Settings();
  if (s.SizeSetType == TVuvESizeMode::Given) {
    imageSize_ = TImageSize{s.SizeX, s.SizeY};
    return;
  }
  TVuvEConverter converter(services_.fs, services_.codePage, s, services_.dotsPerInch);
  converter.SetPictureSize(pictureSize_);
  imageSize_ = converter.ImageSize(converter.ToText(TextToMeasure(s, PaneText(), PaneSelection())));
  // The fields show the size; one beyond their range is refused when the
  // image is made, never clipped silently.
  const QSignalBlocker blockX(Edt_SizeX);
  const QSignalBlocker blockY(Edt_SizeY);
  Edt_SizeX->setValue(std::clamp(imageSize_.width, 0, TVuvESettings::kMaxSize));
  Edt_SizeY->setValue(std::clamp(imageSize_.height, 0, TVuvESettings::kMaxSize));
}

void TFrm_VuvECnv::UpdatePreview() {
  const TVuvESettings s = Settings();
  const std::string text = TextToMeasure(s, PaneText(), PaneSelection());
  const QString shown = SjisToQString(services_.codePage, text);
  const QFont font = VuvEQFont(SjisToQString(services_.codePage, s.Font.Name), s.Font, services_.dotsPerInch);
  preview_->SetContent(s, font, imageSize_, shown, text.find_first_of("\r\n") == std::string::npos);
}

void TFrm_VuvECnv::UpdateLineLimits() {
  const TLineRangeLimits limits = LineRangeLimits(PaneLineCount(), Edt_FirstLine->value(), Edt_LastLine->value());
  const QSignalBlocker blockFirst(Edt_FirstLine);
  const QSignalBlocker blockLast(Edt_LastLine);
  Edt_FirstLine->setRange(limits.firstMin, limits.firstMax);
  Edt_LastLine->setRange(limits.lastMin, limits.lastMax);
  Edt_FirstLine->setValue(limits.first);
  Edt_LastLine->setValue(limits.last);
}

void TFrm_VuvECnv::LoadBackground(const std::string& path) {
  const std::string trimmed = TrimmedPicturePath(path);
  if (trimmed.empty() || !services_.fs.FileExists(trimmed)) return;
  QImage picture;
  try {
    picture = ReadBackgroundPicture(services_.fs, trimmed);
  } catch (const std::exception&) {
    // A picture that cannot be read changes nothing here; the conversion says why.
    return;
  }
  pictureSize_ = TImageSize{picture.width(), picture.height()};
  Pbx_Thumbnail->setPixmap(QPixmap::fromImage(
      picture.scaled(Pbx_Thumbnail->size() - QSize(4, 4), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

// ---------------------------------------------------------------- choosers

void TFrm_VuvECnv::BrowseBackground() {
  const std::optional<std::string> path =
      services_.choosers.OpenFile(ImageMessage(TImageMessage::BackgroundFilter), ToUtf8(Edt_BackImagePath->text()));
  if (!path) return;
  Edt_BackImagePath->setText(Utf8(*path));
  LoadBackground(*path);
  LayoutChanged();
}

void TFrm_VuvECnv::ChooseFolder() {
  const std::optional<std::string> folder =
      services_.choosers.ChooseFolder(ImageMessage(TImageMessage::FolderPrompt), ToUtf8(Edt_Folder->text()));
  if (folder) Edt_Folder->setText(Utf8(*folder));
}

void TFrm_VuvECnv::ChooseFont() {
  const std::optional<TVuvEFont> chosen = services_.choosers.ChooseFont(font_);
  if (!chosen) return;
  font_ = *chosen;
  ShowFont();
  LayoutChanged();
}

void TFrm_VuvECnv::ChooseColor(TColor& color) {
  const std::optional<TColor> chosen = services_.choosers.ChooseColor(color);
  if (!chosen) return;
  color = *chosen;
  ShowColors();
  LayoutChanged();
}

// ---------------------------------------------------------------- the pane

std::string TFrm_VuvECnv::PaneText() const { return pane_->Editor().RowStore().GetText(); }

std::string TFrm_VuvECnv::PaneSelection() const { return pane_->Editor().SelText(); }

int TFrm_VuvECnv::PaneLineCount() const {
  const std::string text = PaneText();
  int lines = 1;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' || (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n'))) ++lines;
  }
  return lines;
}

bool TFrm_VuvECnv::eventFilter(QObject* watched, QEvent* event) {
  // The text may have changed while the pane had the focus.
  if (watched == pane_ && event->type() == QEvent::FocusOut) {
    UpdateLineLimits();
    UpdateImageSize();
    UpdatePreview();
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace kerv
