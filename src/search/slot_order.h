// What the search decides next: the open slot with the smallest ratio of
// words to failure weight (dom/wdeg) kept in a tournament tree, as MiniSat
// keeps its variables in a heap by activity; for runs by letters, the open
// cell with the fewest letters per weight and the letter that leaves its
// slots the most words. Owns the failure weights of the cells and each
// run's random ranks.
#ifndef POLIMREZA_SEARCH_SLOT_ORDER_H_
#define POLIMREZA_SEARCH_SLOT_ORDER_H_

#include <cstddef>
#include <cstdint>
#include <vector>

#include "search/domain_store.h"
#include "search/problem.h"

namespace polimreza {

class SlotOrder {
 public:
  SlotOrder(const Problem& problem, DomainStore& store, std::uint64_t seed)
      : problem_(problem), store_(store), prng_(seed) {}

  // Sizes everything to the problem, every weight 1.
  void Reset();
  // Every weight back to 1.
  void ResetWeights() { weight_.assign(problem_.CellCount(), 1); }
  // A failure met at cell `c`: it weighs more in both slots through it.
  void AddWeight(std::uint32_t c);
  // Draws new ranks from the seeded generator for a new run: of slots, and
  // of cells too when `cells`. `coarse`: ratios on one power of two tie.
  void NewRun(bool coarse, bool cells);
  // The open slot to decide next; kNone when every slot is fixed.
  std::uint32_t Choose();
  // The open cell to decide next in a run by letters; kNone when every cell
  // holds one letter. Scans every cell.
  std::uint32_t ChooseCell() const;
  // The letter to try first in open cell `c`.
  unsigned char ChooseLetter(std::uint32_t c) const;

 private:
  void Refresh(std::uint32_t s);
  void Replay(std::size_t node);
  void ReplayAll();
  bool Before(std::uint32_t a, std::uint32_t b) const;
  std::uint64_t WeightedDegree(std::uint32_t s) const;

  const Problem& problem_;  // the slots, cells and lexicons
  DomainStore& store_;      // the domains, and the slots that changed
  std::vector<std::uint64_t> weight_;     // by cell: failures met there, plus 1
  std::vector<std::uint64_t> rank_;       // by slot: this run's tie-break
  std::vector<std::uint64_t> cell_rank_;  // by cell, in runs by letters
  // By slot: weighted degree, as of its last Refresh; 0 when fixed.
  std::vector<std::uint64_t> degree_;
  // By slot: 1 for a single square crossed by a longer slot, which goes
  // after every other slot.
  std::vector<std::uint8_t> follower_;
  // The tournament tree: leaf leaves_ + s holds s, or kNone when s is fixed;
  // every inner node the leaf of its two children that goes first (Before).
  std::vector<std::uint32_t> tree_;
  std::size_t leaves_ = 1;                // a power of two, >= the slots
  std::vector<std::uint32_t> refreshed_;  // leaves Choose must replay
  bool coarse_ = false;  // this run ties ratios on one power of two
  std::uint64_t prng_;   // the seeded generator of the ranks
};

}  // namespace polimreza

#endif  // POLIMREZA_SEARCH_SLOT_ORDER_H_
