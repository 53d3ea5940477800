#include "search/queries.h"

#include <utility>

namespace polimreza {

SearchLexicons::SearchLexicons(WordLists& lists) : lists_(lists) {}

SearchLexicons::~SearchLexicons() = default;

const Lexicon* SearchLexicons::ForLength(unsigned length) {
  if (length == 0 || length > kMaxEntryLength) return nullptr;
  if (!lexicons_[length]) {
    const WordList* list = lists_.List(length);
    if (list == nullptr) return nullptr;
    lexicons_[length] = std::make_unique<Lexicon>(
        *list, excluded_.empty() ? nullptr : &excluded_);
  }
  return lexicons_[length].get();
}

void SearchLexicons::SetExcluded(std::unordered_set<std::string> words) {
  // A lexicon can change only when a word of its length enters or leaves
  // the set; the others stay as they are.
  for (const auto* set : {&excluded_, &words}) {
    for (const std::string& word : *set) {
      if (word.size() < lexicons_.size()) lexicons_[word.size()].reset();
    }
  }
  excluded_ = std::move(words);
}

}  // namespace polimreza
