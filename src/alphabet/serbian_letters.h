// The thirty letters of the Serbian alphabet in both scripts, in the one
// table that the alphabets and the conversion of clue text between scripts
// read them from.
#ifndef POLIMREZA_ALPHABET_SERBIAN_LETTERS_H_
#define POLIMREZA_ALPHABET_SERBIAN_LETTERS_H_

#include <unicode/utf8.h>

#include <array>
#include <cstdint>
#include <string>

namespace polimreza {

// U+200C ZERO WIDTH NON-JOINER: in Latin, keeps two letters that would read
// as one pair (see alphabet.h).
inline constexpr char32_t kZwnj = 0x200C;

// A letter of the Serbian alphabet in both scripts.
struct SerbianLetter {
  char32_t latin;         // the Latin letter, or the first of its two
  char32_t latin_second;  // the second of the two; 0 for a single letter
  char32_t latin_single;  // the one character Unicode has for the letter
  char32_t cyrillic;
};

// The Serbian letters in Latin order.
inline constexpr std::array<SerbianLetter, 30> kSerbian = {{
    {'A', 0, 'A', 0x410},     {'B', 0, 'B', 0x411},
    {'C', 0, 'C', 0x426},     {0x10C, 0, 0x10C, 0x427},    // C caron
    {0x106, 0, 0x106, 0x40B},                              // C acute
    {'D', 0, 'D', 0x414},     {'D', 0x17D, 0x1C4, 0x40F},  // DZ caron
    {0x110, 0, 0x110, 0x402},                              // D stroke
    {'E', 0, 'E', 0x415},     {'F', 0, 'F', 0x424},
    {'G', 0, 'G', 0x413},     {'H', 0, 'H', 0x425},
    {'I', 0, 'I', 0x418},     {'J', 0, 'J', 0x408},
    {'K', 0, 'K', 0x41A},     {'L', 0, 'L', 0x41B},
    {'L', 'J', 0x1C7, 0x409},  // LJ
    {'M', 0, 'M', 0x41C},     {'N', 0, 'N', 0x41D},
    {'N', 'J', 0x1CA, 0x40A},  // NJ
    {'O', 0, 'O', 0x41E},     {'P', 0, 'P', 0x41F},
    {'R', 0, 'R', 0x420},     {'S', 0, 'S', 0x421},
    {0x160, 0, 0x160, 0x428},  // S caron
    {'T', 0, 'T', 0x422},     {'U', 0, 'U', 0x423},
    {'V', 0, 'V', 0x412},     {'Z', 0, 'Z', 0x417},
    {0x17D, 0, 0x17D, 0x416},  // Z caron
}};

// The Cyrillic letters in Cyrillic order.
inline constexpr std::array<char32_t, 30> kCyrillicOrder = {
    0x410, 0x411, 0x412, 0x413, 0x414, 0x402, 0x415, 0x416, 0x417, 0x418,
    0x408, 0x41A, 0x41B, 0x409, 0x41C, 0x41D, 0x40A, 0x41E, 0x41F, 0x420,
    0x421, 0x422, 0x40B, 0x423, 0x424, 0x425, 0x426, 0x427, 0x40F, 0x428,
};

inline void AppendUtf8(char32_t c, std::string& out) {
  char bytes[U8_MAX_LENGTH];
  int32_t length = 0;
  U8_APPEND_UNSAFE(bytes, length, static_cast<UChar32>(c));
  out.append(bytes, static_cast<std::size_t>(length));
}

}  // namespace polimreza

#endif  // POLIMREZA_ALPHABET_SERBIAN_LETTERS_H_
