// A skandinavka as the export draws it: every word's clue in its clue
// square, broken into the square's lines, with the arrow to the word, and
// the web page that plays and prints it.
#ifndef POLIMREZA_EXPORT_SKANDINAVKA_H_
#define POLIMREZA_EXPORT_SKANDINAVKA_H_

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "export/html.h"
#include "export/numbering.h"
#include "grid/clue_squares.h"
#include "text/clue_lines.h"

namespace polimreza {

// How a word's arrow leaves its clue square.
enum class ArrowKind {
  kRight,          // from the square on the left
  kDown,           // from the square above
  kDownThenRight,  // from the square above an across word's first letter
  kRightThenDown,  // from the square left of a down word's first letter
};

// One word with its clue as it stands in its clue square.
struct SquareClue {
  int direction = ACROSS;
  std::size_t slot = 0;  // index in the puzzle's across or down slots
  CellIndex square = 0;  // the clue square
  ArrowKind arrow = ArrowKind::kRight;
  std::string clue;  // display text
  ClueLines lines;   // the clue broken into the square's lines
};

// Every word's clue, in the order of FindWords, and for each square the
// indexes of the clues it holds (none, one or two, the across one first).
struct Skandinavka {
  std::vector<SquareClue> clues;
  std::vector<std::vector<std::size_t>> square_clues;
  std::size_t across_words = 0;
  std::size_t down_words = 0;
};

// The layout of the skandinavka whose grid is `grid` and numbered form is
// `puzzle` (its slots, single squares included, in reading order): each
// clue broken into lines of kClueLineChars with `hyphenator`; the refusal
// when some word has no clue square or some open square no word.
std::variant<Skandinavka, ClueLayoutRefusal> LayOutSkandinavka(
    const Grid& grid, const NumberedPuzzle& puzzle,
    const Hyphenator* hyphenator);

// Whether the clues of `square` take more lines together than a clue
// square holds.
bool Overfull(const Skandinavka& skandinavka, CellIndex square);

// The lines the clues of `square` take as drawn, a rule between two clues
// counting half a line: the page and the SVG set a smaller font when they
// are more than kClueMaxLines.
double DrawnLines(const Skandinavka& skandinavka, CellIndex square);

// "Skandinavka WxH" in `language`, Serbian in `script`.
std::string SkandinavkaTitle(std::uint32_t width, std::uint32_t height,
                             PageLanguage language, Script script);

// The SVG path, in a square 100 units wide, of the arrow `kind` drawn in
// the word's first square: its line, then its head as a closed triangle.
std::string ArrowPath(ArrowKind kind);

// The page: the grid with the clues in their squares and the arrows, the
// controls of the classic page, and the solution for the second printed
// page, labelled in `language`.
std::string WriteSkandinavkaHtml(const NumberedPuzzle& puzzle,
                                 const Skandinavka& skandinavka,
                                 PageLanguage language);

// The page's puzzle data: PageData's, each word's clue square, arrow and
// lines added, and "skandinavka": true.
std::string SkandinavkaPageData(const NumberedPuzzle& puzzle,
                                const Skandinavka& skandinavka,
                                PageLanguage language);

// A standalone SVG of the grid: clue squares with their clues and arrows,
// and with `filled` the letters of the solution.
std::string WriteSkandinavkaSvg(const NumberedPuzzle& puzzle,
                                const Skandinavka& skandinavka, bool filled);

}  // namespace polimreza

#endif  // POLIMREZA_EXPORT_SKANDINAVKA_H_
