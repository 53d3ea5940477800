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

// Another program's file: cells as objects, a block by another name, an
// omitted square, clues as objects and entities in the text.
TEST(IpuzTest, ReadsForeignCrosswords) {
  auto read = ReadIpuz(R"({"version": "http://ipuz.org/v2",
      "kind": ["http://ipuz.org/crossword#1"], "title": "A &amp; B",
      "dimensions": {"width": 3, "height": 1}, "block": ".",
      "puzzle": [[{"cell": 1}, ".", null]],
      "solution": [[{"value": "X"}, ".", null]],
      "clues": {"Across:Vodoravno": [{"number": 1, "clue": "x &lt; y"}]}})");
  ASSERT_EQ(read.index(), 0u);
  const IpuzCrossword& crossword = std::get<IpuzCrossword>(read);
  EXPECT_EQ(crossword.title, "A & B");
  EXPECT_EQ(crossword.block, (std::vector<bool>{false, true, true}));
  EXPECT_EQ(crossword.letters[0], "X");
  EXPECT_EQ(crossword.across, std::vector<std::string>{"x < y"});
  EXPECT_EQ(std::get<std::string>(ReadIpuz("{\"kind\": [\"x\"]}")),
            "Fajl nije ipuz ukrstenica");
  EXPECT_EQ(std::get<std::string>(ReadIpuz("[")), "Fajl nije JSON");
}

// The author, the copyright line and which letters are the author's are
// written and read back.
TEST(IpuzTest, AuthorCopyrightAndMarksRoundTrip) {
  NumberedPuzzle puzzle = NumberPuzzle(SmallPuzzle("c"), "t");
  puzzle.author = "Ana & Bora";
  puzzle.copyright = "(c) 2026 <Ana>";
  puzzle.author_squares = {true,  false, false, false, false,
                           false, false, false, true};
  const std::string text = WriteIpuz(puzzle);
  const auto ipuz = nlohmann::json::parse(text);
  EXPECT_EQ(ipuz["author"], "Ana &amp; Bora");
  EXPECT_EQ(ipuz["copyright"], "(c) 2026 &lt;Ana&gt;");
  EXPECT_EQ(ipuz["com.polimreza:author"],
            nlohmann::json::parse("[[1, 0, 0], [0, 0, 0], [0, 0, 1]]"));
  const auto read = std::get<IpuzCrossword>(ReadIpuz(text));
  EXPECT_EQ(read.author, "Ana & Bora");
  EXPECT_EQ(read.copyright, "(c) 2026 <Ana>");
  EXPECT_EQ(read.author_squares, puzzle.author_squares);
}

// A field nested 100,000 deep (200 KB) would overflow the stack when the
// reader copies it: every field is refused at the read.
TEST(IpuzTest, DeepNestingIsRefused) {
  const std::string deep = std::string(100000, '[') + std::string(100000, ']');
  const std::string head =
      R"({"kind": ["http://ipuz.org/crossword#1"], "dimensions": )";
  for (const std::string& text :
       {head + R"({"width": 1, "height": 1}, "title": )" + deep + "}",
        head + R"({"width": 1, "height": 1}, "author": )" + deep + "}",
        head + R"({"width": 1, "height": 1}, "clues": )" + deep + "}",
        head + R"({"width": 1, "height": 1}, "puzzle": )" + deep + "}",
        head + R"({"width": 1, "height": 1}, "com.polimreza:author": )" + deep +
            "}",
        head + deep + "}"}) {
    EXPECT_EQ(std::get<std::string>(ReadIpuz(text)),
              "Fajl ima JSON dublji od 64 nivoa");
  }
}

// An unfinished grid: open squares without a letter hold the empty value.
TEST(IpuzTest, OpenSquaresWithoutALetterAreEmpty) {
  NumberedPuzzle puzzle = NumberPuzzle(SmallPuzzle("c"), "t");
  puzzle.letters[0] = "";
  const auto ipuz = nlohmann::json::parse(WriteIpuz(puzzle));
  EXPECT_EQ(ipuz["solution"][0][0], 0);
  EXPECT_FALSE(ipuz.contains("com.polimreza:author"));
}

}  // namespace
}  // namespace polimreza
