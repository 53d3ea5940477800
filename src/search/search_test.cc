#include "search/search.h"

#include <algorithm>

#include "gtest/gtest.h"
#include "tests/test_util.h"

namespace polimreza {
namespace {

struct Case {
  const char* name;
  std::vector<std::string> rows;
  std::map<unsigned, std::string> lists;
  SearchOutcome outcome;
  std::optional<std::size_t> unfillable;
  std::vector<std::string> words;  // by slot, when filled
};

TEST(SearchTest, Outcomes) {
  const std::vector<Case> cases = {
      {"no slots", {"##"}, {}, SearchOutcome::kFilled, {}, {}},
      {"a given word not in its list",
       {"AB", "**"},
       {{2, "AC;x\nCD;y\n"}},
       SearchOutcome::kNoFill,
       0,
       {}},
      {"single squares need 1.txt and may repeat",
       {"*#*"},
       {{1, "Q;x\n"}},
       SearchOutcome::kFilled,
       {},
       {"Q", "Q", "Q", "Q"}},
      {"missing list", {"*#*"}, {}, SearchOutcome::kNoFill, 0, {}},
      // The single square has the fewest words, yet the word crossing it
      // is decided first and keeps its own first word.
      {"single squares follow the word crossing them",
       {"*#", "*#"},
       {{1, "B;b\nA;a\nX;x\nY;y\nZ;z\n"},
        {2, "AX;1\nBX;2\nAY;3\nBY;4\nAZ;5\nBZ;6\n"}},
       SearchOutcome::kFilled,
       {},
       {"A", "AX", "X"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WordLists lists = ListsOf(c.lists);
    SearchResult result = Search(MakeGrid(c.rows), lists, SearchOptions());
    EXPECT_EQ(result.outcome, c.outcome);
    EXPECT_EQ(result.unfillable, c.unfillable);
    if (c.outcome != SearchOutcome::kFilled) continue;
    ASSERT_EQ(result.words.size(), c.words.size());
    for (std::size_t s = 0; s < c.words.size(); ++s) {
      EXPECT_EQ(result.words[s]->word, c.words[s]);
    }
  }
}

// Two squares of 2x2 that each need a decision: the stop and the node limit
// end the search with the most-filled state, and asking to stop happens
// before the first decision.
TEST(SearchTest, StopsOnRequestAndAtTheNodeLimit) {
  WordLists lists =
      ListsOf({{2, "AB;1\nCD;2\nAC;3\nBD;4\nEF;5\nGH;6\nEG;7\nFH;8\n"}});
  Grid grid = MakeGrid({"**#**", "**#**"});
  SearchOptions options;
  int asked = 0;
  options.stop = [&](const SearchProgress& progress) {
    ++asked;
    EXPECT_EQ(progress.nodes, 0u);
    EXPECT_EQ(progress.slots, 8u);
    return true;
  };
  SearchResult stopped = Search(grid, lists, options);
  EXPECT_EQ(stopped.outcome, SearchOutcome::kStopped);
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(stopped.nodes, 0u);
  for (const auto& word : stopped.words) EXPECT_FALSE(word.has_value());

  options.stop = nullptr;
  options.node_limit = 1;
  SearchResult limited = Search(grid, lists, options);
  EXPECT_EQ(limited.outcome, SearchOutcome::kStopped);
  EXPECT_EQ(limited.nodes, 1u);
  std::size_t filled = 0;
  for (const auto& word : limited.words) filled += word.has_value();
  EXPECT_EQ(filled, 4u);

  options.node_limit = 0;
  EXPECT_EQ(Search(grid, lists, options).outcome, SearchOutcome::kFilled);
}

// The stop is asked during the setup of a huge grid, not only once the
// search begins: stopping at once leaves the lists of later slots unread.
TEST(SearchTest, AsksTheStopDuringSetup) {
  const std::string squares = "*#*#*#*#*#*#*#*#*#*#*#*#*#*#*#*#*#*#*#*#*";
  const std::string blocks(squares.size(), '#');
  std::vector<std::string> rows;
  while (rows.size() < 2 * 1700) {  // 1700 * 21 squares: 71400 slots
    rows.push_back(squares);
    rows.push_back(blocks);
  }
  rows.push_back("**" + blocks.substr(2));
  std::vector<unsigned> opened;
  WordLists lists([&opened](unsigned length) -> std::unique_ptr<std::istream> {
    opened.push_back(length);
    return std::make_unique<std::istringstream>(std::string(length, 'Q') +
                                                ";x\n");
  });
  SearchOptions options;
  int asked = 0;
  options.stop = [&](const SearchProgress& progress) {
    ++asked;
    EXPECT_EQ(progress.filled, 0u);
    return true;
  };
  const SearchResult result = Search(MakeGrid(rows), lists, options);
  EXPECT_EQ(result.outcome, SearchOutcome::kStopped);
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(opened, std::vector<unsigned>{1});
  for (const auto& word : result.words) EXPECT_FALSE(word.has_value());
}

// 87x87 squares in 3x3 blocks between black lines: 4,356 squares in slots,
// too many to branch on single squares, so every restart decides words.
// The given blocks are one word square; thirteen open blocks need a decision
// each at least, more than the first run may take, so the search fills
// only after restarts, and keeps its invariants through them.
TEST(SearchTest, RestartsByWordsOnAGridOfOver4096Squares) {
  constexpr std::size_t kSide = 87;
  std::vector<std::string> rows(kSide, std::string(kSide, '#'));
  const char* square[] = {"ABC", "BCA", "CAB"};
  std::size_t squares = 0;
  for (std::size_t r = 0; r < kSide; ++r) {
    for (std::size_t c = 0; c < kSide; ++c) {
      if (r % 4 == 3 || c % 4 == 3) continue;
      const bool open = r < 20 && c < 20 && (r / 4 + c / 4) % 2 == 0;
      rows[r][c] = open ? '*' : square[r % 4][c % 4];
      ++squares;
    }
  }
  ASSERT_GT(squares, 4096u);
  const std::vector<std::string> words = {"ACB", "ABC", "BCA",
                                          "CAB", "BAC", "CBA"};
  std::string text;
  for (const std::string& word : words) text += word + ";x\n";
  WordLists lists = ListsOf({{3, text}});
  SearchOptions options;
  options.allow_repeats = true;
  options.first_run_nodes = 1;
  options.check_state = [](const std::string& verdict) {
    EXPECT_EQ(verdict, "");
  };
  const Grid grid = MakeGrid(rows);
  const SearchResult result = Search(grid, lists, options);
  ASSERT_EQ(result.outcome, SearchOutcome::kFilled);
  EXPECT_GT(result.nodes, 1u);
  std::vector<std::string> filled = rows;
  for (std::size_t s = 0; s < result.slots.size(); ++s) {
    const Slot& slot = result.slots[s];
    ASSERT_TRUE(result.words[s].has_value());
    const std::string& word = result.words[s]->word;
    EXPECT_NE(std::find(words.begin(), words.end(), word), words.end());
    for (unsigned k = 0; k < slot.length; ++k) {
      const CellIndex i = slot.start + k * grid.Step(slot.direction);
      char& at = filled[i / kSide][i % kSide];
      if (at == '*') at = word[k];
      EXPECT_EQ(at, word[k]) << "slot " << s << " square " << k;
    }
  }
}

}  // namespace
}  // namespace polimreza
