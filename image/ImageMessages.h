#pragma once
// Every text of the text-to-image converter (UTF-8, byte-exact): the errors
// and questions, the dialog's and the image window's captions and the file
// dialogs' type lists, in one table.

#include <initializer_list>
#include <string>

namespace kerv {

enum class TImageMessage {
  // Errors and notices of the conversion.
  BackgroundNotFound,     // the picture path names no file
  BackgroundOpenFailed,   // the picture could not be read while rendering
  NoOutputFolder,         // continuous conversion without a folder
  NoText,                 // continuous conversion of an empty text
  SaveFailed,             // an image file could not be written
  ContinuousFailed,       // the end of a failed continuous conversion
  ContinuousConfirm,      // question before a continuous conversion; the folder follows
  ContinuousDone,         // information at the end of a continuous conversion
  Converting,             // the small box shown while converting
  ReadFailed,             // a settings file with unreadable contents
  IniSaveFailed,          // kerv.ini could not be written on closing
  ClearQuestion,          // the image window's Clear
  FolderPrompt,           // the folder-selection dialog's prompt
  // Errors of our own (the faults an image file or a name must not reach).
  EmptyImage,             // %1 width, %2 height
  ImageTooLarge,          // %1 width, %2 height
  OutOfMemory,            // %1 width, %2 height
  StemDirective,          // %1 the directive found in the file-name stem
  JpegFailed,             // %1 libjpeg's own text
  JpegReadFailed,         // %1 libjpeg's own text
  PngFailed,              // %1 zlib's own text
  TgsTooShort,            // %1 the file's size in bytes
  SettingsSaveFailed,     // a .tg2 file could not be written
  // Captions.
  DialogCaption,          // TFrm_VuvECnv
  ImageWindowCaption,     // TFrm_ImageWindow
  // The dialog's tabs, groups and controls.
  TabLayout,
  TabDecoration,
  TabContinuous,
  TabText,
  GroupRange,
  RangeAllText,
  RangeSelection,
  GroupAlign,
  AlignLeft,
  AlignCenter,
  AlignRight,
  VAlignCenter,
  GroupSize,
  SizeGiven,
  SizeFitText,
  SizeFitPicture,
  SizeWidth,
  SizeHeight,
  ExpandMargin,
  GroupMargin,
  MarginLeft,
  MarginTop,
  MarginRight,
  MarginBottom,
  FillMargin,
  BackColorLabel,
  FillColorLabel,
  ChangeColorButton,
  UseBackImage,
  BackImagePath,
  TileBackImage,
  FontButton,
  FontColorLabel,         // the font's colour (Qt's font dialog has none)
  ContinuousCheck,
  GroupLineRange,
  FirstLine,
  LastLine,
  GroupOutput,
  FileNameStem,
  NumberHint,             // "000-xxx." beside the stem field
  OutputFolder,
  PreviewButton,
  ShowLineNum,
  ConvertButton,
  CancelButton,
  LoadSettingsButton,
  SaveSettingsButton,
  HelpButton,
  // The image window's menus.
  MenuFile,
  MenuSaveAs,
  MenuClose,
  MenuEdit,
  MenuClear,
  MenuCopy,
  // File dialogs' type lists ("name|pattern|name|pattern").
  SaveImageFilter,
  SettingsSaveFilter,
  SettingsOpenFilter,
  BackgroundFilter,
};

// The UTF-8 text of a message.
const std::string& ImageMessage(TImageMessage id);

// The message with "%1", "%2", ... replaced by the arguments in order; any
// other "%" stays as it stands.
std::string FormatImageMessage(TImageMessage id, std::initializer_list<std::string> arguments);

}  // namespace kerv
