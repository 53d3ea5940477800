// Turns a pattern file's text into the Grid: measures it, then fills the
// cells with blocks, empty squares and letters, or says why it cannot.
#ifndef POLIMREZA_DRIVER_PATTERN_LOADER_H_
#define POLIMREZA_DRIVER_PATTERN_LOADER_H_

#include <cstddef>
#include <cstdint>
#include <istream>
#include <optional>

#include "grid/grid.h"

namespace polimreza {

enum class PatternRefusalKind {
  kIllegalCharacter,  // a character that is not '#', '*' or 'A'-'Z'
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

// Reads the pattern from `in` twice: once to measure it, then to fill the
// grid, stopping at the first illegal character.
LoadedPattern LoadPattern(std::istream& in);

}  // namespace polimreza

#endif  // POLIMREZA_DRIVER_PATTERN_LOADER_H_
