#include "search/domain_store.h"

#include "gtest/gtest.h"
#include "search/problem.h"
#include "search/queries.h"
#include "tests/test_util.h"

namespace polimreza {
namespace {

// A 2x2 grid of open cells: slots 0 and 2 across, 1 and 3 down.
struct Square {
  WordLists lists = ListsOf({{2, "AB;1\nCD;2\nAC;3\nBD;4\nAA;5\n"}});
  SearchLexicons lexicons{lists};
  Problem problem;
  DomainStore store;

  Square() {
    const Grid grid = MakeGrid({"**", "**"});
    problem.Build(grid, FindSlots(grid), lexicons, [](std::size_t) {});
    store.Reset(problem, [](std::size_t) {});
  }
};

// Everything the store shows of the slots and cells of `square`.
std::string Snapshot(const Square& square) {
  std::string text;
  for (std::uint32_t s = 0; s < square.problem.SlotCount(); ++s) {
    const SlotState& state = square.store.State(s);
    text += std::to_string(square.store.Words(s)[0]) + "/" +
            std::to_string(state.lo) + std::to_string(state.hi) +
            std::to_string(state.count) + std::to_string(state.fixed) + "/" +
            std::to_string(state.stamp) + " ";
  }
  for (std::uint32_t c = 0; c < square.problem.CellCount(); ++c) {
    text += std::to_string(square.store.Letters(c).Count()) + " ";
  }
  return text + std::to_string(square.store.Fixed().size());
}

TEST(DomainStoreTest, CheckFindsBrokenStates) {
  struct Case {
    const char* name;
    void (*breakit)(DomainStore&);
    std::string broken;
  };
  const std::vector<Case> cases = {
      {"cells never narrowed", [](DomainStore&) {},
       "slot 0: a letter without support at 0"},
      {"a word gone, the count not updated",
       [](DomainStore& store) { store.RemoveWord(0, 1); }, "slot 0: count 5"},
      {"a word against its cell",
       [](DomainStore& store) {
         LetterSet b;
         b.Add('B');
         store.SetLetters(0, b);
       },
       "slot 0: word 0 against its cell"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Square square;
    c.breakit(square.store);
    EXPECT_EQ(square.store.CheckConsistent(true), c.broken);
  }
}

// Changes at the root are kept for good and saved nowhere; changes at a
// level are undone exactly, however often a slot or cell changed there.
TEST(DomainStoreTest, UndoRestoresExactly) {
  Square square;
  DomainStore& store = square.store;
  store.RemoveWord(1, 4);
  store.SetCount(1, 0, 1, 4);
  EXPECT_EQ(store.Here().trail, 0u);
  const std::string root = Snapshot(square);
  const StoreMark mark = store.Here();
  store.OpenLevel();
  store.Assign(0, 2);
  store.SetCount(0, 0, 1, 1);
  store.Fix(0);
  store.RemoveWord(2, 0);
  store.RemoveWord(2, 1);
  LetterSet a;
  a.Add('A');
  store.SetLetters(0, a);
  store.SetLetters(0, LetterSet());
  store.OpenLevel();
  store.RemoveWord(3, 0);
  EXPECT_NE(Snapshot(square), root);
  store.Undo(mark);
  EXPECT_EQ(Snapshot(square), root);
  EXPECT_EQ(store.CheckConsistent(true),
            "slot 0: a letter without support at 0");
}

}  // namespace
}  // namespace polimreza
