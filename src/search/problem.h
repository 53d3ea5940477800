// The fixed problem of the complete search: the slots of a grid with their
// cells and crossings, and the lexicon of every slot length. Built once
// before the search, never changed by it.
#ifndef POLIMREZA_SEARCH_PROBLEM_H_
#define POLIMREZA_SEARCH_PROBLEM_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "grid/grid.h"
#include "search/lexicon.h"
#include "wordlist/word_list.h"

namespace polimreza {

class SearchLexicons;

// Slots set up between two setup ticks: often enough that a huge grid can
// be abandoned at once, rarely enough to cost nothing on a small one.
inline constexpr std::size_t kSlotsPerTick = 4096;

// No slot, no word: the same all-ones value for either.
inline constexpr std::uint32_t kNone = ~std::uint32_t{0};

struct ProblemSlot {
  const Lexicon* lexicon = nullptr;  // the words of its length
  std::size_t domain = 0;            // offset of its bitset in the pool
  std::size_t residue = 0;           // offset of its residues, if it has any
  std::uint32_t cells = 0;           // offset of its cells in the cell list
  unsigned length = 0;
};

// One slot through a cell, and the cell's position in it.
struct Occurrence {
  std::uint32_t slot = kNone;
  std::uint32_t position = 0;
};

struct ProblemCell {
  // The across slot through the cell, then the down slot.
  std::array<Occurrence, 2> in{};
  // The letter the grid gives, or -1 for an open cell.
  std::int32_t given = -1;

  // The slot crossing `slot` here; its slot is kNone when there is none.
  const Occurrence& Other(std::uint32_t slot) const {
    return in[in[0].slot == slot ? 1 : 0];
  }
};

class Problem {
 public:
  // Called with a count of work units done (slots set up, words indexed);
  // may throw to abandon the setup.
  using Tick = std::function<void(std::size_t)>;

  // The slots `slots` of `grid`, every distinct cell of them and the lexicon
  // of each length, taken from `lexicons` (which must outlive the problem).
  // False, with nothing built, when some slot is longer than any list.
  bool Build(const Grid& grid, const std::vector<Slot>& slots,
             SearchLexicons& lexicons, const Tick& tick);

  std::size_t SlotCount() const { return slots_.size(); }
  std::size_t CellCount() const { return cells_.size(); }
  const ProblemSlot& SlotAt(std::uint32_t s) const { return slots_[s]; }
  const ProblemCell& CellAt(std::uint32_t c) const { return cells_[c]; }
  // The cell at `position` of slot `s`.
  std::uint32_t CellOf(std::uint32_t s, unsigned position) const {
    return slot_cells_[slots_[s].cells + position];
  }
  // The slots of `length` letters, in order.
  const std::vector<std::uint32_t>& OfLength(unsigned length) const {
    return by_length_[length];
  }
  // 64-bit words of the pool holding every domain.
  std::size_t PoolSize() const { return pool_size_; }
  // Residues of all slots together (see ProblemSlot::residue).
  std::size_t ResidueCount() const { return residue_count_; }

 private:
  std::uint32_t CellFor(const Grid& grid, CellIndex i,
                        std::vector<std::uint32_t>& cell_id);
  void Lay(std::size_t slot_count);

  std::vector<ProblemSlot> slots_;
  std::vector<ProblemCell> cells_;
  std::vector<std::uint32_t> slot_cells_;  // every slot's cells, slot by slot
  std::array<std::vector<std::uint32_t>, kMaxEntryLength + 1> by_length_;
  std::size_t pool_size_ = 0;
  std::size_t residue_count_ = 0;
};

}  // namespace polimreza

#endif  // POLIMREZA_SEARCH_PROBLEM_H_
