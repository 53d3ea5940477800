#include "dictionary/folding.h"

#include <string>

#include "gtest/gtest.h"

namespace polimreza {
namespace {

struct FoldCase {
  const char* source;
  const char* folded;  // null: the word is skipped
};

TEST(FolderTest, FoldsWords) {
  const FoldCase cases[] = {
      {"kuca", "KUCA"},         {"MiXeD", "MIXED"},
      {"čaćašaža", "CACASAZA"}, {"ČĆŠŽ", "CCSZ"},
      {"đak", "DJAK"},          {"Đorđe", "DJORDJE"},
      {"džep", "DZEP"},         {"ljubav", "LJUBAV"},
      {"ǆep", "DZEP"},       // the single dz-caron character
      {"c\u030cas", "CAS"},  // c and a combining caron
      {"Љубав", "LJUBAV"},      {"њива", "NJIVA"},
      {"џеп", "DZEP"},          {"ђак", "DJAK"},
      {"ћуприја", "CUPRIJA"},   {"ЖЕЋ", "ZEC"},
      {"crème", "CREME"},       {"Straße", "STRASSE"},
      {"auto-škola", nullptr},  {"Nuku'alofa", nullptr},
      {"ab1", nullptr},         {"dve reci", nullptr},
      {"a\xff", nullptr},  // not UTF-8
      {"€", nullptr},           {"日本", nullptr},
  };
  Folder folder;
  for (const FoldCase& c : cases) {
    std::string out;
    const bool folded = folder.FoldWord(c.source, out);
    EXPECT_EQ(folded, c.folded != nullptr) << c.source;
    if (folded && c.folded != nullptr) {
      EXPECT_EQ(out, c.folded) << c.source;
    }
  }
}

TEST(FolderTest, FoldsCluesKeepingCaseAndLineSafe) {
  const FoldCase cases[] = {
      {"Orudje za rad", "Orudje za rad"},
      {"Orуђе за рад", "Orudje za rad"},
      {"Đak i ĐAK", "Djak i DJAK"},
      {"Љиљана", "Ljiljana"},
      {"a\rb\x1a"
       "c\td\x1b",
       "a b c d "},
      {"x;y*#", "x;y*#"},
      {"日", "?"},
      {"a\xff", "a?"},
      {"\xc2\x85", " "},  // a C1 control
  };
  Folder folder;
  for (const FoldCase& c : cases) {
    std::string out;
    folder.FoldClue(c.source, out);
    EXPECT_EQ(out, c.folded) << c.source;
  }
}

TEST(FolderTest, CleanClueKeepsDiacriticsButNotControls) {
  std::string out;
  CleanClue("Ђак\r\x1a\x7f\xc2\x9b; čas", out);
  EXPECT_EQ(out, "Ђак    ; čas");
}

TEST(FolderTest, TruncateClueNeverSplitsACharacter) {
  std::string clue = "ab\xc4\x8d";  // "abč"
  TruncateClue(clue, 3);
  EXPECT_EQ(clue, "ab");
  clue = "abc";
  TruncateClue(clue, 3);
  EXPECT_EQ(clue, "abc");
}

}  // namespace
}  // namespace polimreza
