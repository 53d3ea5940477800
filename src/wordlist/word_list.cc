#include "wordlist/word_list.h"

#include <algorithm>
#include <limits>
#include <sstream>

#include "driver/text_lines.h"

namespace polimreza {
namespace {

constexpr std::size_t kLetters = 256;

std::size_t HashBytes(std::string_view bytes) {
  // FNV-1a: short words, no need for anything stronger.
  std::uint64_t h = 1469598103934665603ull;
  for (char c : bytes) {
    h ^= static_cast<unsigned char>(c);
    h *= 1099511628211ull;
  }
  return static_cast<std::size_t>(h ^ (h >> 29));
}

}  // namespace

int MatchPattern(std::string_view pattern, std::string_view word) {
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    char w = i < word.size() ? word[i] : '\0';
    if (pattern[i] != w && pattern[i] != '*') return 0;
  }
  return 1;
}

WordList::WordList(std::istream& in, unsigned length) : length_(length) {
  TextLineReader reader(in);
  std::string line;
  while (!reader.AtEnd()) {
    reader.ReadLine(line);
    if (line.empty()) continue;
    std::size_t semicolon = line.find(';');
    if (semicolon == std::string::npos) continue;
    if (line.find('\0') != std::string::npos) continue;
    std::string_view view(line);
    std::string_view word = view.substr(0, semicolon);
    if (word.size() != length_) continue;
    // A word holding '*' or '#' would leave an empty square or plant a block.
    if (word.find_first_of("*#") != std::string_view::npos) continue;
    if (entries_.size() >= std::numeric_limits<std::uint32_t>::max() - 1) {
      break;
    }
    Add(word, view.substr(semicolon + 1));
  }
  BuildIndexes();
}

void WordList::Add(std::string_view word, std::string_view clue) {
  entries_.push_back({text_.size(), static_cast<std::uint32_t>(clue.size())});
  text_.append(word);
  text_.append(clue);
}

std::string_view WordList::Word(std::size_t entry) const {
  return std::string_view(text_).substr(entries_[entry].offset, length_);
}

std::string_view WordList::Clue(std::size_t entry) const {
  return std::string_view(text_).substr(entries_[entry].offset + length_,
                                        entries_[entry].clue_size);
}

std::size_t WordList::HashSlot(std::string_view word) const {
  return HashBytes(word) & (exact_.size() - 1);
}

void WordList::BuildIndexes() {
  text_.shrink_to_fit();
  entries_.shrink_to_fit();

  std::size_t capacity = 8;
  while (capacity < entries_.size() * 2) capacity *= 2;
  exact_.assign(capacity, 0);
  for (std::size_t e = 0; e < entries_.size(); ++e) {
    std::string_view word = Word(e);
    for (std::size_t s = HashSlot(word);; s = (s + 1) & (capacity - 1)) {
      if (exact_[s] == 0) {
        exact_[s] = static_cast<std::uint32_t>(e + 1);
        break;
      }
      if (Word(exact_[s] - 1) == word) break;  // keep the first entry
    }
  }

  by_letter_.assign(static_cast<std::size_t>(length_) * kLetters, {});
  for (std::size_t e = 0; e < entries_.size(); ++e) {
    std::string_view word = Word(e);
    for (unsigned i = 0; i < length_; ++i) {
      by_letter_[i * kLetters + static_cast<unsigned char>(word[i])].push_back(
          static_cast<std::uint32_t>(e));
    }
  }
  for (auto& postings : by_letter_) postings.shrink_to_fit();
}

std::optional<std::size_t> WordList::FindExact(std::string_view word) const {
  if (word.size() != length_) return std::nullopt;
  for (std::size_t s = HashSlot(word);; s = (s + 1) & (exact_.size() - 1)) {
    if (exact_[s] == 0) return std::nullopt;
    if (Word(exact_[s] - 1) == word) return exact_[s] - 1;
  }
}

std::optional<std::size_t> WordList::FindFrom(std::string_view pattern,
                                              std::size_t from) const {
  if (from >= entries_.size()) return std::nullopt;
  // Walk the shortest list of entries that agree with one given letter of
  // the pattern; with no given letter every entry fits.
  const std::vector<std::uint32_t>* shortest = nullptr;
  for (std::size_t i = 0; i < pattern.size() && i < length_; ++i) {
    if (pattern[i] == '*') continue;
    const auto& postings =
        by_letter_[i * kLetters + static_cast<unsigned char>(pattern[i])];
    if (shortest == nullptr || postings.size() < shortest->size()) {
      shortest = &postings;
    }
  }
  if (shortest == nullptr) {
    for (std::size_t e = from; e < entries_.size(); ++e) {
      if (MatchPattern(pattern, Word(e))) return e;
    }
    return std::nullopt;
  }
  for (auto it = std::lower_bound(shortest->begin(), shortest->end(), from);
       it != shortest->end(); ++it) {
    if (MatchPattern(pattern, Word(*it))) return *it;
  }
  return std::nullopt;
}

WordLists::WordLists(ListOpener opener) : opener_(std::move(opener)) {}

const WordList* WordLists::List(unsigned length) {
  if (length < 1 || length > lists_.size()) return nullptr;
  auto& list = lists_[length - 1];
  if (!list) {
    std::unique_ptr<std::istream> in = opener_ ? opener_(length) : nullptr;
    if (in) {
      list = std::make_unique<WordList>(*in, length);
    } else {
      std::istringstream none;
      list = std::make_unique<WordList>(none, length);
    }
  }
  return list.get();
}

std::int64_t WordLists::FindWord(std::string_view pattern, std::string& wordOut,
                                 std::string& clueOut, std::int64_t from) {
  const WordList* list = List(static_cast<unsigned>(
      std::min<std::size_t>(pattern.size(), lists_.size() + 1)));
  if (list == nullptr || from < 0) return -1;
  std::optional<std::size_t> entry =
      list->FindFrom(pattern, static_cast<std::size_t>(from));
  if (!entry) return -1;
  wordOut.assign(list->Word(*entry));
  clueOut.assign(list->Clue(*entry));
  return static_cast<std::int64_t>(*entry) + 1;
}

std::optional<std::string_view> WordLists::FindClue(std::string_view word) {
  const WordList* list = List(static_cast<unsigned>(
      std::min<std::size_t>(word.size(), lists_.size() + 1)));
  if (list == nullptr) return std::nullopt;
  std::optional<std::size_t> entry = list->FindExact(word);
  if (!entry) return std::nullopt;
  return list->Clue(*entry);
}

}  // namespace polimreza
