#pragma once
// The texts printing shows to the user (UTF-8, byte-exact), in one table:
// the progress and preview windows, the print dialog, and the errors of
// layout and print jobs.

namespace kerv {

enum class TPrintMessage {
  ProgressPrinting,       // progress text of Print
  ProgressPreviewing,     // progress text of Preview
  ProgressCaption,        // caption of the progress window
  ProgressCancel,         // its button
  PrinterUnknown,         // PrinterName when the name cannot be read
  PreviewCaption,         // caption of the preview window
  PreviewFitHeight,
  PreviewFitWidth,
  PreviewActualSize,
  PreviewClose,
  DialogCaption,          // TFrm_Print
  UseEditorFont,          // check box
  FontButton,
  PrinterButton,
  MarginGroup,
  MarginTop,
  MarginBottom,
  MarginLeft,
  MarginRight,
  ColumnGroup,
  ColumnCountLabel,
  ColumnSpaceLabel,
  MillimetreUnit,
  HeaderLabel,
  FooterLabel,
  AlignNone,              // alignment combo, index = TStringsPrinterHeaderAlign ordinal
  AlignLeft,
  AlignCenter,
  AlignRight,
  LineNumberBox,
  CopiesLabel,
  CopiesUnit,
  CollateBox,
  SpecialButton,          // "←特殊" beside the header and footer fields
  VariablePage,           // the items of its menu
  VariableYear,
  VariableMonth,
  VariableDay,
  VariableTime,
  VariableFileName,
  VariableFullPath,
  PreviewButton,
  PrintButton,
  CancelButton,
  HelpButton,
  FontLabelName,          // "フォント名: " + name + FontLabelSize + points
  FontLabelSize,
  PrinterLabel,           // + PrinterName
  PrinterSetupFailed,
  PdfPrinterName,         // the printer label while pages go to a PDF file
  PdfSaveCaption,         // the save dialog that names the PDF file
  PdfFilter,
  PreviewPrint,           // the preview's button that prints its pages
  PreviewMore,            // after the page count while pages are still being laid out
  // Layout and job errors (EPrintError).
  NoRoomForText,          // the text box has no width
  NoRoomForRow,           // the body is lower than one row
  PrintStartFailed,       // drawing on the printer or PDF could not begin
  PrintPageFailed,        // a new page could not be started
  PrintEndFailed,         // the job could not be finished (file not written)
};

// The UTF-8 text of a message.
const char* PrintMessage(TPrintMessage id);

}  // namespace kerv
