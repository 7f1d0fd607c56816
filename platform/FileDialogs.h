#pragma once
// The open and save dialogs of documents, with the character-code list (and,
// for saving, the return-code list) added below the platform's dialog.
// Texts and names are UTF-8.

#include <optional>
#include <string>
#include <vector>

namespace kerv {

// One entry of a dialog's filter list: "Text files" with {"*.txt", "*.log"}.
struct TFileFilter {
  std::string name;
  std::vector<std::string> patterns;
  // The extension a name typed without one receives once the user picks this
  // filter (".html" for "*.htm;*.html"); empty for none.
  std::string extension;
};

// A labelled drop-down list and the entry chosen in it (0-based).
struct TDialogChoice {
  std::string label;
  std::vector<std::string> items;
  int index = 0;
};

struct TOpenDialogRequest {
  std::vector<TFileFilter> filters;
  std::string initialFolder;
  bool placesBar = true;       // the side bar of places, where the platform has one
  bool showReadOnly = true;    // the "open read-only" box
  std::string readOnlyLabel;
  TDialogChoice code;
};

struct TOpenDialogResult {
  std::string fileName;  // an existing file
  int codeIndex = 0;
  bool readOnly = false;
};

struct TSaveDialogRequest {
  std::vector<TFileFilter> filters;
  int filterIndex = 0;  // the filter shown first
  std::string initialFolder;
  std::string fileName;  // proposed name, with or without folder
  bool placesBar = true;
  TDialogChoice code;
  TDialogChoice returnCode;
};

struct TSaveDialogResult {
  std::string fileName;  // as typed (the caller applies the filter's extension)
  int codeIndex = 0;
  int returnCodeIndex = 0;
  int filterIndex = 0;         // the filter shown when the dialog closed
  bool filterChanged = false;  // whether the user picked a filter
};

class IFileDialogs {
 public:
  virtual ~IFileDialogs() = default;
  // Nothing when the user cancels. The save dialog asks before it returns
  // the name of an existing file.
  virtual std::optional<TOpenDialogResult> OpenFile(const TOpenDialogRequest& request) = 0;
  virtual std::optional<TSaveDialogResult> SaveFile(const TSaveDialogRequest& request) = 0;
};

}  // namespace kerv
