#include "alphabet/typing.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace polimreza {
namespace {

std::map<std::string, std::string> Keys(const TypingTable& table) {
  return {table.keys.begin(), table.keys.end()};
}

TEST(TypingTest, CyrillicTakesLatinKeysAndJoinsLatinPairs) {
  const TypingTable table =
      TypingTableFor(Alphabet(AlphabetKind::kSerbianCyrillic));
  const auto keys = Keys(table);
  // 30 Cyrillic letters, 27 Latin ones of one character, 3 Latin digraphs
  // as Unicode's single characters.
  EXPECT_EQ(table.keys.size(), 60u);
  EXPECT_EQ(keys.size(), 60u);
  for (const auto& [typed, letter] :
       std::map<std::string, std::string>{{"C", "Ц"},
                                          {"Č", "Ч"},
                                          {"Ć", "Ћ"},
                                          {"Š", "Ш"},
                                          {"Ž", "Ж"},
                                          {"Đ", "Ђ"},
                                          {"J", "Ј"},
                                          {"Ј", "Ј"},
                                          {"Ǉ", "Љ"},
                                          {"Ǌ", "Њ"},
                                          {"Ǆ", "Џ"},
                                          {"Џ", "Џ"},
                                          {"A", "А"},
                                          {"V", "В"}}) {
    EXPECT_EQ(keys.at(typed), letter) << typed;
  }
  EXPECT_FALSE(keys.contains("Q"));
  EXPECT_FALSE(keys.contains("LJ"));
  EXPECT_EQ(TypingJson(table)["joins"].dump(),
            R"([["Л","J","Љ"],["Н","J","Њ"],["Д","Ž","Џ"],["Д","J","Ђ"]])");
}

TEST(TypingTest, LatinTakesCyrillicKeysAndJoinsItsDigraphs) {
  const TypingTable table =
      TypingTableFor(Alphabet(AlphabetKind::kSerbianLatin));
  const auto keys = Keys(table);
  EXPECT_EQ(keys.size(), 60u);
  for (const auto& [typed, letter] :
       std::map<std::string, std::string>{{"Љ", "LJ"},
                                          {"Њ", "NJ"},
                                          {"Џ", "DŽ"},
                                          {"Ǆ", "DŽ"},
                                          {"Ђ", "Đ"},
                                          {"Ц", "C"},
                                          {"Ј", "J"},
                                          {"J", "J"},
                                          {"L", "L"}}) {
    EXPECT_EQ(keys.at(typed), letter) << typed;
  }
  EXPECT_TRUE(TypingJson(table).dump().starts_with(
      R"({"keys":{"A":"A","А":"A","B":"B","Б":"B","C":"C",)"));
  EXPECT_EQ(TypingJson(table)["joins"].dump(),
            R"([["D","Ž","DŽ"],["L","J","LJ"],["N","J","NJ"]])");
}

TEST(TypingTest, AsciiTypesAToZAlone) {
  const TypingTable table = TypingTableFor(Alphabet(AlphabetKind::kAscii));
  ASSERT_EQ(table.keys.size(), 26u);
  using Key = std::pair<std::string, std::string>;
  EXPECT_EQ(table.keys.front(), Key("A", "A"));
  EXPECT_EQ(table.keys.back(), Key("Z", "Z"));
  EXPECT_EQ(TypingJson(table)["joins"].dump(), "[]");
}

// Written in Latin, a Cyrillic-ordered puzzle types as a Latin one: D J
// stays two letters.
TEST(TypingTest, TheScriptDecidesTheLettersAndTheJoins) {
  const TypingTable table =
      TypingTableFor(Alphabet(AlphabetKind::kSerbianCyrillic), Script::kLatin);
  EXPECT_EQ(Keys(table).at("Љ"), "LJ");
  EXPECT_EQ(TypingJson(table)["joins"].dump(),
            R"([["L","J","LJ"],["N","J","NJ"],["D","Ž","DŽ"]])");
}

// Every key reads, on its own, as the letter it enters.
TEST(TypingTest, EveryKeyIsTheLetterTheAlphabetReads) {
  for (AlphabetKind kind : {AlphabetKind::kAscii, AlphabetKind::kSerbianLatin,
                            AlphabetKind::kSerbianCyrillic}) {
    const Alphabet alphabet(kind);
    for (const auto& [typed, letter] : TypingTableFor(alphabet).keys) {
      const SplitResult split = alphabet.Split(typed);
      ASSERT_EQ(split.letters.size(), 1u) << typed;
      EXPECT_EQ(alphabet.Name(split.letters[0]), letter) << typed;
    }
  }
}

}  // namespace
}  // namespace polimreza
