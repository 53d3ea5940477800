// Fuzz target: the word-list parser and the lookups (FindWord, FindClue,
// FindExact, MatchPattern) on arbitrary list bytes and patterns.
//
// Input: the first byte names the alphabet (see AlphabetFromByte); of the
// rest, the bytes before the first line feed are patterns separated by '|',
// and what follows is the text of every list, each list reading it for its
// own word length. Patterns and lists are read through the alphabet as
// polimreza-fill reads them (a pattern it refuses is left out). Patterns
// built from the parsed words are tried as well.
#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_alphabet.h"
#include "fuzz/fuzz_model.h"
#include "wordlist/word_list.h"

namespace polimreza::fuzz {
namespace {

constexpr std::size_t kMaxPatterns = 64;

// The first entry of `entries` whose word is exactly `word`.
const ModelEntry* FirstExact(const std::vector<ModelEntry>& entries,
                             std::string_view word) {
  for (const ModelEntry& entry : entries) {
    if (entry.word == word) return &entry;
  }
  return nullptr;
}

void CheckParse(const WordList& list, unsigned length,
                const std::vector<ModelEntry>& model) {
  FUZZ_CHECK(list.WordLength() == length);
  FUZZ_CHECK(list.size() == model.size());
  for (std::size_t e = 0; e < model.size(); ++e) {
    FUZZ_CHECK(list.Word(e) == model[e].word);
    FUZZ_CHECK(list.Clue(e) == model[e].clue);
  }
  // The first entry of each word is the one an exact lookup finds; a word
  // of another length is never found.
  for (std::size_t e = 0; e < model.size(); ++e) {
    std::optional<std::size_t> found = list.FindExact(model[e].word);
    FUZZ_CHECK(found.has_value());
    FUZZ_CHECK(*found <= e);
    FUZZ_CHECK(list.Word(*found) == model[e].word);
    FUZZ_CHECK(FirstExact(model, model[e].word) == &model[*found]);
  }
  FUZZ_CHECK(!list.FindExact(std::string(length + 1, 'A')).has_value());
}

// Walks FindWord over the whole list from position 0 and holds it to a
// linear scan of the model's entries.
void CheckSearch(WordLists& lists, const std::string& pattern,
                 const std::vector<std::vector<ModelEntry>>& model) {
  const bool has_list = !pattern.empty() && pattern.size() <= kMaxEntryLength;
  std::vector<const ModelEntry*> fitting;
  if (has_list) {
    for (const ModelEntry& entry : model[pattern.size() - 1]) {
      if (ModelMatch(pattern, entry.word)) fitting.push_back(&entry);
    }
  }

  std::string word = "unchanged word";
  std::string clue = "unchanged clue";
  std::int64_t position = 0;
  std::size_t found = 0;
  for (;;) {
    std::int64_t next = lists.FindWord(pattern, word, clue, position);
    if (next < 0) {
      FUZZ_CHECK(next == -1);
      break;
    }
    FUZZ_CHECK(next > position);
    FUZZ_CHECK(found < fitting.size());
    FUZZ_CHECK(word == fitting[found]->word);
    FUZZ_CHECK(clue == fitting[found]->clue);
    FUZZ_CHECK(MatchPattern(pattern, word));
    ++found;
    position = next;
    word = "unchanged word";
    clue = "unchanged clue";
  }
  FUZZ_CHECK(found == fitting.size());
  FUZZ_CHECK(word == "unchanged word" && clue == "unchanged clue");
  // Once the end is reached it stays reached.
  FUZZ_CHECK(lists.FindWord(pattern, word, clue, position) == -1);

  // Positions no search hands out give nothing, and change nothing.
  for (std::int64_t from : {std::int64_t{-1}, std::int64_t{-2},
                            std::numeric_limits<std::int64_t>::min(),
                            std::numeric_limits<std::int64_t>::max()}) {
    FUZZ_CHECK(lists.FindWord(pattern, word, clue, from) == -1);
  }
  FUZZ_CHECK(word == "unchanged word" && clue == "unchanged clue");

  // An exact lookup gives the clue of the first entry with that word.
  std::optional<std::string_view> exact = lists.FindClue(pattern);
  const ModelEntry* first =
      has_list ? FirstExact(model[pattern.size() - 1], pattern) : nullptr;
  FUZZ_CHECK(exact.has_value() == (first != nullptr));
  if (first != nullptr) FUZZ_CHECK(*exact == first->clue);
  // For a pattern without '*', the first exact match is the first entry a
  // search finds.
  if (has_list && pattern.find('*') == std::string::npos) {
    FUZZ_CHECK(fitting.empty() == (first == nullptr));
    if (first != nullptr) FUZZ_CHECK(fitting.front() == first);
  }
}

}  // namespace
}  // namespace polimreza::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  using namespace polimreza;
  using namespace polimreza::fuzz;
  if (size == 0) return 0;
  const Alphabet& alphabet = AlphabetFromByte(data[0]);
  const std::string_view input(reinterpret_cast<const char*>(data + 1),
                               size - 1);
  const std::size_t newline = input.find('\n');
  const std::string_view header = newline == std::string_view::npos
                                      ? std::string_view()
                                      : input.substr(0, newline);
  const std::string_view source =
      newline == std::string_view::npos ? input : input.substr(newline + 1);
  const std::string text = ReadListText(source, alphabet);

  // Every list reads the same text, each for its own word length, in one
  // pass through the alphabet; the model reads the text that stands for.
  WordLists lists(
      [source](unsigned) -> std::unique_ptr<std::istream> {
        return std::make_unique<std::istringstream>(std::string(source));
      },
      ListEncoder(alphabet));
  std::vector<std::vector<ModelEntry>> model;
  for (unsigned length = 1; length <= kMaxEntryLength; ++length) {
    model.push_back(ModelEntries(text, length));
    const WordList* list = lists.List(length);
    FUZZ_CHECK(list != nullptr);
    CheckParse(*list, length, model.back());
  }
  FUZZ_CHECK(lists.List(0) == nullptr &&
             lists.List(kMaxEntryLength + 1) == nullptr);

  std::vector<std::string> patterns;
  for (std::size_t start = 0; start <= header.size();) {
    std::size_t bar = header.find('|', start);
    if (bar == std::string_view::npos) bar = header.size();
    if (std::optional<std::string> pattern =
            ReadPatternText(header.substr(start, bar - start), alphabet)) {
      patterns.push_back(std::move(*pattern));
    }
    start = bar + 1;
  }
  for (std::size_t length = 0; length <= 10; ++length) {
    patterns.emplace_back(length, '*');
  }
  std::size_t k = 0;
  for (const auto& entries : model) {
    for (std::size_t e = 0; e < entries.size() && e < 4; ++e, ++k) {
      std::string word = entries[e].word;
      patterns.push_back(word);
      word[k % word.size()] = '*';
      patterns.push_back(word);
    }
  }
  if (patterns.size() > kMaxPatterns) patterns.resize(kMaxPatterns);

  for (const std::string& pattern : patterns) {
    CheckSearch(lists, pattern, model);
    for (const auto& entries : model) {
      for (std::size_t e = 0; e < entries.size() && e < 8; ++e) {
        FUZZ_CHECK(MatchPattern(pattern, entries[e].word) ==
                   ModelMatch(pattern, entries[e].word));
      }
    }
    FUZZ_CHECK(MatchPattern(pattern, header) == ModelMatch(pattern, header));
  }
  return 0;
}
