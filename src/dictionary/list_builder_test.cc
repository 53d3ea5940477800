#include "dictionary/list_builder.h"

#include <string>

#include "gtest/gtest.h"

namespace polimreza {
namespace {

std::size_t Skipped(const ListSummary& summary, SkipReason reason) {
  return summary.skipped[static_cast<std::size_t>(reason)];
}

TEST(ListBuilderTest, MergesInOrderAndFillsMissingClues) {
  ListOptions options;
  options.letters = false;
  Folder folder;
  ListBuilder builder(options, folder);
  EXPECT_EQ(
      builder.AddSource("2\nkuća/1\nMačka\nkuća/2\n", SourceFormat::kHunspell),
      3u);
  EXPECT_EQ(builder.AddSource("PAS;Laje\nMACKA;Lovi miševe\nKUCA;Dom\n"
                              "PAS;Drugi opis\nab-c\nNOS;\x01\nNOS;Njuh\x1a\n",
                              SourceFormat::kClued),
            6u);
  ListSummary summary;
  const std::array<std::string, 9> lists = builder.Finish(summary);
  // A clue of control characters only is no clue: the later one fills it.
  EXPECT_EQ(lists[2], "PAS;Laje\r\nNOS;Njuh\r\n");
  EXPECT_EQ(lists[3], "KUCA;Dom\r\n");
  EXPECT_EQ(lists[4], "MACKA;Lovi miseve\r\n");
  EXPECT_EQ(lists[0], "");
  EXPECT_EQ(Skipped(summary, SkipReason::kRepeated), 5u);
  EXPECT_EQ(Skipped(summary, SkipReason::kCharacters), 1u);
  EXPECT_EQ(summary.clues_filled, 3u);
  EXPECT_EQ(summary.from_sources, 4u);
}

TEST(ListBuilderTest, FiltersLimitAndLetters) {
  ListOptions options;
  options.min_length = 1;
  options.max_length = 3;
  options.limit = 2;
  options.proper_nouns = false;
  Folder folder;
  ListBuilder builder(options, folder);
  builder.AddSource("\nBeograd\nBor\nšah\nnos\nluk\nzub\ndugačak\nb\n",
                    SourceFormat::kWords);
  builder.AddSource("A;Veznik\nBOR;Drvo\n", SourceFormat::kClued);
  ListSummary summary;
  const std::array<std::string, 9> lists = builder.Finish(summary);
  EXPECT_EQ(lists[2], "SAH;\r\nNOS;\r\n");
  // The letters the sources gave keep their place and clue; the rest
  // follow in order.
  EXPECT_EQ(lists[0].substr(0, 20), "B;\r\nA;Veznik\r\nC;\r\nD;");
  EXPECT_EQ(summary.entries[0], 26u);
  EXPECT_EQ(Skipped(summary, SkipReason::kEmpty), 1u);
  // Length is checked before the capital: Beograd counts as too long.
  EXPECT_EQ(Skipped(summary, SkipReason::kProperNoun), 1u);  // Bor
  EXPECT_EQ(Skipped(summary, SkipReason::kLength), 2u);
  EXPECT_EQ(Skipped(summary, SkipReason::kLimit), 3u);  // luk, zub, BOR
  EXPECT_EQ(summary.from_sources, 4u);
}

TEST(ListBuilderTest, LongCluesAreShortenedToOneListLine) {
  ListOptions options;
  options.letters = false;
  options.keep_clue_diacritics = true;
  Folder folder;
  ListBuilder builder(options, folder);
  builder.AddSource("ABC;" + std::string(300, 'x') + "\n",
                    SourceFormat::kClued);
  ListSummary summary;
  const std::string list = builder.Finish(summary)[2];
  EXPECT_EQ(list.size(), 199u + 2u);
  EXPECT_EQ(list.substr(195), "xxxx\r\n");
}

TEST(ListBuilderTest, SummaryNamesEveryReason) {
  ListSummary summary;
  summary.entries[0] = 26;
  summary.skipped[static_cast<std::size_t>(SkipReason::kRepeated)] = 5;
  summary.clues_filled = 1;
  const std::string text = FormatSummary(summary);
  EXPECT_NE(text.find("  1: 26\n"), std::string::npos);
  EXPECT_NE(text.find("  ukupno: 26\n"), std::string::npos);
  EXPECT_NE(text.find("  ponovljene reci: 5 (od toga dopunilo opis: 1)\n"),
            std::string::npos);
}

}  // namespace
}  // namespace polimreza
