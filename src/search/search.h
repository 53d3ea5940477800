// The complete search: fills every slot of a Grid with a word of its list,
// or proves that no fill exists. Knows the grid and the word lists, nothing
// of files or of the command line.
#ifndef POLIMREZA_SEARCH_SEARCH_H_
#define POLIMREZA_SEARCH_SEARCH_H_

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "grid/grid.h"
#include "wordlist/word_list.h"

namespace polimreza {

enum class SearchOutcome { kFilled, kNoFill, kStopped };

struct SearchProgress {
  std::uint64_t nodes = 0;  // decisions taken so far
  std::size_t filled = 0;   // slots holding one word in the current state
  std::size_t slots = 0;
};

struct SearchOptions {
  // Lets a word of two or more letters stand in more than one slot.
  bool allow_repeats = false;
  // Breaks ties in the slot order, differently in every restart.
  std::uint64_t seed = 0;
  // Decisions of the first run before it restarts; later runs may take
  // this many times 1, 1, 2, 1, 1, 2, 4, ... (the Luby sequence).
  // 4096: fillable grids up to 15x15 mostly need tens of decisions, so they
  // end in their first run, while a run lost under a bad early decision is
  // cut within milliseconds.
  std::uint64_t first_run_nodes = 4096;
  // Decisions the way back to the preferred words, after a fill found by
  // deciding letters, may always take, on top of a quarter of the
  // decisions spent until then; see Search.
  std::uint64_t min_preference_nodes = 1024;
  // Stops the search after this many decisions; 0 for no limit.
  std::uint64_t node_limit = 0;
  // Asked before the first decision and every 256th after it, every 65536
  // slot revisions within one propagation, every 65536 slots or words
  // set up before the search, and before each word FitSlot tests (a test
  // on long slots may take milliseconds); true stops the search. Its answer is
  // the only way time can enter the search.
  std::function<bool(const SearchProgress&)> stop;
  // When set, the search's state is checked after every propagation that
  // ends without a failure, and the verdict passed here: empty when every
  // invariant holds, else the first broken one. Slow: for tests.
  std::function<void(const std::string&)> check_state;
  // The slots for which this answers false are left out: neither filled nor
  // constrained, their given letters kept. Null: every slot takes part.
  std::function<bool(const Slot&)> active;
  // Pairs (slot, word), the slot an index into FindSlots(grid): that slot
  // never takes that word.
  std::vector<std::pair<std::size_t, std::string>> forbidden;
  // When set, no two words of two or more letters that it calls weak cross
  // (share a square), given words included. Asked once for each word of
  // each list of a slot length of two or more, the word written as the
  // lists' words are. Null: no word is weak.
  std::function<bool(std::string_view)> weak;
};

// A slot's word and the list entry that holds it first.
struct SlotWord {
  std::string word;
  std::size_t entry;
};

struct SearchResult {
  SearchOutcome outcome = SearchOutcome::kNoFill;
  std::vector<Slot> slots;
  // kFilled: the word of every slot. kStopped: the words of the slots that
  // were filled in the most-filled state the search reached, none elsewhere.
  std::vector<std::optional<SlotWord>> words;
  // kNoFill: the first slot that no word of its list fits even before any
  // other slot is filled, when there is one.
  std::optional<std::size_t> unfillable;
  // kFilled: the words the search decided, in order: (slot, word). Each
  // decision's word is the earliest word of its slot in any fill that
  // agrees with the decisions before it. The slots not listed were filled
  // by propagation, or, on a hard grid whose way back to the preferred
  // words ran out of budget, hold the words of the fill found by letters.
  std::vector<std::pair<std::size_t, std::string>> decisions;
  std::uint64_t nodes = 0;
};

// Fills the open cells of `grid` so that every slot is a word of the list of
// its length, keeping the given letters; a word of two or more letters at
// most once unless `options.allow_repeats`. Lists are read from `lists` as
// needed. May throw std::bad_alloc.
SearchResult Search(const Grid& grid, WordLists& lists,
                    const SearchOptions& options);

}  // namespace polimreza

#endif  // POLIMREZA_SEARCH_SEARCH_H_
