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
  const std::array<std::string, kMaxEntryLength> lists =
      builder.Finish(summary);
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

TEST(ListBuilderTest, KeepsWordsUpToTheLongestEntry) {
  ListOptions options;
  options.letters = false;
  options.alphabet = AlphabetKind::kSerbianLatin;
  Folder folder;
  ListBuilder builder(options, folder);
  // 25 letters (lj and nj one letter each), then 26, then 25 again with
  // its last letter changed: every letter of a long word tells it apart.
  const std::string longest = "ljnjabcdefghijklmnoprstuvzz";
  EXPECT_EQ(builder.AddSource(longest + "\n" + longest + "a\n" +
                                  longest.substr(0, longest.size() - 1) +
                                  "c\n" + longest + "\n",
                              SourceFormat::kWords),
            3u);
  ListSummary summary;
  const std::array<std::string, kMaxEntryLength> lists =
      builder.Finish(summary);
  EXPECT_EQ(lists[kMaxEntryLength - 1],
            "LJNJABCDEFGHIJKLMNOPRSTUVZZ;\r\nLJNJABCDEFGHIJKLMNOPRSTUVZC;\r\n");
  EXPECT_EQ(summary.entries[kMaxEntryLength - 1], 2u);
  EXPECT_EQ(Skipped(summary, SkipReason::kLength), 1u);
  EXPECT_EQ(Skipped(summary, SkipReason::kRepeated), 1u);
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
  const std::array<std::string, kMaxEntryLength> lists =
      builder.Finish(summary);
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

TEST(ListBuilderTest, ClassifiesSpellings) {
  const struct {
    const char* word;
    WordKind kind;
  } kCases[] = {
      {"kuća", WordKind::kOrdinary},
      {"vi", WordKind::kOrdinary},  // small letters, whatever they read as
      {"a", WordKind::kOrdinary},
      {"iPhone", WordKind::kOrdinary},
      {"Beograd", WordKind::kName},
      {"Šabac", WordKind::kName},
      {"ǈubica", WordKind::kName},  // title-case Lj
      {"Njegoš", WordKind::kName},
      {"McDonald", WordKind::kName},
      {"Vi", WordKind::kName},
      {"AIDS", WordKind::kAbbreviation},
      {"ŽTP", WordKind::kAbbreviation},
      {"N", WordKind::kAbbreviation},
      {"Lj", WordKind::kAbbreviation},  // one capital letter, as Љ
      {"Џ", WordKind::kAbbreviation},
      {"IIII", WordKind::kAbbreviation},
      {"VI", WordKind::kNumeral},
      {"I", WordKind::kNumeral},
      {"Д", WordKind::kNumeral},  // D in Cyrillic
      {"MMMCMXCIX", WordKind::kNumeral},
  };
  Folder folder;
  std::string letters;
  for (const auto& c : kCases) {
    ASSERT_TRUE(folder.FoldWord(c.word, letters)) << c.word;
    EXPECT_EQ(ClassifySpelling(c.word, letters), c.kind) << c.word;
  }
}

TEST(ListBuilderTest, TellsRomanNumerals) {
  for (const char* valid : {"I", "IV", "IX", "XIV", "XL", "XC", "CD", "CM",
                            "LII", "MCMXCIX", "MMMCMXCIX", "MMM"}) {
    EXPECT_TRUE(IsRomanNumeral(valid)) << valid;
  }
  for (const char* invalid :
       {"", "IIII", "VX", "IC", "IL", "XM", "VV", "LL", "DD", "MMMM", "IIV",
        "IXI", "XCX", "CMC", "iv", "IVI", "VIV", "A"}) {
    EXPECT_FALSE(IsRomanNumeral(invalid)) << invalid;
  }
}

TEST(ListBuilderTest, OrdersEachDictionaryByKind) {
  ListOptions options;
  options.letters = false;
  Folder folder;
  ListBuilder builder(options, folder);
  // The numerals written both ways one after the other, as in hunspell-sr;
  // vi again on its own is the ordinary word, mi is one anyway.
  builder.AddSource("9\nii\nII\nVI\nvi\nNIS\nNis\nnos\nvi\nmi\nmix\n",
                    SourceFormat::kHunspell);
  builder.AddSource("ZUB;Grize\nDVD\nzub\n", SourceFormat::kClued);
  builder.AddSource("lav\nMIR\nbol\n", SourceFormat::kWords);
  ListSummary summary;
  std::array<std::string, kMaxEntryLength> lists = builder.Finish(summary);
  EXPECT_EQ(lists[1], "VI;\r\nMI;\r\nII;\r\n");
  EXPECT_EQ(lists[2],
            "NOS;\r\nMIX;\r\nNIS;\r\nZUB;Grize\r\nDVD;\r\n"
            "LAV;\r\nBOL;\r\nMIR;\r\n");
  EXPECT_EQ(summary.kinds,
            (std::array<std::size_t, kWordKinds>{6, 1, 1, 1, 2}));
  EXPECT_EQ(Skipped(summary, SkipReason::kRepeated), 5u);

  options.order = WordOrder::kSource;
  ListBuilder in_order(options, folder);
  in_order.AddSource("ii\nII\nVI\nvi\nNIS\nNis\nnos\n", SourceFormat::kWords);
  lists = in_order.Finish(summary);
  EXPECT_EQ(lists[1], "II;\r\nVI;\r\n");
  EXPECT_EQ(lists[2], "NIS;\r\nNOS;\r\n");
  EXPECT_EQ(summary.kinds,
            (std::array<std::size_t, kWordKinds>{1, 0, 1, 2, 0}));
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
  EXPECT_NE(text.find("Reci iz izvora po vrsti:\n  obicne reci: 0\n  imena: "
                      "0\n  skracenice: 0\n  rimski brojevi: 0\n  iz lista "
                      "sa opisima: 0\n"),
            std::string::npos);
  EXPECT_NE(text.find("  ponovljene reci: 5 (od toga dopunilo opis: 1)\n"),
            std::string::npos);
}

TEST(ListBuilderTest, ScoresOrderTheListsAndFillTheScoresFile) {
  ListOptions options;
  options.letters = false;
  options.scores = true;
  options.min_score = 5;
  Folder folder;
  WordCounter corpus(AlphabetKind::kAscii, folder);
  corpus.Add("sat sat ris");  // SAT scores 100, RIS 50
  corpus.EndText();
  options.corpus = &corpus;
  ListBuilder builder(options, folder);
  builder.AddSource("NOS;Njuh\n", SourceFormat::kClued);
  builder.AddSource("6\nLAV\nlav\nris\nSat\nsat\nbor\nXIV\n",
                    SourceFormat::kHunspell);
  builder.AddSource("BOR;50\nLAV;50\nZEC;3\nNOS;20\nOS;\n",
                    SourceFormat::kScored);
  EXPECT_FALSE(builder.bad_score());
  ListSummary summary;
  std::string scores;
  const auto lists = builder.Finish(summary, &scores);
  // NOS 100 (clued) before SAT 100 (ordinary); LAV and BOR 50 as the
  // scored list says, RIS 50 from the corpus: ordinary words all three, in
  // the dictionary's order.
  EXPECT_EQ(lists[2], "NOS;Njuh\r\nSAT;\r\nLAV;\r\nRIS;\r\nBOR;\r\n");
  EXPECT_EQ(lists[1], "");  // OS scores 0, ZEC 3: below 5
  EXPECT_EQ(scores,
            "NOS;100;opis\r\nSAT;100;obicna\r\nLAV;50;obicna\r\n"
            "RIS;50;obicna\r\nBOR;50;obicna\r\n");
  EXPECT_EQ(Skipped(summary, SkipReason::kMinScore), 3u);  // XIV, ZEC, OS
  EXPECT_TRUE(summary.scores);

  ListBuilder bad(ListOptions(), folder);
  bad.AddSource("PAS;50\n\nLAV;101\nZEC;x\n", SourceFormat::kScored);
  ASSERT_TRUE(bad.bad_score());
  EXPECT_EQ(bad.bad_score()->line, 3u);
  EXPECT_EQ(bad.bad_score()->text, "101");
}

}  // namespace
}  // namespace polimreza
