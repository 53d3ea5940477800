#include "export/numbering.h"

#include <nlohmann/json.hpp>

#include "export/html.h"
#include "export/ipuz.h"
#include "export/page_files.h"
#include "export/svg.h"
#include "gtest/gtest.h"

namespace polimreza {
namespace {

// "AB#" / "C#D" / "EFG" with the given first across clue.
SolvedPuzzle Puzzle(std::string first_clue = "ab") {
  SolvedPuzzle puzzle;
  puzzle.grid = Grid(3, 3);
  const std::string cells = "AB#C#DEFG";
  for (std::size_t i = 0; i < cells.size(); ++i) {
    puzzle.grid.SetCell(i, static_cast<unsigned char>(cells[i]));
  }
  puzzle.across = {std::move(first_clue), "c", "d", "efg"};
  puzzle.down = {"ace", "b", "dg", "f"};
  return puzzle;
}

TEST(NumberingTest, NumbersSlotStartsInReadingOrder) {
  const NumberedPuzzle numbered = NumberPuzzle(Puzzle(), "T");
  EXPECT_EQ(numbered.numbers,
            (std::vector<unsigned>{1, 2, 0, 3, 0, 4, 5, 6, 0}));
  ASSERT_EQ(numbered.across.size(), 4u);
  ASSERT_EQ(numbered.down.size(), 4u);
  // Single squares between blocks (C, D across; B, F down) are slots too.
  const std::pair<unsigned, std::vector<CellIndex>> across[] = {
      {1, {0, 1}}, {3, {3}}, {4, {5}}, {5, {6, 7, 8}}};
  const std::pair<unsigned, std::vector<CellIndex>> down[] = {
      {1, {0, 3, 6}}, {2, {1}}, {4, {5, 8}}, {6, {7}}};
  for (std::size_t k = 0; k < 4; ++k) {
    EXPECT_EQ(numbered.across[k].number, across[k].first);
    EXPECT_EQ(numbered.across[k].cells, across[k].second);
  }
  for (std::size_t k = 0; k < 4; ++k) {
    EXPECT_EQ(numbered.down[k].number, down[k].first);
    EXPECT_EQ(numbered.down[k].cells, down[k].second);
  }
  EXPECT_EQ(numbered.down[2].clue, "dg");
  EXPECT_EQ(numbered.letters[8], "G");
  EXPECT_EQ(DefaultTitle(Puzzle()), "Ukrstenica 3x3");
}

TEST(NumberingTest, DisplayTextReplacesWhatCannotBeShown) {
  EXPECT_EQ(DisplayText("Caj \xc4\x8d\t;"), "Caj \xc4\x8d\t;");
  EXPECT_EQ(DisplayText("a\xff"
                        "b"),
            "a\xef\xbf\xbd"
            "b");
  EXPECT_EQ(DisplayText(std::string("x\0y\x1b", 4)),
            "x\xef\xbf\xbdy\xef\xbf\xbd");
}

// A hostile clue and title never reach any output raw, and the JSON of the
// ipuz file and of the page parses back to the same text.
TEST(EscapingTest, HostileTextIsEscapedEverywhere) {
  const std::string hostile =
      "</script><script>alert(\"x\")</script> & 'y' <!--";
  const NumberedPuzzle numbered = NumberPuzzle(Puzzle(hostile), hostile);
  const std::string html = WriteHtml(numbered);
  const std::string svg = WriteSvg(numbered, true);
  const std::string ipuz = WriteIpuz(numbered);
  EXPECT_EQ(html.find("<script>alert"), std::string::npos);
  EXPECT_EQ(html.find("<!--"), std::string::npos);
  // One script element for the data and one for the page's script.
  std::size_t scripts = 0;
  for (std::size_t at = html.find("</script>"); at != std::string::npos;
       at = html.find("</script>", at + 1)) {
    ++scripts;
  }
  EXPECT_EQ(scripts, 2u);
  const std::string escaped =
      "&lt;/script&gt;&lt;script&gt;alert(&quot;x&quot;)&lt;/script&gt; "
      "&amp; &#39;y&#39; &lt;!--";
  EXPECT_NE(html.find("<h1>" + escaped + "</h1>"), std::string::npos);
  EXPECT_NE(html.find("<span class=\"n\">1.</span> " + escaped + "</li>"),
            std::string::npos);
  EXPECT_NE(svg.find("<title>" + escaped + "</title>"), std::string::npos);
  EXPECT_EQ(svg.find("<script"), std::string::npos);

  const std::string data = PageData(numbered);
  EXPECT_EQ(data.find_first_of("<>&"), std::string::npos);
  EXPECT_NE(html.find(data), std::string::npos);
  EXPECT_EQ(nlohmann::json::parse(data)["across"][0]["clue"], hostile);
  const std::string in_ipuz =
      "&lt;/script&gt;&lt;script&gt;alert(\"x\")&lt;/script&gt; &amp; 'y' "
      "&lt;!--";
  EXPECT_EQ(nlohmann::json::parse(ipuz)["clues"]["Across"][0][1], in_ipuz);
  EXPECT_EQ(nlohmann::json::parse(ipuz)["title"], in_ipuz);
}

// The embedded style and script cannot end their own elements early.
TEST(EscapingTest, PageFilesStayInsideTheirElements) {
  EXPECT_NE(EmbeddedPageFile("puzzle.html").find("{{script}}"),
            std::string_view::npos);
  EXPECT_EQ(EmbeddedPageFile("puzzle.css").find("</"), std::string_view::npos);
  EXPECT_EQ(EmbeddedPageFile("puzzle.js").find("</"), std::string_view::npos);
  EXPECT_EQ(EmbeddedPageFile("other"), "");
}

TEST(EscapingTest, InvalidUtf8BecomesReplacementCharacters) {
  SolvedPuzzle puzzle = Puzzle("bad \xc3");
  puzzle.grid.SetCell(0, 0xc8);
  const NumberedPuzzle numbered = NumberPuzzle(puzzle, "\xff");
  const auto ipuz = nlohmann::json::parse(WriteIpuz(numbered));
  EXPECT_EQ(ipuz["clues"]["Across"][0][1], "bad \xef\xbf\xbd");
  EXPECT_EQ(ipuz["solution"][0][0], "\xef\xbf\xbd");
  EXPECT_EQ(ipuz["title"], "\xef\xbf\xbd");
  EXPECT_EQ(ipuz["puzzle"][0], nlohmann::json::parse("[1, 2, \"#\"]"));
}

}  // namespace
}  // namespace polimreza
