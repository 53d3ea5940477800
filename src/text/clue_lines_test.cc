#include "text/clue_lines.h"

#include <memory>
#include <string>
#include <vector>

#include "gtest/gtest.h"

namespace polimreza {
namespace {

using Lines = std::vector<std::string>;

const Hyphenator& Serbian() {
  static const std::unique_ptr<Hyphenator> hyphenator = Hyphenator::Serbian();
  return *hyphenator;
}

TEST(HyphenatorTest, LoadsBothSerbianPatternFiles) {
  EXPECT_FALSE(Serbian().Empty());
  EXPECT_TRUE(Serbian().Missing().empty());
}

TEST(HyphenatorTest, HyphenatesLatinAndCyrillicAlike) {
  // re-vo-lu-ci-ja, by letters, whatever the case.
  std::vector<unsigned> expected = {2, 4, 6, 8};
  EXPECT_EQ(Serbian().Points("revolucija"), expected);
  EXPECT_EQ(Serbian().Points("REVOLUCIJA"), expected);
  EXPECT_EQ(Serbian().Points("револуција"), expected);
  // Letters outside ASCII count once: ču-va-ri.
  EXPECT_EQ(Serbian().Points("čuvari"), (std::vector<unsigned>{2, 4}));
}

TEST(HyphenatorTest, MissingFileIsNamedAndGivesNoPoints) {
  Hyphenator none({"/nonexistent/hyph_xx.dic"});
  EXPECT_TRUE(none.Empty());
  EXPECT_EQ(none.Missing(), Lines{"/nonexistent/hyph_xx.dic"});
  EXPECT_TRUE(none.Points("revolucija").empty());
}

TEST(BreakClueTest, FillsLinesAtSpacesCountingCharacters) {
  // "Čačak" is 5 characters but 7 bytes; "grad na" would be 7 of 9.
  ClueLines lines = BreakClue("  Grad   na\tMoravi, Čačak ", 9, 5, &Serbian());
  EXPECT_EQ(lines.lines, (Lines{"Grad na", "Moravi,", "Čačak"}));
  EXPECT_TRUE(lines.fits);
  EXPECT_TRUE(BreakClue("", 9, 5, &Serbian()).lines.empty());
  EXPECT_TRUE(BreakClue(" \n ", 9, 5, &Serbian()).fits);
}

TEST(BreakClueTest, HyphenatesAWordLongerThanALine) {
  // re-vo-lu-ci-o-nar-ni: the longest part that fits with its hyphen.
  ClueLines lines = BreakClue("revolucionarni pokret", 9, 5, &Serbian());
  EXPECT_EQ(lines.lines, (Lines{"revoluci-", "onarni", "pokret"}));
  // The word starts on the line before when a part of it fits there.
  EXPECT_EQ(
      BreakClue("Ostrvo u Sredozemnom moru, deo Italije", 9, 5, &Serbian())
          .lines,
      (Lines{"Ostrvo u", "Sredozem-", "nom moru,", "deo", "Italije"}));
}

TEST(BreakClueTest, BreaksAfterAHyphenWithoutAddingOne) {
  EXPECT_EQ(BreakClue("crveno-beli dres", 9, 5, &Serbian()).lines,
            (Lines{"crveno-", "beli dres"}));
  EXPECT_EQ(BreakClue("crno-beli film", 9, 5, &Serbian()).lines,
            (Lines{"crno-beli", "film"}));
}

TEST(BreakClueTest, BreaksAnUnbreakableWordHard) {
  std::string word(40, 'x');
  ClueLines lines = BreakClue(word, 9, 5, &Serbian());
  EXPECT_EQ(lines.lines, (Lines{"xxxxxxxx-", "xxxxxxxx-", "xxxxxxxx-",
                                "xxxxxxxx-", "xxxxxxxx"}));
  EXPECT_TRUE(lines.fits);
  // Without patterns a word is broken hard, too.
  EXPECT_EQ(BreakClue("revolucija", 9, 5, nullptr).lines,
            (Lines{"revoluci-", "ja"}));
}

TEST(BreakClueTest, HyphenatesEveryWordWhenWholeWordsTakeTooManyLines) {
  // Whole words take 3 lines of 10: Velika / revolucija / u.
  ClueLines lines = BreakClue("Velika revolucija u", 10, 2, &Serbian());
  EXPECT_EQ(lines.lines, (Lines{"Velika re-", "volucija u"}));
  EXPECT_TRUE(lines.fits);
  // With room for 3 lines the words stay whole.
  EXPECT_EQ(BreakClue("Velika revolucija u", 10, 3, &Serbian()).lines,
            (Lines{"Velika", "revolucija", "u"}));
}

TEST(BreakClueTest, GivesEveryLineOfAClueThatDoesNotFit) {
  std::string clue;
  for (int i = 0; i < 50; ++i) clue += "reka ";  // 249 characters
  ClueLines lines = BreakClue(clue, 9, 5, &Serbian());
  EXPECT_FALSE(lines.fits);
  EXPECT_EQ(lines.lines.size(), 25u);  // "reka reka" each
  EXPECT_EQ(lines.lines.back(), "reka reka");
}

TEST(BreakClueTest, SaysWhenEvenHyphenatedLinesAreTooMany) {
  ClueLines lines = BreakClue("Planina na jugu Srbije, poznata po skijanju", 9,
                              5, &Serbian());
  EXPECT_FALSE(lines.fits);
  EXPECT_EQ(lines.lines, (Lines{"Planina", "na jugu", "Srbije,", "poznata",
                                "po", "skijanju"}));
}

TEST(BreakClueTest, KeepsMarkupAsText) {
  ClueLines lines = BreakClue("<b>x</b> & y", 9, 5, &Serbian());
  EXPECT_EQ(lines.lines, (Lines{"<b>x</b>", "& y"}));
}

}  // namespace
}  // namespace polimreza
