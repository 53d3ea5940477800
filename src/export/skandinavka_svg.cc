// The skandinavka as SVG for print shops: clue squares with their clues,
// the arrows, and the letters of the solution when asked.
#include <cstdio>

#include "export/skandinavka.h"

namespace polimreza {
namespace {

constexpr double kCell = 48;  // a square's side in SVG user units
constexpr double kMargin = 1;
constexpr double kClueFont = 8;  // 5 lines of 9 characters fit a square
constexpr double kLineHeight = 1.1;

std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", value);
  std::string out = text;
  while (out.back() == '0') out.pop_back();
  if (out.back() == '.') out.pop_back();
  return out;
}

// The clues of the square at (x, y): centred lines, a rule between two
// clues, the font smaller when they take more than kClueMaxLines lines.
std::string ClueText(const Skandinavka& skandinavka, CellIndex square, double x,
                     double y) {
  const auto& indexes = skandinavka.square_clues[square];
  const double lines = DrawnLines(skandinavka, square);
  const double font =
      lines > kClueMaxLines ? kClueFont * kClueMaxLines / lines : kClueFont;
  const double step = font * kLineHeight;
  double at = y + (kCell - lines * step) / 2;  // top of the next line
  std::string out;
  for (std::size_t n = 0; n < indexes.size(); ++n) {
    if (n > 0) {
      const double rule = at + step / 4;
      out += "<line x1=\"" + Number(x + 2) + "\" y1=\"" + Number(rule) +
             "\" x2=\"" + Number(x + kCell - 2) + "\" y2=\"" + Number(rule) +
             "\" stroke=\"#000\" stroke-width=\"0.6\"/>\n";
      at += step / 2;
    }
    for (const std::string& line : skandinavka.clues[indexes[n]].lines.lines) {
      out += "<text x=\"" + Number(x + kCell / 2) + "\" y=\"" +
             Number(at + font) + "\" font-size=\"" + Number(font) + "\">" +
             EscapeMarkup(line) + "</text>\n";
      at += step;
    }
  }
  return out;
}

}  // namespace

std::string WriteSkandinavkaSvg(const NumberedPuzzle& puzzle,
                                const Skandinavka& skandinavka, bool filled) {
  const std::string width = Number(puzzle.width * kCell + 2 * kMargin);
  const std::string height = Number(puzzle.height * kCell + 2 * kMargin);
  std::string squares, clues, arrows, letters;
  for (std::size_t i = 0; i < puzzle.block.size(); ++i) {
    const double x = kMargin + static_cast<double>(i % puzzle.width) * kCell;
    const double y = kMargin + static_cast<double>(i / puzzle.width) * kCell;
    const bool clue_square =
        puzzle.block[i] && !skandinavka.square_clues[i].empty();
    squares += "<rect x=\"" + Number(x) + "\" y=\"" + Number(y) +
               "\" width=\"" + Number(kCell) + "\" height=\"" + Number(kCell) +
               "\" fill=\"" +
               (clue_square       ? "#e6e6e6"
                : puzzle.block[i] ? "#000"
                                  : "#fff") +
               "\"/>\n";
    if (clue_square && !filled) clues += ClueText(skandinavka, i, x, y);
    if (filled && !puzzle.block[i]) {
      letters += "<text x=\"" + Number(x + kCell / 2) + "\" y=\"" +
                 Number(y + 35) + "\">" + EscapeMarkup(puzzle.letters[i]) +
                 "</text>\n";
    }
  }
  for (const SquareClue& clue : skandinavka.clues) {
    const auto& slots = clue.direction == ACROSS ? puzzle.across : puzzle.down;
    const CellIndex first = slots[clue.slot].cells.front();
    const double x =
        kMargin + static_cast<double>(first % puzzle.width) * kCell;
    const double y =
        kMargin + static_cast<double>(first / puzzle.width) * kCell;
    arrows += "<path transform=\"translate(" + Number(x) + " " + Number(y) +
              ") scale(" + Number(kCell / 100) + ")\" d=\"" +
              ArrowPath(clue.arrow) + "\"/>\n";
  }
  std::string out =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
      width + "\" height=\"" + height + "\" viewBox=\"0 0 " + width + " " +
      height + "\">\n<title>" + EscapeMarkup(puzzle.title) +
      "</title>\n<g stroke=\"#000\" stroke-width=\"1\">\n" + squares +
      "</g>\n<g font-family=\"sans-serif\" text-anchor=\"middle\">\n" + clues +
      "</g>\n<g fill=\"#000\" stroke=\"#000\" stroke-width=\"3\">\n" + arrows +
      "</g>\n";
  if (filled) {
    out +=
        "<g font-family=\"sans-serif\" font-size=\"26\" "
        "text-anchor=\"middle\">\n" +
        letters + "</g>\n";
  }
  return out + "</svg>\n";
}

}  // namespace polimreza
