// The web page of a numbered puzzle: one self-contained file that shows the
// blank grid and the clues, plays in a browser and prints with its solution.
#ifndef POLIMREZA_EXPORT_HTML_H_
#define POLIMREZA_EXPORT_HTML_H_

#include <string>
#include <string_view>

#include "export/numbering.h"

namespace polimreza {

// The page: grid, clues and solution rendered as HTML (so it prints without
// a script), the puzzle as JSON for the embedded script, and the embedded
// style and script.
std::string WriteHtml(const NumberedPuzzle& puzzle);

// The puzzle data the page's script reads: dimensions, letters, numbers and
// slots, as JSON in which no '<', '>' or '&' appears raw.
std::string PageData(const NumberedPuzzle& puzzle);

}  // namespace polimreza

#endif  // POLIMREZA_EXPORT_HTML_H_
