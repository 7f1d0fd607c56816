#pragma once
#include <deque>
#include <string>
#include <vector>

#include "platform/Dialogs.h"
#include "platform/Launcher.h"

namespace kerv {

// Records every dialog shown and answers from a queue (Yes when it runs dry).
class FakeDialogs : public IDialogs {
 public:
  struct Shown {
    std::string kind;  // "error", "ask", "box", "beep"
    std::string text;
  };
  std::vector<Shown> shown;
  std::deque<Answer> answers;
  // The buttons of the last box shown.
  Buttons lastButtons = Buttons::Ok;

  void ShowStandardError(const std::string& text) override { shown.push_back({"error", text}); }
  bool AskYesNo(const std::string& text, Icon) override {
    shown.push_back({"ask", text});
    return Next() == Answer::Yes;
  }
  Answer MessageBox(const std::string& caption, const std::string& text, Icon, Buttons buttons) override {
    shown.push_back({"box", caption + "|" + text});
    lastButtons = buttons;
    return Next();
  }
  void Beep(Icon) override { shown.push_back({"beep", ""}); }

 private:
  Answer Next() {
    if (answers.empty()) return Answer::Yes;
    Answer answer = answers.front();
    answers.pop_front();
    return answer;
  }
};

// Records the processes it would start; StartProgram fails while failStart is set.
class FakeLauncher : public ILauncher {
 public:
  struct Started {
    std::string program;
    std::vector<std::string> arguments;
  };
  std::vector<std::vector<std::string>> launched;
  std::vector<std::pair<std::string, std::string>> opened;
  std::vector<Started> started;
  bool failStart = false;
  // Set: the desktop has no program to open files with.
  bool failOpen = false;
  std::string failReason = "No such file or directory";
  bool LaunchSelf(const std::vector<std::string>& arguments) override {
    launched.push_back(arguments);
    return true;
  }
  bool ShellOpen(const std::string& target, const std::string& parameters) override {
    opened.emplace_back(target, parameters);
    return !failOpen;
  }
  bool StartProgram(const std::string& program, const std::vector<std::string>& arguments,
                    std::string& error) override {
    started.push_back({program, arguments});
    if (failStart) error = failReason;
    return !failStart;
  }
};

}  // namespace kerv
