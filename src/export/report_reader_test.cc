#include "export/report_reader.h"

#include <string>

#include "gtest/gtest.h"

namespace polimreza {
namespace {

constexpr char kHead[] =
    "MaxVodoravno:3, MaxUspravno:2\nUkrstenica je resena\n"
    "Sad cu je prikazati...\n\n";

// A 3x2 report: "AB#" over "C#D" has across slots at A, C, D and down slots
// at A, B, D.
std::string Report(std::string_view tail = "") {
  return std::string(kHead) +
         "AB#\nC#D\nVodoravno:\n0.ab\n1.c\n2.d\n\nUspravno:\n0.ac\n1.b\n2.d\n" +
         std::string(tail);
}

TEST(ReportReaderTest, ReadsGridAndClues) {
  for (const std::string& text :
       {Report(), Report("\n\n"),
        std::string(kHead) + "AB#\nC#D\nVodoravno:\n0.ab\n1.c\n2.d\n\n"
                             "Uspravno:\n0.ac\n1.b\n2.d"}) {
    auto read = ReadReport(text);
    ASSERT_TRUE(std::holds_alternative<SolvedPuzzle>(read)) << text;
    const SolvedPuzzle& puzzle = std::get<SolvedPuzzle>(read);
    EXPECT_EQ(puzzle.grid.gridWidth(), 3u);
    EXPECT_EQ(puzzle.grid.gridHeight(), 2u);
    EXPECT_EQ(puzzle.grid.Cell(1), 'B');
    EXPECT_EQ(puzzle.grid.Cell(2), CELL_BLOCK);
    EXPECT_EQ(puzzle.across, (std::vector<std::string>{"ab", "c", "d"}));
    EXPECT_EQ(puzzle.down, (std::vector<std::string>{"ac", "b", "d"}));
  }
}

TEST(ReportReaderTest, KeepsClueBytesAndAcceptsCrLf) {
  std::string text = Report();
  text.replace(text.find("0.ab"), 4, "0.<&>\"';.\xff\r");
  auto lf = ReadReport(text);
  ASSERT_TRUE(std::holds_alternative<SolvedPuzzle>(lf));
  EXPECT_EQ(std::get<SolvedPuzzle>(lf).across[0], "<&>\"';.\xff\r");

  std::string crlf;
  for (char c : Report())
    crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  auto read = ReadReport(crlf);
  ASSERT_TRUE(std::holds_alternative<SolvedPuzzle>(read));
  EXPECT_EQ(std::get<SolvedPuzzle>(read).down[2], "d");
}

TEST(ReportReaderTest, RefusesWhatIsNotASolvedReport) {
  const std::string report = Report();
  auto replace = [&](std::string_view from, std::string_view to) {
    std::string text = report;
    text.replace(text.find(from), from.size(), to);
    return text;
  };
  struct Case {
    const char* label;
    std::string text;
    std::size_t line;
    std::string reason;
  };
  const Case cases[] = {
      {"empty", "", 0, "ulaz je prazan"},
      {"usage", "Koriscenje programa:\nPolimreza <input_file>\n", 1,
       "ovo je uputstvo programa, a ne izvestaj o resenoj ukrstenici"},
      {"missing pattern", "Ne mogu da otvorim x\nProgram ce se ugasiti\n", 1,
       "program nije mogao da otvori sablon, nema ukrstenice"},
      {"dimension junk", replace("MaxUspravno:2", "MaxUspravno:2x"), 1,
       "ocekujem \"MaxVodoravno:W, MaxUspravno:H\""},
      {"dimension zero padded", replace(":3,", ":03,"), 1,
       "ocekujem \"MaxVodoravno:W, MaxUspravno:H\""},
      {"dimension overflow", replace(":2\n", ":99999999999\n"), 1,
       "ocekujem \"MaxVodoravno:W, MaxUspravno:H\""},
      {"failure",
       "MaxVodoravno:3, MaxUspravno:1\nNazalost, ukrstenica ne "
       "moze da se resi. Ovo je jos probna verzija programa.\n",
       2, "ukrstenica nije resena (izvestaj o neuspehu)"},
      {"illegal", "MaxVodoravno:3, MaxUspravno:1\nIlegalan karakter u fajlu\n",
       2, "program je odbio sablon, ukrstenica nije resena"},
      {"long slot", "MaxVodoravno:3, MaxUspravno:1\nRec na mestu (1,1) ...\n",
       2, "program je odbio sablon, ukrstenica nije resena"},
      {"cut after dimensions", "MaxVodoravno:3, MaxUspravno:1\n", 2,
       "izvestaj se prekida, ocekujem \"Ukrstenica je resena\""},
      {"no blank line", replace("...\n\n", "...\n"), 4, "ocekujem prazan red"},
      {"short row", replace("AB#\n", "AB\n"), 5,
       "red mreze ima 2 znakova, a treba da ima 3"},
      {"unfilled", replace("C#D", "C#*"), 6,
       "nepopunjeno polje '*' u koloni 3, ukrstenica nije resena"},
      {"too few rows", replace(":2\n", ":3\n"), 7,
       "red mreze ima 10 znakova, a treba da ima 3"},
      {"cut in grid", std::string(kHead) + "AB#\n", 6,
       "izvestaj se prekida, ocekujem red mreze 2 od 2"},
      {"only blocks", replace("AB#\nC#D", "###\n###"), 0,
       "mreza nema nijedno otvoreno polje, nema sta da se izveze"},
      {"missing across", replace("2.d\n\nU", "\nU"), 10,
       "ima samo 2 vodoravnih tragova, a mreza ima vodoravnih reci: 3"},
      {"extra across", replace("2.d\n\nU", "2.d\n3.e\n\nU"), 11,
       "visak vodoravnih tragova: mreza ima vodoravnih reci: 3"},
      {"misnumbered", replace("1.c", "2.c"), 9,
       "ocekujem vodoravni trag \"1.\""},
      {"cut in down", replace("1.b\n2.d\n", ""), 14,
       "izvestaj se prekida, ocekujem uspravni trag \"1.\" (mreza ima "
       "uspravnih reci: 3)"},
      {"extra down", report + "3.x\n", 16,
       "visak uspravnih tragova: mreza ima uspravnih reci: 3"},
      {"extra text", report + "\nkraj\n", 17, "visak teksta posle izvestaja"},
  };
  for (const Case& c : cases) {
    auto read = ReadReport(c.text);
    ASSERT_TRUE(std::holds_alternative<ReportRefusal>(read)) << c.label;
    EXPECT_EQ(std::get<ReportRefusal>(read).line, c.line) << c.label;
    EXPECT_EQ(std::get<ReportRefusal>(read).reason, c.reason) << c.label;
  }
}

}  // namespace
}  // namespace polimreza
