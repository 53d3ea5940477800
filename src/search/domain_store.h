// The changing state of the complete search: every slot's candidate words,
// every cell's letter set, and the one trail that undoes changes to both on
// backtracking. Knows the fixed problem, nothing of how the search decides.
#ifndef POLIMREZA_SEARCH_DOMAIN_STORE_H_
#define POLIMREZA_SEARCH_DOMAIN_STORE_H_

#include <bit>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "search/lexicon.h"
#include "search/problem.h"

namespace polimreza {

// What a slot's domain looks like from outside its bitset.
struct SlotState {
  std::uint32_t lo = 0;     // chunks outside [lo, hi) are all zero
  std::uint32_t hi = 0;     // (a bound, not always tight)
  std::uint32_t count = 0;  // words in the bitset, as of its last revision
  std::uint32_t fixed = 0;  // 1 once a revision found a single word
  std::uint64_t stamp = 0;  // the level that last saved it (see Save)
};

// A cell's letters and the level that last saved them.
struct CellState {
  LetterSet set;
  std::uint64_t stamp = 0;
};

// Where the state stood: undoing to it restores it exactly.
struct StoreMark {
  std::size_t trail = 0;  // entries on the trail
  std::size_t fixed = 0;  // slots fixed
};

// Levels. Every decision opens a level with a number never used before, and
// every change saves what it overwrites on the trail at most once per level:
// a slot or cell whose stamp is the current level was saved already. Fresh
// numbers (rather than depths) keep a stamp from an undone level from ever
// matching a later one. Level 0 is the root: its changes hold in every fill,
// nothing ever undoes them, and so nothing is saved for them.
class DomainStore {
 public:
  // The initial state of `problem`: every slot holds the words that fit its
  // given letters, every open cell every letter. Gives the first slot left
  // with no word, or kNone. `tick` as in Problem::Build.
  std::uint32_t Reset(const Problem& problem, const Problem::Tick& tick);

  const SlotState& State(std::uint32_t s) const { return slots_[s]; }
  const std::uint64_t* Words(std::uint32_t s) const {
    return pool_.data() + problem_->SlotAt(s).domain;
  }
  bool Has(std::uint32_t s, std::uint32_t word) const {
    return (Words(s)[word / 64] >> (word % 64)) & 1;
  }
  // The slot's first word within its bounds; kNone when it has none.
  std::uint32_t FirstWord(std::uint32_t s) const;
  const LetterSet& Letters(std::uint32_t c) const { return cells_[c].set; }
  // The fixed slots, in the order they were fixed.
  const std::vector<std::uint32_t>& Fixed() const { return fixed_; }

  std::uint64_t Level() const { return level_; }
  // Opens a new level and gives its number.
  std::uint64_t OpenLevel() { return level_ = ++levels_; }
  // Makes `level`, opened before and not undone, current again.
  void ReturnTo(std::uint64_t level) { level_ = level; }
  StoreMark Here() const { return {trail_.size(), fixed_.size()}; }
  // Restores the state exactly as it was at `mark`.
  void Undo(const StoreMark& mark);

  // The slot's bitset, for writing: saved first if this level has not yet.
  std::uint64_t* Edit(std::uint32_t s) {
    Save(s);
    return pool_.data() + problem_->SlotAt(s).domain;
  }
  // Records a revision's tightened bounds and count.
  void SetCount(std::uint32_t s, std::uint32_t lo, std::uint32_t hi,
                std::uint32_t count);
  // Marks the slot as holding one word.
  void Fix(std::uint32_t s);
  // Takes `word` out of the slot's domain; false when it was not there.
  bool RemoveWord(std::uint32_t s, std::uint32_t word);
  // Leaves the slot with `word` alone (its count follows on revision).
  void Assign(std::uint32_t s, std::uint32_t word);
  void SetLetters(std::uint32_t c, const LetterSet& set);

  // The slots whose choice key may have changed since the last call: their
  // count or fixed flag changed, or that of a slot crossing them. Each once.
  template <typename Visit>
  void TakeChanged(Visit visit) {
    for (std::uint32_t s : changed_) {
      changed_flag_[s] = 0;
      visit(s);
    }
    changed_.clear();
  }
  void NoteChanged(std::uint32_t s) {
    if (changed_flag_[s]) return;
    changed_flag_[s] = 1;
    changed_.push_back(s);
  }

  // Empty when the state keeps every invariant of a finished propagation,
  // else the first broken one. Walks the whole state: for tests only.
  std::string CheckConsistent(bool no_repeats) const;

 private:
  void Save(std::uint32_t s);
  void NoteFixedChanged(std::uint32_t s);
  std::uint32_t InitialWords(std::uint32_t s);
  std::string CheckSlot(std::uint32_t s, bool no_repeats) const;
  std::string CheckTrail() const;

  const Problem* problem_ = nullptr;
  std::vector<std::uint64_t> pool_;  // every slot's bitset over its words
  std::vector<SlotState> slots_;     // by slot
  std::vector<CellState> cells_;     // by cell
  // Saved states, newest last; each entry ends in a tag word telling what
  // it holds (see Save and SetLetters).
  std::vector<std::uint64_t> trail_;
  std::vector<std::uint32_t> fixed_;    // fixed slots in order; see Fixed()
  std::uint64_t level_ = 0;             // the current level
  std::uint64_t levels_ = 0;            // the last level number handed out
  std::vector<std::uint32_t> changed_;  // see TakeChanged
  std::vector<char> changed_flag_;      // by slot: in changed_
};

// Saves the slot's bounds, count and chunks [lo, hi) once per level, then a
// tag: the slot number shifted left, low bit 0.
inline void DomainStore::Save(std::uint32_t s) {
  SlotState& state = slots_[s];
  if (state.stamp == level_) return;
  const std::uint64_t* d = Words(s);
  trail_.insert(trail_.end(), d + state.lo, d + state.hi);
  trail_.push_back(state.lo | std::uint64_t{state.hi} << 32);
  trail_.push_back(state.count | std::uint64_t{state.fixed} << 32);
  trail_.push_back(state.stamp);
  trail_.push_back(std::uint64_t{s} << 1);
  state.stamp = level_;
}

// Saves the cell's letters once per level: their four words, the stamp,
// then a tag: the cell number shifted left, low bit 1.
inline void DomainStore::SetLetters(std::uint32_t c, const LetterSet& set) {
  CellState& cell = cells_[c];
  if (cell.stamp != level_) {
    trail_.insert(trail_.end(), cell.set.bits.begin(), cell.set.bits.end());
    trail_.push_back(cell.stamp);
    trail_.push_back(std::uint64_t{c} << 1 | 1);
    cell.stamp = level_;
  }
  cell.set = set;
}

inline void DomainStore::SetCount(std::uint32_t s, std::uint32_t lo,
                                  std::uint32_t hi, std::uint32_t count) {
  assert(lo < hi && count > 0 && count <= 64 * (hi - lo));
  Save(s);
  SlotState& state = slots_[s];
  if (count != state.count) NoteChanged(s);
  state.lo = lo;
  state.hi = hi;
  state.count = count;
}

inline bool DomainStore::RemoveWord(std::uint32_t s, std::uint32_t word) {
  const SlotState& state = slots_[s];
  const std::uint32_t chunk = word / 64;
  if (chunk < state.lo || chunk >= state.hi || !Has(s, word)) return false;
  Edit(s)[chunk] &= ~(std::uint64_t{1} << (word % 64));
  return true;
}

}  // namespace polimreza

#endif  // POLIMREZA_SEARCH_DOMAIN_STORE_H_
