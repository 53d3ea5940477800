#include "alphabet/clue_script.h"

#include <gtest/gtest.h>

#include <string>

namespace polimreza {
namespace {

TEST(ClueScriptTest, ConvertsClueTextBetweenScripts) {
  struct Case {
    const char* text;
    Script script;
    const char* expected;
  };
  const Case cases[] = {
      {"Ljubav i LJUBAV, njiva", Script::kCyrillic,
       "\u0409\u0443\u0431\u0430\u0432 \u0438 \u0409\u0423\u0411\u0410\u0412, "
       "\u045a\u0438\u0432\u0430"},
      {"d\u017eak, D\u017dEP", Script::kCyrillic,
       "\u045f\u0430\u043a, \u040f\u0415\u041f"},
      // A non-joiner keeps two letters; Unicode's single digraphs are read
      // (the title-case one as upper case).
      {"in\u200cjekcija \u01c8ubav \u01c4", Script::kCyrillic,
       "\u0438\u043d\u0458\u0435\u043a\u0446\u0438\u0458\u0430 "
       "\u0409\u0443\u0431\u0430\u0432 \u040f"},
      {"\u0409\u0443\u0431\u0430\u0432 \u0409\u0423\u0411\u0410\u0412 \u0409",
       Script::kLatin, "Ljubav LJUBAV Lj"},
      {"\u0438\u043d\u0458\u0435\u043a\u0446\u0438\u0458\u0430 "
       "\u043f\u043e\u0434\u0436\u0435\u045b\u0438",
       Script::kLatin, "in\u200cjekcija pod\u200c\u017ee\u0107i"},
      {"\u0110ak 12 \u00e4 \xff!", Script::kCyrillic,
       "\u0402\u0430\u043a 12 \u00e4 \xff!"},
      {"Reka: \u0413\u0420\u0416\u0410", Script::kLatin, "Reka: GR\u017dA"},
  };
  for (const Case& c : cases) {
    std::string out = "old";
    ConvertClueScript(c.text, c.script, out);
    EXPECT_EQ(out, c.expected) << c.text;
  }
}

}  // namespace
}  // namespace polimreza
