#include "export/ipuz.h"

#include <nlohmann/json.hpp>

namespace polimreza {
namespace {

using Json = nlohmann::ordered_json;

Json ClueList(const std::vector<NumberedSlot>& slots) {
  Json list = Json::array();
  for (const NumberedSlot& slot : slots) {
    list.push_back(Json::array({slot.number, EscapeMarkup(slot.clue, false)}));
  }
  return list;
}

}  // namespace

// ipuz readers take the title and clues as HTML: they are escaped so that
// they show as written.
std::string WriteIpuz(const NumberedPuzzle& puzzle) {
  Json cells = Json::array();
  Json solution = Json::array();
  for (std::size_t row = 0; row < puzzle.height; ++row) {
    Json cell_row = Json::array();
    Json solution_row = Json::array();
    for (std::size_t column = 0; column < puzzle.width; ++column) {
      const std::size_t i = column + row * puzzle.width;
      if (puzzle.block[i]) {
        cell_row.push_back("#");
        solution_row.push_back("#");
      } else {
        cell_row.push_back(puzzle.numbers[i]);
        solution_row.push_back(puzzle.letters[i]);
      }
    }
    cells.push_back(std::move(cell_row));
    solution.push_back(std::move(solution_row));
  }
  Json ipuz = {
      {"version", "http://ipuz.org/v2"},
      {"kind", Json::array({"http://ipuz.org/crossword#1"})},
      {"title", EscapeMarkup(puzzle.title, false)},
      {"dimensions", {{"width", puzzle.width}, {"height", puzzle.height}}},
      {"block", "#"},
      {"empty", 0},
      {"puzzle", std::move(cells)},
      {"solution", std::move(solution)},
      {"clues",
       {{"Across", ClueList(puzzle.across)}, {"Down", ClueList(puzzle.down)}}},
  };
  if (!puzzle.alphabet.empty()) {
    // ipuz's charset is a string of the characters a square may take, and a
    // square may hold several: no string lists LJ, NJ and DZ-caron as one
    // entry each, so the letters are simply concatenated, in the alphabet's
    // order; every character of the Latin pairs is a letter of its own as
    // well, so a reader that takes the string character by character
    // refuses nothing a solver needs.
    std::string charset;
    for (const std::string& letter : puzzle.alphabet) charset += letter;
    ipuz["charset"] = charset;
    ipuz["language"] = puzzle.language;
  }
  // Every text is valid UTF-8 already (DisplayText); the handler only keeps
  // a slip from ever throwing.
  return ipuz.dump(-1, ' ', false, Json::error_handler_t::replace) + "\n";
}

}  // namespace polimreza
