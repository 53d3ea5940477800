#include "grid/pattern_reader.h"

#include <sstream>
#include <string>
#include <vector>

#include "gtest/gtest.h"

namespace polimreza {
namespace {

struct Loaded {
  LoadedPattern pattern;
  std::vector<std::string> rows;  // each cell's low 8 bits
};

Loaded Load(const std::string& text) {
  std::istringstream in(text);
  Loaded loaded{LoadPattern(in), {}};
  const Grid& grid = loaded.pattern.grid;
  for (std::size_t r = 0; r < grid.gridHeight(); ++r) {
    std::string row;
    for (std::size_t c = 0; c < grid.gridWidth(); ++c) {
      row.push_back(static_cast<char>(grid.Cell(grid.Index(c, r))));
    }
    loaded.rows.push_back(row);
  }
  return loaded;
}

struct LoadCase {
  std::string text;
  std::uint32_t width;
  std::uint32_t height;
  std::vector<std::string> rows;
};

TEST(PatternReaderTest, LoadsRowsAndPadsWithBlocks) {
  const std::vector<LoadCase> cases = {
      {"**#\r\nA*Z\r\n", 3, 2, {"**#", "A*Z"}},
      {"**#\r\nA*Z", 3, 2, {"**#", "A*Z"}},
      {"\n\r\n**\n\n\nAB\n\n", 2, 2, {"**", "AB"}},
      {"*\n***\n**\n", 3, 3, {"*##", "***", "**#"}},
      {"", 0, 0, {}},
      {"\r\n\n", 0, 0, {}},
      {"##\x1A**\n", 2, 1, {"##"}},
      {std::string(250, '*') + "\n",
       199,
       2,
       {std::string(199, '*'), std::string(51, '*') + std::string(148, '#')}},
  };
  for (const auto& c : cases) {
    Loaded loaded = Load(c.text);
    EXPECT_FALSE(loaded.pattern.refusal) << testing::PrintToString(c.text);
    EXPECT_EQ(loaded.pattern.width, c.width) << testing::PrintToString(c.text);
    EXPECT_EQ(loaded.pattern.height, c.height)
        << testing::PrintToString(c.text);
    EXPECT_EQ(loaded.rows, c.rows) << testing::PrintToString(c.text);
  }
}

struct RefusalCase {
  std::string text;
  std::size_t column;
  std::size_t row;  // counting only non-empty lines
};

TEST(PatternReaderTest, RefusesTheFirstOtherCharacterWithItsPosition) {
  const std::vector<RefusalCase> cases = {
      {"**\n*a\n", 1, 1},
      {"* \n", 1, 0},
      {"*\t\n", 1, 0},
      {"*1\n", 1, 0},
      {"*\xC5\n", 1, 0},
      {std::string("*\0*\n", 4), 1, 0},
      {"*\r*\n", 1, 0},
      {"**\r", 2, 0},
      {"*.\n", 1, 0},
      {";\n", 0, 0},
      {"**\n\n**\n**\nZ#*[\n", 3, 3},
      {"ab\nc\n", 0, 0},
  };
  for (const auto& c : cases) {
    Loaded loaded = Load(c.text);
    ASSERT_TRUE(loaded.pattern.refusal) << testing::PrintToString(c.text);
    EXPECT_EQ(loaded.pattern.refusal->kind,
              PatternRefusalKind::kIllegalCharacter)
        << testing::PrintToString(c.text);
    EXPECT_EQ(loaded.pattern.refusal->column, c.column)
        << testing::PrintToString(c.text);
    EXPECT_EQ(loaded.pattern.refusal->row, c.row)
        << testing::PrintToString(c.text);
  }
}

TEST(PatternReaderTest, MeasuresTheWholePatternBeforeARefusal) {
  Loaded loaded = Load("AB\nCx\nDEFG\n");
  ASSERT_TRUE(loaded.pattern.refusal);
  EXPECT_EQ(loaded.pattern.width, 4u);
  EXPECT_EQ(loaded.pattern.height, 3u);
}

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
      // A zero width non-joiner with no letter beside it is no square.
      {AlphabetKind::kSerbianLatin, "*\xe2\x80\x8c*", 2, 1, false, {"**"}},
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

}  // namespace
}  // namespace polimreza
