#include "export/html.h"

#include <nlohmann/json.hpp>

#include "alphabet/clue_script.h"
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
// reading order, once each, each typing itself; U+FFFD stands for no letter
// and is left out.
TEST(HtmlTest, AlphabetIsAToZAndTheSolutionsLetters) {
  SolvedPuzzle solved = SmallPuzzle();
  solved.grid = MakeGrid({"7?#", "a#\xff", "7AB"});
  const auto data = nlohmann::ordered_json::parse(
      PageData(NumberPuzzle(solved, "T")))["typing"];
  std::vector<std::string> expected;
  for (char c = 'A'; c <= 'Z'; ++c) expected.emplace_back(1, c);
  expected.insert(expected.end(), {"7", "?", "a"});
  std::vector<std::string> typed;
  for (const auto& [key, letter] : data["keys"].items()) {
    typed.push_back(key);
    EXPECT_EQ(letter, key);
  }
  EXPECT_EQ(typed, expected);
  EXPECT_EQ(data["joins"], nlohmann::ordered_json::array());
}

// A Serbian page carries the typing table of its alphabet in its script:
// the keys of both scripts and the pairs joined as they are typed.
TEST(HtmlTest, SerbianPageTypesItsLetters) {
  const auto latin =
      nlohmann::json::parse(PageData(NumberPuzzle(SerbianPuzzle(), "T")));
  EXPECT_EQ(latin["letters"][1], "LJ");
  const auto& keys = latin["typing"]["keys"];
  EXPECT_EQ(keys.size(), 60u);
  EXPECT_EQ(keys["L"], "L");
  EXPECT_EQ(keys["\u0409"], "LJ");
  EXPECT_EQ(keys["\u01c7"], "LJ");
  EXPECT_EQ(keys["\u0416"], "\u017d");
  EXPECT_FALSE(keys.contains("LJ"));
  EXPECT_FALSE(keys.contains("Q"));
  EXPECT_EQ(latin["typing"]["joins"].dump(),
            "[[\"D\",\"\u017d\",\"D\u017d\"],[\"L\",\"J\",\"LJ\"],"
            "[\"N\",\"J\",\"NJ\"]]");

  const auto cyrillic = nlohmann::json::parse(
      PageData(NumberPuzzle(SerbianPuzzle(), "T", Script::kCyrillic)));
  EXPECT_EQ(cyrillic["letters"][1], "\u0409");
  EXPECT_EQ(cyrillic["typing"]["keys"]["L"], "\u041b");
  EXPECT_EQ(cyrillic["typing"]["keys"]["\u0106"], "\u040b");
  EXPECT_EQ(cyrillic["typing"]["joins"][0].dump(),
            "[\"\u041b\",\"J\",\"\u0409\"]");
  EXPECT_EQ(cyrillic["typing"]["joins"][3].dump(),
            "[\"\u0414\",\"J\",\"\u0402\"]");
}

