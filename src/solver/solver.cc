#include "solver/solver.h"

#include <algorithm>
#include <numeric>
#include <utility>

// How the incremental solver gives the same answers as whole-Grid scans.
//
// Choosing a slot. A scan from the end of the Grid that keeps a 32-bit best
// ratio (starting at 100) and takes a slot whenever best >= its ratio (and
// the ratio is not 0) ends on a slot of the lowest ratio present: distinct
// ratios of slots of up to kMaxSlotLength squares lie much further apart than
// 32-bit rounding. Among slots of that lowest ratio it ends on the last one
// met when the ratio rounded to 32 bits is not below the exact ratio (each
// equal slot met later passes best >= ratio), and on the first one met
// otherwise. Equal fractions (1/2, 2/4, ...) give the same double, so they
// form one group. The solver keeps, per Direction, empty count and length,
// the ordered set of slots with that many empty squares, and takes the
// lowest group's smallest or largest visit key.
//
// Checking crossings. A complete slot's letters cannot change while it stays
// complete: a word is written only where it agrees with the letters already
// there, and an undo empties only the squares its write filled. So a
// complete slot that was looked up and found since it last became complete
// is still in its list, and its clue entry already holds the clue such a
// lookup would record again. Only complete slots not looked up since they
// became complete need a lookup: slots given complete in the pattern (looked
// up at the first check of their Direction), and slots completed by the
// candidate under test or by an earlier accepted word whose check stopped
// before them. These wait in `unverified_`, ordered column by column as the
// check visits them; the check looks them up in that order, records each
// clue, and stops at the first one missing from its list, which stays
// waiting, as do the ones after it. A slot that an undo makes incomplete
// again leaves the set; it joins it again when it is next completed.

