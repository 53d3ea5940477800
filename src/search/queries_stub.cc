// Simple bodies for the constructor's queries, good enough to serve from
// until the real ones replace them.
#include <algorithm>

#include "search/queries.h"

namespace polimreza {

SearchLexicons::SearchLexicons(WordLists& lists) : lists_(lists) {}
SearchLexicons::~SearchLexicons() = default;

const Lexicon* SearchLexicons::ForLength(unsigned length) {
  if (length == 0 || length > kMaxSlotLength) return nullptr;
  if (!lexicons_[length]) {
    const WordList* list = lists_.List(length);
    if (!list) return nullptr;
    lexicons_[length] = std::make_unique<Lexicon>(*list);
  }
  return lexicons_[length].get();
}

void SearchLexicons::SetExcluded(std::unordered_set<std::string> words) {
  excluded_ = std::move(words);
  for (auto& lexicon : lexicons_) lexicon.reset();
}

SearchResult Search(const Grid& grid, SearchLexicons& lexicons,
                    const SearchOptions& options) {
  return Search(grid, lexicons.Lists(), options);
}

FittingWords FitSlot(const Grid& grid, SearchLexicons& lexicons,
                     std::size_t slot, std::size_t limit,
                     const SearchOptions& options) {
  FittingWords fitting;
  const std::vector<Slot> slots = FindSlots(grid);
  if (slot >= slots.size()) return fitting;
  const Slot& s = slots[slot];
  const WordList* list = lexicons.Lists().List(s.length);
  if (!list) return fitting;
  const std::string pattern = grid.ReadSlot(s.start, s.direction);
  for (std::size_t e = 0; e < list->size(); ++e) {
    if (!MatchPattern(pattern, list->Word(e))) continue;
    const std::string word(list->Word(e));
    if (std::any_of(options.forbidden.begin(), options.forbidden.end(),
                    [&](const auto& f) {
                      return f.first == slot && f.second == word;
                    })) {
      continue;
    }
    ++fitting.count;
    if (fitting.words.size() < limit) fitting.words.push_back({word, e});
  }
  return fitting;
}

std::vector<std::size_t> DeadSlots(const Grid& grid, SearchLexicons& lexicons,
                                   const SearchOptions& options) {
  std::vector<std::size_t> dead;
  const std::vector<Slot> slots = FindSlots(grid);
  for (std::size_t s = 0; s < slots.size(); ++s) {
    if (slots[s].length < 2) continue;
    if (FitSlot(grid, lexicons, s, 0, options).count == 0) dead.push_back(s);
  }
  return dead;
}

}  // namespace polimreza
