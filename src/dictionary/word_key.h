// A word of 1 to 9 letters as one number, the key the list builder and the
// corpus counter share: its length in the top bits, then five bits a letter.
#ifndef POLIMREZA_DICTIONARY_WORD_KEY_H_
#define POLIMREZA_DICTIONARY_WORD_KEY_H_

#include <cstddef>
#include <cstdint>
#include <span>

#include "alphabet/alphabet.h"

namespace polimreza {

inline constexpr int kWordKeyLengthShift = 60;

// The key of `letters` (1 to 9 of them): each letter + 1 in five bits, the
// first highest, and the length above; every word has its own, never 0.
inline std::uint64_t PackWord(std::span<const Letter> letters) {
  std::uint64_t key = 0;
  for (Letter letter : letters)
    key = (key << 5) | static_cast<std::uint64_t>(letter + 1);
  return key |
         (static_cast<std::uint64_t>(letters.size()) << kWordKeyLengthShift);
}

inline std::size_t KeyLength(std::uint64_t key) {
  return static_cast<std::size_t>(key >> kWordKeyLengthShift);
}

}  // namespace polimreza

#endif  // POLIMREZA_DICTIONARY_WORD_KEY_H_
