// The greedy solver: chooses the next slot by its share of empty squares,
// tries the fitting words of its list in file order, keeps the first whose
// crossing words are all in the lists, and records the clues on the way.
#ifndef POLIMREZA_SOLVER_SOLVER_H_
#define POLIMREZA_SOLVER_SOLVER_H_

#include <array>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "grid/clue_table.h"
#include "grid/grid.h"
#include "wordlist/word_list.h"

namespace polimreza {

// The slot a fill stopped at: its start, Direction and pattern string, which
// no word of its list fits.
struct StuckSlot {
  CellIndex start;
  int direction;
  std::string pattern;
};

// How a fill ended: solved, or not; when not, the slot it stopped at, none
// when it found no slot to choose (only a slot longer than kMaxSlotLength
// leaves a square out of every slot of a Direction).
struct FillResult {
  bool solved = false;
  std::optional<StuckSlot> stuck;
};

// True when, between two slots of `empty` empty squares out of `length`,
// the one visited later replaces the one visited first: the ratio
// empty * 100 / length, rounded to a 32-bit float, is not below its
// double-precision value.
bool LaterEqualRatioReplaces(unsigned empty, unsigned length);

// Fills one Grid. It keeps the slot geometry and each slot's count of empty
// squares up to date as words are written and undone, so that choosing a
// slot and checking crossings cost work in proportion to what changed, not
// to the size of the Grid. Every slot of the Grid must be at most
// kMaxSlotLength squares long.
class Solver {
 public:
  Solver(Grid& grid, ClueTables& clues, WordLists& lists);

  // The slot start of the slot of `direction` with the lowest share of empty
  // squares, ties broken as a scan from the end of the Grid with a 32-bit
  // best ratio would break them; -1 when no slot of `direction` has an empty
  // square, or for any other direction.
  std::int64_t ChooseSlot(int direction) const;

  // Writes `word` into the slot at `start`, remembering the squares it
  // filled so that UndoWrite can empty them again.
  void WriteSlot(std::string_view word, CellIndex start, int direction);

  // Empties the squares that the last WriteSlot filled.
  void UndoWrite();

  // True when every complete slot of the Direction crossing `direction` is
  // a word of its list, recording each clue it looks up; false at the first
  // complete slot (in column-by-column order) that is not.
  bool CheckCrossings(int direction);

  // Fills the Grid turn by turn, ACROSS first, until no square is left
  // empty or a slot has no fitting word; the Grid is left as it got.
  FillResult FillLoop();

 private:
  static constexpr std::uint32_t kNoSlot = ~std::uint32_t{0};
  static constexpr std::size_t kBuckets = kMaxSlotLength + 1;

  // Position of the cell `start` in column-by-column order: the order of
  // the crossing check, and of a DOWN scan from the end of the Grid.
  std::uint64_t ColumnKey(CellIndex start) const {
    return start % grid_.gridWidth() * std::uint64_t{grid_.gridHeight()} +
           start / grid_.gridWidth();
  }
  CellIndex FromColumnKey(std::uint64_t key) const {
    return grid_.Index(key / grid_.gridHeight(), key % grid_.gridHeight());
  }
  // Order in which a scan from the end of the Grid meets the slot: the
  // larger the key, the sooner.
  std::uint64_t VisitKey(const Slot& slot) const {
    return slot.direction == ACROSS ? slot.start : ColumnKey(slot.start);
  }
  std::uint32_t SlotAt(CellIndex start, int direction) const {
    return slot_of_[direction][start];
  }
  void AdjustEmpty(std::uint32_t slot, int delta);
  std::set<std::uint64_t>& Bucket(std::uint32_t slot) {
    return buckets_[slots_[slot].direction][empty_[slot]][slots_[slot].length];
  }

  Grid& grid_;
  ClueTables& clues_;
  WordLists& lists_;

  // The Grid's slots in the order of FindSlots, each length cut to
  // kMaxSlotLength, and beside them each slot's count of empty squares.
  std::vector<Slot> slots_;
  std::vector<std::uint8_t> empty_;
  // For each Direction and cell: the slot that holds the cell, or kNoSlot.
  std::array<std::vector<std::uint32_t>, 2> slot_of_;
  // For each Direction, empty count and length: the visit keys of the
  // slots with that many empty squares. Only slots with an empty square.
  std::set<std::uint64_t> buckets_[2][kBuckets][kBuckets];
  // For each Direction: keyed by ColumnKey, the complete slots whose word
  // has not been looked up since they were last completed.
  std::array<std::set<std::uint64_t>, 2> unverified_;
  std::size_t empty_cells_ = 0;
  // Squares filled by the last WriteSlot.
  std::vector<CellIndex> filled_;
  std::uint32_t filled_slot_ = kNoSlot;
};

}  // namespace polimreza

#endif  // POLIMREZA_SOLVER_SOLVER_H_
