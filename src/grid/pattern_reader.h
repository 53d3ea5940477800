// Turns a pattern file's text into the Grid: measures it, then fills the
// cells with blocks, empty squares and letters (A-Z, or the letters of an
// alphabet as byte codes), or says why it cannot.
#ifndef POLIMREZA_GRID_PATTERN_READER_H_
#define POLIMREZA_GRID_PATTERN_READER_H_

#include <cstddef>
#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <string_view>

#include "alphabet/alphabet.h"
#include "grid/grid.h"

namespace polimreza {

// Letter l of an alphabet stands as the byte kFirstLetterCode + l: 65 to 96
// for the largest alphabet, never '#' or '*'; so the grid, the lists and the
// search work on single bytes as they do for A-Z.
inline constexpr unsigned char kFirstLetterCode = 'A';

enum class PatternRefusalKind {
  kIllegalCharacter,  // a character that is not '#', '*' or a letter
  kTooLarge,          // no memory for a grid of the measured size
};

// Why a pattern was not loaded; the position (from 0, rows counting only
// non-empty lines) of the illegal character, 0 and 0 for kTooLarge.
struct PatternRefusal {
  PatternRefusalKind kind;
  std::size_t column = 0;
  std::size_t row = 0;
};

// A loaded pattern. The measured dimensions are known whatever happened
// after the measuring; on a refusal `grid` holds the cells stored before it.
struct LoadedPattern {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  Grid grid;
  std::optional<PatternRefusal> refusal;
};

// Reads the A-Z pattern from `in` twice: once to measure it, then to fill
// the grid, stopping at the first character that is not '#', '*' or 'A'-'Z'.
// Widths count bytes.
LoadedPattern LoadPattern(std::istream& in);

// Reads the pattern in `in` written in the letters of `alphabet`: '#' and '*'
// stay, every run of other characters is split into letters and each letter
// becomes its code. The dimensions count squares; a row holding a character
// that is no letter is measured in characters and refused as an illegal
// character, its column the count of squares before the refused run.
LoadedPattern LoadAlphabetPattern(std::istream& in, const Alphabet& alphabet);

// What a run of characters between '#' and '*' that holds no letter (a
// lone zero width non-joiner) stands for in a row.
enum class EmptyRun {
  kNothing,  // no square: a pattern file reads it so
  kRefused,  // a character that is no letter
};

// Appends to `cells` the squares of the row `line` written in `alphabet`:
// '#' and '*' as they are, every run between them split into letters, each
// as its code. False at the first run that is refused, with `cells` holding
// the squares before it.
bool AppendRowCells(std::string_view line, const Alphabet& alphabet,
                    EmptyRun empty_run, std::string& cells);

}  // namespace polimreza

#endif  // POLIMREZA_GRID_PATTERN_READER_H_
