#include "report/alphabet_spellings.h"

#include <string>

#include "gtest/gtest.h"

namespace polimreza {
namespace {

TEST(AlphabetCellSpellings, OneCharacterASquare) {
  const Alphabet latin(AlphabetKind::kSerbianLatin);
  const CellSpellings in_latin = AlphabetCellSpellings(latin, Script::kLatin);
  EXPECT_EQ(in_latin['Q'], "\xc7\x87");  // LJ
  EXPECT_EQ(in_latin['T'], "\xc7\x8a");  // NJ
  EXPECT_EQ(in_latin['G'], "\xc7\x84");  // DZ-caron
  EXPECT_EQ(in_latin['#'], "#");
  EXPECT_EQ(in_latin['*'], "*");
  const CellSpellings in_cyrillic =
      AlphabetCellSpellings(latin, Script::kCyrillic);
  EXPECT_EQ(in_cyrillic['Q'], "\xd0\x89");
}

}  // namespace
}  // namespace polimreza
