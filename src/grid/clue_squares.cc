#include "grid/clue_squares.h"

#include <cassert>
#include <cstdint>

namespace polimreza {
namespace {

// The first open square, in reading order, whose runs across and down are
// both single squares; none when every open square is in some word.
std::optional<CellIndex> FindLoneSquare(const Grid& grid) {
  const std::size_t width = grid.gridWidth();
  const std::size_t height = grid.gridHeight();
  const auto open = [&](std::size_t column, std::size_t row) {
    return grid.Cell(grid.Index(column, row)) != CELL_BLOCK;
  };
  for (std::size_t row = 0; row < height; ++row) {
    for (std::size_t column = 0; column < width; ++column) {
      if (!open(column, row)) continue;
      const bool across = (column > 0 && open(column - 1, row)) ||
                          (column + 1 < width && open(column + 1, row));
      const bool down = (row > 0 && open(column, row - 1)) ||
                        (row + 1 < height && open(column, row + 1));
      if (!across && !down) return grid.Index(column, row);
    }
  }
  return std::nullopt;
}

// Kuhn's augmenting paths with room for kCluesPerSquare words a square. Each
// word has at most two squares to choose from, so a path is short and a
// 30x30 grid is matched in well under a millisecond.
class ClueMatcher {
 public:
  ClueMatcher(const Grid& grid, const std::vector<Slot>& words)
      : words_(words),
        choices_(words.size()),
        assigned_(words.size(), kNone),
        holders_(grid.CellCount()),
        seen_(grid.CellCount(), 0) {
    for (std::size_t w = 0; w < words.size(); ++w) {
      choices_[w] = ClueSquareChoices(grid, words[w]);
    }
  }

  // Gives word `w` a square, moving earlier words along an augmenting path;
  // false, with every assignment as it was, when there is none.
  bool Place(std::size_t w) {
    ++stamp_;
    return Augment(w);
  }

  // Moves every bent word whose straight square still has room onto it.
  void StraightenWhereRoom() {
    for (std::size_t w = 0; w < words_.size(); ++w) {
      const std::vector<PlacedClue>& choices = choices_[w];
      if (assigned_[w] == 0 || choices.empty() || choices[0].bent) continue;
      const CellIndex straight = choices[0].square;
      if (holders_[straight].size() >= kCluesPerSquare) continue;
      Drop(w);
      Take(w, 0);
    }
  }

  ClueLayout Layout() const {
    ClueLayout layout;
    layout.clues.reserve(words_.size());
    for (std::size_t w = 0; w < words_.size(); ++w) {
      assert(assigned_[w] != kNone);
      layout.clues.push_back(choices_[w][assigned_[w]]);
    }
    return layout;
  }

 private:
  static constexpr std::uint8_t kNone = 0xFF;

  bool Augment(std::size_t w) {
    const std::vector<PlacedClue>& choices = choices_[w];
    for (std::uint8_t c = 0; c < choices.size(); ++c) {
      const CellIndex square = choices[c].square;
      if (seen_[square] == stamp_) continue;
      seen_[square] = stamp_;
      if (holders_[square].size() < kCluesPerSquare) {
        Take(w, c);
        return true;
      }
      // A copy: the holders change order as words are dropped and taken.
      const std::vector<std::size_t> holders = holders_[square];
      for (const std::size_t other : holders) {
        Drop(other);
        if (Augment(other)) {
          Take(w, c);
          return true;
        }
        Take(other, ChoiceOf(other, square));
      }
    }
    return false;
  }

  std::uint8_t ChoiceOf(std::size_t w, CellIndex square) const {
    for (std::uint8_t c = 0; c < choices_[w].size(); ++c) {
      if (choices_[w][c].square == square) return c;
    }
    assert(false);
    return kNone;
  }

  void Take(std::size_t w, std::uint8_t choice) {
    assigned_[w] = choice;
    holders_[choices_[w][choice].square].push_back(w);
  }

  void Drop(std::size_t w) {
    std::vector<std::size_t>& holders =
        holders_[choices_[w][assigned_[w]].square];
    for (std::size_t k = 0; k < holders.size(); ++k) {
      if (holders[k] == w) {
        holders.erase(holders.begin() + static_cast<std::ptrdiff_t>(k));
        break;
      }
    }
    assigned_[w] = kNone;
  }

  const std::vector<Slot>& words_;
  std::vector<std::vector<PlacedClue>> choices_;  // a word's squares
  std::vector<std::uint8_t> assigned_;  // a word's choice taken, or kNone
  std::vector<std::vector<std::size_t>> holders_;  // a square's words
  std::vector<std::uint32_t> seen_;  // squares a path has tried, by stamp_
  std::uint32_t stamp_ = 0;          // the path being searched
};

}  // namespace

std::vector<Slot> FindWords(const Grid& grid) {
  std::vector<Slot> words;
  for (const Slot& slot : FindSlots(grid)) {
    if (slot.length >= 2) words.push_back(slot);
  }
  return words;
}

std::vector<PlacedClue> ClueSquareChoices(const Grid& grid, const Slot& word) {
  const std::size_t width = grid.gridWidth();
  if (width == 0) return {};
  const std::size_t column = word.start % width;
  const std::size_t row = word.start / width;
  const bool across = word.direction == ACROSS;
  std::vector<PlacedClue> choices;
  // Straight: the square before the first letter, a block whenever the grid
  // has one there, as the word starts its run.
  if (across ? column > 0 : row > 0) {
    choices.push_back({word, word.start - grid.Step(word.direction), false});
  }
  // Bent: the square beside the first letter, when it is a block.
  if (across ? row > 0 : column > 0) {
    const CellIndex beside =
        word.start - grid.Step(OtherDirection(word.direction));
    if (grid.Cell(beside) == CELL_BLOCK)
      choices.push_back({word, beside, true});
  }
  return choices;
}

std::variant<ClueLayout, ClueLayoutRefusal> PlaceClues(const Grid& grid) {
  if (std::optional<CellIndex> lone = FindLoneSquare(grid)) {
    return ClueLayoutRefusal{std::nullopt, *lone};
  }
  const std::vector<Slot> words = FindWords(grid);
  ClueMatcher matcher(grid, words);
  for (std::size_t w = 0; w < words.size(); ++w) {
    if (!matcher.Place(w)) return ClueLayoutRefusal{words[w], words[w].start};
  }
  matcher.StraightenWhereRoom();
  return matcher.Layout();
}

}  // namespace polimreza
