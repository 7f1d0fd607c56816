#include "app/TKervParameter.h"

#include <charconv>

#include "app/TKervMessages.h"
#include "app/TKervSystem.h"
#include "document/TKervExceptionStringMaker.h"

namespace kerv {
namespace {

// A whole-string decimal, or 0: "/jabc" jumps to line 0 like any unreadable number.
int IntegerOrZero(const std::string& text) {
  const char* begin = text.data();
  const char* end = text.data() + text.size();
  if (begin != end && *begin == '+') ++begin;
  int value = 0;
  auto [ptr, error] = std::from_chars(begin, end, value);
  return (error == std::errc() && ptr == end && begin != end) ? value : 0;
}

}  // namespace

TKervParameter::TKervParameter(TKervSystem& system, std::vector<std::string> arguments)
    : system_(system), arguments_(std::move(arguments)) {
  Parse();
}

bool TKervParameter::ShowWindowFirst(IFileSystem& fs, const std::string& fileName) {
  return fs.FileSize(fileName) >= kShowWindowFirstBytes;
}

bool TKervParameter::IsOption(IFileSystem& fs, const std::string& argument) {
  if (argument.empty()) return false;
  if (argument[0] == '-') return true;
  if (argument[0] != '/') return false;
  // Absolute paths begin with '/' too: "/b" is an option, "/home/a.txt" or an
  // existing "/b" is a name.
  return argument.find('/', 1) == std::string::npos && !fs.PathExists(argument);
}

void TKervParameter::ParseOption(const std::string& argument) {
  Options += argument + " ";
  OptionList.push_back(argument);
  if (argument.size() < 2) return;
  std::string rest = argument.substr(2);
  switch (argument[1]) {
    case 'b': ReadOnly = true; break;
    case 'c':
      if (!rest.empty()) {
        switch (rest[0]) {
          case 's': CharCode = 1; break;
          case 'j': CharCode = 2; break;
          case 'e': CharCode = 3; break;
          case 'u': CharCode = 4; break;
          case 'b': CharCode = 5; break;
          case '8': CharCode = 6; break;
          case 'n': CharCode = 7; break;
          default: break;
        }
      }
      break;
    case 'e': EditModeName = rest; break;
    case 'j':
      if (rest.rfind('e', 0) == 0) {
        JumpToEnd = true;
      } else if (!rest.empty()) {
        JumpLine = IntegerOrZero(rest);
      }
      break;
    case 'n': ShowMinimized = true; break;
    case 'x': ShowNormal = true; break;
    default: break;
  }
}

void TKervParameter::Parse() {
  IFileSystem& fs = system_.Platform().fs;
  size_t index = 0;
  while (index < arguments_.size() && IsOption(fs, arguments_[index])) ParseOption(arguments_[index++]);
  if (index >= arguments_.size()) return;

  const std::string& first = arguments_[index];
  std::string joined = first;
  for (size_t i = index + 1; i < arguments_.size(); ++i) {
    joined += " " + arguments_[i];
    RestFiles += arguments_[i] + " ";
    RestFileList.push_back(arguments_[i]);
  }

  // A name with blanks that arrived in pieces is taken whole when such a file exists.
  std::string current = fs.CurrentFolder();
  if (RestFileList.size() > 0) {
    std::string joinedPath = fs.ResolveLink(AbsolutePath(joined, current));
    if (fs.FileExists(joinedPath)) {
      FileName = joinedPath;
      RestFiles.clear();
      RestFileList.clear();
      return;
    }
  }

  std::string path = fs.ResolveLink(AbsolutePath(first, current));
  if (fs.PathExists(path)) {
    FileName = path;
    return;
  }
  IDialogs& dialogs = system_.Platform().dialogs;
  std::string question = path + "\r\n" + messages::kFileMissingCreate;
  if (dialogs.MessageBox(messages::kCaptionConfirm, question, IDialogs::Icon::Question, IDialogs::Buttons::YesNo) !=
      IDialogs::Answer::Yes) {
    return;
  }
  try {
    fs.WriteFile(path, std::string_view());
    FileName = path;
  } catch (const EFileError&) {
    system_.ShowErrorCode(10051, path);
  }
}

void TKervParameter::LaunchRest() {
  if (RestFileList.empty()) return;
  // Each option and each name is one argument of its own, so blanks in names survive.
  std::vector<std::string> arguments = OptionList;
  arguments.insert(arguments.end(), RestFileList.begin(), RestFileList.end());
  system_.LaunchNewProcess(arguments);
}

}  // namespace kerv
