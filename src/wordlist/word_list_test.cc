#include "wordlist/word_list.h"

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "tests/test_util.h"

namespace polimreza {
namespace {

struct Found {
  std::string word;
  std::string clue;
  bool operator==(const Found&) const = default;
};

// Every entry a search for `pattern` offers, resuming each time.
std::vector<Found> AllFound(WordLists& lists, const std::string& pattern) {
  std::vector<Found> found;
  std::string word = "unchanged", clue = "unchanged";
  for (std::int64_t pos = lists.FindWord(pattern, word, clue, 0); pos != -1;
       pos = lists.FindWord(pattern, word, clue, pos)) {
    found.push_back({word, clue});
  }
  return found;
}

TEST(MatchPatternTest, ComparesOnlyThePatternPositions) {
  struct Case {
    const char* pattern;
    const char* word;
    bool fits;
  };
  const std::vector<Case> cases = {
      {"A*A", "ABA", true}, {"A*A", "ABB", false}, {"***", "XYZ", true},
      {"", "ANY", true},    {"AB", "ABC", true},   {"AB*", "AB", true},
      {"ABC", "AB", false}, {"ab", "AB", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MatchPattern(c.pattern, c.word), c.fits)
        << c.pattern << " / " << c.word;
  }
}

TEST(WordListsTest, ResumesThroughFittingEntriesInFileOrder) {
  WordLists lists = ListsOf({{3, "ABA;1\r\nACA;2\r\nABA;3\r\n"}});
  EXPECT_EQ(AllFound(lists, "A*A"),
            (std::vector<Found>{{"ABA", "1"}, {"ACA", "2"}, {"ABA", "3"}}));
  EXPECT_EQ(AllFound(lists, "ABA"),
            (std::vector<Found>{{"ABA", "1"}, {"ABA", "3"}}));
  EXPECT_EQ(AllFound(lists, "*C*"), (std::vector<Found>{{"ACA", "2"}}));
  EXPECT_EQ(lists.FindClue("ABA"), "1");
  EXPECT_EQ(lists.FindClue("ACA"), "2");
  EXPECT_EQ(lists.FindClue("AAA"), std::nullopt);
}

TEST(WordListsTest, SplitsWordAndClueAtTheFirstSemicolon) {
  WordLists lists = ListsOf({{3, "ABC;x;y\nDEF;\n\n\nGHI;last"}});
  EXPECT_EQ(AllFound(lists, "***"),
            (std::vector<Found>{{"ABC", "x;y"}, {"DEF", ""}, {"GHI", "last"}}));
}

TEST(WordListsTest, LastLineWithoutLineFeedThenNothing) {
  WordLists lists = ListsOf({{2, "AB;x\nCD;y"}});
  std::string word, clue;
  std::int64_t pos = lists.FindWord("C*", word, clue, 0);
  ASSERT_NE(pos, -1);
  EXPECT_EQ(clue, "y");
  word = clue = "kept";
  EXPECT_EQ(lists.FindWord("C*", word, clue, pos), -1);
  EXPECT_EQ(word, "kept");
  EXPECT_EQ(clue, "kept");
}

TEST(WordListsTest, SkipsLinesThatAreNotValidEntries) {
  const std::string text = std::string("NOSEMICOLON\n") +  // no ';'
                           std::string("A\0C;nul\n", 8) +  // NUL byte
                           "AB;too short\n"
                           "ABCD;too long\n"
                           "A*C;star\n"
                           "A#C;block\n"
                           ";empty word\n"
                           "ABC;good\n";
  WordLists lists = ListsOf({{3, text}});
  EXPECT_EQ(AllFound(lists, "***"), (std::vector<Found>{{"ABC", "good"}}));
  EXPECT_EQ(AllFound(lists, "A**"), (std::vector<Found>{{"ABC", "good"}}));
  EXPECT_EQ(lists.FindClue("A*C"), std::nullopt);
  EXPECT_EQ(lists.FindClue("AB"), std::nullopt);
}

TEST(WordListsTest, MissingListsAndOddPatternLengthsGiveNothing) {
  WordLists lists = ListsOf({});
  std::string word, clue;
  EXPECT_EQ(lists.FindWord("**", word, clue, 0), -1);
  EXPECT_EQ(lists.FindWord("", word, clue, 0), -1);
  EXPECT_EQ(lists.FindWord(std::string(10, '*'), word, clue, 0), -1);
  EXPECT_EQ(lists.FindClue(std::string(12, 'A')), std::nullopt);
}

TEST(WordListsTest, ListLinesFollowTheTextLineRules) {
  // A line of 300 bytes arrives as a piece of 199 and one of 101; Ctrl-Z
  // ends the list.
  std::string clue(296, 'c');
  WordLists lists = ListsOf({{3, "ABC;" + clue +
                                     "\nXY;\n\x1A"
                                     "DEF;gone\n"},
                             {1, "\xC5;high byte\n"}});
  EXPECT_EQ(AllFound(lists, "***"),
            (std::vector<Found>{{"ABC", std::string(195, 'c')}}));
  EXPECT_EQ(lists.FindClue("\xC5"), "high byte");
}

TEST(WordListsTest, ListsAreReadOnceOnFirstUse) {
  int opened = 0;
  WordLists lists([&opened](unsigned) -> std::unique_ptr<std::istream> {
    ++opened;
    return std::make_unique<std::istringstream>("AB;x\n");
  });
  std::string word, clue;
  EXPECT_EQ(opened, 0);
  lists.FindWord("**", word, clue, 0);
  lists.FindWord("A*", word, clue, 0);
  lists.FindClue("AB");
  EXPECT_EQ(opened, 1);
}

}  // namespace
}  // namespace polimreza
