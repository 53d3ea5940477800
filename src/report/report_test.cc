#include "report/report.h"

#include <sstream>
#include <string>

#include "gtest/gtest.h"

namespace polimreza {
namespace {

Grid ThreeByThree() {
  Grid grid(3, 3);
  const char* rows[] = {"AB#", "C*D", "#EF"};
  for (std::size_t r = 0; r < 3; ++r) {
    for (std::size_t c = 0; c < 3; ++c) {
      grid.SetCell(grid.Index(c, r), static_cast<unsigned char>(rows[r][c]));
    }
  }
  return grid;
}

TEST(ReportTest, PrintsGridAndNumberedClueLists) {
  Grid grid = ThreeByThree();
  ClueTables clues;
  clues.across.Record(0, "prvo");
  clues.across.Record(7, "poslednje");
  clues.down.Record(1, "dole");
  std::ostringstream out;
  PrintGrid(out, grid);
  PrintClues(out, grid, clues);
  // ACROSS slot starts: 0, 3, 7; DOWN slot starts: 0, 1, 5. Entries never
  // recorded print with empty text.
  EXPECT_EQ(out.str(),
            "AB#\nC*D\n#EF\n"
            "Vodoravno:\n0.prvo\n1.\n2.poslednje\n"
            "\nUspravno:\n0.\n1.dole\n2.\n");
}

TEST(ReportTest, PrintsCellsAsTheirLowByte) {
  Grid grid(2, 1);
  grid.SetCell(0, -59);  // a byte above 127 widened as signed
  grid.SetCell(1, CELL_EMPTY);
  std::ostringstream out;
  PrintGrid(out, grid);
  EXPECT_EQ(out.str(), "\xC5*\n");
}

TEST(ReportTest, FailureReportNamesPatternAndPosition) {
  Grid grid = ThreeByThree();
  std::ostringstream out;
  ReportFailure(out, grid, "C*D", 3, ACROSS);
  EXPECT_EQ(out.str(),
            "Nazalost, ukrstenica ne moze da se resi. Ovo je jos probna "
            "verzija programa.\n"
            "Pokusajte sa manjom ukrstenicom ili sacekajte novu verziju "
            "programa\n"
            "Prikazacu dokle sam uspeo da resim...\n\n"
            "AB#\nC*D\n#EF\n"
            "\nRec koju ne mogu da nadjem u bazi je: C*D na mestu (1,2) "
            "vodoravno\n");
  std::ostringstream down;
  ReportFailure(down, grid, "B*E", 7, DOWN);
  EXPECT_NE(down.str().find("B*E na mestu (2,3) uspravno\n"),
            std::string::npos);
  std::ostringstream neither;
  ReportFailure(neither, grid, "X", 0, 5);
  EXPECT_TRUE(neither.str().ends_with("X na mestu (1,1) "));
}

}  // namespace
}  // namespace polimreza
