#include "export/skandinavka.h"

#include <memory>
#include <string>
#include <variant>

#include "export/report_reader.h"
#include "gtest/gtest.h"

namespace polimreza {
namespace {

// A 5x5 skandinavka: the top row and left column are clue squares, and the
// square (3,3) serves an across and a down word.
const char kReport[] =
    "MaxVodoravno:5, MaxUspravno:5\n"
    "Ukrstenica je resena\n"
    "Sad cu je prikazati...\n"
    "\n"
    "#####\n"
    "#RUKA\n"
    "#A#NA\n"
    "#DANI\n"
    "#IMAM\n"
    "Vodoravno:\n"
    "0.Deo tela\n"
    "1.\n"
    "2.<b>na</b> & ne\n"
    "3.Suprotno od noci\n"
    "4.Poseduje\n"
    "\n"
    "Uspravno:\n"
    "0.Obavlja posao\n"
    "1.\n"
    "2.Bog sunca\n"
    "3.Pismo\n"
    "4.Kanal za vodu u polju, dugacak i uzan, kraj puta\n";

struct Fixture {
  SolvedPuzzle solved;
  NumberedPuzzle puzzle;
  Skandinavka skandinavka;
};

Fixture Make(const std::string& report) {
  Fixture out;
  out.solved = std::get<SolvedPuzzle>(ReadReport(report));
  out.puzzle = NumberPuzzle(out.solved, "Probna");
  const auto hyphenator = Hyphenator::Serbian();
  out.skandinavka = std::get<Skandinavka>(
      LayOutSkandinavka(out.solved.grid, out.puzzle, hyphenator.get()));
  return out;
}

std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos;
       at = text.find(part, at + 1)) {
    ++count;
  }
  return count;
}

TEST(ExportSkandinavkaTest, PlacesEveryWordWithItsArrowAndLines) {
  const Fixture f = Make(kReport);
  const Skandinavka& s = f.skandinavka;
  EXPECT_EQ(s.across_words, 4u);
  EXPECT_EQ(s.down_words, 4u);
  ASSERT_EQ(s.clues.size(), 8u);
  // RUKA: the square on its left, straight.
  EXPECT_EQ(s.clues[0].direction, ACROSS);
  EXPECT_EQ(s.clues[0].square, 5u);
  EXPECT_EQ(s.clues[0].arrow, ArrowKind::kRight);
  EXPECT_EQ(s.clues[0].lines.lines, (std::vector<std::string>{"Deo tela"}));
  // The square (3,3) holds NA's clue, then AM's (down from (3,4)).
  const auto& shared = s.square_clues[12];
  ASSERT_EQ(shared.size(), 2u);
  EXPECT_EQ(s.clues[shared[0]].direction, ACROSS);
  EXPECT_EQ(s.clues[shared[1]].direction, DOWN);
  EXPECT_EQ(s.clues[shared[1]].clue,
            "Kanal za vodu u polju, dugacak i uzan, kraj puta");
  EXPECT_TRUE(Overfull(s, 12));
  EXPECT_FALSE(Overfull(s, 5));
}

TEST(ExportSkandinavkaTest, BendsTheArrowsOfCluesBesideTheFirstLetter) {
  const Fixture f = Make(
      "MaxVodoravno:3, MaxUspravno:3\nUkrstenica je resena\n"
      "Sad cu je prikazati...\n\n##A\nBCD\n##E\nVodoravno:\n0.\n"
      "1.Vodoravna rec\n2.\n\nUspravno:\n0.Uspravna rec\n1.\n2.\n");
  const Skandinavka& s = f.skandinavka;
  ASSERT_EQ(s.clues.size(), 2u);
  // ADE: its clue left of A, the arrow right and then down.
  EXPECT_EQ(s.clues[0].square, 1u);
  EXPECT_EQ(s.clues[0].arrow, ArrowKind::kRightThenDown);
  // BCD: its clue above B, the arrow down and then right.
  EXPECT_EQ(s.clues[1].square, 0u);
  EXPECT_EQ(s.clues[1].arrow, ArrowKind::kDownThenRight);
  const std::string page =
      WriteSkandinavkaHtml(f.puzzle, s, PageLanguage::kEnglish);
  EXPECT_NE(page.find("<td class=\"sq\"><svg class=\"arrow\" viewBox=\"0 0 "
                      "100 100\" aria-hidden=\"true\"><path d=\"" +
                      ArrowPath(ArrowKind::kDownThenRight) +
                      "\"/></svg><input "
                      "id=\"q3\""),
            std::string::npos);
  EXPECT_NE(page.find("<h1>Probna</h1>"), std::string::npos);
  EXPECT_NE(page.find("aria-label=\"Arrowword\""), std::string::npos);
}

