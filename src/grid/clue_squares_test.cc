#include "grid/clue_squares.h"

#include <cstdint>
#include <random>
#include <string>
#include <variant>
#include <vector>

#include "gtest/gtest.h"
#include "tests/test_util.h"

namespace polimreza {
namespace {

// The layout's squares are blocks beside the first letters, at most two
// clues each, one clue a word.
void ExpectSound(const Grid& grid, const ClueLayout& layout) {
  const std::vector<Slot> words = FindWords(grid);
  ASSERT_EQ(layout.clues.size(), words.size());
  std::vector<unsigned> load(grid.CellCount(), 0);
  for (std::size_t w = 0; w < words.size(); ++w) {
    const PlacedClue& clue = layout.clues[w];
    EXPECT_EQ(clue.word.start, words[w].start);
    EXPECT_EQ(clue.word.direction, words[w].direction);
    EXPECT_EQ(grid.Cell(clue.square), CELL_BLOCK);
    bool offered = false;
    for (const PlacedClue& choice : ClueSquareChoices(grid, words[w])) {
      offered |= choice.square == clue.square && choice.bent == clue.bent;
    }
    EXPECT_TRUE(offered);
    ++load[clue.square];
  }
  for (unsigned n : load) EXPECT_LE(n, kCluesPerSquare);
}

TEST(ClueSquaresTest, CommonLayoutsTakeStraightArrows) {
  // The top row and the left column of clue squares.
  Grid grid = MakeGrid({"#####", "#****", "#****", "#**#*"});
  auto placed = PlaceClues(grid);
  ASSERT_TRUE(std::holds_alternative<ClueLayout>(placed));
  const ClueLayout& layout = std::get<ClueLayout>(placed);
  ExpectSound(grid, layout);
  for (const PlacedClue& clue : layout.clues) EXPECT_FALSE(clue.bent);

  // Clue squares along the top edge, every other one: the first row's word
  // and the first column's take bent arrows.
  grid = MakeGrid({"#*#*#*", "******", "#*****", "**#***"});
  placed = PlaceClues(grid);
  ASSERT_TRUE(std::holds_alternative<ClueLayout>(placed));
  ExpectSound(grid, std::get<ClueLayout>(placed));
}

TEST(ClueSquaresTest, RefusalsNameTheFirstWordOrLoneSquare) {
  // (3,1) down has no block before or beside its first letter.
  auto placed = PlaceClues(MakeGrid({"#**", "***"}));
  ASSERT_TRUE(std::holds_alternative<ClueLayoutRefusal>(placed));
  ClueLayoutRefusal refusal = std::get<ClueLayoutRefusal>(placed);
  ASSERT_TRUE(refusal.word.has_value());
  EXPECT_EQ(refusal.word->start, 2u);
  EXPECT_EQ(refusal.word->direction, DOWN);

  // Four words whose only square is (1,1): the third is left without.
  placed = PlaceClues(MakeGrid({"#**", "**#", "*##"}));
  ASSERT_TRUE(std::holds_alternative<ClueLayoutRefusal>(placed));
  refusal = std::get<ClueLayoutRefusal>(placed);
  ASSERT_TRUE(refusal.word.has_value());
  EXPECT_EQ(refusal.word->start, 3u);
  EXPECT_EQ(refusal.word->direction, ACROSS);

  // The open square at (3,2) is in no word; it is named before any word.
  placed = PlaceClues(MakeGrid({"#**", "#*#", "##*"}));
  ASSERT_TRUE(std::holds_alternative<ClueLayoutRefusal>(placed));
  refusal = std::get<ClueLayoutRefusal>(placed);
  EXPECT_FALSE(refusal.word.has_value());
  EXPECT_EQ(refusal.square, 8u);
}

// Whether some assignment exists, by trying every one.
bool AnyAssignment(const std::vector<std::vector<PlacedClue>>& choices,
                   std::size_t w, std::vector<unsigned>& load) {
  if (w == choices.size()) return true;
  for (const PlacedClue& choice : choices[w]) {
    if (load[choice.square] == kCluesPerSquare) continue;
    ++load[choice.square];
    const bool found = AnyAssignment(choices, w + 1, load);
    --load[choice.square];
    if (found) return true;
  }
  return false;
}

bool AnyAssignment(const Grid& grid) {
  std::vector<std::vector<PlacedClue>> choices;
  for (const Slot& word : FindWords(grid)) {
    choices.push_back(ClueSquareChoices(grid, word));
  }
  std::vector<unsigned> load(grid.CellCount(), 0);
  return AnyAssignment(choices, 0, load);
}

// The matching finds a layout exactly when one exists.
TEST(ClueSquaresTest, AgreesWithEveryAssignmentOnSmallGrids) {
  std::mt19937 random(7);
  int laid = 0;
  for (int round = 0; round < 400; ++round) {
    std::vector<std::string> rows(4, std::string(4, '*'));
    for (std::string& row : rows) {
      for (char& c : row) c = random() % 5 < 2 ? '#' : '*';
    }
    rows[0][0] = '#';
    const Grid grid = MakeGrid(rows);
    const auto placed = PlaceClues(grid);
    const ClueLayoutRefusal* refusal = std::get_if<ClueLayoutRefusal>(&placed);
    if (refusal && !refusal->word) continue;  // a lone square
    SCOPED_TRACE(rows[0] + "/" + rows[1] + "/" + rows[2] + "/" + rows[3]);
    EXPECT_EQ(refusal == nullptr, AnyAssignment(grid));
    if (!refusal) {
      ExpectSound(grid, std::get<ClueLayout>(placed));
      ++laid;
    }
  }
  EXPECT_GT(laid, 20);
}

}  // namespace
}  // namespace polimreza
