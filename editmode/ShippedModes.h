#pragma once
// The edit modes shipped with the program, so that common files are coloured
// on the first start. They are data: kerv_editmode_gen writes them with the
// .em2 writer into editmode/modes/ (committed), together with an editmode.ini
// that associates their extensions; the installed copy seeds a new settings
// folder (TKervEditModeManager::SeedShippedModes).

#include <memory>
#include <string>
#include <vector>

#include "editmode/TEditorProp.h"
#include "platform/FileSystem.h"

namespace kerv {

struct TShippedWords {
  const char* words;  // separated by single spaces; regular expressions by '\n'
  int level;
  int options;  // method bits
};

struct TShippedBracket {
  const char* left;
  const char* right;
  enum Kind { Comment, String } kind;
};

struct TShippedMode {
  const char* name;  // ASCII, so the file name is the same in every code
  const char* comment;
  std::vector<const char*> extensions;
  const char* commenter;
  const char* quotation;
  const char* hexPrefix;
  std::vector<TShippedBracket> brackets;
  std::vector<TShippedWords> words;
  bool softTab = false;
};

const std::vector<TShippedMode>& ShippedModes();
// The factory settings, the shipped palette, and the mode's own rules and words.
std::unique_ptr<TEditorPropEx> BuildShippedMode(const TShippedMode& mode);
// The editmode.ini that associates every shipped extension.
std::string ShippedAssociationText();
// Writes every shipped mode and the editmode.ini into folder; raises EFileError.
void WriteShippedModes(IFileSystem& fs, const std::string& folder);

}  // namespace kerv