// Every word the page shows is in the language asked for, Serbian in the
// puzzle's script, the default title too.
TEST(HtmlTest, LabelsFollowTheLanguageAndTheScript) {
  const NumberedPuzzle numbered = NumberPuzzle(SerbianPuzzle(), "T");
  const NumberedPuzzle in_cyrillic =
      NumberPuzzle(SerbianPuzzle(), "T", Script::kCyrillic);
  const std::string serbian = WriteHtml(numbered);
  const std::string cyrillic = WriteHtml(in_cyrillic);
  const std::string english = WriteHtml(in_cyrillic, PageLanguage::kEnglish);
  EXPECT_EQ(serbian, WriteHtml(numbered, PageLanguage::kSerbian));
  EXPECT_NE(serbian.find("<html lang=\"sr-Latn\">"), std::string::npos);
  EXPECT_NE(cyrillic.find("<html lang=\"sr-Cyrl\">"), std::string::npos);
  EXPECT_NE(english.find("<html lang=\"en\">"), std::string::npos);
  struct Shown {
    std::string_view latin, cyrillic, english;
  };
  const Shown shown[] = {
      {">Vodoravno</h2>", ">Водоравно</h2>", ">Across</h2>"},
      {">Uspravno</h2>", ">Усправно</h2>", ">Down</h2>"},
      {">Proveri reč</button>", ">Провери реч</button>",
       ">Check word</button>"},
      {">Obriši sve</button>", ">Обриши све</button>", ">Clear all</button>"},
      {"<h2>Rešenje</h2>", "<h2>Решење</h2>", "<h2>Solution</h2>"},
      {"aria-label=\"Mreža 3 x 3\"", "aria-label=\"Мрежа 3 x 3\"",
       "aria-label=\"Grid 3 x 3\""},
      {"aria-label=\"Red 2, kolona 3, broj 5\"",
       "aria-label=\"Ред 2, колона 3, број 5\"",
       "aria-label=\"Row 2, column 3, number 5\""},
      {"hidden>Kliknite polje i kucajte slova. Strelice pomeraju, Tab i "
       "Shift+Tab idu na sledeću i prethodnu reč, razmak ili drugi klik "
       "menja smer, Backspace briše.</p>",
       "hidden>Кликните поље и куцајте слова. Стрелице померају, Tab и "
       "Shift+Tab иду на следећу и претходну реч, размак или други клик "
       "мења смер, Backspace брише.</p>",
       "hidden>Click a square"},
      {"\"solved\":\"Čestitamo! Ukrštenica je rešena.\"",
       "\"solved\":\"Честитамо! Укрштеница је решена.\"",
       "\"solved\":\"Congratulations! The crossword is solved.\""},
      {"\"wrong\":\"Pogrešnih slova: \"", "\"wrong\":\"Погрешних слова: \"",
       "\"wrong\":\"Wrong letters: \""}};
  for (const Shown& text : shown) {
    EXPECT_NE(serbian.find(text.latin), std::string::npos) << text.latin;
    EXPECT_NE(cyrillic.find(text.cyrillic), std::string::npos) << text.cyrillic;
    EXPECT_NE(english.find(text.english), std::string::npos) << text.english;
    // The Cyrillic words are the Latin ones letter for letter.
    std::string latin;
    ConvertClueScript(text.cyrillic, Script::kLatin, latin);
    EXPECT_EQ(latin, text.latin);
  }
  EXPECT_EQ(english.find("{{"), std::string::npos);
  EXPECT_EQ(DefaultTitle(15, 13, PageLanguage::kSerbian), "Ukrštenica 15x13");
  EXPECT_EQ(DefaultTitle(15, 13, PageLanguage::kSerbian, Script::kCyrillic),
            "Укрштеница 15x13");
  EXPECT_EQ(DefaultTitle(15, 13, PageLanguage::kEnglish, Script::kCyrillic),
            "Crossword 15x13");
  EXPECT_EQ(PageLanguageOf("en"), PageLanguage::kEnglish);
  EXPECT_EQ(PageLanguageOf("sr"), PageLanguage::kSerbian);
  EXPECT_EQ(PageLanguageOf("de"), std::nullopt);
}

// The author shows under the title, labelled in the page's language and
// escaped; a puzzle without one shows no line for it.
TEST(HtmlTest, TheAuthorShowsUnderTheTitle) {
  NumberedPuzzle numbered = NumberPuzzle(SerbianPuzzle(), "T");
  EXPECT_EQ(WriteHtml(numbered).find("class=\"author\""), std::string::npos);
  numbered.author = "Ana & <Jovan>";
  EXPECT_NE(WriteHtml(numbered).find(
                "<h1>T</h1>\n<p class=\"author\">Autor: Ana &amp; "
                "&lt;Jovan&gt;</p>\n<div class=\"layout\">"),
            std::string::npos);
  EXPECT_NE(WriteHtml(numbered, PageLanguage::kEnglish)
                .find("<p class=\"author\">By Ana &amp; &lt;Jovan&gt;</p>"),
            std::string::npos);
  numbered.script = Script::kCyrillic;
  EXPECT_NE(WriteHtml(numbered).find("<p class=\"author\">Аутор: Ana"),
            std::string::npos);
}

// The embedded style and script cannot end their own elements early.
TEST(HtmlTest, PageFilesStayInsideTheirElements) {
  EXPECT_NE(EmbeddedPageFile("page.html").find("{{script}}"),
            std::string_view::npos);
  EXPECT_EQ(EmbeddedPageFile("puzzle.css").find("</"), std::string_view::npos);
  EXPECT_EQ(EmbeddedPageFile("puzzle.js").find("</"), std::string_view::npos);
  EXPECT_EQ(EmbeddedPageFile("other"), "");
}

}  // namespace
}  // namespace polimreza
