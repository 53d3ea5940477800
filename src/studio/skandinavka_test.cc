#include "studio/skandinavka.h"

#include <filesystem>
#include <fstream>
#include <string>

#include "gtest/gtest.h"
#include "studio/files.h"
#include "studio/session.h"
#include "tests/scratch_folder.h"

namespace polimreza {
namespace {

Grid GridOf(const std::string& rows, const Alphabet& alphabet) {
  auto grid = DecodeRows(Json::parse(rows), alphabet);
  EXPECT_EQ(grid.index(), 0u);
  return std::get<Grid>(grid);
}

class StudioSkandinavkaTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // No list of single letters: a skandinavka needs none.
    std::ofstream(folder_ / "2.txt") << "AB;prvi\r\nAC;drugi\r\n";
  }

  ScratchFolder scratch_{"skandinavka"};
  const std::filesystem::path folder_ = scratch_.path();
  Alphabet alphabet_{AlphabetKind::kAscii};
};

// A pattern without a layout is named as the console names it: the first
// word without a clue square, else the first square in no word.
TEST_F(StudioSkandinavkaTest, RefusalsNameTheWordOrTheSquare) {
  EXPECT_EQ(LayoutRefusal(GridOf(R"(["**", "**"])", alphabet_))->message,
            "Rec na mestu (1,1) vodoravno nema polje za opis");
  EXPECT_EQ(LayoutRefusal(GridOf(R"(["#**", "#**"])", alphabet_))->message,
            "Rec na mestu (3,1) uspravno nema polje za opis");
  EXPECT_EQ(LayoutRefusal(GridOf(R"(["#*#", "###"])", alphabet_))->message,
            "Polje (2,1) ne pripada nijednoj reci");
  EXPECT_FALSE(LayoutRefusal(GridOf(R"(["###", "#**", "#**"])", alphabet_)));
  EXPECT_EQ(ClueSquaresJson(GridOf(R"(["#**", "#**"])", alphabet_)),
            Json::parse(R"({"refusal": {"message": "Rec na mestu (3,1) )"
                        R"(uspravno nema polje za opis", "square": [0, 2], )"
                        R"("word": {"row": 0, "col": 2, "direction": )"
                        R"("down"}}})"));
}

// Every word gets its square and arrow, in reading order of the words:
// here both bent, from the one square above the across word and left of
// the down word (the save below has straight ones).
TEST_F(StudioSkandinavkaTest, LayoutGivesEachWordItsSquare) {
  EXPECT_EQ(
      ClueSquaresJson(GridOf(R"(["#*#", "***"])", alphabet_)),
      Json::parse(
          R"({"clues": [{"row": 0, "col": 1, "direction": "down", )"
          R"("length": 2, "square": [0, 0], "bent": true}, {"row": 1, )"
          R"("col": 0, "direction": "across", "length": 3, "square": [0, 0], )"
          R"("bent": true}]})"));
}

// The kind travels with each request: a skandinavka's single squares take
// any letter, a pattern without a layout is refused before any fill, and a
// kind that is neither is refused.
TEST_F(StudioSkandinavkaTest, FillTakesTheKind) {
  Session session(AlphabetKind::kAscii, folder_, folder_);
  const Reply refused =
      session.Fill(R"({"rows": ["**", "**"], "kind": "skandinavka"})");
  EXPECT_EQ(refused.status, 400);
  EXPECT_EQ(refused.body,
            R"({"error":"Rec na mestu (1,1) vodoravno nema polje za opis"})");
  EXPECT_EQ(session.Fill(R"({"rows": ["**"], "kind": "strelice"})").body,
            R"({"error":"Polje kind nedostaje ili nije ispravno"})");

  // Without a list of single letters the classic kind cannot fill it.
  EXPECT_EQ(
      Json::parse(
          session.Fill(R"({"rows": ["###", "#**", "#*#"]})").body)["status"],
      "impossible");
  const Json filled = Json::parse(
      session.Fill(R"({"rows": ["###", "#**", "#*#"], "kind": "skandinavka"})")
          .body);
  EXPECT_EQ(filled["status"], "filled");
  const Json rows = filled["rows"];
  EXPECT_TRUE(rows == Json::parse(R"(["###", "#AB", "#C#"])") ||
              rows == Json::parse(R"(["###", "#AC", "#B#"])"))
      << rows;
  // The single squares are no words of the reply.
  ASSERT_EQ(filled["words"].size(), 2u);
  for (const Json& word : filled["words"]) {
    EXPECT_EQ(word["word"].get<std::string>().size(), 2u);
  }

  const std::string ask =
      R"({"rows": ["###", "#**", "#*#"], "row": 1, "col": 1, )"
      R"("direction": "across", "kind": "skandinavka"})";
  // Asked first in the classic kind, the same grid's answer is not the
  // skandinavka's.
  std::string classic = ask;
  classic.erase(classic.find(R"(, "kind")"), 23);
  EXPECT_EQ(Json::parse(session.Candidates(classic).body)["count"], 0);
  EXPECT_EQ(Json::parse(session.Candidates(ask).body)["count"], 2);
}

// A skandinavka saves its kind and clues in the extension fields, each
// clue with its square, and opens as it was.
TEST_F(StudioSkandinavkaTest, SaveAndOpenKeepTheKindAndClues) {
  auto request = DecodeSave(
      R"({"name": "s.ipuz", "rows": ["###", "#AB", "#C#"], )"
      R"("kind": "skandinavka", "squareClues": [{"row": 1, "col": 1, )"
      R"("direction": "across", "clue": "Prvi <b>"}, {"row": 1, "col": 1, )"
      R"("direction": "down", "clue": "Drugi"}]})",
      alphabet_, ".ipuz");
  ASSERT_EQ(request.index(), 0u);
  ASSERT_EQ(
      SavePuzzle(folder_, std::get<SaveRequest>(request), alphabet_).index(),
      0u);
  std::ifstream in(folder_ / "s.ipuz");
  const Json ipuz = Json::parse(in);
  EXPECT_EQ(ipuz["com.polimreza:kind"], "skandinavka");
  EXPECT_EQ(ipuz["com.polimreza:clues"],
            Json::parse(R"([{"row": 1, "col": 1, "direction": "across", )"
                        R"("clue": "Prvi <b>", "square": [1, 0]}, {"row": 1, )"
                        R"("col": 1, "direction": "down", "clue": "Drugi", )"
                        R"("square": [0, 1]}])"));

  auto opened = OpenPuzzle(folder_, "s.ipuz", alphabet_);
  ASSERT_EQ(opened.index(), 0u);
  const Json reply = Json::parse(std::get<std::string>(opened));
  EXPECT_EQ(reply["kind"], "skandinavka");
  EXPECT_EQ(reply["squareClues"],
            Json::parse(R"([{"row": 1, "col": 1, "direction": "across", )"
                        R"("clue": "Prvi <b>"}, {"row": 1, "col": 1, )"
                        R"("direction": "down", "clue": "Drugi"}])"));

  // The export writes the page and the SVG, the clues in their squares,
  // and no ipuz.
  auto exported =
      ExportPuzzle(folder_, std::get<SaveRequest>(request), alphabet_);
  ASSERT_EQ(exported.index(), 0u);
  EXPECT_EQ(std::get<std::string>(exported),
            R"({"written":["s.ipuz-stampa.html","s.ipuz-stampa.svg"]})");
  EXPECT_FALSE(std::filesystem::exists(folder_ / "s.ipuz-resenje.ipuz"));
  std::ifstream page(folder_ / "s.ipuz-stampa.html");
  const std::string html((std::istreambuf_iterator<char>(page)),
                         std::istreambuf_iterator<char>());
  EXPECT_NE(html.find("\\u003cb\\u003e"), std::string::npos);
  EXPECT_EQ(html.find("<b>"), std::string::npos);
}

// A clue is shown as it will print: in lines of 9 characters, at most 5,
// with whether it fits.
TEST_F(StudioSkandinavkaTest, ClueLinesSayWhetherTheClueFits) {
  auto reply = ClueLinesJson(
      R"({"clues": [{"clue": "Reka kroz Beograd"}, )"
      R"({"clue": "Reka kroz Beograd, Novi Sad, Vukovar, Ilok i Zemun"}]})",
      nullptr);
  ASSERT_EQ(reply.index(), 0u);
  const Json& lines = std::get<Json>(reply)["lines"];
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], Json::parse(R"({"lines": ["Reka kroz", "Beograd"], )"
                                  R"("fits": true, "max": 5})"));
  EXPECT_EQ(lines[1]["fits"], false);
  EXPECT_EQ(lines[1]["max"], 5);
  auto refused = ClueLinesJson(R"({"clues": ["x"]})", nullptr);
  ASSERT_EQ(refused.index(), 1u);
  EXPECT_EQ(std::get<ApiError>(refused).message,
            "Polje clues nedostaje ili nije ispravno");
}

// A file of the classic kind, or with a clue that is not well formed,
// opens without that clue.
TEST_F(StudioSkandinavkaTest, ReadsOnlyWellFormedClues) {
  EXPECT_EQ(ReadSkandinavkaFields(Json::parse(R"({"kind": 1})")).kind,
            PuzzleKind::kClassic);
  const SavedKind saved = ReadSkandinavkaFields(Json::parse(
      R"({"com.polimreza:kind": "skandinavka", "com.polimreza:clues": )"
      R"([{"row": 0, "col": 0, "direction": "up", "clue": "x"}, )"
      R"({"row": 2, "col": 1, "direction": "down", "clue": "y"}]})"));
  EXPECT_EQ(saved.kind, PuzzleKind::kSkandinavka);
  EXPECT_EQ(saved.clues, (std::vector<WordClue>{{2, 1, DOWN, "y"}}));
}

}  // namespace
}  // namespace polimreza
