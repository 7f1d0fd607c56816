#pragma once
// The view options that steer the attribute parser and the painter: bracket
// pairs, colours, and the comment, quotation, number and link rules. Edit
// modes assign them as a whole; any change reaches the owner once.

#include <string>

#include "editor/TEditorBracketCollection.h"
#include "editor/TEditorColors.h"
#include "editor/TNotifyPersistent.h"

namespace kerv {

class TEditorViewInfo : public TNotifyPersistent {
 public:
  TEditorViewInfo();

  TEditorBracketCollection& Brackets() { return brackets_; }
  const TEditorBracketCollection& Brackets() const { return brackets_; }
  void SetBrackets(const TEditorBracketCollection& value) { brackets_.Assign(value); }
  TEditorColors& Colors() { return colors_; }
  const TEditorColors& Colors() const { return colors_; }
  void SetColors(const TEditorColors& value) { colors_.Assign(value); }

  const std::string& Commenter() const { return commenter_; }
  void SetCommenter(const std::string& value) { SetAndNotify(commenter_, value); }
  bool ControlCode() const { return controlCode_; }
  void SetControlCode(bool value) { SetAndNotify(controlCode_, value); }
  const std::string& HexPrefix() const { return hexPrefix_; }
  void SetHexPrefix(const std::string& value) { SetAndNotify(hexPrefix_, value); }
  bool Mail() const { return mail_; }
  void SetMail(bool value) { SetAndNotify(mail_, value); }
  // Strings have a one-byte quote: only the first byte of value is kept.
  const std::string& Quotation() const { return quotation_; }
  void SetQuotation(const std::string& value) { SetAndNotify(quotation_, value.substr(0, 1)); }
  bool Url() const { return url_; }
  void SetUrl(bool value) { SetAndNotify(url_, value); }

  // Copies brackets, colours and the six values in one batch.
  void Assign(const TEditorViewInfo& source);

 private:
  TEditorBracketCollection brackets_;
  TEditorColors colors_;
  std::string commenter_;
  bool controlCode_ = false;
  std::string hexPrefix_;
  bool mail_ = false;
  std::string quotation_;
  bool url_ = false;
};

}  // namespace kerv
