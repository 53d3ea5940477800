#include "report/report.h"

#include <optional>
#include <sstream>
#include <string>
#include <vector>

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
  PrintFailure(out, grid, "C*D", 3, ACROSS);
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
  PrintFailure(down, grid, "B*E", 7, DOWN);
  EXPECT_NE(down.str().find("B*E na mestu (2,3) uspravno\n"),
            std::string::npos);
  std::ostringstream neither;
  PrintFailure(neither, grid, "X", 0, 5);
  EXPECT_TRUE(neither.str().ends_with("X na mestu (1,1) "));
}

TEST(ReportTest, SolvedReportIsBannerGridAndClues) {
  Grid grid = ThreeByThree();
  ClueTables clues;
  clues.across.Record(3, "sredina");
  std::ostringstream out;
  PrintDimensions(out, 3, 3);
  PrintSolved(out, grid, clues);
  EXPECT_EQ(out.str(),
            "MaxVodoravno:3, MaxUspravno:3\n"
            "Ukrstenica je resena\nSad cu je prikazati...\n\n"
            "AB#\nC*D\n#EF\n"
            "Vodoravno:\n0.\n1.sredina\n2.\n"
            "\nUspravno:\n0.\n1.\n2.\n");
}

TEST(ReportTest, NoFillAndTimedOutReports) {
  Grid grid = ThreeByThree();
  struct Case {
    std::optional<Slot> unfillable;
    std::string out;
  };
  const std::vector<Case> cases = {
      {std::nullopt,
       "Ukrstenica ne moze da se resi: nijedno popunjavanje ne postoji\n"},
      {Slot{5, DOWN, 2},
       "Ukrstenica ne moze da se resi: nijedno popunjavanje ne postoji\n"
       "Rec koju ne mogu da nadjem u bazi je: DF na mestu (3,2) uspravno\n"},
      {Slot{3, ACROSS, 3},
       "Ukrstenica ne moze da se resi: nijedno popunjavanje ne postoji\n"
       "Rec koju ne mogu da nadjem u bazi je: C*D na mestu (1,2) "
       "vodoravno\n"},
  };
  for (const Case& c : cases) {
    std::ostringstream out;
    PrintNoFill(out, grid, c.unfillable);
    EXPECT_EQ(out.str(), c.out);
  }
  std::ostringstream timed_out;
  PrintTimedOut(timed_out, grid);
  EXPECT_EQ(timed_out.str(),
            "Vreme je isteklo pre nego sto je ukrstenica resena\n"
            "Prikazacu dokle sam stigao...\n\nAB#\nC*D\n#EF\n");
}

TEST(ReportTest, SpellingsWriteEachCell) {
  Grid grid = ThreeByThree();
  CellSpellings spellings = IdentitySpellings();
  spellings['C'] = "\xc7\x87";  // two bytes for one square
  spellings['D'] = "d";
  std::ostringstream grid_out;
  PrintGrid(grid_out, grid, spellings);
  EXPECT_EQ(grid_out.str(), "AB#\n\xc7\x87*d\n#EF\n");
  std::ostringstream no_fill;
  PrintNoFill(no_fill, grid, Slot{3, ACROSS, 3}, spellings);
  EXPECT_EQ(no_fill.str(),
            "Ukrstenica ne moze da se resi: nijedno popunjavanje ne postoji\n"
            "Rec koju ne mogu da nadjem u bazi je: \xc7\x87*d na mestu (1,2) "
            "vodoravno\n");
  std::ostringstream timed_out;
  PrintTimedOut(timed_out, grid, spellings);
  EXPECT_EQ(timed_out.str(),
            "Vreme je isteklo pre nego sto je ukrstenica resena\n"
            "Prikazacu dokle sam stigao...\n\nAB#\n\xc7\x87*d\n#EF\n");
  std::ostringstream solved;
  PrintSolved(solved, grid, ClueTables(), IdentitySpellings());
  std::ostringstream plain;
  PrintSolved(plain, grid, ClueTables());
  EXPECT_EQ(solved.str(), plain.str());
}

TEST(ReportTest, RefusalTexts) {
  Grid grid(12, 11);
  struct Case {
    std::string text;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {IllegalCharacterRefusal(),
       "Ilegalan karakter u fajlu\nProgram ce se ugasiti\n"},
      {NoMemoryRefusal(), "Nema dovoljno memorije\nProgram ce se ugasiti\n"},
      {LongSlotRefusal(grid, Slot{0, ACROSS, 12}),
       "Rec na mestu (1,1) vodoravno ima 12 polja, a najvise moze da ima 9\n"
       "Program ce se ugasiti\n"},
      {LongSlotRefusal(grid, Slot{12 * 1 + 11, DOWN, 10}),
       "Rec na mestu (12,2) uspravno ima 10 polja, a najvise moze da ima 9\n"
       "Program ce se ugasiti\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.text, c.expected);
}

}  // namespace
}  // namespace polimreza
