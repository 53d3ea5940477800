// A word of 1 to kMaxEntryLength letters as one 128-bit key, the key the
// list builder and the corpus counter share: five bits a letter (the
// letter's code + 1), the last letter lowest.
#ifndef POLIMREZA_DICTIONARY_WORD_KEY_H_
#define POLIMREZA_DICTIONARY_WORD_KEY_H_

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>

#include "alphabet/alphabet.h"
#include "grid/grid.h"

namespace polimreza {

inline constexpr unsigned kLetterBits = 5;

// Every word has its own key and its length shows in its highest bit; the
// key of no word is all zero, which hash tables use for a free place.
struct WordKey {
  std::uint64_t high = 0;
  std::uint64_t low = 0;
  bool operator==(const WordKey&) const = default;
  bool empty() const { return high == 0 && low == 0; }
};
static_assert(kLetterBits * kMaxEntryLength <= 128,
              "a word's key holds every letter");

// Appends one letter's code (1 to 31) to `key`.
inline void AppendCode(WordKey& key, std::uint64_t code) {
  key.high = (key.high << kLetterBits) | (key.low >> (64 - kLetterBits));
  key.low = (key.low << kLetterBits) | code;
}

// The key of a word of 1 to kMaxEntryLength letters.
inline WordKey PackWord(std::span<const Letter> letters) {
  WordKey key;
  for (Letter letter : letters) {
    AppendCode(key, static_cast<std::uint64_t>(letter + 1));
  }
  return key;
}

// The letters of a key: its first letter's code is not 0, so its bits end
// in that letter's group of five.
inline std::size_t KeyLength(WordKey key) {
  const auto bits = static_cast<std::size_t>(
      key.high != 0 ? 64 + std::bit_width(key.high) : std::bit_width(key.low));
  return (bits + kLetterBits - 1) / kLetterBits;
}

// The place of a key's list among the lists: its length less one (a key is
// never of an empty word).
inline std::size_t KeyList(WordKey key) {
  return std::clamp<std::size_t>(KeyLength(key), 1, kMaxEntryLength) - 1;
}

// The code (letter + 1) at `index` (0 the first) of a key of `length` letters.
inline unsigned KeyLetter(WordKey key, std::size_t length, std::size_t index) {
  const std::size_t shift = kLetterBits * (length - 1 - index);
  const std::uint64_t bits =
      shift >= 64  ? key.high >> (shift - 64)
      : shift == 0 ? key.low
                   : (key.low >> shift) | (key.high << (64 - shift));
  return static_cast<unsigned>(bits & ((1u << kLetterBits) - 1));
}

// The place of `key` in an open-addressing table of mask + 1 places.
inline std::size_t KeySlot(WordKey key, std::size_t mask) {
  const std::uint64_t mixed =
      (key.low ^ (key.high * 0xc2b2ae3d27d4eb4fULL)) * 0x9e3779b97f4a7c15ULL;
  return static_cast<std::size_t>(mixed >> 24) & mask;
}

}  // namespace polimreza

#endif  // POLIMREZA_DICTIONARY_WORD_KEY_H_
