#pragma once
// The text-to-image converter ("VuvEコンバーター"): layout, decoration and
// continuous-conversion settings, an editable copy of the document's text,
// a preview, and the two conversions. The document itself is never
// changed. The settings come from kerv.ini when the dialog opens and go
// back there when it closes, in any way.

#include <QDialog>
#include <QImage>
#include <functional>
#include <string>

#include "image/TRasterImage.h"
#include "image/TVuvELayout.h"
#include "image/TVuvESettings.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QSpinBox;
class QTabWidget;

namespace kerv {

class ICodePage;
class IFileSystem;
class IKervInformation;
class IVuvEChoosers;
class TEditor;
class TEditorPropEx;
class TEditorWidget;
class TFrm_ImageWindow;
class TKervSettings;
class TVuvEPreview;

// What the converter needs of its editor window.
struct TVuvEServices {
  IFileSystem& fs;
  ICodePage& codePage;
  IKervInformation& information;
  // kerv.ini: its name and the document-lock rule around every access.
  TKervSettings& settings;
  IVuvEChoosers& choosers;
  // Turns system colours into plain values where files hold plain ones.
  TImageColorResolver resolveColor = nullptr;
  // Turns the font's points into pixels.
  int dotsPerInch = 96;
  std::function<void()> showHelp;
  // The window's image window, made on first use.
  std::function<TFrm_ImageWindow&()> imageWindow;
  // After a single conversion has shown the image window.
  std::function<void()> imageWindowShown;
};

class TFrm_VuvECnv : public QDialog {
  Q_OBJECT

 public:
  // editor is the document's editor: its font, text and selection;
  // paneProperties are what the text pane shows them with.
  TFrm_VuvECnv(TVuvEServices& services, TEditor& editor, const TEditorPropEx& paneProperties,
               QWidget* parent = nullptr);
  ~TFrm_VuvECnv() override;

  // The settings as the controls hold them (with the font and the line range).
  TVuvESettings Settings() const;
  // Sets every control from settings (the width and height fields only in
  // the size mode "任意指定(&R)"), then brings limits, size and preview up
  // to date.
  void ShowSettings(const TVuvESettings& settings);
  // The size a conversion makes now (UpdateImageSize's last result).
  TImageSize ImageSize() const { return imageSize_; }
  // The remembered size of the last picture loaded (0 × 0 before one).
  TImageSize PictureSize() const { return pictureSize_; }
  TEditorWidget& Pane() { return *pane_; }
  TVuvEPreview& Preview() { return *preview_; }

  // Computes the size for the fitted size modes and shows it in the fields.
  void UpdateImageSize();
  void UpdatePreview();
  // Reads the picture at path (trimmed) when it names a file: its size is
  // remembered and its thumbnail shown. Otherwise nothing changes.
  void LoadBackground(const std::string& path);
  // The line fields' limits from the pane's line count.
  void UpdateLineLimits();

  // The buttons.
  void Convert();
  void LoadSettingsFile();
  void SaveSettingsFile();
  void BrowseBackground();
  void ChooseFolder();
  void ChooseFont();
  void ChooseColor(TColor& color);

  // ---- controls
  QTabWidget* Tab_Pages;
  QRadioButton *RB_AllText, *RB_Selection;
  QRadioButton *RB_AlignLeft, *RB_AlignCenter, *RB_AlignRight;
  QCheckBox* Chk_VAlign;
  QRadioButton *RB_SizeGiven, *RB_SizeFitText, *RB_SizeFitPicture;
  QSpinBox *Edt_SizeX, *Edt_SizeY;
  QCheckBox* Chk_ExpMargin;
  QSpinBox *Edt_LeftMargin, *Edt_TopMargin, *Edt_RightMargin, *Edt_BottomMargin;
  QCheckBox* Chk_FillMargin;
  QCheckBox* Chk_UseBackImage;
  QLabel* Lbl_BackImagePath;
  QLineEdit* Edt_BackImagePath;
  QPushButton* Btn_BrowseBackImage;
  QCheckBox* Chk_TileBackImage;
  QLabel* Pbx_Thumbnail;
  QPushButton* Btn_Font;
  QLabel* Lbl_Font;
  QPushButton* Btn_FontColor;
  QLabel *Pnl_FontColor, *Pnl_BackColor, *Pnl_FillColor;
  QPushButton *Btn_BackColor, *Btn_FillColor;
  QCheckBox* Chk_CntCnv;
  QLabel *Lbl_FirstLine, *Lbl_LastLine, *Lbl_FileName, *Lbl_NumberHint, *Lbl_FileType, *Lbl_Folder;
  QSpinBox *Edt_FirstLine, *Edt_LastLine;
  QLineEdit *Edt_FileName, *Edt_Folder;
  QComboBox* Cmb_FileType;
  QPushButton* Btn_Folder;
  QPushButton* Btn_Preview;
  QCheckBox* Chk_ShowLineNum;
  QPushButton *Btn_Convert, *Btn_Cancel, *Btn_LoadSettings, *Btn_SaveSettings, *Btn_Help;

 public slots:
  // Every way of closing writes the settings to kerv.ini first.
  void done(int result) override;
  // Runs the dialog modally until it is closed: a continuous conversion
  // hides it (which ends a modal run) and shows it again afterwards.
  int exec() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* CreateLayoutPage();
  QWidget* CreateDecorationPage();
  QWidget* CreateContinuousPage();
  QWidget* CreateTextPage(TEditor& editor, const TEditorPropEx& paneProperties);
  void ConnectLayoutControls();
  // A layout control changed: enabled states, size and preview.
  void LayoutChanged();
  void UpdateEnabled();
  void ShowFont();
  void ShowColors();

  // Conversions (TFrmVuvECnvConvert.cpp).
  void ConvertSingle();
  void ConvertContinuous();
  // Shows the dialog again after a conversion hid it.
  void ShowAgain();
  // The background-picture check before either conversion; false after its error.
  bool BackgroundFound(const TVuvESettings& settings);
  // The pane's text, and its selection.
  std::string PaneText() const;
  std::string PaneSelection() const;
  int PaneLineCount() const;
  void ReadIniSettings();
  void WriteIniSettings();
  // JPEGQuality as kerv.ini holds it now.
  int CurrentJpegQuality();

  TVuvEServices& services_;
  TEditorWidget* pane_ = nullptr;
  TVuvEPreview* preview_ = nullptr;
  QScrollArea* previewArea_ = nullptr;
  // What the controls do not hold themselves.
  TVuvEFont font_;
  TColor backColor_ = 0xFFFFFF;
  TColor fillColor_ = 0xFFFFFF;
  TImageSize pictureSize_;
  TImageSize imageSize_;
  bool showingSettings_ = false;
  bool iniWritten_ = false;
  bool inExec_ = false;
  bool showAgain_ = false;
};

}  // namespace kerv
