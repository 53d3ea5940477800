#include "driver/alphabet_input.h"

#include <sstream>
#include <string>
#include <vector>

#include "gtest/gtest.h"

namespace polimreza {
namespace {

// The rows of `loaded`'s grid, each cell as its low 8 bits.
std::vector<std::string> Rows(const LoadedPattern& loaded) {
  std::vector<std::string> rows;
  const Grid& grid = loaded.grid;
  for (std::size_t r = 0; r < grid.gridHeight(); ++r) {
    std::string row;
    for (std::size_t c = 0; c < grid.gridWidth(); ++c) {
      row.push_back(static_cast<char>(grid.Cell(grid.Index(c, r))));
    }
    rows.push_back(row);
  }
  return rows;
}

// Latin order: A=0 ... E=8 ... J=13 ... L=15, LJ=16 ... N=18, NJ=19 ... U=26
// ... Z=28.
// Cyrillic order: ... Л=12, Љ=13 ... У=23.
struct PatternCase {
  AlphabetKind kind;
  std::string text;
  std::uint32_t width;
  std::uint32_t height;
  bool refused;
  std::vector<std::string> rows;  // when not refused; short rows end in blocks
};

TEST(LoadAlphabetPattern, CountsSquaresInLetters) {
  const std::vector<PatternCase> cases = {
      {AlphabetKind::kSerbianLatin, "ULJE\n*#*\n", 3, 2, false, {"[QI", "*#*"}},
      {AlphabetKind::kSerbianLatin, "ulje", 3, 1, false, {"[QI"}},
      {AlphabetKind::kSerbianLatin, "L\xe2\x80\x8cJ*#", 4, 1, false, {"PN*#"}},
      {AlphabetKind::kSerbianLatin,
       "\xc7\x87*\xc7\x8a\n\n**",
       3,
       2,
       false,
       {"Q*T", "**#"}},
      {AlphabetKind::kSerbianLatin, "NJ#N*\nZ", 4, 2, false, {"T#S*", "]###"}},
      {AlphabetKind::kSerbianCyrillic,
       "\xd0\x89\xd0\xa3*",
       3,
       1,
       false,
       {"NX*"}},
      // Refused rows are measured in characters, every row is measured.
      {AlphabetKind::kSerbianLatin, "*Q*\n****", 4, 2, true, {}},
      {AlphabetKind::kSerbianLatin, "LJU\xd0\x91\n*", 4, 2, true, {}},
      {AlphabetKind::kSerbianCyrillic, "*\xff\n*", 2, 2, true, {}},
  };
  for (const PatternCase& c : cases) {
    SCOPED_TRACE(c.text);
    const Alphabet alphabet(c.kind);
    std::istringstream in(c.text);
    const LoadedPattern loaded = LoadAlphabetPattern(in, alphabet);
    EXPECT_EQ(loaded.width, c.width);
    EXPECT_EQ(loaded.height, c.height);
    ASSERT_EQ(loaded.refusal.has_value(), c.refused);
    if (c.refused) {
      EXPECT_EQ(loaded.refusal->kind, PatternRefusalKind::kIllegalCharacter);
    } else {
      EXPECT_EQ(Rows(loaded), c.rows);
    }
  }
}

TEST(ConvertWordList, WritesWordsAsCodesAndKeepsClues) {
  const Alphabet latin(AlphabetKind::kSerbianLatin);
  std::istringstream in(
      "ULJE;Masnoca; iz masline\r\n"
      "QUA;nije rec\n"
      "bez tacke zarez\n"
      ";prazna rec\n"
      "\xd0\x89\xd0\xa3\xd0\xa2;\xd0\x89\n"
      "N\xe2\x80\x8cJ;dva slova\n");
  EXPECT_EQ(ConvertWordList(in, latin),
            "[QI;Masnoca; iz masline\n"
            "Q[Z;\xd0\x89\n"
            "SN;dva slova\n");
}

TEST(AlphabetCellSpellings, OneCharacterASquare) {
  const Alphabet latin(AlphabetKind::kSerbianLatin);
  const CellSpellings in_latin = AlphabetCellSpellings(latin, Script::kLatin);
  EXPECT_EQ(in_latin['Q'], "\xc7\x87");  // LJ
  EXPECT_EQ(in_latin['T'], "\xc7\x8a");  // NJ
  EXPECT_EQ(in_latin['G'], "\xc7\x84");  // DZ-caron
  EXPECT_EQ(in_latin['#'], "#");
  EXPECT_EQ(in_latin['*'], "*");
  const CellSpellings in_cyrillic =
      AlphabetCellSpellings(latin, Script::kCyrillic);
  EXPECT_EQ(in_cyrillic['Q'], "\xd0\x89");
}

}  // namespace
}  // namespace polimreza
