// The geometry of a skandinavka: its words (runs of two or more open squares)
// and the clue square, a black square touching each word's first letter,
// that holds the word's clue, no clue square holding more than two.
#ifndef POLIMREZA_GRID_CLUE_SQUARES_H_
#define POLIMREZA_GRID_CLUE_SQUARES_H_

#include <optional>
#include <variant>
#include <vector>

#include "grid/grid.h"

namespace polimreza {

// A clue square holds at most this many clues.
inline constexpr unsigned kCluesPerSquare = 2;

// One word and the square its clue stands in.
struct PlacedClue {
  Slot word;
  CellIndex square;
  // False: the square just before the first letter in the word's direction
  // (arrow straight right or straight down). True: the square beside the
  // first letter across the word's direction, above an across word (arrow
  // down, then right) or left of a down word (arrow right, then down).
  bool bent;
};

// Every word of the grid with its clue square, in the order of FindSlots.
struct ClueLayout {
  std::vector<PlacedClue> clues;
};

// Why a grid has no layout: the first word, in the order of FindSlots, left
// without a clue square, or else the first open square, in reading order,
// that belongs to no word.
struct ClueLayoutRefusal {
  std::optional<Slot> word;
  CellIndex square = 0;
};

// The slots of two or more squares, in the order of FindSlots.
std::vector<Slot> FindWords(const Grid& grid);

// The clue squares a word's clue may stand in, the straight one first: none,
// one or two black squares of the grid.
std::vector<PlacedClue> ClueSquareChoices(const Grid& grid, const Slot& word);

// A clue square for every word, each square serving at most kCluesPerSquare
// words, a word taking its straight square wherever that square has room;
// the refusal when some open square is in no word or no such assignment
// exists.
std::variant<ClueLayout, ClueLayoutRefusal> PlaceClues(const Grid& grid);

}  // namespace polimreza

#endif  // POLIMREZA_GRID_CLUE_SQUARES_H_
