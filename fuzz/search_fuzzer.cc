// Fuzz target: the complete search on small fuzzed grids and lists, under a
// node limit. Every fill it claims must be one: each slot a word of its
// list, given letters kept, no word of two or more letters twice unless
// repeats are allowed, and each slot's entry the word's first. A slot it
// names as unfillable must fit no word of its list. After every propagation
// the search's state must keep its invariants.
//
// Input: a byte naming the alphabet (see AlphabetFromByte), a byte of
// options (bit 0: repeats allowed, the rest: the seed and the first run's
// decisions before a restart), a
// byte each for width and height (1 to 5), a byte per cell (below 64: '#',
// from 192: a given letter A to C, else '*'), then up to nine word lists
// ("1.txt" first) separated by "%%", read through the alphabet as
// polimreza-fill reads them (a given letter is the code of letter 0 to 2).
#include <cstddef>
#include <cstdint>
#include <map>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_alphabet.h"
#include "fuzz/fuzz_model.h"
#include "search/search.h"
#include "tests/fill_model.h"

namespace polimreza::fuzz {
namespace {

constexpr std::uint64_t kNodeLimit = 2000;

std::vector<std::string> SplitLists(std::string_view text) {
  std::vector<std::string> parts;
  while (parts.size() < 9) {
    std::size_t end = text.find("%%");
    parts.emplace_back(text.substr(0, end));
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 2);
  }
  return parts;
}

}  // namespace
}  // namespace polimreza::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  using namespace polimreza;
  using namespace polimreza::fuzz;
  if (size < 1) return 0;
  const Alphabet& alphabet = AlphabetFromByte(data[0]);
  ++data;
  --size;
  if (size < 3) return 0;
  const bool repeats = data[0] & 1;
  const std::size_t width = 1 + data[1] % 5;
  const std::size_t height = 1 + data[2] % 5;
  if (size < 3 + width * height) return 0;
  model::Rows rows(height, std::string(width, '#'));
  Grid grid(static_cast<std::uint32_t>(width),
            static_cast<std::uint32_t>(height));
  for (std::size_t i = 0; i < width * height; ++i) {
    const std::uint8_t b = data[3 + i];
    const char cell = b < 64     ? '#'
                      : b >= 192 ? static_cast<char>('A' + b % 3)
                                 : '*';
    rows[i / width][i % width] = cell;
    grid.SetCell(i, static_cast<unsigned char>(cell));
  }
  std::vector<std::string> texts = SplitLists(
      std::string_view(reinterpret_cast<const char*>(data + 3 + width * height),
                       size - 3 - width * height));
  const std::vector<std::string> sources = texts;
  for (std::string& text : texts) text = ReadListText(text, alphabet);
  std::map<std::size_t, std::vector<std::string>> words;
  for (std::size_t length = 1; length <= 9; ++length) {
    if (length > texts.size()) {
      words[length];
      continue;
    }
    for (const ModelEntry& entry : ModelEntries(texts[length - 1], length)) {
      words[length].push_back(entry.word);
    }
  }
  WordLists lists(
      [&sources](unsigned length) -> std::unique_ptr<std::istream> {
        if (length > sources.size()) return nullptr;
        return std::make_unique<std::istringstream>(sources[length - 1]);
      },
      ListEncoder(alphabet));

  SearchOptions options;
  options.allow_repeats = repeats;
  options.seed = data[0] >> 1;
  options.node_limit = kNodeLimit;
  options.first_run_nodes = 1 + data[0] % 8;  // restarts, and many
  options.check_state = [](const std::string& broken) {
    FUZZ_CHECK(broken.empty());
  };
  const SearchResult result = Search(grid, lists, options);
  FUZZ_CHECK(result.words.size() == result.slots.size());

  if (result.outcome == SearchOutcome::kFilled) {
    model::Rows filled = rows;
    for (std::size_t s = 0; s < result.slots.size(); ++s) {
      const Slot& slot = result.slots[s];
      FUZZ_CHECK(result.words[s].has_value());
      const std::string& word = result.words[s]->word;
      FUZZ_CHECK(word.size() == slot.length);
      const std::vector<std::string>& list = words[slot.length];
      FUZZ_CHECK(result.words[s]->entry < list.size());
      FUZZ_CHECK(list[result.words[s]->entry] == word);
      for (std::size_t e = 0; e < result.words[s]->entry; ++e) {
        FUZZ_CHECK(list[e] != word);
      }
      for (std::size_t k = 0; k < word.size(); ++k) {
        const std::size_t cell =
            slot.start + k * (slot.direction == ACROSS ? 1 : width);
        char& square = filled[cell / width][cell % width];
        FUZZ_CHECK(square == '*' || square == word[k]);
        square = word[k];
      }
    }
    FUZZ_CHECK(model::IsFill(filled, words, repeats));
    FUZZ_CHECK(model::SlotWords(filled).size() == result.slots.size());
  }
  if (result.outcome == SearchOutcome::kNoFill && result.unfillable) {
    const Slot& slot = result.slots[*result.unfillable];
    const std::string pattern = grid.ReadSlot(slot.start, slot.direction);
    for (const std::string& word : words[slot.length]) {
      FUZZ_CHECK(!ModelMatch(pattern, word));
    }
  }
  if (result.outcome == SearchOutcome::kStopped) {
    FUZZ_CHECK(result.nodes == kNodeLimit);
  }
  return 0;
}
