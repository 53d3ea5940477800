#include "text/text_lines.h"

#include <sstream>
#include <string>
#include <vector>

#include "gtest/gtest.h"

namespace polimreza {
namespace {

// Every line a reader delivers, testing the end-of-file flag before each
// read, as every reading loop of the program does.
std::vector<std::string> AllLines(const std::string& text) {
  std::istringstream in(text);
  TextLineReader reader(in);
  std::vector<std::string> lines;
  std::string line;
  while (!reader.AtEnd()) {
    reader.ReadLine(line);
    lines.push_back(line);
  }
  return lines;
}

struct LinesCase {
  std::string text;
  std::vector<std::string> lines;
};

TEST(TextLineReaderTest, DeliversLinesByTheRules) {
  const std::string s199(199, 'x');
  const std::string s200(200, 'x');
  const std::vector<LinesCase> cases = {
      {"", {""}},
      {"AB\n", {"AB", ""}},
      {"AB", {"AB"}},                      // last line without line feed
      {"AB\r\nCD\r\n", {"AB", "CD", ""}},  // CR LF dropped
      {"A\rB\n", {"A\rB", ""}},            // lone CR is a character
      {"AB\r", {"AB\r"}},                  // CR at the end, no LF
      {"AB\r\r\n", {"AB\r", ""}},          // only the CR before LF goes
      {"\n\nA\n", {"", "", "A", ""}},      // empty lines stay empty
      {"AB\x1A"
       "CD\n",
       {"AB"}},  // Ctrl-Z ends the text
      {"AB\n\x1A"
       "CD\n",
       {"AB", ""}},
      {"\x1A", {""}},
      {std::string("A\0B\n", 4), {std::string("A\0B", 3), ""}},
      {s199 + "\n", {s199, "", ""}},  // exactly 199: then empty
      {s199 + "\r\n", {s199, "", ""}},
      {s199, {s199, ""}},
      {s200 + "\n", {s199, "x", ""}},  // 200: two pieces
      {std::string(450, 'y') + "\n",
       {std::string(199, 'y'), std::string(199, 'y'), std::string(52, 'y'),
        ""}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(AllLines(c.text), c.lines)
        << "text: " << testing::PrintToString(c.text);
  }
}

TEST(TextLineReaderTest, LongTextCrossesBufferRefills) {
  std::string text;
  for (int i = 0; i < 20000; ++i) text += "ABCDEFG\r\n";
  std::vector<std::string> lines = AllLines(text);
  ASSERT_EQ(lines.size(), 20001u);
  EXPECT_EQ(lines[19999], "ABCDEFG");
  EXPECT_EQ(lines[20000], "");
}

TEST(TextLineReaderTest, RewindReadsAgainFromTheStart) {
  std::istringstream in("AB\nCD");
  TextLineReader reader(in);
  std::string line;
  while (!reader.AtEnd()) reader.ReadLine(line);
  EXPECT_EQ(line, "CD");
  reader.Rewind();
  EXPECT_FALSE(reader.AtEnd());
  reader.ReadLine(line);
  EXPECT_EQ(line, "AB");
}

TEST(TextLineReaderTest, FailedStreamIsEmpty) {
  std::istringstream in("AB\n");
  in.setstate(std::ios::badbit);
  TextLineReader reader(in);
  std::string line = "junk";
  reader.ReadLine(line);
  EXPECT_EQ(line, "");
  EXPECT_TRUE(reader.AtEnd());
}

}  // namespace
}  // namespace polimreza
