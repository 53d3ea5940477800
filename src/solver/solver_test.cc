#include "solver/solver.h"

#include <map>
#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "tests/test_util.h"

namespace polimreza {
namespace {

std::vector<std::string> Transposed(const std::vector<std::string>& rows) {
  std::vector<std::string> columns(rows[0].size(), std::string());
  for (const auto& row : rows) {
    for (std::size_t c = 0; c < row.size(); ++c) columns[c].push_back(row[c]);
  }
  return columns;
}

// A grid, its clue tables and lists, and a solver over them.
struct Fixture {
  Fixture(const std::vector<std::string>& rows,
          std::map<unsigned, std::string> texts = {})
      : grid(MakeGrid(rows)),
        lists(ListsOf(std::move(texts))),
        solver(grid, clues, lists) {}
  Grid grid;
  ClueTables clues;
  WordLists lists;
  Solver solver;
};

// Which of two slots of equal ratio the scan from the end keeps: for each
// ratio of slots of up to 9 squares, whether the slot met later (nearer the
// start of the grid) replaces the one met first.
struct TieCase {
  unsigned empty;
  unsigned length;
  bool later_replaces;
};

const std::vector<TieCase> kTieTable = {
    {1, 9, false}, {1, 8, true},  {1, 7, false}, {1, 6, false}, {1, 5, true},
    {2, 9, false}, {1, 4, true},  {2, 7, false}, {1, 3, false}, {3, 8, true},
    {2, 5, true},  {3, 7, true},  {4, 9, false}, {1, 2, true},  {5, 9, true},
    {4, 7, false}, {3, 5, true},  {5, 8, true},  {2, 3, false}, {5, 7, true},
    {3, 4, true},  {7, 9, true},  {4, 5, true},  {5, 6, true},  {6, 7, true},
    {7, 8, true},  {8, 9, false}, {1, 1, true},
};

// Two slots of `empty` empty squares out of `length`, in rows 0 and 2.
std::vector<std::string> TwoEqualSlots(unsigned empty, unsigned length) {
  std::string slot =
      std::string(length - empty, 'A') + std::string(empty, '*') + "#";
  std::string blocks(length + 1, '#');
  return {slot, blocks, slot, blocks};
}

TEST(ChooseSlotTest, TiesOfEveryRatioInBothDirections) {
  for (const TieCase& c : kTieTable) {
    // Every equal fraction of the ratio behaves alike.
    for (unsigned k = 1; c.length * k <= kMaxSlotLength; ++k) {
      const unsigned empty = c.empty * k, length = c.length * k;
      SCOPED_TRACE(std::to_string(empty) + "/" + std::to_string(length));
      EXPECT_EQ(LaterEqualRatioReplaces(empty, length), c.later_replaces);

      Fixture across(TwoEqualSlots(empty, length));
      const std::int64_t upper = 0, lower = 2 * (length + 1);
      EXPECT_EQ(across.solver.ChooseSlot(ACROSS),
                c.later_replaces ? upper : lower);

      Fixture down(Transposed(TwoEqualSlots(empty, length)));
      EXPECT_EQ(down.solver.ChooseSlot(DOWN), c.later_replaces ? 0 : 2);
    }
  }
}

TEST(ChooseSlotTest, TieBetweenTwoSlotsOfOneRow) {
  // 1/2 replaces: the leftmost; 1/3 stays: the rightmost.
  EXPECT_EQ(Fixture({"A*#*B"}).solver.ChooseSlot(ACROSS), 0);
  EXPECT_EQ(Fixture({"A*B#AB*"}).solver.ChooseSlot(ACROSS), 4);
}

TEST(ChooseSlotTest, FourByFourExamples) {
  EXPECT_EQ(Fixture({"A*B#", "####", "C*D#", "####"}).solver.ChooseSlot(ACROSS),
            8);
  EXPECT_EQ(Fixture({"AB**", "####", "CD**", "####"}).solver.ChooseSlot(ACROSS),
            0);
}

TEST(ChooseSlotTest, LowestRatioWinsWherever) {
  // Ratio 1/4 at the bottom right beats 1/2 at the top left, and the reverse.
  EXPECT_EQ(Fixture({"A*##", "####", "ABC*"}).solver.ChooseSlot(ACROSS), 8);
  EXPECT_EQ(Fixture({"ABC*", "####", "##A*"}).solver.ChooseSlot(ACROSS), 0);
  // A single empty square between blocks, and nothing else empty.
  EXPECT_EQ(Fixture({"AB#*#C"}).solver.ChooseSlot(ACROSS), 3);
  EXPECT_EQ(Fixture({"AB#*#C"}).solver.ChooseSlot(DOWN), 3);
}

TEST(ChooseSlotTest, NoEmptySquareOrOtherDirection) {
  Fixture full({"AB", "CD"});
  EXPECT_EQ(full.solver.ChooseSlot(ACROSS), -1);
  EXPECT_EQ(full.solver.ChooseSlot(DOWN), -1);
  EXPECT_EQ(Fixture({"**"}).solver.ChooseSlot(2), -1);
}

TEST(ChooseSlotTest, FollowsWritesAndUndos) {
  Fixture f({"***", "***", "***"});
  EXPECT_EQ(f.solver.ChooseSlot(ACROSS), 0);
  f.solver.WriteSlot("ABC", 0, DOWN);  // every ACROSS slot now 2/3 empty
  EXPECT_EQ(f.solver.ChooseSlot(ACROSS), 6);
  EXPECT_EQ(f.solver.ChooseSlot(DOWN), 1);  // all 1: the leftmost
  f.solver.UndoWrite();
  EXPECT_EQ(f.grid.ReadSlot(0, DOWN), "***");
  EXPECT_EQ(f.solver.ChooseSlot(ACROSS), 0);
  EXPECT_EQ(f.solver.ChooseSlot(DOWN), 0);
}

TEST(CheckCrossingsTest, SingleSquareSlotsNeedOneLetterWords) {
  Fixture f({"A*"}, {{1, "A;slovo A\n"}, {2, "AB;x\n"}});
  f.solver.WriteSlot("AB", 0, ACROSS);
  // DOWN slots A and B: B is missing from the list of one-letter words.
  EXPECT_FALSE(f.solver.CheckCrossings(ACROSS));
  EXPECT_EQ(f.clues.down.Get(0), "slovo A");
  f.solver.UndoWrite();
  EXPECT_EQ(f.grid.ReadSlot(0, ACROSS), "A*");
}

TEST(CheckCrossingsTest, FirstMissingSlotColumnByColumnEndsTheCheck) {
  // The DOWN slots of columns 0 (XY) and 1 (AB) are complete.
  Fixture missing_first({"XA", "YB"}, {{2, "AB;second\n"}});
  EXPECT_FALSE(missing_first.solver.CheckCrossings(ACROSS));
  EXPECT_EQ(missing_first.clues.down.RecordedCount(), 0u);

  Fixture missing_second({"XA", "YB"}, {{2, "XY;first\n"}});
  EXPECT_FALSE(missing_second.solver.CheckCrossings(ACROSS));
  EXPECT_EQ(missing_second.clues.down.Get(0), "first");
  EXPECT_EQ(missing_second.clues.down.Get(1), "");

  // The ACROSS slots are looked up only when checking a DOWN write.
  Fixture both({"XA", "YB"}, {{2, "AB;b\nXY;x1\nXY;x2\n"}});
  EXPECT_TRUE(both.solver.CheckCrossings(ACROSS));
  EXPECT_EQ(both.clues.down.Get(0), "x1");
  EXPECT_EQ(both.clues.down.Get(1), "b");
  EXPECT_EQ(both.clues.across.RecordedCount(), 0u);
  EXPECT_FALSE(both.solver.CheckCrossings(DOWN));  // XA is no word
}

TEST(CheckCrossingsTest, CompletedSlotIsLookedUpAgainAfterAnUndo) {
  // Writing the DOWN slot of column 0 completes the ACROSS slot of row 1.
  Fixture f({"A#", "*B"}, {{1, "A;a\n"}, {2, "AC;down\nAD;down2\nDB;db\n"}});
  f.solver.WriteSlot("AC", 0, DOWN);
  EXPECT_FALSE(f.solver.CheckCrossings(DOWN));  // CB is no word
  f.solver.UndoWrite();
  f.solver.WriteSlot("AD", 0, DOWN);
  EXPECT_TRUE(f.solver.CheckCrossings(DOWN));
  EXPECT_EQ(f.clues.across.Get(2), "db");
  EXPECT_EQ(f.clues.across.Get(0), "a");
}

TEST(FillLoopTest, SolvesAndRecordsClues) {
  Fixture f({"**", "**"}, {{2, "AB;first\nBD;second\n"}});
  const FillResult result = f.solver.FillLoop();
  EXPECT_TRUE(result.solved);
  EXPECT_FALSE(result.stuck);
  EXPECT_EQ(f.grid.ReadSlot(0, ACROSS) + f.grid.ReadSlot(2, ACROSS), "ABBD");
  EXPECT_EQ(f.clues.across.Get(2), "second");
  EXPECT_EQ(f.clues.down.Get(1), "second");
}

TEST(FillLoopTest, FullGridIsSolvedWithoutATurn) {
  Fixture f({"AB"});
  EXPECT_TRUE(f.solver.FillLoop().solved);
  EXPECT_EQ(f.clues.across.RecordedCount() + f.clues.down.RecordedCount(), 0u);
}

TEST(FillLoopTest, GivesTheSlotNoWordFitsAndLeavesTheGridAsItGot) {
  struct Case {
    std::vector<std::string> rows;
    std::map<unsigned, std::string> lists;
    CellIndex start;
    int direction;
    std::string pattern;
    std::vector<std::string> grid;  // as the failure finds it
  };
  const std::vector<Case> cases = {
      // No list at all: the first ACROSS slot chosen is stuck.
      {{"A*"}, {}, 0, ACROSS, "A*", {"A*"}},
      // The ACROSS turn fills row 1, then no DOWN word ends in C.
      {{"**", "C*"}, {{2, "CD;cd\nAB;ab\n"}}, 0, DOWN, "*C", {"**", "CD"}},
      // Two turns, then no ACROSS word starts with B.
      {{"**", "**"}, {{2, "AB;ab\n"}}, 2, ACROSS, "B*", {"AB", "B*"}},
  };
  for (const Case& c : cases) {
    Fixture f(c.rows, c.lists);
    const FillResult result = f.solver.FillLoop();
    EXPECT_FALSE(result.solved);
    ASSERT_TRUE(result.stuck);
    EXPECT_EQ(result.stuck->start, c.start);
    EXPECT_EQ(result.stuck->direction, c.direction);
    EXPECT_EQ(result.stuck->pattern, c.pattern);
    for (std::size_t r = 0; r < c.grid.size(); ++r) {
      EXPECT_EQ(f.grid.ReadSlot(f.grid.Index(0, r), ACROSS), c.grid[r]);
    }
  }
}

}  // namespace
}  // namespace polimreza
