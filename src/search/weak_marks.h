// The words that may not cross one another: which words of each lexicon
// the caller calls weak, marked once per search as a bitset over the
// lexicon's words, and the check that no slot left with weak words only is
// crossed by a slot that may still take a weak word.
#ifndef POLIMREZA_SEARCH_WEAK_MARKS_H_
#define POLIMREZA_SEARCH_WEAK_MARKS_H_

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "grid/grid.h"
#include "search/domain_store.h"
#include "search/problem.h"

namespace polimreza {

class WeakMarks {
 public:
  // Marks the words that `weak` calls weak in the lexicon of every length of
  // two or more letters that `problem` has slots of; a null `weak` marks
  // none and turns the rule off. `tick` as in Problem::Build.
  void Build(const Problem& problem,
             const std::function<bool(std::string_view)>& weak,
             const Problem::Tick& tick);
  // Whether the rule against weak crossings is on.
  bool On() const { return on_; }
  // The weak words of `length` letters as a bitset over the lexicon's words;
  // null when the rule is off or no word of that length is weak.
  const std::uint64_t* Of(unsigned length) const {
    return marks_[length].empty() ? nullptr : marks_[length].data();
  }
  bool IsWeak(unsigned length, std::uint32_t word) const {
    const std::uint64_t* marks = Of(length);
    return marks != nullptr && ((marks[word / 64] >> (word % 64)) & 1);
  }
  // Whether every word left in slot `s` is weak; false when its length has
  // no weak word.
  bool OnlyWeak(const Problem& problem, const DomainStore& store,
                std::uint32_t s) const;
  // Empty when no slot left with weak words only crosses a slot that still
  // has a weak word, else the first such crossing. Walks every slot: for
  // tests.
  std::string Check(const Problem& problem, const DomainStore& store) const;

 private:
  bool on_ = false;
  std::array<std::vector<std::uint64_t>, kMaxEntryLength + 1> marks_;
};

inline bool WeakMarks::OnlyWeak(const Problem& problem,
                                const DomainStore& store,
                                std::uint32_t s) const {
  const std::uint64_t* marks = Of(problem.SlotAt(s).length);
  if (marks == nullptr) return false;
  const SlotState& state = store.State(s);
  const std::uint64_t* d = store.Words(s);
  for (std::uint32_t i = state.lo; i < state.hi; ++i) {
    if (d[i] & ~marks[i]) return false;
  }
  return true;
}

}  // namespace polimreza

#endif  // POLIMREZA_SEARCH_WEAK_MARKS_H_
