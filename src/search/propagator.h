// Propagation: a queue of slots whose domains changed (AC-3 style), each
// revised until nothing changes, which makes every crossing arc consistent;
// the letters refuted and yet to leave their cells; the supports that tell
// a cell which letters its slots still have words for; the narrowing of
// cells and the filtering of slots through them; and the rules against
// repeated words and against weak words crossing. Owns the queue and its
// scratch, nothing that is undone.
#ifndef POLIMREZA_SEARCH_PROPAGATOR_H_
#define POLIMREZA_SEARCH_PROPAGATOR_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "search/domain_store.h"
#include "search/lexicon.h"
#include "search/literal.h"
#include "search/nogood_store.h"
#include "search/problem.h"
#include "search/search.h"
#include "search/slot_order.h"
#include "search/weak_marks.h"

namespace polimreza {

// Thrown when the caller's stop answers yes in the middle of the setup or
// of a propagation.
struct StopRequested {};

// Every array of the search sized by the longest slot takes its size from
// kMaxEntryLength (grid/grid.h): these two, Lexicon's letters
// present by position, Problem's slots by length and SearchLexicons'
// lexicons by length.

// The letters each open position of a slot still has a word for.
using Supports = std::array<LetterSet, kMaxEntryLength>;

// The positions of a slot whose cell may still hold more than one letter.
struct OpenPositions {
  std::array<unsigned, kMaxEntryLength> at{};
  unsigned size = 0;
};

class Propagator {
 public:
  // `stop_asked` is asked every kRevisionsPerCheck revisions; true throws
  // StopRequested. Failures weigh in `order`; fixed slots and single
  // letters wake `nogoods`; `weak` says which words may not cross.
  Propagator(const Problem& problem, DomainStore& store, SlotOrder& order,
             NogoodStore& nogoods, const WeakMarks& weak,
             const SearchOptions& options, std::function<bool()> stop_asked)
      : problem_(problem),
        store_(store),
        order_(order),
        nogoods_(nogoods),
        weak_(weak),
        options_(options),
        stop_asked_(std::move(stop_asked)) {}

  // Sizes the queue and the residues to the problem.
  void Reset();
  // Slot `s` is to be revised.
  void Enqueue(std::uint32_t s);
  // Enqueues every slot.
  void EnqueueAll();
  // Takes `word` out of slot `s` at once.
  void Refute(std::uint32_t s, std::uint32_t word);
  // Makes `literal` not hold: a word leaves its slot at once, a letter its
  // cell before the next revision.
  void Refute(const Literal& literal);
  // Narrows cell `c` to the letters of `keep` (see NarrowCell in the .cc);
  // false when a slot is left empty.
  bool NarrowCell(std::uint32_t c, const LetterSet& keep,
                  std::uint32_t except = kNone);
  // Revises until nothing changes; false when a slot is left empty, with
  // the queue cleared either way. May throw StopRequested.
  bool Propagate();
  // Forgets whatever is queued.
  void ClearQueue();
  // The slot the last failed revision emptied, or kNone.
  std::uint32_t Wiped() const { return wiped_; }

 private:
  bool RemoveLetter(std::uint32_t c, unsigned char letter);
  bool Revise(std::uint32_t s);
  std::uint32_t TrimAndCount(std::uint32_t s);
  void FixSlot(std::uint32_t s);
  void ForbidWeakCrossings(std::uint32_t s);
  OpenPositions OpenAt(std::uint32_t s) const;
  Supports ReadLetters(std::uint32_t s, const OpenPositions& open) const;
  Supports FindSupports(std::uint32_t s, const OpenPositions& open);
  void ListNonzeroChunks(std::uint32_t s);
  bool NarrowCells(std::uint32_t s, const OpenPositions& open,
                   const Supports& support);
  bool Filter(std::uint32_t t, unsigned position, const LetterSet& keep,
              const LetterSet& removed);
  void Fail(std::uint32_t s);

  // A chunk of a domain's bitset that holds at least one word.
  struct NonzeroChunk {
    std::uint32_t index;  // its place in the bitset
    std::uint64_t words;  // its bits
  };

  const Problem& problem_;            // the slots, cells and lexicons
  DomainStore& store_;                // the domains it narrows
  SlotOrder& order_;                  // where failures add weight
  NogoodStore& nogoods_;              // woken by fixed slots and letters
  const WeakMarks& weak_;             // the words that may not cross
  const SearchOptions& options_;      // repeats and the state check
  std::function<bool()> stop_asked_;  // the caller's stop, with its progress
  std::vector<std::uint32_t> queue_;  // slots to revise, in order
  std::size_t queue_head_ = 0;        // the next of queue_ to revise
  std::vector<char> queued_;          // by slot: in queue_ past its head
  // Letters refuted (see Refute) that are yet to leave their cells, before
  // the next revision: (cell, letter).
  std::vector<std::pair<std::uint32_t, unsigned char>> pending_;
  // By slot and (position, letter): the chunk that last held a word with
  // that letter there. Never undone: a stale residue only costs a scan.
  std::vector<std::uint32_t> residues_;
  // The chunks of one slot's domain that hold a word: FindSupports' scratch.
  std::vector<NonzeroChunk> nonzero_;
  std::uint64_t revisions_ = 0;  // revisions in all propagations
  std::uint32_t wiped_ = kNone;  // the slot the last failed revision emptied
};

}  // namespace polimreza

#endif  // POLIMREZA_SEARCH_PROPAGATOR_H_