TEST(ExportSkandinavkaTest, RefusesAWordWithoutAClueSquare) {
  const SolvedPuzzle solved = std::get<SolvedPuzzle>(
      ReadReport("MaxVodoravno:3, MaxUspravno:3\nUkrstenica je resena\n"
                 "Sad cu je prikazati...\n\n#AB\nCD#\nE##\nVodoravno:\n0.x\n"
                 "1.y\n2.\n\nUspravno:\n0.z\n1.\n2.\n"));
  const NumberedPuzzle puzzle = NumberPuzzle(solved, "");
  auto layout = LayOutSkandinavka(solved.grid, puzzle, nullptr);
  ASSERT_TRUE(std::holds_alternative<ClueLayoutRefusal>(layout));
  EXPECT_EQ(std::get<ClueLayoutRefusal>(layout).word->start, 3u);
}

TEST(ExportSkandinavkaTest, PageDataCarriesTheCluesWithNothingRaw) {
  const Fixture f = Make(kReport);
  const std::string data =
      SkandinavkaPageData(f.puzzle, f.skandinavka, PageLanguage::kSerbian);
  EXPECT_NE(data.find("\"skandinavka\":true"), std::string::npos);
  EXPECT_NE(data.find("{\"direction\":0,\"slot\":0,\"square\":5,\"bent\":"
                      "false,\"lines\":[\"Deo tela\"]}"),
            std::string::npos);
  EXPECT_EQ(data.find('<'), std::string::npos);
  EXPECT_EQ(data.find('&'), std::string::npos);
}

TEST(ExportSkandinavkaTest, PageShowsEachClueInItsSquareAsText) {
  const Fixture f = Make(kReport);
  const std::string page =
      WriteSkandinavkaHtml(f.puzzle, f.skandinavka, PageLanguage::kSerbian);
  EXPECT_EQ(Count(page, "<svg class=\"arrow\""), 8u);
  EXPECT_EQ(Count(page, "<div class=\"rule\"></div>"), 1u);
  EXPECT_NE(page.find("<span class=\"ln\">&lt;b&gt;na&lt;/b&gt;</span>"),
            std::string::npos);
  EXPECT_EQ(page.find("<b>na"), std::string::npos);
  EXPECT_NE(page.find("<div class=\"clue\" id=\"down-2\" data-dir=\"1\" "
                      "data-slot=\"2\">"),
            std::string::npos);
  // The overfull square's font is made smaller: 5 of 8.5 lines (2, a
  // rule of half a line, 6).
  EXPECT_NE(page.find("--fit:0.588"), std::string::npos);
}

TEST(ExportSkandinavkaTest, SvgDrawsCluesArrowsAndTheRule) {
  const Fixture f = Make(kReport);
  const std::string blank = WriteSkandinavkaSvg(f.puzzle, f.skandinavka, false);
  EXPECT_EQ(Count(blank, "<path transform="), 8u);
  EXPECT_EQ(Count(blank, "<line "), 1u);
  EXPECT_NE(blank.find(">Deo tela</text>"), std::string::npos);
  EXPECT_NE(blank.find("&lt;b&gt;na&lt;/b&gt;"), std::string::npos);
  EXPECT_EQ(blank.find(">R</text>"), std::string::npos);
  const std::string filled = WriteSkandinavkaSvg(f.puzzle, f.skandinavka, true);
  EXPECT_NE(filled.find(">R</text>"), std::string::npos);
  EXPECT_EQ(filled.find(">Deo tela</text>"), std::string::npos);
}

}  // namespace
}  // namespace polimreza
