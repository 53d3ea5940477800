#include "export/report_reader.h"

#include <optional>
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

// A 3x3 Serbian report with the grid `rows` (the slots of "UǇE N#R ADA").
std::string SerbianReport(std::string_view rows) {
  return "MaxVodoravno:3, MaxUspravno:3\nUkrstenica je resena\n"
         "Sad cu je prikazati...\n\n" +
         std::string(rows) +
         "Vodoravno:\n0.a\n1.b\n2.c\n3.d\n\nUspravno:\n0.e\n1.f\n2.g\n3.h\n";
}

TEST(ReportReaderTest, ReadsSerbianGridsOneCharacterASquare) {
  struct Case {
    const char* rows;
    std::optional<AlphabetKind> asked;
    AlphabetKind alphabet;
    Script script;
    std::string middle;  // the name of the letter in the first row's middle
  };
  const Case cases[] = {
      {"U\u01c7E\nN#R\nADA\n", std::nullopt, AlphabetKind::kSerbianLatin,
       Script::kLatin, "LJ"},
      {"\u0423\u0409\u0415\n\u041d#\u0420\n\u0410\u0414\u0410\n", std::nullopt,
       AlphabetKind::kSerbianCyrillic, Script::kCyrillic, "\u0409"},
      {"\u010c\u0160\u017d\nN#R\nADA\n", std::nullopt,
       AlphabetKind::kSerbianLatin, Script::kLatin, "\u0160"},
      // A-Z alone is a Serbian Latin grid when the alphabet is named.
      {"ULE\nN#R\nADA\n", AlphabetKind::kSerbianLatin,
       AlphabetKind::kSerbianLatin, Script::kLatin, "L"},
      {"\u0423\u0409\u0415\n\u041d#\u0420\n\u0410\u0414\u0410\n",
       AlphabetKind::kSerbianLatin, AlphabetKind::kSerbianLatin,
       Script::kCyrillic, "LJ"},
  };
  for (const Case& c : cases) {
    auto read = ReadReport(SerbianReport(c.rows), c.asked);
    ASSERT_TRUE(std::holds_alternative<SolvedPuzzle>(read)) << c.rows;
    const SolvedPuzzle& puzzle = std::get<SolvedPuzzle>(read);
    EXPECT_EQ(puzzle.alphabet, c.alphabet) << c.rows;
    EXPECT_EQ(puzzle.script, c.script) << c.rows;
    EXPECT_EQ(puzzle.grid.gridWidth(), 3u);
    EXPECT_EQ(puzzle.grid.Cell(4), CELL_BLOCK);
    const Alphabet alphabet(c.alphabet);
    EXPECT_EQ(
        alphabet.Name(static_cast<Letter>(puzzle.grid.Cell(1) - kLetterCell)),
        c.middle)
        << c.rows;
    EXPECT_EQ(puzzle.down[1], "f");
  }
  // Without a Serbian letter the grid is read byte for byte, as ever.
  auto ascii = ReadReport(SerbianReport("ULE\nN#R\nADA\n"));
  ASSERT_TRUE(std::holds_alternative<SolvedPuzzle>(ascii));
  EXPECT_EQ(std::get<SolvedPuzzle>(ascii).alphabet, AlphabetKind::kAscii);
  EXPECT_EQ(std::get<SolvedPuzzle>(ascii).grid.Cell(1), 'L');
}

TEST(ReportReaderTest, RefusesSquaresThatAreNoLetters) {
  struct Case {
    const char* label;
    std::string rows;
    std::optional<AlphabetKind> asked;
    std::size_t line;
    std::string reason;
  };
  const Case cases[] = {
      {"mixed scripts", "U\u01c7E\nN#R\nAD\u0410\n", std::nullopt, 7,
       "latinica i cirilica su pomesane u mrezi, slovo u koloni 3"},
      {"Cyrillic with Latin", "\u0423\u0409E\nN#R\nADA\n", std::nullopt, 5,
       "latinica i cirilica su pomesane u mrezi, slovo u koloni 3"},
      {"invalid UTF-8", "U\u01c7E\nN#\xc5\nADA\n", std::nullopt, 6,
       "red mreze nije ispravan UTF-8 (bajt 3)"},
      {"invalid UTF-8 asked", "ULE\n\xff#R\nADA\n",
       AlphabetKind::kSerbianCyrillic, 6,
       "red mreze nije ispravan UTF-8 (bajt 1)"},
      {"Q", "U\u01c7E\nN#Q\nADA\n", std::nullopt, 6,
       "znak u koloni 3 nije slovo alfabeta sr-latn"},
      {"digit", "\u0423\u0409\u0415\n\u041d#7\n\u0410\u0414\u0410\n",
       std::nullopt, 6, "znak u koloni 3 nije slovo alfabeta sr-cyrl"},
      {"non-joiner", "U\u01c7E\nN#\u200c\nADA\n", std::nullopt, 6,
       "znak u koloni 3 nije slovo alfabeta sr-latn"},
      {"two characters a square", "U\u01c7E\nNJ#R\nADA\n", std::nullopt, 6,
       "red mreze ima 4 znakova, a treba da ima 3"},
      {"unfilled", "U\u01c7E\nN#*\nADA\n", std::nullopt, 6,
       "nepopunjeno polje '*' u koloni 3, ukrstenica nije resena"},
  };
  for (const Case& c : cases) {
    auto read = ReadReport(SerbianReport(c.rows), c.asked);
    ASSERT_TRUE(std::holds_alternative<ReportRefusal>(read)) << c.label;
    EXPECT_EQ(std::get<ReportRefusal>(read).line, c.line) << c.label;
    EXPECT_EQ(std::get<ReportRefusal>(read).reason, c.reason) << c.label;
  }
}

}  // namespace
}  // namespace polimreza
