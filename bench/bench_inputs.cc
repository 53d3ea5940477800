// Makes the benchmarks' patterns and word lists. Only std::mt19937's raw
// output is used (no library distributions), so every platform makes the
// same bytes from the same seed.
#include "bench_inputs.h"

#include <random>
#include <string>
#include <utility>
#include <vector>

namespace polimreza::bench {
namespace {

// Files of this program end their lines with CR LF.
constexpr char kEol[] = "\r\n";

class Draw {
 public:
  explicit Draw(std::uint32_t seed) : rng_(seed) {}
  unsigned Below(unsigned n) { return static_cast<unsigned>(rng_() % n); }
  char From(const std::string& pool) { return pool[Below(pool.size())]; }
  template <typename T>
  void Shuffle(std::vector<T>& items) {
    for (std::size_t k = items.size(); k > 1; --k) {
      std::swap(items[k - 1], items[Below(static_cast<unsigned>(k))]);
    }
  }

 private:
  std::mt19937 rng_;
};

}  // namespace

std::string ShortSlotPattern(unsigned size, std::uint32_t seed) {
  Draw draw(seed);
  std::string text;
  for (unsigned row = 0; row < size; ++row) {
    for (unsigned column = 0; column < size; ++column) {
      bool black = row % 4 == 3 || column % 4 == 3 || draw.Below(10) == 0;
      text += black ? '#' : '*';
    }
    text += kEol;
  }
  return text;
}

ListTexts ShortWordLists(std::uint32_t seed) {
  Draw draw(seed);
  ListTexts lists;
  std::vector<std::string> words;
  for (unsigned length = 1; length <= 3; ++length) {
    words.clear();
    unsigned count = 1;
    for (unsigned k = 0; k < length; ++k) count *= 16;
    for (unsigned n = 0; n < count; ++n) {
      std::string word;
      for (unsigned k = 0, v = n; k < length; ++k, v /= 16) {
        word += static_cast<char>('A' + v % 16);
      }
      words.push_back(word);
    }
    draw.Shuffle(words);
    std::string text;
    for (std::size_t n = 0; n < words.size(); ++n) {
      text += words[n] + ";opis " + std::to_string(n + 1) + kEol;
    }
    lists[length - 1] = std::move(text);
  }
  return lists;
}

std::string RealisticPattern() {
  static const char* const kRows[] = {
      "##*****###*****", "#********#*****", "#********#*****",
      "*********#*****", "******#********", "*****#*****####",
      "****#*********#", "#******#******#", "#*********#****",
      "####*****#*****", "********#******", "*****#*********",
      "*****#********#", "*****#********#", "*****###*****##",
  };
  std::string text;
  for (const char* row : kRows) text += std::string(row) + kEol;
  return text;
}

ListTexts RealisticWordLists(std::uint32_t seed) {
  Draw draw(seed);
  // Letters in rough proportion to their use, consonants and vowels mostly
  // taking turns, so that crossing words often exist.
  const std::string vowels = "AAAAEEEEIIIOOOU";
  const std::string consonants = "RRRSSSTTTNNNLLKKMMDDPPVBGJZCHF";
  auto pseudo_word = [&](unsigned length) {
    std::string word;
    bool vowel = draw.Below(3) == 0;
    for (unsigned k = 0; k < length; ++k) {
      word += draw.From(vowel ? vowels : consonants);
      vowel = vowel ? draw.Below(5) == 0 : draw.Below(4) != 0;
    }
    return word;
  };
  static constexpr unsigned kCounts[] = {6000, 9000, 10000, 10000, 8000, 7000};
  ListTexts lists;
  for (unsigned length = 4; length <= 9; ++length) {
    std::string text;
    for (unsigned n = 0; n < kCounts[length - 4]; ++n) {
      text += pseudo_word(length) + ';';
      for (unsigned w = 1 + draw.Below(4); w > 0; --w) {
        std::string clue_word = pseudo_word(3 + draw.Below(6));
        for (std::size_t k = 1; k < clue_word.size(); ++k) {
          clue_word[k] = static_cast<char>(clue_word[k] - 'A' + 'a');
        }
        text += clue_word;
        if (w > 1) text += ' ';
      }
      text += kEol;
    }
    lists[length - 1] = std::move(text);
  }
  return lists;
}

}  // namespace polimreza::bench
