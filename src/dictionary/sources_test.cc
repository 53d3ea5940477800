#include "dictionary/sources.h"

#include <string>
#include <utility>
#include <vector>

#include "gtest/gtest.h"

namespace polimreza {
namespace {

using Lines = std::vector<std::pair<std::string, std::string>>;

Lines Read(std::string_view text, SourceFormat format) {
  Lines lines;
  ReadSource(text, format,
             [&lines](std::string_view word, std::string_view clue) {
               lines.emplace_back(word, clue);
             });
  return lines;
}

TEST(SourcesTest, RecognizesFormats) {
  EXPECT_EQ(RecognizeFormat("sr.dic", "3\r\na/1\n"), SourceFormat::kHunspell);
  EXPECT_EQ(RecognizeFormat("sr.txt", "3\na/1\n"), SourceFormat::kWords);
  EXPECT_EQ(RecognizeFormat("sr.dic", "abc\n"), SourceFormat::kWords);
  EXPECT_EQ(RecognizeFormat("x", "\xef\xbb\xbf\n \nrec;opis\n"),
            SourceFormat::kClued);
  EXPECT_EQ(RecognizeFormat("x", "rec\nrec;opis\n"), SourceFormat::kWords);
  EXPECT_EQ(RecognizeFormat("x", ""), SourceFormat::kWords);
  EXPECT_EQ(RecognizeFormat("x", "PAS;50\r\n\nLAV;101;ime\nZEC; -1 \n"),
            SourceFormat::kScored);
  EXPECT_EQ(RecognizeFormat("x", "PAS;50\nLAV;Kralj\n"), SourceFormat::kClued);
  EXPECT_EQ(RecognizeFormat("x", "PAS;50\nLAV\n"), SourceFormat::kClued);
}

TEST(SourcesTest, ScoresAreWholeNumbersUpTo100) {
  EXPECT_EQ(ParseScore(" 100 "), 100);
  EXPECT_EQ(ParseScore("007"), 7);
  EXPECT_EQ(ParseScore("0"), 0);
  EXPECT_EQ(ParseScore("101"), std::nullopt);
  EXPECT_EQ(ParseScore("-1"), std::nullopt);
  EXPECT_EQ(ParseScore("+5"), std::nullopt);
  EXPECT_EQ(ParseScore("abc"), std::nullopt);
  EXPECT_EQ(ParseScore(""), std::nullopt);
  EXPECT_EQ(ParseScore("0100"), std::nullopt);
}

TEST(SourcesTest, HunspellGivesStems) {
  EXPECT_EQ(Read("4\nkuća/12,3\r\nLisak \na\\/b/x\nreč\tpo:noun\nabc st:x\n",
                 SourceFormat::kHunspell),
            (Lines{{"kuća", ""},
                   {"Lisak", ""},
                   {"a\\/b", ""},
                   {"reč", ""},
                   {"abc", ""}}));
}

TEST(SourcesTest, CluedAndWordLines) {
  EXPECT_EQ(
      Read(" rec ; opis;x \r\nsama\n\n;\nkraj\x1azz;yy\n",
           SourceFormat::kClued),
      (Lines{
          {"rec", "opis;x"}, {"sama", ""}, {"", ""}, {"", ""}, {"kraj", ""}}));
  EXPECT_EQ(Read("a;b\r\n 12 \n", SourceFormat::kWords),
            (Lines{{"a;b", ""}, {"12", ""}}));
}

TEST(SourcesTest, HunspellCharsetAndConversion) {
  EXPECT_EQ(HunspellCharset("SET ISO8859-2\r\nTRY abc\n"), "ISO8859-2");
  EXPECT_EQ(HunspellCharset("TRY abc\nSETX y\n"), "UTF-8");
  EXPECT_EQ(HunspellCharset("SET microsoft-cp1251\n"), "windows-1251");
  std::string out;
  ASSERT_TRUE(ConvertToUtf8("\xe8\x61", "ISO8859-2", out));
  EXPECT_EQ(out,
            "\xc4\x8d"
            "a");  // c-caron, a
  EXPECT_FALSE(ConvertToUtf8("a", "NO-SUCH-CHARSET", out));
}

}  // namespace
}  // namespace polimreza
