#include "search/weak_marks.h"

namespace polimreza {

namespace {

// Words marked between two setup ticks.
constexpr std::uint32_t kWordsPerTick = 4096;

}  // namespace

void WeakMarks::Build(const Problem& problem,
                      const std::function<bool(std::string_view)>& weak,
                      const Problem::Tick& tick) {
  on_ = static_cast<bool>(weak);
  for (std::vector<std::uint64_t>& marks : marks_) marks.clear();
  if (!on_) return;
  // Single squares are no words here: the rule is about words of two or
  // more letters, as the quality report counts them.
  for (unsigned length = 2; length <= kMaxEntryLength; ++length) {
    const std::vector<std::uint32_t>& slots = problem.OfLength(length);
    if (slots.empty()) continue;
    const Lexicon* found = problem.SlotAt(slots.front()).lexicon;
    if (found == nullptr) continue;
    const Lexicon& lexicon = *found;
    std::vector<std::uint64_t> marks(lexicon.Chunks(), 0);
    bool any = false;
    for (std::uint32_t id = 0; id < lexicon.size(); ++id) {
      if (weak(lexicon.Word(id))) {
        marks[id / 64] |= std::uint64_t{1} << (id % 64);
        any = true;
      }
      if (id % kWordsPerTick == kWordsPerTick - 1) tick(kWordsPerTick);
    }
    if (any) marks_[length] = std::move(marks);
  }
}

std::string WeakMarks::Check(const Problem& problem,
                             const DomainStore& store) const {
  for (std::uint32_t s = 0; s < problem.SlotCount(); ++s) {
    if (!OnlyWeak(problem, store, s)) continue;
    const unsigned length = problem.SlotAt(s).length;
    for (unsigned p = 0; p < length; ++p) {
      const std::uint32_t t =
          problem.CellAt(problem.CellOf(s, p)).Other(s).slot;
      if (t == kNone) continue;
      const std::uint64_t* marks = Of(problem.SlotAt(t).length);
      if (marks == nullptr) continue;
      const SlotState& state = store.State(t);
      for (std::uint32_t i = state.lo; i < state.hi; ++i) {
        if (store.Words(t)[i] & marks[i]) {
          return "slot " + std::to_string(t) + ": a weak word crossing slot " +
                 std::to_string(s) + ", left with weak words only";
        }
      }
    }
  }
  return {};
}

}  // namespace polimreza
