#include "app/TKervProcessManager.h"

#include <algorithm>
#include <cstdint>

namespace kerv {
namespace {

// A copy-data string ends at its first zero byte, as the record it stands for.
std::string CopyDataText(const std::string& text) { return text.substr(0, text.find('\0')); }

int32_t HighHalf(int64_t value) { return static_cast<int32_t>(static_cast<uint64_t>(value) >> 32); }
int32_t LowHalf(int64_t value) { return static_cast<int32_t>(static_cast<uint64_t>(value) & 0xFFFFFFFFu); }
int64_t PackHalves(int32_t high, int32_t low) {
  return static_cast<int64_t>((static_cast<uint64_t>(static_cast<uint32_t>(high)) << 32) | static_cast<uint32_t>(low));
}

}  // namespace

TKervProcessManager::TKervProcessManager(IWindowChannel& channel, IKervWindowPort& port, IFileSystem& fs, int timeoutMs)
    : channel_(channel), port_(port), fs_(fs), timeoutMs_(timeoutMs) {}

TKervProcessManager::~TKervProcessManager() {
  channel_.SetHandler(nullptr);
  channel_.Close();
}

bool TKervProcessManager::AssignNumber() {
  windowNumber_ = 0;
  // Answering starts before the endpoint exists, so that no request finds it mute.
  channel_.SetHandler([this](const TWindowMessage& message) { return HandleMessage(message); });
  try {
    windowNumber_ = channel_.Open([this] {
      int largest = -1;
      for (int peer : channel_.ListPeers()) {
        auto answer = Ask(peer, window_message::kWindowNumber);
        // Clamped so that one above it still fits.
        if (answer && answer->result >= 0)
          largest = std::max(largest, static_cast<int>(std::min<int64_t>(answer->result, INT32_MAX - 1)));
      }
      return largest + 1;
    });
    channelError_.clear();
    return true;
  } catch (const EWindowChannelError& error) {
    channelError_ = error.what();
    windowNumber_ = 0;
    return false;
  }
}

std::optional<TWindowAnswer> TKervProcessManager::Ask(int handle, uint32_t message) {
  TWindowMessage request;
  request.message = message;
  return channel_.Send(handle, request, timeoutMs_);
}

const std::vector<TKervProcessInfo>& TKervProcessManager::Enumerate() {
  // Built apart and swapped in: requests served while waiting may reach code that reads the list.
  std::vector<TKervProcessInfo> list;
  for (int peer : channel_.ListPeers()) {
    auto answer = Ask(peer, window_message::kWindowNumber);
    // No answer (gone, hung, stopped) or a closing window's -1: not running.
    if (answer && answer->result >= 0 && answer->result <= INT32_MAX)
      list.push_back({peer, static_cast<int>(answer->result)});
  }
  if (!closing_) list.push_back({channel_.Number(), windowNumber_});
  std::sort(list.begin(), list.end(), [](const TKervProcessInfo& a, const TKervProcessInfo& b) {
    return a.WindowNumber != b.WindowNumber ? a.WindowNumber < b.WindowNumber : a.handle < b.handle;
  });
  list_ = std::move(list);
  return list_;
}

bool TKervProcessManager::IsThis(const TKervProcessInfo& entry) const {
  return entry.handle == channel_.Number() && entry.WindowNumber == windowNumber_;
}

std::vector<TKervWindowEntry> TKervProcessManager::WindowList() {
  std::vector<TKervWindowEntry> entries;
  const std::vector<TKervProcessInfo> list = Enumerate();
  for (const TKervProcessInfo& info : list) {
    TKervWindowEntry entry;
    entry.WindowNumber = info.WindowNumber;
    if (IsThis(info)) {
      entry.isThis = true;
      entry.fileName = port_.FileName();
      entry.caption = port_.Caption();
    } else {
      auto caption = Ask(info.handle, window_message::kCaption);
      auto fileName = Ask(info.handle, window_message::kFileName);
      if (!caption || !fileName) continue;  // gone since it was listed
      entry.caption = caption->text;
      entry.fileName = fileName->text;
    }
    entries.push_back(std::move(entry));
  }
  return entries;
}

bool TKervProcessManager::IsFirstWindow() {
  const auto& list = Enumerate();
  return !list.empty() && IsThis(list.front());
}

void TKervProcessManager::BringForward(const TKervProcessInfo& entry) {
  Ask(entry.handle, window_message::kRestore);
  Ask(entry.handle, window_message::kBringToFront);
}

std::string TKervProcessManager::ResolvedName(const std::string& name) {
  if (name.empty() || name[0] != '/') return name;
  return fs_.ResolveLink(AbsolutePath(name, "/"));
}

bool TKervProcessManager::IsThisFile(const std::string& name) {
  std::string own = port_.FileName();
  if (name == own) return true;
  // Only full names are resolved: an untitled "NewDoc.txt" names no file.
  if (name.empty() || name[0] != '/' || own.empty() || own[0] != '/') return false;
  return ResolvedName(name) == ResolvedName(own);
}

std::optional<TKervProcessInfo> TKervProcessManager::FindWindowWithFile(const std::string& name) {
  TWindowMessage request;
  request.message = window_message::kCopyData;
  request.kind = copy_data_kind::kIsFileOpen;
  request.text = ResolvedName(name);
  const std::vector<TKervProcessInfo> list = Enumerate();
  for (const TKervProcessInfo& entry : list) {
    if (IsThis(entry)) continue;
    auto answer = channel_.Send(entry.handle, request, timeoutMs_);
    if (answer && answer->result == 1) {
      BringForward(entry);
      return entry;
    }
  }
  return std::nullopt;
}

bool TKervProcessManager::ActivateDialogOwner(int state) {
  const std::vector<TKervProcessInfo> list = Enumerate();
  for (const TKervProcessInfo& entry : list) {
    if (IsThis(entry)) continue;
    auto answer = Ask(entry.handle, window_message::kDialogState);
    if (answer && answer->result == state) {
      BringForward(entry);
      return true;
    }
  }
  return false;
}

void TKervProcessManager::SendToOthers(const TWindowMessage& message) {
  const std::vector<TKervProcessInfo> list = Enumerate();
  for (const TKervProcessInfo& entry : list) {
    if (!IsThis(entry)) channel_.Send(entry.handle, message, timeoutMs_);
  }
}

void TKervProcessManager::PostToOthers(const TWindowMessage& message) {
  // The endpoints, not a fresh list: asking each window its number first
  // would wait on a hung one.
  for (int peer : channel_.ListPeers()) {
    if (peer != channel_.Number()) channel_.Post(peer, message);
  }
}

void TKervProcessManager::NotifyEditModesChanged() {
  TWindowMessage request;
  request.message = window_message::kReloadEditModes;
  PostToOthers(request);
}

void TKervProcessManager::StepWindow(int direction) {
  const std::vector<TKervProcessInfo> list = Enumerate();
  const auto self = std::find_if(list.begin(), list.end(), [this](const TKervProcessInfo& e) { return IsThis(e); });
  if (self == list.end() || list.size() < 2) return;
  const int count = static_cast<int>(list.size());
  const int at = static_cast<int>(self - list.begin());
  BringForward(list[static_cast<size_t>((at + direction + count) % count)]);
}

void TKervProcessManager::NextWindow() { StepWindow(1); }
void TKervProcessManager::PreviousWindow() { StepWindow(-1); }

void TKervProcessManager::ActivateNumber(int windowNumber) {
  if (windowNumber == windowNumber_) return;
  for (const TKervProcessInfo& entry : list_) {
    if (entry.WindowNumber == windowNumber && !IsThis(entry)) {
      BringForward(entry);
      return;
    }
  }
}

std::vector<TScreenRect> ArrangeRects(TArrangeKind kind, int count, const TScreenRect& area, int cascadeStep) {
  std::vector<TScreenRect> rects;
  if (count <= 0 || area.width <= 0 || area.height <= 0) return rects;
  switch (kind) {
    case TArrangeKind::Stacked:
    case TArrangeKind::SideBySide: {
      // Equal shares; the last takes what the division leaves.
      const bool stacked = kind == TArrangeKind::Stacked;
      const int total = stacked ? area.height : area.width;
      const int share = std::max(1, total / count);
      for (int i = 0; i < count; ++i) {
        const int from = i * share;
        const int size = i == count - 1 ? total - from : share;
        rects.push_back(stacked ? TScreenRect{area.left, area.top + from, area.width, size}
                                : TScreenRect{area.left + from, area.top, size, area.height});
      }
      break;
    }
    case TArrangeKind::Cascade: {
      // Each window a step right and down, all of one size that keeps the
      // last inside the area; the steps start again when they would leave it.
      const int step = std::max(1, cascadeStep);
      const int width = std::max(area.width * 2 / 3, std::min(area.width, 200));
      const int height = std::max(area.height * 2 / 3, std::min(area.height, 150));
      const int room = std::max(1, std::min((area.width - width) / step, (area.height - height) / step) + 1);
      for (int i = 0; i < count; ++i) {
        const int k = i % room;
        rects.push_back({area.left + k * step, area.top + k * step, width, height});
      }
      break;
    }
    case TArrangeKind::MinimizeAll:
    case TArrangeKind::RestoreAll:
      break;
  }
  return rects;
}

void TKervProcessManager::Arrange(TArrangeKind kind, const TScreenRect& area, int cascadeStep) {
  const std::vector<TKervProcessInfo> list = Enumerate();
  if (kind == TArrangeKind::MinimizeAll || kind == TArrangeKind::RestoreAll) {
    for (const TKervProcessInfo& entry : list) {
      if (IsThis(entry)) {
        kind == TArrangeKind::MinimizeAll ? port_.Minimize() : port_.Restore();
      } else {
        // Posted: the answer says nothing, and a hung window must not hold the others up.
        TWindowMessage request;
        request.message = kind == TArrangeKind::MinimizeAll ? window_message::kMinimize : window_message::kRestore;
        channel_.Post(entry.handle, request);
      }
    }
    return;
  }
  const std::vector<TScreenRect> rects = ArrangeRects(kind, static_cast<int>(list.size()), area, cascadeStep);
  for (size_t i = 0; i < rects.size(); ++i) {
    const TScreenRect& r = rects[i];
    if (IsThis(list[i])) {
      port_.PlaceWindow(r.left, r.top, r.width, r.height);
      continue;
    }
    // A window cannot move another's on this desktop: each places itself.
    TWindowMessage request;
    request.message = window_message::kPlaceWindow;
    request.wParam = PackHalves(r.left, r.top);
    request.lParam = PackHalves(r.width, r.height);
    channel_.Post(list[i].handle, request);
  }
}

void TKervProcessManager::NotifyHistoryChanged(THistoryKind kind, const std::string& word) {
  if (word.empty()) return;  // an empty word never enters a history
  TWindowMessage request;
  request.message = window_message::kCopyData;
  request.kind = kind == THistoryKind::Search ? copy_data_kind::kSearchWord : copy_data_kind::kReplaceWord;
  request.text = word;
  // A notice: nobody's answer is needed, so a hung window holds nobody up.
  PostToOthers(request);
}

TWindowAnswer TKervProcessManager::HandleMessage(const TWindowMessage& message) {
  namespace msg = window_message;
  TWindowAnswer answer;
  if (message.message == msg::kCopyData) {
    std::string text = CopyDataText(message.text);
    answer.result = 1;
    if (message.kind == copy_data_kind::kIsFileOpen) {
      answer.result = IsThisFile(text) ? 1 : 0;
    } else if (message.kind == copy_data_kind::kSearchWord && !text.empty()) {
      port_.AddSearchHistory(text);
    } else if (message.kind == copy_data_kind::kReplaceWord && !text.empty()) {
      port_.AddReplaceHistory(text);
    }
    return answer;
  }
  if (closing_) {
    if (message.message == msg::kWindowNumber) answer.result = -1;
    return answer;
  }
  switch (message.message) {
    case msg::kWindowNumber:
      answer.result = windowNumber_;
      break;
    case msg::kDialogState:
      answer.result = port_.DialogState();
      break;
    case msg::kMinimize:
      port_.Minimize();
      break;
    case msg::kRestore:
      port_.Restore();
      break;
    case msg::kClose:
      port_.CloseWindow();
      break;
    case msg::kReloadSettings:
      port_.ReloadSettings();
      break;
    case msg::kReloadEditModes:
      port_.ReloadEditModes();
      break;
    case msg::kBringToFront:
      port_.BringToFront();
      break;
    case msg::kCaption:
      answer.text = port_.Caption();
      break;
    case msg::kFileName:
      answer.text = port_.FileName();
      break;
    case msg::kPlaceWindow:
      port_.PlaceWindow(HighHalf(message.wParam), LowHalf(message.wParam), HighHalf(message.lParam),
                        LowHalf(message.lParam));
      break;
    default:
      break;  // kNone and anything unknown: nothing, result 0
  }
  return answer;
}

}  // namespace kerv
