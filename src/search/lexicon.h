// The words of one list as the complete search sees them: each distinct word
// once, numbered in the order of its first entry, with one bitset over those
// numbers for every (position, letter) that occurs.
#ifndef POLIMREZA_SEARCH_LEXICON_H_
#define POLIMREZA_SEARCH_LEXICON_H_

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "grid/grid.h"
#include "wordlist/word_list.h"

namespace polimreza {

// Bits set in `w`, inline: without a popcount instruction in the baseline
// instruction set, std::popcount becomes a library call.
inline std::uint32_t Ones(std::uint64_t w) {
  w -= (w >> 1) & 0x5555555555555555ull;
  w = (w & 0x3333333333333333ull) + ((w >> 2) & 0x3333333333333333ull);
  w = (w + (w >> 4)) & 0x0F0F0F0F0F0F0F0Full;
  return static_cast<std::uint32_t>((w * 0x0101010101010101ull) >> 56);
}

// A set of byte values, one bit each.
struct LetterSet {
  std::array<std::uint64_t, 4> bits{};

  static LetterSet All();
  bool Has(unsigned char letter) const {
    return (bits[letter >> 6] >> (letter & 63)) & 1;
  }
  void Add(unsigned char letter) {
    bits[letter >> 6] |= std::uint64_t{1} << (letter & 63);
  }
  int Count() const;
  // More than one letter; cheaper than Count() > 1.
  bool Several() const {
    bool one = false;
    for (const std::uint64_t w : bits) {
      if (w == 0) continue;
      if (one || (w & (w - 1)) != 0) return true;
      one = true;
    }
    return false;
  }
  bool Empty() const { return (bits[0] | bits[1] | bits[2] | bits[3]) == 0; }
  LetterSet operator&(const LetterSet& other) const;
  LetterSet Without(const LetterSet& other) const;
  bool operator==(const LetterSet& other) const = default;
  // Calls `visit(letter)` for every member, from the lowest.
  template <typename Visit>
  void ForEach(Visit visit) const {
    for (unsigned k = 0; k < 4; ++k) {
      for (std::uint64_t w = bits[k]; w != 0; w &= w - 1) {
        visit(static_cast<unsigned char>(k * 64 + std::countr_zero(w)));
      }
    }
  }
};

class Lexicon {
 public:
  // The distinct words of `list`, in the order of their first entries,
  // less those in `excluded` when it is given.
  explicit Lexicon(const WordList& list,
                   const std::unordered_set<std::string>* excluded = nullptr);

  unsigned Length() const { return length_; }
  std::size_t size() const { return entries_.size(); }
  // 64-bit chunks of a bitset over the words.
  std::size_t Chunks() const { return chunks_; }
  // The list entry (for its clue) of word `id`.
  std::size_t Entry(std::uint32_t id) const { return entries_[id]; }
  unsigned char Letter(std::uint32_t id, unsigned position) const {
    return letters_[static_cast<std::size_t>(id) * length_ + position];
  }
  std::string_view Word(std::uint32_t id) const {
    return std::string_view(
        reinterpret_cast<const char*>(&letters_[std::size_t{id} * length_]),
        length_);
  }
  // The letters some word has at `position`.
  const LetterSet& Present(unsigned position) const {
    return present_[position];
  }
  // The words with `letter` at `position`; null when there are none.
  const std::uint64_t* Bits(unsigned position, unsigned char letter) const {
    std::int32_t k = index_[position * 256 + letter];
    return k < 0 ? nullptr : &bits_[static_cast<std::size_t>(k) * chunks_];
  }
  // Dense number of `letter` among the letters present at `position`, counted
  // over all positions (below LetterSlots()); -1 when absent.
  std::int32_t LetterSlot(unsigned position, unsigned char letter) const {
    return index_[position * 256 + letter];
  }
  std::size_t LetterSlots() const { return letter_slots_; }
  // The number of `word`; ~0u when it is not in the lexicon.
  std::uint32_t Find(std::string_view word) const;

 private:
  unsigned length_;
  const WordList* list_;
  std::size_t chunks_ = 0;
  std::size_t letter_slots_ = 0;
  std::vector<std::uint32_t> entries_;
  std::vector<unsigned char> letters_;
  std::array<LetterSet, kMaxEntryLength> present_{};
  std::vector<std::int32_t> index_;
  std::vector<std::uint64_t> bits_;
};

}  // namespace polimreza

#endif  // POLIMREZA_SEARCH_LEXICON_H_
