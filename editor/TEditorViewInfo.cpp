#include "editor/TEditorViewInfo.h"

namespace kerv {

TEditorViewInfo::TEditorViewInfo() {
  brackets_.SetOnChange([this](TNotifyPersistent*) { Changed(); });
  colors_.SetOnChange([this](TNotifyPersistent*) { Changed(); });
}

void TEditorViewInfo::Assign(const TEditorViewInfo& source) {
  if (&source == this) return;
  TNotifyUpdateBatch batch(*this);
  brackets_.Assign(source.brackets_);
  colors_.Assign(source.colors_);
  commenter_ = source.commenter_;
  controlCode_ = source.controlCode_;
  hexPrefix_ = source.hexPrefix_;
  mail_ = source.mail_;
  quotation_ = source.quotation_;
  url_ = source.url_;
}

}  // namespace kerv
