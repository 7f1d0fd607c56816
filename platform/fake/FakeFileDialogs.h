#pragma once
#include <deque>
#include <optional>
#include <vector>

#include "platform/FileDialogs.h"

namespace kerv {

// Records the requests and answers from queues (cancel when a queue is empty).
class FakeFileDialogs : public IFileDialogs {
 public:
  std::vector<TOpenDialogRequest> openRequests;
  std::vector<TSaveDialogRequest> saveRequests;
  std::deque<std::optional<TOpenDialogResult>> openAnswers;
  std::deque<std::optional<TSaveDialogResult>> saveAnswers;

  std::optional<TOpenDialogResult> OpenFile(const TOpenDialogRequest& request) override {
    openRequests.push_back(request);
    if (openAnswers.empty()) return std::nullopt;
    auto answer = openAnswers.front();
    openAnswers.pop_front();
    return answer;
  }
  std::optional<TSaveDialogResult> SaveFile(const TSaveDialogRequest& request) override {
    saveRequests.push_back(request);
    if (saveAnswers.empty()) return std::nullopt;
    auto answer = saveAnswers.front();
    saveAnswers.pop_front();
    return answer;
  }
};

}  // namespace kerv
