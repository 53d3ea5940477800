// The ipuz file of a numbered puzzle: the open JSON crossword format that
// solving apps and construction tools read.
#ifndef POLIMREZA_EXPORT_IPUZ_H_
#define POLIMREZA_EXPORT_IPUZ_H_

#include <string>

#include "export/numbering.h"

namespace polimreza {

// An ipuz version 2 crossword: dimensions, the numbered puzzle (0 for an
// unnumbered square, "#" for a block), the solution and both clue lists.
// The title and the clues are HTML there, so &, < and > are escaped. A
// Serbian puzzle also gives its letters ("charset") and its language.
std::string WriteIpuz(const NumberedPuzzle& puzzle);

}  // namespace polimreza

#endif  // POLIMREZA_EXPORT_IPUZ_H_
