// One search or query set up over a grid: the slots that take part and
// their numbering both ways, the fixed problem, the changing state, and the
// mechanisms over it (slot order, nogood store, propagator), wired together
// once. The engine and the queries between fills each start from one; it
// also answers the caller's stop with the progress so far.
#ifndef POLIMREZA_SEARCH_INSTANCE_H_
#define POLIMREZA_SEARCH_INSTANCE_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "grid/grid.h"
#include "search/domain_store.h"
#include "search/nogood_store.h"
#include "search/problem.h"
#include "search/propagator.h"
#include "search/queries.h"
#include "search/search.h"
#include "search/slot_order.h"
#include "search/weak_marks.h"

namespace polimreza {

struct Instance {
  Instance(const SearchOptions& search_options,
           SearchLexicons& search_lexicons);
  Instance(const Instance&) = delete;
  Instance& operator=(const Instance&) = delete;

  // Builds the problem of the active slots of `slots` (and slot `keep`,
  // active or not) and the initial state, with the forbidden words removed;
  // false when no fill can exist, with `unfillable` set when a slot has no
  // word before any other is filled. May throw StopRequested.
  bool Setup(const Grid& grid, std::size_t keep);
  // The caller's stop, asked with the progress so far.
  bool StopAsked() const;
  // Word `id` of problem slot `s`, with its first entry.
  SlotWord WordOf(std::uint32_t s, std::uint32_t id) const;

  const SearchOptions& options;
  SearchLexicons& lexicons;
  std::vector<Slot> slots;  // every slot of the grid, as FindSlots gives them
  // By problem slot: its index in `slots`; by index in `slots`: its problem
  // slot, or kNone when it takes no part.
  std::vector<std::uint32_t> outer;
  std::vector<std::uint32_t> inner;
  // The first slot (an index in `slots`) no word fits before any other slot
  // is filled, once Setup found one.
  std::optional<std::size_t> unfillable;
  std::uint64_t nodes = 0;  // decisions taken so far
  Problem problem;          // the fixed problem, built by Setup
  DomainStore store;        // the state the search changes and undoes
  SlotOrder order;          // what to decide next, and the failure weights
  NogoodStore nogoods;      // what restarts learnt
  WeakMarks weak;           // the words that may not cross, built by Setup
  Propagator propagator;    // arc consistency over `store`

 private:
  void Forbid();
  std::uint32_t FirstEmpty() const;
  void SetupTick(std::size_t units);

  std::uint64_t setup_work_ = 0;  // setup units since the last question
};

}  // namespace polimreza

#endif  // POLIMREZA_SEARCH_INSTANCE_H_
