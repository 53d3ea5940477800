#include "report/quality.h"

#include <random>
#include <string>
#include <vector>

#include "gtest/gtest.h"

namespace polimreza {
namespace {

Grid MakeGrid(const std::vector<std::string>& rows) {
  Grid grid(static_cast<std::uint32_t>(rows[0].size()),
            static_cast<std::uint32_t>(rows.size()));
  for (std::size_t r = 0; r < rows.size(); ++r) {
    for (std::size_t c = 0; c < rows[r].size(); ++c) {
      grid.SetCell(grid.Index(c, r), rows[r][c]);
    }
  }
  return grid;
}

ScoreTable Table(std::string_view text) {
  return ReadScoreTable(text, Alphabet(AlphabetKind::kAscii));
}

TEST(QualityTest, CountsAHandCheckedGrid) {
  // Across: PAS, ON, MAK; down: POM, ANA; S and K stand alone.
  const Grid grid = MakeGrid({"PAS", "ON#", "MAK"});
  const ScoreTable scores = Table(
      "PAS;80;obicna\r\nON;10;skracenica\r\nMAK;50;ime\r\nANA;40;ime\r\n"
      "ANA;90;ime\r\nPAS;abc\r\nkuca;100\r\n\r\nXI;5;rimski\r\n");
  EXPECT_EQ(scores.lines, 8u);
  EXPECT_EQ(scores.skipped, 2u);
  const QualityFigures figures = MeasureQuality(grid, &scores, 30);
  EXPECT_EQ(figures.squares, 9u);
  EXPECT_EQ(figures.black, 1u);
  EXPECT_EQ(figures.words, 5u);
  EXPECT_EQ(figures.letters, 14u);
  EXPECT_EQ(figures.lowest, 0);  // POM is not scored
  EXPECT_EQ(figures.score_sum, 230u);
  EXPECT_EQ(figures.weak_words, 2u);      // ON, POM
  EXPECT_EQ(figures.weak_crossings, 1u);  // at their O
  EXPECT_EQ(figures.unscored, 1u);
  EXPECT_EQ(FormatQuality(figures),
            "polja: 9\n"
            "crna polja: 1 (11.11%)\n"
            "reci od dva ili vise slova: 5\n"
            "PDR: 2.80 (vrlo laka)\n"
            "najniza ocena: 0\n"
            "prosecna ocena: 46.00\n"
            "granica slabih reci: 30\n"
            "slabe reci: 2\n"
            "slaba ukrstanja: 1\n"
            "reci bez ocene: 1\n"
            "obicne reci: 1\n"
            "imena: 2\n"
            "skracenice: 1\n"
            "rimski brojevi: 0\n"
            "iz lista sa opisima: 0\n"
            "iz lista sa ocenama: 0\n"
            "nepoznate vrste: 1\n");
  EXPECT_EQ(MeasureQuality(grid, &scores, 1).weak_crossings, 0u);
}

TEST(QualityTest, WithoutScoresOnlyTheShape) {
  const QualityFigures figures =
      MeasureQuality(MakeGrid({"AB", "CD"}), nullptr, 30);
  const std::string text = FormatQuality(figures);
  EXPECT_NE(text.find("PDR: 2.00 (vrlo laka)\n"), std::string::npos);
  EXPECT_NE(text.find("najniza ocena: -\n"), std::string::npos);
  EXPECT_NE(text.find("slaba ukrstanja: -\n"), std::string::npos);
}

TEST(QualityTest, BandsTakeTheirLowerBoundAndTeskaItsUpper) {
  EXPECT_EQ(DifficultyBand(409), "vrlo laka");
  EXPECT_EQ(DifficultyBand(410), "laka");
  EXPECT_EQ(DifficultyBand(440), "umereno teska");
  EXPECT_EQ(DifficultyBand(470), "srednje teska");
  EXPECT_EQ(DifficultyBand(500), "teska");
  EXPECT_EQ(DifficultyBand(530), "teska");
  EXPECT_EQ(DifficultyBand(531), "vrlo teska");
}

// The figures of random grids against a count of the rows' and columns'
// text, split at the black squares.
TEST(QualityTest, MatchesACountOfRunsOnRandomGrids) {
  std::mt19937 random(7);
  for (int round = 0; round < 200; ++round) {
    const std::size_t width = 1 + random() % 12;
    const std::size_t height = 1 + random() % 12;
    std::vector<std::string> rows(height, std::string(width, '#'));
    for (auto& row : rows) {
      for (char& c : row)
        c = random() % 4 == 0 ? '#' : char('A' + random() % 3);
    }
    std::vector<std::string> lines = rows;
    for (std::size_t c = 0; c < width; ++c) {
      std::string column;
      for (const auto& row : rows) column += row[c];
      lines.push_back(column);
    }
    std::size_t words = 0, letters = 0, black = 0;
    for (const std::string& line : lines) {
      std::size_t run = 0;
      for (std::size_t i = 0; i <= line.size(); ++i) {
        if (i < line.size() && line[i] != '#') {
          ++run;
          continue;
        }
        if (run >= 2) ++words, letters += run;
        run = 0;
      }
    }
    for (const auto& row : rows) {
      for (char c : row) black += c == '#';
    }
    const QualityFigures figures = MeasureQuality(MakeGrid(rows), nullptr, 30);
    ASSERT_EQ(figures.squares, width * height);
    ASSERT_EQ(figures.black, black);
    ASSERT_EQ(figures.words, words);
    ASSERT_EQ(figures.letters, letters);
  }
}

}  // namespace
}  // namespace polimreza
