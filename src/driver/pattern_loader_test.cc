#include "driver/pattern_loader.h"

#include <sstream>
#include <string>
#include <vector>

#include "gtest/gtest.h"

namespace polimreza {
namespace {

struct Loaded {
  LoadResult result;
  std::string out;
  std::vector<std::string> rows;  // each cell's low 8 bits
};

Loaded Load(const std::string& text) {
  std::istringstream in(text);
  std::ostringstream out;
  Grid grid;
  Loaded loaded;
  loaded.result = LoadPattern(in, out, grid);
  loaded.out = out.str();
  for (std::size_t r = 0; r < grid.gridHeight(); ++r) {
    std::string row;
    for (std::size_t c = 0; c < grid.gridWidth(); ++c) {
      row.push_back(static_cast<char>(grid.Cell(grid.Index(c, r))));
    }
    loaded.rows.push_back(row);
  }
  return loaded;
}

const char kRefusal[] = "Ilegalan karakter u fajlu\nProgram ce se ugasiti\n";

struct LoadCase {
  std::string text;
  std::string out;
  std::vector<std::string> rows;
};

TEST(PatternLoaderTest, LoadsRowsAndPadsWithBlocks) {
  const std::vector<LoadCase> cases = {
      {"**#\r\nA*Z\r\n", "MaxVodoravno:3, MaxUspravno:2\n", {"**#", "A*Z"}},
      {"**#\r\nA*Z", "MaxVodoravno:3, MaxUspravno:2\n", {"**#", "A*Z"}},
      {"\n\r\n**\n\n\nAB\n\n", "MaxVodoravno:2, MaxUspravno:2\n", {"**", "AB"}},
      {"*\n***\n**\n",
       "MaxVodoravno:3, MaxUspravno:3\n",
       {"*##", "***", "**#"}},
      {"", "MaxVodoravno:0, MaxUspravno:0\n", {}},
      {"\r\n\n", "MaxVodoravno:0, MaxUspravno:0\n", {}},
      {"##\x1A**\n", "MaxVodoravno:2, MaxUspravno:1\n", {"##"}},
      {std::string(250, '*') + "\n",
       "MaxVodoravno:199, MaxUspravno:2\n",
       {std::string(199, '*'), std::string(51, '*') + std::string(148, '#')}},
  };
  for (const auto& c : cases) {
    Loaded loaded = Load(c.text);
    EXPECT_EQ(loaded.result, LoadResult::kLoaded)
        << testing::PrintToString(c.text);
    EXPECT_EQ(loaded.out, c.out) << testing::PrintToString(c.text);
    EXPECT_EQ(loaded.rows, c.rows) << testing::PrintToString(c.text);
  }
}

TEST(PatternLoaderTest, RefusesAnyOtherCharacterAfterTheDimensionLine) {
  const std::vector<std::string> texts = {
      "**\n*a\n",
      "* \n",
      "*\t\n",
      "*1\n",
      "*\xC5\n",
      std::string("*\0*\n", 4),
      "*\r*\n",
      "**\r",
      "*.\n",
      ";\n",
      "**\n**\n**\nZ#*[\n",
  };
  for (const auto& text : texts) {
    Loaded loaded = Load(text);
    EXPECT_EQ(loaded.result, LoadResult::kRefused)
        << testing::PrintToString(text);
    EXPECT_EQ(loaded.out.substr(loaded.out.find('\n') + 1), kRefusal)
        << testing::PrintToString(text);
    EXPECT_EQ(loaded.out.rfind("MaxVodoravno:", 0), 0u);
  }
}

TEST(PatternLoaderTest, KeepsCellsStoredBeforeTheRefusal) {
  Loaded loaded = Load("AB\nCx\n");
  EXPECT_EQ(loaded.result, LoadResult::kRefused);
  EXPECT_EQ(loaded.rows, (std::vector<std::string>{"AB", "C#"}));
}

}  // namespace
}  // namespace polimreza
