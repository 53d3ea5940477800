// What an interactive constructor asks of the complete search between fills:
// the lexicons built once for many questions, the words that still fit a slot
// with its crossings, and the slots no word can fill any more.
#ifndef POLIMREZA_SEARCH_QUERIES_H_
#define POLIMREZA_SEARCH_QUERIES_H_

#include <array>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "grid/grid.h"
#include "search/lexicon.h"
#include "search/search.h"
#include "wordlist/word_list.h"

namespace polimreza {

// The lexicon of every slot length, built from `lists` on first use and kept
// for every later search and query over the same lists. Words in the
// exclusion set are left out of every lexicon built after it was set.
class SearchLexicons {
 public:
  explicit SearchLexicons(WordLists& lists);
  // The lexicons of `lists` for lengths below `from_length` and those of
  // `shared` from it on: a second set that differs in its short lists only,
  // without a copy of the long ones (which `shared` builds and excludes).
  SearchLexicons(WordLists& lists, SearchLexicons& shared,
                 unsigned from_length);
  ~SearchLexicons();

  WordLists& Lists() { return lists_; }
  // The lexicon of words of `length` letters; null when there is no list of
  // that length.
  const Lexicon* ForLength(unsigned length);
  // Whether the lexicon of `length` letters is built and current.
  bool Built(unsigned length) const {
    if (shared_ != nullptr && length >= from_length_) {
      return shared_->Built(length);
    }
    return length < lexicons_.size() && lexicons_[length] != nullptr;
  }
  // Leaves `words` (written as the lists' words are) out from now on: the
  // lexicons of the lengths of the words in the old or the new set are built
  // again on their next use. Not while a search over them runs.
  void SetExcluded(std::unordered_set<std::string> words);

 private:
  WordLists& lists_;
  SearchLexicons* shared_ = nullptr;
  unsigned from_length_ = 0;
  std::unordered_set<std::string> excluded_;
  std::array<std::unique_ptr<Lexicon>, kMaxEntryLength + 1> lexicons_;
};

// Search over lexicons built before; the same answer as Search(grid, lists,
// options) over the lists the lexicons were built from, less excluded words.
SearchResult Search(const Grid& grid, SearchLexicons& lexicons,
                    const SearchOptions& options);

// The words of one slot that still fit.
struct FittingWords {
  // How many words fit; exact unless `exact` is false, when it counts the
  // words that fit the slot's crossings as arc consistency leaves them.
  std::size_t count = 0;
  bool exact = true;
  // The first `limit` of them in list order.
  std::vector<SlotWord> words;
};

// The words of slot `slot` (an index into FindSlots(grid)) that fit: a word
// fits when, with it placed and every slot kept arc consistent as the search
// keeps it, no slot is left without a word. Honours the options' repeats,
// active slots (slot `slot` takes part even when it is not active),
// forbidden words and stop, which is asked before each word tested (when it
// stops the tests, the words found until then come back, `exact` false).
// Once `limit` words fit and 64 were tested, `time_up` (when set) is asked
// before each further test: true leaves the rest untested, counted as arc
// consistency leaves them, and `exact` false. Count 0 when the grid is
// inconsistent already, or `slot` is no slot of it.
FittingWords FitSlot(const Grid& grid, SearchLexicons& lexicons,
                     std::size_t slot, std::size_t limit,
                     const SearchOptions& options,
                     const std::function<bool()>& time_up = nullptr);

// The slots (indexes into FindSlots(grid)) that no word can fill: those no
// word of their list fits as the grid stands, and, when every slot has one,
// the slot that arc consistency leaves without a word, if any.
std::vector<std::size_t> DeadSlots(const Grid& grid, SearchLexicons& lexicons,
                                   const SearchOptions& options);

}  // namespace polimreza

#endif  // POLIMREZA_SEARCH_QUERIES_H_
