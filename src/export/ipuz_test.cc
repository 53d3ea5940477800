#include "export/ipuz.h"

#include <nlohmann/json.hpp>

#include "gtest/gtest.h"
#include "tests/test_util.h"

namespace polimreza {
namespace {

// The title and clues are HTML in an ipuz file: a hostile one is escaped
// there (quotes kept, as JSON carries them) and the file still parses.
TEST(IpuzTest, HostileTextIsEscaped) {
  const std::string hostile =
      "</script><script>alert(\"x\")</script> & 'y' <!--";
  const auto ipuz = nlohmann::json::parse(
      WriteIpuz(NumberPuzzle(SmallPuzzle(hostile), hostile)));
  const std::string escaped =
      "&lt;/script&gt;&lt;script&gt;alert(\"x\")&lt;/script&gt; &amp; 'y' "
      "&lt;!--";
  EXPECT_EQ(ipuz["clues"]["Across"][0][1], escaped);
  EXPECT_EQ(ipuz["title"], escaped);
}

TEST(IpuzTest, InvalidUtf8BecomesReplacementCharacters) {
  SolvedPuzzle puzzle = SmallPuzzle("bad \xc3");
  puzzle.grid.SetCell(0, 0xc8);
  const auto ipuz =
      nlohmann::json::parse(WriteIpuz(NumberPuzzle(puzzle, "\xff")));
  EXPECT_EQ(ipuz["clues"]["Across"][0][1], "bad \xef\xbf\xbd");
  EXPECT_EQ(ipuz["solution"][0][0], "\xef\xbf\xbd");
  EXPECT_EQ(ipuz["title"], "\xef\xbf\xbd");
  EXPECT_EQ(ipuz["puzzle"][0], nlohmann::json::parse("[1, 2, \"#\"]"));
}

// A Serbian puzzle: each square's letter as one string, its letters as the
// charset, its language; in Cyrillic the clues and the title too.
TEST(IpuzTest, SerbianLettersInEitherScript) {
  const auto latin =
      nlohmann::json::parse(WriteIpuz(NumberPuzzle(SerbianPuzzle(), "Reka")));
  EXPECT_EQ(latin["solution"][0],
            nlohmann::json::parse("[\"U\", \"LJ\", \"E\"]"));
  EXPECT_EQ(latin["charset"],
            "ABC\u010c\u0106DD\u017d\u0110EFGHIJKLLJMNNJOPRS\u0160TUVZ"
            "\u017d");
  EXPECT_EQ(latin["language"], "sr-Latn");
  EXPECT_EQ(latin["clues"]["Across"][0][1], "Ljubav i d\u017eak");

  const auto cyrillic = nlohmann::json::parse(
      WriteIpuz(NumberPuzzle(SerbianPuzzle(), "Reka", Script::kCyrillic)));
  EXPECT_EQ(cyrillic["solution"][0],
            nlohmann::json::parse("[\"\u0423\", \"\u0409\", \"\u0415\"]"));
  EXPECT_EQ(cyrillic["solution"][2][1], "\u0414");
  EXPECT_EQ(cyrillic["language"], "sr-Cyrl");
  EXPECT_EQ(cyrillic["title"], "\u0420\u0435\u043a\u0430");
  EXPECT_EQ(cyrillic["clues"]["Across"][0][1],
            "\u0409\u0443\u0431\u0430\u0432 \u0438 \u045f\u0430\u043a");
  EXPECT_EQ(cyrillic["clues"]["Down"][1][1], "\u0459");
}

// An ascii puzzle's file is as it always was: no charset, no language.
TEST(IpuzTest, AsciiHasNoCharsetOrLanguage) {
  const auto ipuz = nlohmann::json::parse(
      WriteIpuz(NumberPuzzle(SmallPuzzle(), "T", Script::kCyrillic)));
  EXPECT_FALSE(ipuz.contains("charset"));
  EXPECT_FALSE(ipuz.contains("language"));
  EXPECT_EQ(ipuz["solution"][0][0], "A");
  EXPECT_EQ(ipuz["clues"]["Across"][0][1], "ab");
}

}  // namespace
}  // namespace polimreza
