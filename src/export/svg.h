// The SVG picture of a numbered puzzle's grid, blank or filled, for printed
// publications.
#ifndef POLIMREZA_EXPORT_SVG_H_
#define POLIMREZA_EXPORT_SVG_H_

#include <string>
#include <string_view>

#include "export/numbering.h"

namespace polimreza {

// A standalone SVG document of the grid: blocks, squares and their numbers,
// and with `filled` the letters of the solution.
std::string WriteSvg(const NumberedPuzzle& puzzle, bool filled);

}  // namespace polimreza

#endif  // POLIMREZA_EXPORT_SVG_H_
