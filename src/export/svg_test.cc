#include "export/svg.h"

#include "gtest/gtest.h"
#include "tests/test_util.h"

namespace polimreza {
namespace {

// A hostile title never reaches the picture raw, and the picture holds no
// script, filled or blank.
TEST(SvgTest, HostileTitleIsEscaped) {
  const std::string hostile =
      "</script><script>alert(\"x\")</script> & 'y' <!--";
  const NumberedPuzzle numbered = NumberPuzzle(SmallPuzzle(hostile), hostile);
  const std::string escaped =
      "&lt;/script&gt;&lt;script&gt;alert(&quot;x&quot;)&lt;/script&gt; "
      "&amp; &#39;y&#39; &lt;!--";
  for (bool filled : {true, false}) {
    const std::string svg = WriteSvg(numbered, filled);
    EXPECT_NE(svg.find("<title>" + escaped + "</title>"), std::string::npos);
    EXPECT_EQ(svg.find("<script"), std::string::npos);
  }
}

// LJ fits its square in a smaller font; a one-character letter keeps the
// grid's.
TEST(SvgTest, TwoCharacterLettersAreSmaller) {
  const std::string svg = WriteSvg(NumberPuzzle(SerbianPuzzle(), "T"), true);
  EXPECT_NE(svg.find("<text x=\"49\" y=\"24\" font-size=\"13\">LJ</text>"),
            std::string::npos)
      << svg;
  EXPECT_NE(svg.find("<text x=\"17\" y=\"26\">U</text>"), std::string::npos);
  const std::string cyrillic =
      WriteSvg(NumberPuzzle(SerbianPuzzle(), "T", Script::kCyrillic), true);
  EXPECT_NE(cyrillic.find("<text x=\"49\" y=\"26\">\u0409</text>"),
            std::string::npos);
}

}  // namespace
}  // namespace polimreza
