#pragma once
// Shared by the edit-mode tests: golden files, a user that answers from a
// script and records what it was shown, and Shift_JIS literals.

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "editmode/TKervEditModeManager.h"

namespace kerv::test {

std::vector<std::string> Lines(const std::string& text);
std::string Sjis(const std::string& utf8);

bool ReadTestFile(const std::string& path, std::string& text);
std::string GoldenPath(const std::string& name);
// Compares actual with golden/<name>; on a difference writes golden/<name>.actual
// for review. KERV_UPDATE_GOLDEN=1 rewrites the expectation.
void ExpectGolden(const std::string& name, const std::string& actual);

class ScriptedUser : public IEditModeUser {
 public:
  void NoticeError(const std::string& text) override { shown.push_back("notice: " + text); }
  void ShowError(const std::string& text) override { shown.push_back("error: " + text); }
  void ShowErrorCode(int code, const std::optional<std::string>& argument) override {
    shown.push_back("code " + std::to_string(code) + (argument ? ": " + *argument : std::string()));
  }
  bool Confirm(const std::string& text) override {
    shown.push_back("ask: " + text);
    if (answers.empty()) return true;
    bool answer = answers.front();
    answers.pop_front();
    return answer;
  }
  void RefuseName(const std::string& text) override { shown.push_back("refused: " + text); }

  std::deque<bool> answers;  // Confirm answers in order; Yes when empty
  std::vector<std::string> shown;
};

}  // namespace kerv::test
