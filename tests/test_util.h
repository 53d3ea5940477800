// Small builders shared by the unit tests: grids from rows of text, word
// lists served from strings instead of files, and a small solved puzzle.
#ifndef POLIMREZA_TESTS_TEST_UTIL_H_
#define POLIMREZA_TESTS_TEST_UTIL_H_

#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "alphabet/alphabet.h"
#include "export/report_reader.h"
#include "grid/grid.h"
#include "wordlist/word_list.h"

namespace polimreza {

// A grid as wide as the first row, each character stored as its cell.
inline Grid MakeGrid(const std::vector<std::string>& rows) {
  Grid grid(rows.empty() ? 0 : static_cast<std::uint32_t>(rows[0].size()),
            static_cast<std::uint32_t>(rows.size()));
  for (std::size_t r = 0; r < rows.size(); ++r) {
    for (std::size_t c = 0; c < rows[r].size(); ++c) {
      grid.SetCell(grid.Index(c, r), static_cast<unsigned char>(rows[r][c]));
    }
  }
  return grid;
}

// Word lists whose texts are given by word length; other lengths are
// missing.
inline WordLists ListsOf(std::map<unsigned, std::string> texts) {
  return WordLists([texts](unsigned length) -> std::unique_ptr<std::istream> {
    auto it = texts.find(length);
    if (it == texts.end()) return nullptr;
    return std::make_unique<std::istringstream>(it->second);
  });
}

// The solved "AB#" / "C#D" / "EFG" with `first_clue` as its first across
// clue: across slots AB, C, D, EFG and down slots ACE, B, DG, F.
inline SolvedPuzzle SmallPuzzle(std::string first_clue = "ab") {
  SolvedPuzzle puzzle;
  puzzle.grid = MakeGrid({"AB#", "C#D", "EFG"});
  puzzle.across = {std::move(first_clue), "c", "d", "efg"};
  puzzle.down = {"ace", "b", "dg", "f"};
  return puzzle;
}

// The solved Serbian Latin "UǇE" / "N#R" / "ADA": the letters U, LJ, E,
// N, R, A, D, A; its first across clue "Ljubav i džak".
inline SolvedPuzzle SerbianPuzzle() {
  const Alphabet alphabet(AlphabetKind::kSerbianLatin);
  SolvedPuzzle puzzle;
  puzzle.alphabet = AlphabetKind::kSerbianLatin;
  puzzle.script = Script::kLatin;
  puzzle.grid = Grid(3, 3);
  const char* squares[] = {"U", "\u01c7", "E", "N", "#", "R", "A", "D", "A"};
  for (std::size_t i = 0; i < 9; ++i) {
    if (std::string(squares[i]) == "#") continue;
    puzzle.grid.SetCell(i, kLetterCell + alphabet.Split(squares[i]).letters[0]);
  }
  puzzle.across = {"Ljubav i d\u017eak", "n", "r", "ada"};
  puzzle.down = {"una", "lj", "er", "d"};
  return puzzle;
}

}  // namespace polimreza

#endif  // POLIMREZA_TESTS_TEST_UTIL_H_
