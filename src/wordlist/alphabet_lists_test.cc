#include "wordlist/alphabet_lists.h"

#include <memory>
#include <sstream>
#include <string>
#include <unordered_set>
#include <vector>

#include "gtest/gtest.h"

namespace polimreza {
namespace {

// Reading a list in one pass with the alphabet's encoder gives the entries
// of the list text with each word written as codes: the lines whose word is
// no word of the alphabet are left out and the clues stay.
TEST(AlphabetWordEncoder, ReadsAsTheListWrittenInCodes) {
  const std::string long_clue(250, 'x');
  struct Case {
    std::string text;
    std::string in_codes;
  };
  const std::vector<Case> cases = {
      {"ULJE;Masnoca; iz masline\r\nQUA;nije rec\nbez tacke zarez\n"
       ";prazna rec\n\xd0\x89\xd0\xa3\xd0\xa2;\xd0\x89\n"
       "N\xe2\x80\x8cJ;dva slova\n",
       "[QI;Masnoca; iz masline\nQ[Z;\xd0\x89\nSN;dva slova\n"},
      {"ULJE;Masnoca\r\nQUA;nije rec\n;prazna\nbez zareza\nN\xe2\x80\x8cJE;b\n",
       "[QI;Masnoca\nSNI;b\n"},
      // A carriage return at a line's end, alone or not; one inside.
      {"ULJE;a\r\r\nULJE;b\r\nULJE;c\rd\nULJE;\r\n",
       "[QI;a\r\n[QI;b\n[QI;c\rd\n[QI;\n"},
      // NUL bytes, words of another length, words that are no words.
      {std::string("ULJE;a\0b\nULJ\0;c\nULJEX;d\nUL;e\nUL*E;f\nULJE;g\n", 43),
       std::string("[QI;a\0b\n[P;e\n[QI;g\n", 19)},
      // Lines longer than one piece, cut where a carriage return stands.
      {"ULJE;" + long_clue + "\nULJE;" + std::string(193, 'y') + "\r\r\nULJE;z",
       "[QI;" + long_clue.substr(0, 194) + "\n[QI;" + std::string(193, 'y') +
           "\r\n[QI;z\n"},
      {"\xd0\x89\xd0\xa3\xd0\xa2\xd0\x98;\xd0\x89\n\xd0\x89\xd0\xa3\xd0\xa2;"
       "x\n",
       "Q[ZM;\xd0\x89\nQ[Z;x\n"},
  };
  const auto alphabet =
      std::make_shared<const Alphabet>(AlphabetKind::kSerbianLatin);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    for (const unsigned length : {2u, 3u, 4u}) {
      std::istringstream in_codes(c.in_codes);
      const WordList expected(in_codes, length);
      std::istringstream in(c.text);
      const WordList list(in, length, AlphabetWordEncoder(alphabet));
      ASSERT_EQ(list.size(), expected.size()) << length;
      for (std::size_t e = 0; e < list.size(); ++e) {
        EXPECT_EQ(list.Word(e), expected.Word(e));
        EXPECT_EQ(list.Clue(e), expected.Clue(e));
      }
    }
  }
}

// The encoder's own answer: a word of no letter is refused, and a refused
// word leaves nothing behind.
TEST(AlphabetWordEncoder, RefusesAWordOfNoLetter) {
  const WordEncoder encode = AlphabetWordEncoder(
      std::make_shared<const Alphabet>(AlphabetKind::kSerbianLatin));
  for (const std::string word : {"", "\xe2\x80\x8c", "LJQ"}) {
    std::string codes = "x";
    EXPECT_FALSE(encode(word, codes)) << word;
    EXPECT_EQ(codes, "x") << word;
  }
  std::string codes = "x";
  EXPECT_TRUE(encode("LJ", codes));
  EXPECT_EQ(codes, "xQ");
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
