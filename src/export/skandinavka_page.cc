// The skandinavka's web page: the grid with its clue squares, the solution
// and the puzzle data that puzzle.js plays.
#include <cstdio>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <utility>
#include <vector>

#include "export/page_files.h"
#include "export/skandinavka.h"

namespace polimreza {
namespace {

using Json = nlohmann::ordered_json;

// The page's words that differ from the classic page's.
struct SkandinavkaLabels {
  std::string_view board;
  std::string_view help;
  std::string_view row;
  std::string_view column;
};

const SkandinavkaLabels kLatin = {
    "Skandinavka",
    "Kliknite polje ili opis i kucajte slova. Strelice pomeraju, Tab i "
    "Shift+Tab idu na sledeću i prethodnu reč, razmak ili drugi klik menja "
    "smer, Backspace briše.",
    "Red ", ", kolona "};
const SkandinavkaLabels kCyrillic = {
    "Скандинавка",
    "Кликните поље или опис и куцајте слова. Стрелице померају, Tab и "
    "Shift+Tab иду на следећу и претходну реч, размак или други клик мења "
    "смер, Backspace брише.",
    "Ред ", ", колона "};
const SkandinavkaLabels kEnglish = {
    "Arrowword",
    "Click a square or a clue and type letters. The arrow keys move, Tab "
    "and Shift+Tab go to the next and previous word, Space or a second "
    "click turns the direction, Backspace clears.",
    "Row ", ", column "};

const SkandinavkaLabels& LabelsFor(PageLanguage language, Script script) {
  if (language == PageLanguage::kEnglish) return kEnglish;
  return script == Script::kCyrillic ? kCyrillic : kLatin;
}

// How much smaller than a full square's the clue font of `square` is: 1
// while its clues take at most kClueMaxLines lines (a dividing rule counts
// half a line), less as they take more, so that they always stay inside.
std::string FontFit(const Skandinavka& skandinavka, CellIndex square) {
  const double lines = DrawnLines(skandinavka, square);
  double fit = lines > kClueMaxLines ? kClueMaxLines / lines : 1.0;
  char text[16];
  std::snprintf(text, sizeof text, "%.3f", fit);
  return text;
}

std::string ClueId(const SquareClue& clue) {
  return std::string(clue.direction == ACROSS ? "across-" : "down-") +
         std::to_string(clue.slot);
}

// A clue square: its clues, line by line, divided by a rule.
std::string ClueSquare(const Skandinavka& skandinavka, CellIndex square) {
  const auto& indexes = skandinavka.square_clues[square];
  if (indexes.empty()) return "<td class=\"block\"></td>";
  std::string out = "<td class=\"cs\"><div class=\"cq\" style=\"--fit:" +
                    FontFit(skandinavka, square) + "\">";
  for (std::size_t n = 0; n < indexes.size(); ++n) {
    const SquareClue& clue = skandinavka.clues[indexes[n]];
    if (n > 0) out += "<div class=\"rule\"></div>";
    out += "<div class=\"clue\" id=\"" + ClueId(clue) + "\" data-dir=\"" +
           std::to_string(clue.direction) + "\" data-slot=\"" +
           std::to_string(clue.slot) + "\">";
    for (const std::string& line : clue.lines.lines) {
      out += "<span class=\"ln\">" + EscapeMarkup(line) + "</span>";
    }
    out += "</div>";
  }
  return out + "</div></td>";
}

// By square: the arrows of the words whose first square it is, in the
// order of their clues.
std::vector<std::string> ArrowsBySquare(const Skandinavka& skandinavka,
                                        const NumberedPuzzle& puzzle) {
  std::vector<std::string> arrows(puzzle.block.size());
  for (const SquareClue& clue : skandinavka.clues) {
    const auto& slots = clue.direction == ACROSS ? puzzle.across : puzzle.down;
    arrows[slots[clue.slot].cells.front()] +=
        "<svg class=\"arrow\" viewBox=\"0 0 100 100\" aria-hidden=\"true\">"
        "<path d=\"" +
        ArrowPath(clue.arrow) + "\"/></svg>";
  }
  return arrows;
}

// The grid: with `solution` the letters and empty clue squares, otherwise
// the clues, the arrows and one input per open square.
std::string GridTable(const NumberedPuzzle& puzzle,
                      const Skandinavka& skandinavka, bool solution,
                      const SkandinavkaLabels& labels) {
  std::string out = "<table class=\"grid" +
                    std::string(solution ? " key\"" : "\" id=\"grid\"") +
                    " style=\"--cols:" + std::to_string(puzzle.width) +
                    ";--rows:" + std::to_string(puzzle.height) + "\">\n";
  const std::vector<std::string> arrows =
      solution ? std::vector<std::string>()
               : ArrowsBySquare(skandinavka, puzzle);
  for (std::size_t row = 0; row < puzzle.height; ++row) {
    out += "<tr>";
    for (std::size_t column = 0; column < puzzle.width; ++column) {
      const std::size_t i = column + row * puzzle.width;
      if (puzzle.block[i]) {
        out += solution ? (skandinavka.square_clues[i].empty()
                               ? "<td class=\"block\"></td>"
                               : "<td class=\"cs\"></td>")
                        : ClueSquare(skandinavka, i);
        continue;
      }
      out += "<td class=\"sq\">";
      if (solution) {
        const bool wide = CharacterCount(puzzle.letters[i]) > 1;
        out += std::string("<span class=\"letter") + (wide ? " wide" : "") +
               "\">" + EscapeMarkup(puzzle.letters[i]) + "</span>";
      } else {
        out += arrows[i] + "<input id=\"q" + std::to_string(i) +
               "\" data-i=\"" + std::to_string(i) +
               "\" type=\"text\" autocomplete=\"off\" "
               "autocapitalize=\"characters\" spellcheck=\"false\" "
               "aria-label=\"" +
               std::string(labels.row) + std::to_string(row + 1) +
               std::string(labels.column) + std::to_string(column + 1) + "\">";
      }
      out += "</td>";
    }
    out += "</tr>\n";
  }
  return out + "</table>";
}

}  // namespace

std::string SkandinavkaPageData(const NumberedPuzzle& puzzle,
                                const Skandinavka& skandinavka,
                                PageLanguage language) {
  Json data = PageDataJson(puzzle, language);
  Json clues = Json::array();
  for (const SquareClue& clue : skandinavka.clues) {
    clues.push_back({{"direction", clue.direction},
                     {"slot", clue.slot},
                     {"square", clue.square},
                     {"bent", clue.arrow == ArrowKind::kDownThenRight ||
                                  clue.arrow == ArrowKind::kRightThenDown},
                     {"lines", clue.lines.lines}});
  }
  data["skandinavka"] = true;
  data["clues"] = std::move(clues);
  return ScriptSafeJson(data);
}

std::string WriteSkandinavkaHtml(const NumberedPuzzle& puzzle,
                                 const Skandinavka& skandinavka,
                                 PageLanguage language) {
  const SkandinavkaLabels& labels = LabelsFor(language, puzzle.script);
  std::map<std::string, std::string> values = PageValues(puzzle, language);
  values["board"] = EscapeMarkup(labels.board);
  values["help"] = EscapeMarkup(labels.help);
  values["grid"] = GridTable(puzzle, skandinavka, false, labels);
  values["solution"] = GridTable(puzzle, skandinavka, true, labels);
  values["data"] = SkandinavkaPageData(puzzle, skandinavka, language);
  return FillPage("skandinavka.html", std::move(values));
}

}  // namespace polimreza
