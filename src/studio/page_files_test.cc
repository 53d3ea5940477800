#include "studio/page_files.h"

#include <algorithm>
#include <regex>
#include <string>

#include "gtest/gtest.h"

namespace polimreza {
namespace {

bool IsPageFile(std::string_view name) {
  const auto names = StudioPageFileNames();
  return std::find(names.begin(), names.end(), name) != names.end();
}

TEST(StudioPageFilesTest, EveryListedFileHasBytes) {
  ASSERT_FALSE(StudioPageFileNames().empty());
  EXPECT_EQ(StudioPageFileNames().front(), "studio.html");
  for (std::string_view name : StudioPageFileNames()) {
    EXPECT_FALSE(StudioPageFile(name).empty()) << name;
  }
}

TEST(StudioPageFilesTest, UnknownNamesAreEmpty) {
  for (std::string_view name :
       {"", "puzzle.js", "/studio.js", "./studio.js", "page/studio.js",
        "STUDIO.JS", "studio.js ", "studio"}) {
    EXPECT_TRUE(StudioPageFile(name).empty()) << name;
  }
}

// Every file the page loads, and every module a module imports, is one the
// server can hand out: a module left out of the build would break the page.
TEST(StudioPageFilesTest, EveryReferencedFileIsEmbedded) {
  const std::regex reference(
      R"re((?:src|href)="([^"]*)"|from '\./([^']*)'|import '\./([^']*)')re");
  std::size_t references = 0;
  for (std::string_view name : StudioPageFileNames()) {
    const std::string text(StudioPageFile(name));
    for (auto it = std::sregex_iterator(text.begin(), text.end(), reference);
         it != std::sregex_iterator(); ++it) {
      std::string target;
      for (std::size_t k = 1; k < it->size() && target.empty(); ++k) {
        target = (*it)[k].str();
      }
      if (target.starts_with("data:")) continue;
      ++references;
      EXPECT_TRUE(IsPageFile(target)) << name << " refers to " << target;
    }
  }
  // The stylesheet, the entry script and the entry's modules at least.
  EXPECT_GE(references, 5u);
}

// The page's Content-Security-Policy allows script and style from files
// only: no inline script, style element, style attribute or handler.
TEST(StudioPageFilesTest, HtmlHasNothingInline) {
  const std::string html(StudioPageFile("studio.html"));
  EXPECT_EQ(html.find("<style"), std::string::npos);
  EXPECT_EQ(html.find(" style="), std::string::npos);
  EXPECT_FALSE(std::regex_search(html, std::regex(R"( on[a-z]+=)")));
  const std::regex script(R"(<script([^>]*)>)");
  std::size_t scripts = 0;
  for (auto it = std::sregex_iterator(html.begin(), html.end(), script);
       it != std::sregex_iterator(); ++it) {
    ++scripts;
    EXPECT_NE((*it)[1].str().find(" src=\""), std::string::npos) << it->str();
  }
  EXPECT_EQ(scripts, 1u);
}

}  // namespace
}  // namespace polimreza
