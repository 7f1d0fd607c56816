#include "regex/TRE_DFA.h"

#include <algorithm>

#include <cstring>

#include "platform/CodePage.h"

namespace kerv {

// ---- TRECharClassMap ----

TRECharClassMap::TRECharClassMap(const TRE_NFA& nfa) {
  // NUL, LF and CR get classes of their own: NUL ends the subject, the
  // searching automaton treats LF as a line start, and "$" looks at the
  // separators.
  cuts_ = {0, 1, '\n', '\n' + 1, '\r', '\r' + 1, 0x10000};
  for (int state = 0; state < nfa.StateCount(); ++state) {
    for (const TRE_NFATransition& t : nfa.Transitions(state)) {
      if (t.kind != ERETransition::Char) continue;
      cuts_.push_back(t.Low());
      cuts_.push_back(static_cast<uint32_t>(t.High()) + 1);
    }
  }
  std::sort(cuts_.begin(), cuts_.end());
  cuts_.erase(std::unique(cuts_.begin(), cuts_.end()), cuts_.end());
  classCount_ = static_cast<int>(cuts_.size()) - 1;

  classOfIndex_.resize(static_cast<size_t>(kRELeadCount + 1) * 256);
  uint8_t leadOfIndex[kRELeadCount + 1] = {};
  for (int b = 0; b < 256; ++b) {
    if (kRELeadIndex[static_cast<size_t>(b)] != 0) leadOfIndex[kRELeadIndex[static_cast<size_t>(b)]] = static_cast<uint8_t>(b);
  }
  // Codes grow with the index, so one pass over the cuts assigns every class.
  size_t cls = 0;
  for (size_t index = 0; index < classOfIndex_.size(); ++index) {
    uint32_t code = index < 256 ? static_cast<uint32_t>(index)
                                : static_cast<uint32_t>(leadOfIndex[index >> 8]) << 8 | (index & 0xFF);
    while (cuts_[cls + 1] <= code) ++cls;
    classOfIndex_[index] = static_cast<uint16_t>(cls);
  }
}

int TRECharClassMap::ClassOfCode(uint16_t code) const {
  return static_cast<int>(std::upper_bound(cuts_.begin(), cuts_.end(), static_cast<uint32_t>(code)) - cuts_.begin()) - 1;
}

// ---- TRE_NFATables ----

TRE_NFATables::TRE_NFATables(const TRE_NFA& nfa, const TRECharClassMap& classes)
    : chars(static_cast<size_t>(nfa.StateCount())),
      empties(static_cast<size_t>(nfa.StateCount())),
      hasTail(static_cast<size_t>(nfa.StateCount()), 0),
      hasLineHead(nfa.HasLineHead()) {
  for (int state = 0; state < nfa.StateCount(); ++state) {
    for (const TRE_NFATransition& t : nfa.Transitions(state)) {
      switch (t.kind) {
        case ERETransition::Char:
          chars[static_cast<size_t>(state)].push_back({classes.ClassOfCode(t.Low()), classes.ClassOfCode(t.High()), t.target});
          break;
        case ERETransition::Empty:
          empties[static_cast<size_t>(state)].push_back(t.target);
          break;
        case ERETransition::LineHead:
          headTargets.push_back(t.target);
          break;
        case ERETransition::LineTail:
          hasTail[static_cast<size_t>(state)] = 1;
          break;
      }
    }
  }
}

// ---- TRE_DFAStateCache ----

TRE_DFAStateCache::TRE_DFAStateCache(const TRE_NFA& nfa, const TRE_NFATables& tables, const TRECharClassMap& classes,
                                     EMode mode, size_t memoryBudget)
    : tables_(tables),
      classCount_(classes.ClassCount()),
      lineFeedClass_(classes.LineFeedClass()),
      nulClass_(classes.NulClass()),
      mode_(mode),
      memoryBudget_(memoryBudget),
      visited_(nfa.StateCount()) {}

std::vector<int> TRE_DFAStateCache::Members(int32_t state) const {
  size_t index = IndexOf(state);
  const int* first = memberPool_.data() + memberOffset_[index];
  return std::vector<int>(first, first + memberCount_[index]);
}

size_t TRE_DFAStateCache::StateBytes(size_t memberCount) const {
  return memberCount * sizeof(int) + static_cast<size_t>(classCount_) * sizeof(int32_t) + 64;
}

void TRE_DFAStateCache::AddClosure(int nfaState) {
  if (visited_.Contains(nfaState)) return;
  visited_.Include(nfaState);
  scratch_.push_back(nfaState);
  stack_.push_back(nfaState);
  while (!stack_.empty()) {
    int s = stack_.back();
    stack_.pop_back();
    for (int target : tables_.empties[static_cast<size_t>(s)]) {
      if (visited_.Contains(target)) continue;
      visited_.Include(target);
      scratch_.push_back(target);
      stack_.push_back(target);
    }
  }
}

int32_t TRE_DFAStateCache::InitialState(bool lineStart) {
  const int which = lineStart && tables_.hasLineHead ? 1 : 0;
  if (initial_[which] != kUnknown) return initial_[which];
  scratch_.clear();
  AddClosure(TRE_NFA::kEntryState);
  if (which == 1) {
    for (int target : tables_.headTargets) AddClosure(target);
  }
  for (int s : scratch_) visited_.Exclude(s);
  std::sort(scratch_.begin(), scratch_.end());
  std::vector<int> members = scratch_;
  int32_t state = FindOrAdd(members, kUnknown);
  initial_[which] = state;  // FindOrAdd may have flushed: store after it
  return state;
}

int32_t TRE_DFAStateCache::Compute(int32_t state, int cls) {
  scratch_.clear();
  {
    size_t index = IndexOf(state);
    const int* first = memberPool_.data() + memberOffset_[index];
    const int* last = first + memberCount_[index];
    for (const int* m = first; m != last; ++m) {
      for (const TRE_NFATables::CharEdge& edge : tables_.chars[static_cast<size_t>(*m)]) {
        if (edge.classLow <= cls && cls <= edge.classHigh) AddClosure(edge.target);
      }
    }
  }
  if (mode_ == EMode::Searching) {
    AddClosure(TRE_NFA::kEntryState);
    if (cls == lineFeedClass_ && tables_.hasLineHead) {
      for (int target : tables_.headTargets) AddClosure(target);
    }
  }
  for (int s : scratch_) visited_.Exclude(s);

  int32_t target = kDead;
  int32_t source = state;
  if (!scratch_.empty()) {
    std::sort(scratch_.begin(), scratch_.end());
    std::vector<int> members = scratch_;
    target = FindOrAdd(members, state);
    // After a flush the source was added again first, as the first state.
    if (flushedDuringAdd_) source = handles_[0];
  }
  table_[static_cast<size_t>(source >> 2) + static_cast<size_t>(cls)] = target;
  return target;
}

namespace {

uint64_t HashMembers(const std::vector<int>& members) {
  uint64_t hash = 0x9E3779B97F4A7C15ull ^ members.size();
  for (int m : members) {
    hash ^= static_cast<uint64_t>(static_cast<uint32_t>(m));
    hash *= 0xFF51AFD7ED558CCDull;
    hash ^= hash >> 29;
  }
  return hash;
}

}  // namespace

int32_t TRE_DFAStateCache::Find(const std::vector<int>& members, uint64_t hash) const {
  auto [first, last] = byHash_.equal_range(hash);
  for (auto it = first; it != last; ++it) {
    size_t index = IndexOf(it->second);
    if (memberCount_[index] == members.size() &&
        std::equal(members.begin(), members.end(), memberPool_.begin() + static_cast<ptrdiff_t>(memberOffset_[index]))) {
      return it->second;
    }
  }
  return kUnknown;
}

int32_t TRE_DFAStateCache::Add(const std::vector<int>& members, uint64_t hash) {
  int32_t flags = 0;
  for (int m : members) {
    if (m == TRE_NFA::kFinalState) flags |= kAccepting;
    if (tables_.hasTail[static_cast<size_t>(m)]) flags |= kLineTail;
  }
  const size_t row = table_.size();
  const int32_t handle = static_cast<int32_t>(row << 2) | flags;
  handles_.push_back(handle);
  memberOffset_.push_back(memberPool_.size());
  memberCount_.push_back(static_cast<uint32_t>(members.size()));
  memberPool_.insert(memberPool_.end(), members.begin(), members.end());
  table_.resize(row + static_cast<size_t>(classCount_), kUnknown);
  table_[row + static_cast<size_t>(nulClass_)] = kEnd;
  byHash_.emplace(hash, handle);
  memoryUsed_ += StateBytes(members.size());
  peakMemoryUsed_ = std::max(peakMemoryUsed_, memoryUsed_);
  return handle;
}

int32_t TRE_DFAStateCache::FindOrAdd(const std::vector<int>& members, int32_t keepState) {
  flushedDuringAdd_ = false;
  uint64_t hash = HashMembers(members);
  int32_t found = Find(members, hash);
  if (found != kUnknown) return found;
  // Handles are shifted table rows, so the table may not outgrow them either.
  const bool tableFull = table_.size() + static_cast<size_t>(classCount_) > (size_t{1} << 29);
  if ((memoryUsed_ + StateBytes(members.size()) > memoryBudget_ || tableFull) && StateCount() >= kMinStates) {
    std::vector<int> kept;
    if (keepState >= 0) kept = Members(keepState);
    Flush();
    flushedDuringAdd_ = true;
    if (keepState >= 0) {
      int32_t again = Add(kept, HashMembers(kept));
      if (kept == members) return again;
    }
  }
  return Add(members, hash);
}

void TRE_DFAStateCache::Flush() {
  table_.clear();
  handles_.clear();
  memberOffset_.clear();
  memberCount_.clear();
  memberPool_.clear();
  byHash_.clear();
  initial_[0] = initial_[1] = kUnknown;
  memoryUsed_ = 0;
  ++flushCount_;
}

// ---- TRE_DFA ----

TRE_DFA::TRE_DFA(std::unique_ptr<TRE_NFA> nfa, size_t memoryBudget)
    : nfa_(std::move(nfa)),
      classes_(*nfa_),
      tables_(*nfa_, classes_),
      anchored_(*nfa_, tables_, classes_, TRE_DFAStateCache::EMode::Anchored, memoryBudget),
      searching_(*nfa_, tables_, classes_, TRE_DFAStateCache::EMode::Searching, memoryBudget) {}

int TRE_DFA::FirstMatchEnd(const uint8_t* text, const uint8_t* end) {
  const uint8_t* p = text;
  int32_t state = searching_.InitialState(context_.lineStart);
  while (true) {
    if (state & TRE_DFAStateCache::kFlagMask) {
      if (state & TRE_DFAStateCache::kAccepting) return static_cast<int>(p - text);
      if ((p == end && !context_.continues) || (p != end && (*p == separator_ || *p == 0))) {
        return static_cast<int>(p - text);  // "$" holds here
      }
    }
    if (p == end) {
      undecided_ = context_.continues;
      return -1;
    }
    int cls = classes_.NextClass(p, end);
    int32_t next = searching_.Entry(state, cls);
    if (next < 0) {
      if (next == TRE_DFAStateCache::kUnknown) next = searching_.Compute(state, cls);
      if (next < 0) return -1;  // dead, or the NUL that ends the subject ("$" was tried before it)
    }
    state = next;
  }
}

int TRE_DFA::LongestFrom(const uint8_t* text, const uint8_t* end, int start, bool remember) {
  // Short runs are not noted: they cost little, and noting would cost as much.
  constexpr int kUnnotedSteps = 32;
  const uint8_t* p = text + start;
  const bool lineStart = start == 0 ? context_.lineStart : text[start - 1] == '\n';
  int32_t state = anchored_.InitialState(lineStart);
  int last = -1;
  for (int steps = 0;; ++steps) {
    if (state & TRE_DFAStateCache::kFlagMask) {
      // "$" is tried at every step, not only where the run stops, so that a
      // longer alternative that fails later cannot hide it.
      if ((state & TRE_DFAStateCache::kAccepting) || (p == end && !context_.continues) ||
          (p != end && (*p == separator_ || *p == 0))) {
        last = static_cast<int>(p - text);
      }
    }
    if (p == end) {
      // A live run at the end of a window could go on in the bytes beyond it.
      if (context_.continues) undecided_ = true;
      return last;
    }
    if (*p == 0) return last;
    if (remember && steps >= kUnnotedSteps) {
      if (anchored_.FlushCount() != failedGeneration_) {
        failedStates_.clear();
        failedGeneration_ = anchored_.FlushCount();
      }
      int position = static_cast<int>(p - text);
      if (failedStates_.empty()) failedBase_ = position;
      if (position >= failedBase_) {
        size_t slot = static_cast<size_t>(position - failedBase_);
        if (slot < failedStates_.size()) {
          // An earlier run was here in this state and matched nothing later.
          if (failedStates_[slot] == state) return last;
          failedStates_[slot] = state;
        } else {
          failedStates_.resize(slot + 1, TRE_DFAStateCache::kUnknown);
          failedStates_[slot] = state;
        }
      }
    }
    int cls = classes_.NextClass(p, end);
    int32_t next = anchored_.Entry(state, cls);
    if (next < 0) {
      if (next == TRE_DFAStateCache::kUnknown) next = anchored_.Compute(state, cls);
      if (next < 0) return last;  // dead, or the NUL that ends the subject
    }
    state = next;
  }
}

bool TRE_DFA::HasMatch(std::string_view text, uint8_t separator) {
  separator_ = separator;
  context_ = TREMatchContext();
  const uint8_t* bytes = reinterpret_cast<const uint8_t*>(text.data());
  return FirstMatchEnd(bytes, bytes + text.size()) >= 0;
}

bool TRE_DFA::NextMatchingLine(std::string_view text, size_t from, uint8_t separator, size_t& lineStart,
                               size_t& lineEnd) {
  separator_ = separator;
  context_ = TREMatchContext();
  const uint8_t* bytes = reinterpret_cast<const uint8_t*>(text.data());
  const uint8_t* end = bytes + text.size();
  const uint8_t* p = bytes + std::min(from, text.size());
  const uint8_t* line = p;
  auto endsLine = [&](const uint8_t* q) { return *q == '\n' || (*q == '\r' && q + 1 < end && q[1] == '\n'); };
  // The line holding p ends before its LF (and the CR before it).
  auto found = [&](const uint8_t* q) {
    const void* lf = std::memchr(q, '\n', static_cast<size_t>(end - q));
    size_t stop = lf ? static_cast<size_t>(static_cast<const uint8_t*>(lf) - bytes) : text.size();
    if (lf && stop > static_cast<size_t>(line - bytes) && bytes[stop - 1] == '\r') --stop;
    lineStart = static_cast<size_t>(line - bytes);
    lineEnd = stop;
    return true;
  };
  if (p == end) return false;
  int32_t state = searching_.InitialState(true);
  while (true) {
    if (state & TRE_DFAStateCache::kFlagMask) {
      if (state & TRE_DFAStateCache::kAccepting) return found(p);
      if (p == end || *p == separator_ || *p == 0 || endsLine(p)) return found(p);  // "$" holds here
    }
    if (p == end) return false;
    if ((*p == '\n' || *p == '\r') && endsLine(p)) {
      p += *p == '\n' ? 1 : 2;
      if (p == end) return false;
      line = p;
      state = searching_.InitialState(true);
      continue;
    }
    int cls = classes_.NextClassInLine(p, end);
    int32_t next = searching_.Entry(state, cls);
    if (next < 0) {
      if (next == TRE_DFAStateCache::kUnknown) next = searching_.Compute(state, cls);
      if (next < 0) {
        // A NUL ends the line's subject: go on with the next line.
        const void* lf = std::memchr(p, '\n', static_cast<size_t>(end - p));
        if (!lf) return false;
        p = static_cast<const uint8_t*>(lf) + 1;
        if (p == end) return false;
        line = p;
        next = searching_.InitialState(true);
      }
    }
    state = next;
  }
}

bool TRE_DFA::Match(std::string_view text, uint8_t separator, int& start, int& length) {
  return Match(text, separator, start, length, TREMatchContext(), nullptr);
}

bool TRE_DFA::Match(std::string_view text, uint8_t separator, int& start, int& length,
                    const TREMatchContext& context, bool* undecided) {
  separator_ = separator;
  context_ = context;
  undecided_ = false;
  if (undecided) *undecided = false;
  const uint8_t* bytes = reinterpret_cast<const uint8_t*>(text.data());
  const uint8_t* end = bytes + text.size();
  // Every match ends at or after the earliest match end, so the leftmost
  // start lies at or before it; no later start needs trying.
  int earliestEnd = FirstMatchEnd(bytes, end);
  if (earliestEnd < 0) {
    if (undecided) *undecided = undecided_;
    return false;
  }
  failedStates_.clear();
  failedGeneration_ = anchored_.FlushCount();
  for (int s = 0; s <= earliestEnd;) {
    int matchEnd = LongestFrom(bytes, end, s, true);
    if (undecided_) {
      // This start (or the length of its match) depends on bytes past the window.
      if (undecided) *undecided = true;
      return false;
    }
    if (matchEnd >= 0) {
      start = s;
      length = matchEnd - s;
      return true;
    }
    const uint8_t* p = bytes + s;
    if (p == end || *p == 0) break;
    classes_.NextClass(p, end);
    s = static_cast<int>(p - bytes);
  }
  return false;
}

}  // namespace kerv
