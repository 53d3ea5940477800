#include "dictionary/corpus.h"

#include <string>

#include "dictionary/word_key.h"
#include "gtest/gtest.h"

namespace polimreza {
namespace {

WordKey Key(const Alphabet& alphabet, std::string_view word) {
  return PackWord(alphabet.Split(word).letters);
}

TEST(WordCounterTest, CountsFormsInEitherScriptAndCase) {
  Folder folder;
  WordCounter counter(AlphabetKind::kSerbianCyrillic, folder);
  counter.Add("Кућа, kuća i КУЋА; џеп\n(džep) 3D e-mail ");
  counter.Add("dugačkarečdugačkarečdugačkareč ");
  counter.EndText();
  const Alphabet cyrillic(AlphabetKind::kSerbianCyrillic);
  EXPECT_EQ(counter.Count(Key(cyrillic, "КУЋА")), 3u);
  EXPECT_EQ(counter.Count(Key(cyrillic, "ЏЕП")), 2u);
  EXPECT_EQ(counter.Count(Key(cyrillic, "И")), 1u);
  EXPECT_EQ(counter.Count(Key(cyrillic, "Е")), 1u);
  EXPECT_EQ(counter.Count(Key(cyrillic, "МАИЛ")), 1u);
  // Thirty letters: no list holds it.
  EXPECT_EQ(counter.words(), 8u);
  EXPECT_EQ(counter.forms(), 5u);
  EXPECT_EQ(counter.invalid_bytes(), 0u);
}

TEST(WordCounterTest, PiecesCutAnywhereAndBadBytes) {
  Folder folder;
  WordCounter counter(AlphabetKind::kAscii, folder);
  const std::string text = "kuća ku\xff\xfe\xc4 pas\nPAS";
  for (char c : text) counter.Add(std::string_view(&c, 1));
  counter.EndText();
  counter.Add("pas");  // a new text: not joined to the last one
  counter.EndText();
  const Alphabet ascii(AlphabetKind::kAscii);
  EXPECT_EQ(counter.Count(Key(ascii, "KUCA")), 1u);
  EXPECT_EQ(counter.Count(Key(ascii, "KU")), 1u);
  EXPECT_EQ(counter.Count(Key(ascii, "PAS")), 3u);
  EXPECT_EQ(counter.invalid_bytes(), 3u);
}

TEST(WordCounterTest, ScoresArePercentilesOfTheForms) {
  Folder folder;
  WordCounter counter(AlphabetKind::kAscii, folder);
  // Four forms counted 1, 1, 2 and 5 times.
  counter.Add("a b c c d d d d d");
  counter.EndText();
  const Alphabet ascii(AlphabetKind::kAscii);
  EXPECT_EQ(counter.Score(Key(ascii, "A")), 50);
  EXPECT_EQ(counter.Score(Key(ascii, "C")), 75);
  EXPECT_EQ(counter.Score(Key(ascii, "D")), 100);
  EXPECT_EQ(counter.Score(Key(ascii, "E")), 0);
  counter.Add("e f g");  // seven forms: 1 of 7 is 14.3%, rounded up
  counter.EndText();
  EXPECT_EQ(counter.Score(Key(ascii, "A")), 72);
  EXPECT_EQ(counter.Score(Key(ascii, "C")), 86);
}

TEST(WordCounterTest, ManyFormsGrowTheTable) {
  Folder folder;
  WordCounter counter(AlphabetKind::kAscii, folder);
  std::string text;
  for (char a = 'a'; a <= 'z'; ++a) {
    for (char b = 'a'; b <= 'z'; ++b) {
      for (char c = 'a'; c <= 'z'; ++c) text += {a, b, c, ' '};
    }
  }
  counter.Add(text);
  counter.Add(text);
  counter.EndText();
  EXPECT_EQ(counter.forms(), 26u * 26 * 26);
  EXPECT_EQ(counter.Count(Key(Alphabet(AlphabetKind::kAscii), "QZX")), 2u);
}

}  // namespace
}  // namespace polimreza
