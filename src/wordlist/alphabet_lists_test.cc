#include "wordlist/alphabet_lists.h"

#include <sstream>
#include <string>
#include <unordered_set>
#include <vector>

#include "gtest/gtest.h"

namespace polimreza {
namespace {

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

TEST(ReadWordSet, OneWordALineInTheAlphabet) {
  struct Case {
    AlphabetKind kind;
    std::string text;
    std::unordered_set<std::string> words;
  };
  const std::vector<Case> cases = {
      {AlphabetKind::kAscii, "AB\r\n\nCD\nab\nA B\nEF", {"AB", "CD", "EF"}},
      {AlphabetKind::kSerbianLatin,
       "ulje\r\n\xd0\x89\xd0\xa3\xd0\xa2\nQUA\n",
       {"[QI", "Q[Z"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    std::istringstream in(c.text);
    EXPECT_EQ(ReadWordSet(in, Alphabet(c.kind)), c.words);
  }
}

}  // namespace
}  // namespace polimreza
