#include "export/html.h"

#include <nlohmann/json.hpp>

#include "export/page_files.h"
#include "gtest/gtest.h"
#include "tests/test_util.h"

namespace polimreza {
namespace {

// A hostile clue and title never reach the page raw, and the page's JSON
// parses back to the same text.
TEST(HtmlTest, HostileTextIsEscaped) {
  const std::string hostile =
      "</script><script>alert(\"x\")</script> & 'y' <!--";
  const NumberedPuzzle numbered = NumberPuzzle(SmallPuzzle(hostile), hostile);
  const std::string html = WriteHtml(numbered);
  EXPECT_EQ(html.find("<script>alert"), std::string::npos);
  EXPECT_EQ(html.find("<!--"), std::string::npos);
  // One script element for the data and one for the page's script.
  std::size_t scripts = 0;
  for (std::size_t at = html.find("</script>"); at != std::string::npos;
       at = html.find("</script>", at + 1)) {
    ++scripts;
  }
  EXPECT_EQ(scripts, 2u);
  const std::string escaped =
      "&lt;/script&gt;&lt;script&gt;alert(&quot;x&quot;)&lt;/script&gt; "
      "&amp; &#39;y&#39; &lt;!--";
  EXPECT_NE(html.find("<h1>" + escaped + "</h1>"), std::string::npos);
  EXPECT_NE(html.find("<span class=\"n\">1.</span> " + escaped + "</li>"),
            std::string::npos);

  const std::string data = PageData(numbered);
  EXPECT_EQ(data.find_first_of("<>&"), std::string::npos);
  EXPECT_NE(html.find(data), std::string::npos);
  EXPECT_EQ(nlohmann::json::parse(data)["across"][0]["clue"], hostile);
}

// The embedded style and script cannot end their own elements early.
TEST(HtmlTest, PageFilesStayInsideTheirElements) {
  EXPECT_NE(EmbeddedPageFile("puzzle.html").find("{{script}}"),
            std::string_view::npos);
  EXPECT_EQ(EmbeddedPageFile("puzzle.css").find("</"), std::string_view::npos);
  EXPECT_EQ(EmbeddedPageFile("puzzle.js").find("</"), std::string_view::npos);
  EXPECT_EQ(EmbeddedPageFile("other"), "");
}

}  // namespace
}  // namespace polimreza
