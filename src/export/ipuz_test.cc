#include "export/ipuz.h"

#include <nlohmann/json.hpp>

#include "gtest/gtest.h"
#include "tests/test_util.h"

namespace polimreza {
namespace {

// The title and clues are HTML in an ipuz file: a hostile one is escaped
// there (quotes kept, as JSON carries them) and the file still parses.
TEST(IpuzTest, HostileTextIsEscaped) {
  const std::string hostile =
      "</script><script>alert(\"x\")</script> & 'y' <!--";
  const auto ipuz = nlohmann::json::parse(
      WriteIpuz(NumberPuzzle(SmallPuzzle(hostile), hostile)));
  const std::string escaped =
      "&lt;/script&gt;&lt;script&gt;alert(\"x\")&lt;/script&gt; &amp; 'y' "
      "&lt;!--";
  EXPECT_EQ(ipuz["clues"]["Across"][0][1], escaped);
  EXPECT_EQ(ipuz["title"], escaped);
}

TEST(IpuzTest, InvalidUtf8BecomesReplacementCharacters) {
  SolvedPuzzle puzzle = SmallPuzzle("bad \xc3");
  puzzle.grid.SetCell(0, 0xc8);
  const auto ipuz =
      nlohmann::json::parse(WriteIpuz(NumberPuzzle(puzzle, "\xff")));
  EXPECT_EQ(ipuz["clues"]["Across"][0][1], "bad \xef\xbf\xbd");
  EXPECT_EQ(ipuz["solution"][0][0], "\xef\xbf\xbd");
  EXPECT_EQ(ipuz["title"], "\xef\xbf\xbd");
  EXPECT_EQ(ipuz["puzzle"][0], nlohmann::json::parse("[1, 2, \"#\"]"));
}

}  // namespace
}  // namespace polimreza
