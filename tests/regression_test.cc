// Regression tests for inputs met while fuzzing: the text-line reader at the
// edge of its read buffer, and whole runs on hostile input.
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "driver/run.h"
#include "gtest/gtest.h"
#include "text/text_lines.h"

namespace polimreza {
namespace {

constexpr std::size_t kBuffer = TextLineReader::kBufferSize;

std::vector<std::string> AllLines(const std::string& text) {
  std::istringstream in(text);
  auto reader = std::make_unique<TextLineReader>(in);
  std::vector<std::string> lines;
  std::string line;
  while (!reader->AtEnd()) {
    reader->ReadLine(line);
    lines.push_back(line);
  }
  return lines;
}

// `count` empty lines (line feeds only), then `tail`.
std::string AfterEmptyLines(std::size_t count, const std::string& tail) {
  return std::string(count, '\n') + tail;
}

// The lines after the first `count`, which must all be empty.
std::vector<std::string> LinesAfter(const std::vector<std::string>& lines,
                                    std::size_t count) {
  for (std::size_t i = 0; i < count && i < lines.size(); ++i) {
    EXPECT_EQ(lines[i], "") << "line " << i;
  }
  if (lines.size() < count) return {};
  return std::vector<std::string>(lines.begin() + count, lines.end());
}

TEST(ReaderBufferEdgeTest, CarriageReturnEndsOneReadLineFeedStartsNext) {
  const std::string text = AfterEmptyLines(kBuffer - 3, "AB\r\nCD\n");
  EXPECT_EQ(LinesAfter(AllLines(text), kBuffer - 3),
            (std::vector<std::string>{"AB", "CD", ""}));
}

TEST(ReaderBufferEdgeTest, LoneCarriageReturnAtTheEndOfARead) {
  const std::string text = AfterEmptyLines(kBuffer - 3, "AB\rCD\n");
  EXPECT_EQ(LinesAfter(AllLines(text), kBuffer - 3),
            (std::vector<std::string>{"AB\rCD", ""}));
}

TEST(ReaderBufferEdgeTest, CtrlZFirstInARead) {
  const std::string text = AfterEmptyLines(kBuffer - 2,
                                           "AB\x1a"
                                           "CD\n");
  EXPECT_EQ(LinesAfter(AllLines(text), kBuffer - 2),
            (std::vector<std::string>{"AB"}));
}

TEST(ReaderBufferEdgeTest, TextEndsExactlyAtTheEndOfARead) {
  const std::string text = AfterEmptyLines(kBuffer - 3, "AB\n");
  ASSERT_EQ(text.size(), kBuffer);
  EXPECT_EQ(LinesAfter(AllLines(text), kBuffer - 3),
            (std::vector<std::string>{"AB", ""}));
}

TEST(ReaderBufferEdgeTest, PieceOf199SpansTwoReads) {
  const std::string text =
      AfterEmptyLines(kBuffer - 100, std::string(250, 'x') + "\r\n");
  EXPECT_EQ(LinesAfter(AllLines(text), kBuffer - 100),
            (std::vector<std::string>{std::string(199, 'x'),
                                      std::string(51, 'x'), ""}));
}

TEST(ReaderBufferEdgeTest, RewindAfterSeveralReads) {
  const std::string text = AfterEmptyLines(kBuffer + 10, "AB");
  std::istringstream in(text);
  auto reader = std::make_unique<TextLineReader>(in);
  std::string line;
  std::size_t count = 0;
  while (!reader->AtEnd()) {
    reader->ReadLine(line);
    ++count;
  }
  EXPECT_EQ(count, kBuffer + 11);
  EXPECT_EQ(line, "AB");
  reader->Rewind();
  reader->ReadLine(line);
  EXPECT_EQ(line, "");
  EXPECT_FALSE(reader->AtEnd());
}

// A whole run in memory on `pattern` with "1.txt" and "2.txt" as given.
std::string RunWith(const std::string& pattern, const std::string& list1,
                    const std::string& list2) {
  std::istringstream in(pattern);
  std::ostringstream out;
  ListOpener opener = [&](unsigned length) -> std::unique_ptr<std::istream> {
    if (length == 1) return std::make_unique<std::istringstream>(list1);
    if (length == 2) return std::make_unique<std::istringstream>(list2);
    return nullptr;
  };
  RunPattern(in, opener, out);
  return out.str();
}

// The pattern's rows stand behind a whole read of empty lines: the rows are
// the same as without them.
TEST(RunRegressionTest, PatternBehindAFullReadOfEmptyLines) {
  EXPECT_EQ(RunWith(AfterEmptyLines(kBuffer - 1, "**\r\n**\r\n"), "",
                    "AB;first\r\nBD;second\r\n"),
            "MaxVodoravno:2, MaxUspravno:2\n"
            "Ukrstenica je resena\nSad cu je prikazati...\n\n"
            "AB\nBD\n"
            "Vodoravno:\n0.first\n1.second\n\nUspravno:\n0.first\n1.second\n");
}

// A word whose bytes are above 127 crosses a word of the same bytes: the
// crossing check reads the squares back as the same bytes.
TEST(RunRegressionTest, HighBytesReadBackInCrossings) {
  EXPECT_EQ(RunWith("**\r\n**\r\n", "", "\xc4\x8c;ch\r\n\x8c\xc4;hc\r\n"),
            "MaxVodoravno:2, MaxUspravno:2\n"
            "Ukrstenica je resena\nSad cu je prikazati...\n\n"
            "\xc4\x8c\n\x8c\xc4\n"
            "Vodoravno:\n0.ch\n1.hc\n\nUspravno:\n0.ch\n1.hc\n");
}

}  // namespace
}  // namespace polimreza
