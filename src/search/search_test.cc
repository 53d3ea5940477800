#include "search/search.h"

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

}  // namespace
}  // namespace polimreza
