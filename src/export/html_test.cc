#include "export/html.h"

#include <nlohmann/json.hpp>

#include "export/page_files.h"
#include "gtest/gtest.h"
#include "tests/test_util.h"

namespace polimreza {
namespace {

// A hostile clue and title never reach the page raw, and the page's JSON
// parses back to the same text.
TEST(HtmlTest, HostileTextIsEscaped) {
  const std::string hostile =
      "</script><script>alert(\"x\")</script> & 'y' <!--";
  const NumberedPuzzle numbered = NumberPuzzle(SmallPuzzle(hostile), hostile);
  const std::string html = WriteHtml(numbered);
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
  EXPECT_NE(html.find("<span class=\"n\">1.</span> " + escaped +
                      " <span class=\"len\">(2)</span></li>"),
            std::string::npos);

  const std::string data = PageData(numbered);
  EXPECT_EQ(data.find_first_of("<>&"), std::string::npos);
  EXPECT_NE(html.find(data), std::string::npos);
  EXPECT_EQ(nlohmann::json::parse(data)["across"][0]["clue"], hostile);
}

// An empty clue, or one of spaces and tabs, is a line to fill; every clue
// shows its word's length.
TEST(HtmlTest, EmptyClueIsALineToFill) {
  SolvedPuzzle solved = SmallPuzzle(" \t");
  solved.down[3] = "";
  const NumberedPuzzle numbered = NumberPuzzle(solved, "T");
  EXPECT_EQ(EmptyClueCount(numbered), 2u);
  const std::string html = WriteHtml(numbered);
  EXPECT_NE(html.find("<span class=\"n\">1.</span> <span class=\"blank\">"
                      "</span> <span class=\"len\">(2)</span></li>"),
            std::string::npos);
  EXPECT_NE(html.find("<span class=\"n\">5.</span> efg "
                      "<span class=\"len\">(3)</span></li>"),
            std::string::npos);
  EXPECT_NE(html.find("<span class=\"n\">6.</span> <span class=\"blank\">"
                      "</span> <span class=\"len\">(1)</span></li>"),
            std::string::npos);
}

TEST(HtmlTest, IsEmptyClue) {
  const std::pair<std::string_view, bool> cases[] = {
      {"", true},   {" ", true},   {"\t \t", true},
      {"a", false}, {" .", false}, {"\xef\xbf\xbd", false}};
  for (const auto& [clue, empty] : cases) {
    EXPECT_EQ(IsEmptyClue(clue), empty) << '"' << clue << '"';
  }
}

// The letters a solver may type: A to Z, then the solution's others in
// reading order, once each; U+FFFD stands for no letter and is left out.
TEST(HtmlTest, AlphabetIsAToZAndTheSolutionsLetters) {
  SolvedPuzzle solved = SmallPuzzle();
  solved.grid = MakeGrid({"7?#", "a#\xff", "7AB"});
  const auto data = nlohmann::json::parse(PageData(NumberPuzzle(solved, "T")));
  std::vector<std::string> expected;
  for (char c = 'A'; c <= 'Z'; ++c) expected.emplace_back(1, c);
  expected.insert(expected.end(), {"7", "?", "a"});
  EXPECT_EQ(data["alphabet"], expected);
}

// A Serbian page lists its letters, the keys of both scripts that type
// them and the Latin pairs joined as they are typed.
TEST(HtmlTest, SerbianPageTypesItsLetters) {
  const auto latin =
      nlohmann::json::parse(PageData(NumberPuzzle(SerbianPuzzle(), "T")));
  EXPECT_EQ(latin["alphabet"].size(), 30u);
  EXPECT_EQ(latin["alphabet"][16], "LJ");
  EXPECT_EQ(latin["letters"][1], "LJ");
  EXPECT_EQ(latin["keys"]["L"], "L");
  EXPECT_EQ(latin["keys"]["\u0409"], "LJ");
  EXPECT_EQ(latin["keys"]["\u01c7"], "LJ");
  EXPECT_EQ(latin["keys"]["\u0416"], "\u017d");
  EXPECT_FALSE(latin["keys"].contains("LJ"));
  EXPECT_FALSE(latin["keys"].contains("Q"));
  EXPECT_EQ(latin["joins"],
            nlohmann::json::parse("{\"D\": {\"\u017d\": \"D\u017d\"}, "
                                  "\"L\": {\"J\": \"LJ\"}, "
                                  "\"N\": {\"J\": \"NJ\"}}"));

  const auto cyrillic = nlohmann::json::parse(
      PageData(NumberPuzzle(SerbianPuzzle(), "T", Script::kCyrillic)));
  EXPECT_EQ(cyrillic["letters"][1], "\u0409");
  EXPECT_EQ(cyrillic["keys"]["L"], "\u041b");
  EXPECT_EQ(cyrillic["joins"]["L"]["J"], "\u0409");
}

// Every word the page shows is in the language asked for, the default
// title too.
TEST(HtmlTest, LabelsFollowTheLanguage) {
  const NumberedPuzzle numbered = NumberPuzzle(SmallPuzzle(), "T");
  const std::string serbian = WriteHtml(numbered);
  const std::string english = WriteHtml(numbered, PageLanguage::kEnglish);
  EXPECT_EQ(serbian, WriteHtml(numbered, PageLanguage::kSerbian));
  const std::pair<std::string_view, std::string_view> shown[] = {
      {"<html lang=\"sr-Latn\">", "<html lang=\"en\">"},
      {">Vodoravno</h2>", ">Across</h2>"},
      {">Uspravno</h2>", ">Down</h2>"},
      {">Proveri rec</button>", ">Check word</button>"},
      {"<h2>Resenje</h2>", "<h2>Solution</h2>"},
      {"aria-label=\"Mreza 3 x 3\"", "aria-label=\"Grid 3 x 3\""},
      {"aria-label=\"Red 2, kolona 3, broj 4\"",
       "aria-label=\"Row 2, column 3, number 4\""},
      {"\"solved\":\"Cestitamo! Ukrstenica je resena.\"",
       "\"solved\":\"Congratulations! The crossword is solved.\""}};
  for (const auto& [in_serbian, in_english] : shown) {
    EXPECT_NE(serbian.find(in_serbian), std::string::npos) << in_serbian;
    EXPECT_NE(english.find(in_english), std::string::npos) << in_english;
  }
  EXPECT_EQ(english.find("{{"), std::string::npos);
  EXPECT_EQ(DefaultTitle(15, 13, PageLanguage::kSerbian), "Ukrstenica 15x13");
  EXPECT_EQ(DefaultTitle(15, 13, PageLanguage::kEnglish), "Crossword 15x13");
  EXPECT_EQ(PageLanguageOf("en"), PageLanguage::kEnglish);
  EXPECT_EQ(PageLanguageOf("sr"), PageLanguage::kSerbian);
  EXPECT_EQ(PageLanguageOf("de"), std::nullopt);
}

// The embedded style and script cannot end their own elements early.
TEST(HtmlTest, PageFilesStayInsideTheirElements) {
  EXPECT_NE(EmbeddedPageFile("puzzle.html").find("{{script}}"),
            std::string_view::npos);
  EXPECT_EQ(EmbeddedPageFile("puzzle.css").find("</"), std::string_view::npos);
  EXPECT_EQ(EmbeddedPageFile("puzzle.js").find("</"), std::string_view::npos);
  EXPECT_EQ(EmbeddedPageFile("other"), "");
}

}  // namespace
}  // namespace polimreza
