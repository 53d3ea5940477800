// The benchmarks' inputs, made deterministically from a seed: short-slot
// grids with lists of every short string, and a realistic 15x15 pattern with
// about 50,000 pseudo-word entries of 4 to 9 letters.
#ifndef POLIMREZA_BENCH_BENCH_INPUTS_H_
#define POLIMREZA_BENCH_BENCH_INPUTS_H_

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace polimreza::bench {

// The text of "1.txt".."9.txt" (index 0 is "1.txt"); none: no such file.
using ListTexts = std::array<std::optional<std::string>, 9>;

// A `size` x `size` pattern: every fourth row and column black (rows and
// columns 3, 7, 11, ...), plus about 10% of the other squares black at
// random; the rest empty. No slot is longer than 3 squares.
std::string ShortSlotPattern(unsigned size, std::uint32_t seed);

// "1.txt" to "3.txt" holding every string of 1 to 3 letters over 'A'..'P',
// each list in a shuffled order; no longer lists. Any short-slot grid fills.
ListTexts ShortWordLists(std::uint32_t seed);

// A 15x15 pattern, symmetric, whose slots across and down are all 4 to 9
// squares long.
std::string RealisticPattern();

// About 50,000 entries of pseudo-words of 4 to 9 letters with clues of a few
// pseudo-words each, in "4.txt" to "9.txt"; no shorter lists.
ListTexts RealisticWordLists(std::uint32_t seed);

}  // namespace polimreza::bench

#endif  // POLIMREZA_BENCH_BENCH_INPUTS_H_
