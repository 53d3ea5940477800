#include "export/svg.h"

namespace polimreza {
namespace {

constexpr unsigned kCell = 32;  // a square's side in SVG user units
constexpr unsigned kMargin = 1;

// Whether `letter` (UTF-8) is written with more than one character.
bool IsWide(std::string_view letter) {
  std::size_t characters = 0;
  for (unsigned char c : letter) {
    if ((c & 0xc0) != 0x80) ++characters;
  }
  return characters > 1;
}

}  // namespace

std::string WriteSvg(const NumberedPuzzle& puzzle, bool filled) {
  const std::string width = std::to_string(puzzle.width * kCell + 2 * kMargin);
  const std::string height =
      std::to_string(puzzle.height * kCell + 2 * kMargin);
  std::string out =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
      width + "\" height=\"" + height + "\" viewBox=\"0 0 " + width + " " +
      height + "\">\n<title>" + EscapeMarkup(puzzle.title) +
      "</title>\n<g stroke=\"#000\" stroke-width=\"1\">\n";
  std::string numbers;
  std::string letters;
  for (std::size_t row = 0; row < puzzle.height; ++row) {
    for (std::size_t column = 0; column < puzzle.width; ++column) {
      const std::size_t i = column + row * puzzle.width;
      const std::size_t x = kMargin + column * kCell;
      const std::size_t y = kMargin + row * kCell;
      out += "<rect x=\"" + std::to_string(x) + "\" y=\"" + std::to_string(y) +
             "\" width=\"" + std::to_string(kCell) + "\" height=\"" +
             std::to_string(kCell) + "\" fill=\"" +
             (puzzle.block[i] ? "#000" : "#fff") + "\"/>\n";
      if (puzzle.numbers[i] != 0) {
        numbers += "<text x=\"" + std::to_string(x + 2) + "\" y=\"" +
                   std::to_string(y + 10) + "\">" +
                   std::to_string(puzzle.numbers[i]) + "</text>\n";
      }
      if (filled && !puzzle.block[i]) {
        // A letter of two characters (LJ, NJ, DZ-caron) takes a smaller
        // font so that it fits its square.
        const bool wide = IsWide(puzzle.letters[i]);
        letters += "<text x=\"" + std::to_string(x + kCell / 2) + "\" y=\"" +
                   std::to_string(y + (wide ? 23 : 25)) + "\"" +
                   (wide ? " font-size=\"13\"" : "") + ">" +
                   EscapeMarkup(puzzle.letters[i]) + "</text>\n";
      }
    }
  }
  out += "</g>\n<g font-family=\"sans-serif\" font-size=\"9\">\n" + numbers +
         "</g>\n";
  if (filled) {
    out +=
        "<g font-family=\"sans-serif\" font-size=\"19\" "
        "text-anchor=\"middle\">\n" +
        letters + "</g>\n";
  }
  out += "</svg>\n";
  return out;
}

}  // namespace polimreza
