// Turns a pattern file's text into the Grid: measures it, prints the
// dimension line, and fills the cells with blocks, empty squares and letters.
#ifndef POLIMREZA_DRIVER_PATTERN_LOADER_H_
#define POLIMREZA_DRIVER_PATTERN_LOADER_H_

#include <istream>
#include <ostream>

#include "grid/grid.h"

namespace polimreza {

enum class LoadResult { kLoaded, kRefused };

// Reads the pattern from `in` twice (measure, then fill) into `grid`, and
// prints the dimension line to `out`; on a character that is not '#', '*' or
// 'A'-'Z' prints the illegal-character message and gives kRefused, leaving
// the cells stored so far in place.
LoadResult LoadPattern(std::istream& in, std::ostream& out, Grid& grid);

}  // namespace polimreza

#endif  // POLIMREZA_DRIVER_PATTERN_LOADER_H_
