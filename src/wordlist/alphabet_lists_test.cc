#include "wordlist/alphabet_lists.h"

#include <memory>
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

// Reading a list in one pass with the alphabet's encoder gives the entries
// of reading its converted text.
TEST(AlphabetWordEncoder, ReadsAsTheConvertedText) {
  const std::string long_clue(250, 'x');
  const std::vector<std::string> texts = {
      "ULJE;Masnoca\r\nQUA;nije rec\n;prazna\nbez zareza\nN\xe2\x80\x8cJE;b\n",
      // A carriage return at a line's end, alone or not; one inside.
      "ULJE;a\r\r\nULJE;b\r\nULJE;c\rd\nULJE;\r\n",
      // NUL bytes, words of another length, words that are no words.
      std::string("ULJE;a\0b\nULJ\0;c\nULJEX;d\nUL;e\nUL*E;f\nULJE;g\n", 43),
      // Lines longer than one piece, cut where a carriage return stands.
      "ULJE;" + long_clue + "\nULJE;" + std::string(193, 'y') + "\r\r\nULJE;z",
      "\xd0\x89\xd0\xa3\xd0\xa2\xd0\x98;\xd0\x89\n\xd0\x89\xd0\xa3\xd0\xa2;x\n",
  };
  const auto alphabet =
      std::make_shared<const Alphabet>(AlphabetKind::kSerbianLatin);
  for (const std::string& text : texts) {
    SCOPED_TRACE(text);
    for (const unsigned length : {2u, 3u, 4u}) {
      std::istringstream source(text);
      std::istringstream converted(ConvertWordList(source, *alphabet));
      const WordList expected(converted, length);
      std::istringstream in(text);
      const WordList list(in, length, AlphabetWordEncoder(alphabet));
      ASSERT_EQ(list.size(), expected.size()) << length;
      for (std::size_t e = 0; e < list.size(); ++e) {
        EXPECT_EQ(list.Word(e), expected.Word(e));
        EXPECT_EQ(list.Clue(e), expected.Clue(e));
      }
    }
  }
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