namespace polimreza {

bool LaterEqualRatioReplaces(unsigned empty, unsigned length) {
  float product = static_cast<float>(empty * 100.0);
  double ratio = product / static_cast<double>(length);
  float best = static_cast<float>(ratio);
  return static_cast<double>(best) >= ratio;
}

namespace {

struct RatioGroup {
  unsigned empty;  // in lowest terms
  unsigned length;
  bool later_replaces;
};

// The distinct ratios of slots of 1 to kMaxSlotLength squares with an empty
// square, from the lowest.
const std::vector<RatioGroup>& RatioGroups() {
  static const std::vector<RatioGroup> groups = [] {
    std::vector<RatioGroup> result;
    for (unsigned length = 1; length <= kMaxSlotLength; ++length) {
      for (unsigned empty = 1; empty <= length; ++empty) {
        if (std::gcd(empty, length) != 1) continue;
        result.push_back(
            {empty, length, LaterEqualRatioReplaces(empty, length)});
      }
    }
    std::sort(result.begin(), result.end(),
              [](const RatioGroup& a, const RatioGroup& b) {
                return a.empty * b.length < b.empty * a.length;
              });
    return result;
  }();
  return groups;
}

}  // namespace

Solver::Solver(Grid& grid, ClueTables& clues, WordLists& lists)
    : grid_(grid), clues_(clues), lists_(lists), slots_(FindSlots(grid)) {
  for (std::size_t i = 0; i < grid_.CellCount(); ++i) {
    empty_cells_ += grid_.Cell(i) == CELL_EMPTY;
  }
  for (int d : {ACROSS, DOWN}) slot_of_[d].assign(grid_.CellCount(), kNoSlot);
  empty_.assign(slots_.size(), 0);
  for (std::uint32_t id = 0; id < slots_.size(); ++id) {
    Slot& slot = slots_[id];
    // A longer slot breaks this class's contract; cutting it keeps the
    // buckets' bounds.
    slot.length = std::min(slot.length, kMaxSlotLength);
    unsigned empty = 0;
    for (CellIndex i : grid_.CellsOf(slot)) {
      empty += grid_.Cell(i) == CELL_EMPTY;
      slot_of_[slot.direction][i] = id;
    }
    empty_[id] = static_cast<std::uint8_t>(empty);
    if (empty > 0) {
      Bucket(id).insert(VisitKey(slot));
    } else {
      unverified_[slot.direction].insert(ColumnKey(slot.start));
    }
  }
}

std::int64_t Solver::ChooseSlot(int direction) const {
  if (direction != ACROSS && direction != DOWN) return -1;
  for (const RatioGroup& group : RatioGroups()) {
    bool found = false;
    std::uint64_t key = 0;
    for (unsigned times = 1; group.length * times <= kMaxSlotLength; ++times) {
      const auto& bucket =
          buckets_[direction][group.empty * times][group.length * times];
      if (bucket.empty()) continue;
      std::uint64_t candidate =
          group.later_replaces ? *bucket.begin() : *bucket.rbegin();
      if (!found ||
          (group.later_replaces ? candidate < key : candidate > key)) {
        key = candidate;
      }
      found = true;
    }
    if (!found) continue;
    if (direction == ACROSS) return static_cast<std::int64_t>(key);
    return static_cast<std::int64_t>(FromColumnKey(key));
  }
  return -1;
}

void Solver::AdjustEmpty(std::uint32_t id, int delta) {
  const Slot& slot = slots_[id];
  std::uint8_t& empty = empty_[id];
  if (empty > 0) {
    Bucket(id).erase(VisitKey(slot));
  } else {
    unverified_[slot.direction].erase(ColumnKey(slot.start));
  }
  empty = static_cast<std::uint8_t>(empty + delta);
  if (empty > 0) {
    Bucket(id).insert(VisitKey(slot));
  } else {
    unverified_[slot.direction].insert(ColumnKey(slot.start));
  }
}

void Solver::WriteSlot(std::string_view word, CellIndex start, int direction) {
  filled_.clear();
  filled_slot_ = kNoSlot;
  if (direction != ACROSS && direction != DOWN) return;
  std::uint32_t id = SlotAt(start, direction);
  if (id == kNoSlot) return;
  const Slot& slot = slots_[id];
  const int other = OtherDirection(direction);
  const SlotCells cells(start, grid_.Step(direction), slot.length);
  // Squares that already hold a letter keep it: the word agrees with them.
  for (std::size_t k = 0; k < word.size() && k < cells.size(); ++k) {
    const CellIndex i = cells[k];
    if (grid_.Cell(i) != CELL_EMPTY) continue;
    grid_.SetCell(i, static_cast<signed char>(word[k]));
    filled_.push_back(i);
    AdjustEmpty(SlotAt(i, other), -1);
  }
  if (!filled_.empty()) {
    AdjustEmpty(id, -static_cast<int>(filled_.size()));
    empty_cells_ -= filled_.size();
  }
  filled_slot_ = id;
}

void Solver::UndoWrite() {
  if (filled_slot_ == kNoSlot) return;
  const int direction = slots_[filled_slot_].direction;
  const int other = OtherDirection(direction);
  for (CellIndex i : filled_) {
    grid_.SetCell(i, CELL_EMPTY);
    AdjustEmpty(SlotAt(i, other), +1);
  }
  if (!filled_.empty()) {
    AdjustEmpty(filled_slot_, static_cast<int>(filled_.size()));
    empty_cells_ += filled_.size();
  }
  filled_.clear();
  filled_slot_ = kNoSlot;
}

bool Solver::CheckCrossings(int direction) {
  const int other = OtherDirection(direction);
  if (other != ACROSS && other != DOWN) return true;
  auto& waiting = unverified_[other];
  for (auto it = waiting.begin(); it != waiting.end();) {
    CellIndex start = FromColumnKey(*it);
    std::string word = grid_.ReadSlot(start, other);
    std::optional<std::string_view> clue = lists_.FindClue(word);
    if (!clue) return false;
    clues_.For(other).Record(start, *clue);
    it = waiting.erase(it);
  }
  return true;
}

FillResult Solver::FillLoop() {
  std::string word;
  std::string clue;
  int direction = ACROSS;
  while (empty_cells_ > 0) {
    std::int64_t chosen = ChooseSlot(direction);
    // While a square is empty, both Directions have a slot with an empty
    // square, so a slot is always found; should none be, the Grid is not
    // full and must not be reported as solved.
    if (chosen < 0) return {};
    const auto n = static_cast<CellIndex>(chosen);
    std::string pattern = grid_.ReadSlot(n, direction);
    std::int64_t position = 0;
    for (;;) {
      position = lists_.FindWord(pattern, word, clue, position);
      if (position < 0) {
        return {false, StuckSlot{n, direction, std::move(pattern)}};
      }
      WriteSlot(word, n, direction);
      if (CheckCrossings(direction)) {
        clues_.For(direction).Record(n, clue);
        break;
      }
      UndoWrite();
    }
    direction = OtherDirection(direction);
  }
  return {true, std::nullopt};
}

}  // namespace polimreza
