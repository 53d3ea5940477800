// Differential test of the whole run: the fast solver and word lists against
// the plain reference model, on hand-picked cases and on a few hundred small
// random patterns and lists, comparing everything either one prints.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "driver/run.h"
#include "grid/grid.h"
#include "grid/pattern_reader.h"
#include "gtest/gtest.h"
#include "reference_model.h"

namespace polimreza {
namespace {

using reference::ListTexts;

struct Case {
  std::string pattern;
  ListTexts lists;
};

std::string RunProduct(const Case& c) {
  std::istringstream pattern(c.pattern);
  ListOpener opener = [&c](unsigned length) -> std::unique_ptr<std::istream> {
    if (length < 1 || length > 9 || !c.lists[length - 1]) return nullptr;
    return std::make_unique<std::istringstream>(*c.lists[length - 1]);
  };
  std::ostringstream out;
  RunPattern(pattern, opener, out);
  return out.str();
}

// `text` as a C string literal, so that a case can be pasted back in.
std::string Quote(const std::string& text) {
  std::string quoted = "\"";
  for (unsigned char c : text) {
    if (c == '\n') {
      quoted += "\\n";
    } else if (c == '\r') {
      quoted += "\\r";
    } else if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += static_cast<char>(c);
    } else if (c < 32 || c >= 127) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X\"\"", c);
      quoted += hex;
    } else {
      quoted += static_cast<char>(c);
    }
  }
  return quoted + "\"";
}

std::string Describe(const Case& c) {
  std::string text = "pattern.txt: " + Quote(c.pattern) + "\n";
  for (std::size_t k = 0; k < c.lists.size(); ++k) {
    if (!c.lists[k]) continue;
    text += std::to_string(k + 1) + ".txt: " + Quote(*c.lists[k]) + "\n";
  }
  return text;
}

// Empty when both runs print the same; otherwise the case and both outputs.
std::string Compare(const Case& c) {
  const std::string ours = RunProduct(c);
  const std::string model = reference::Run(c.pattern, c.lists);
  if (ours == model) return "";
  return Describe(c) + "--- program printed:\n" + ours +
         "--- reference model printed:\n" + model;
}

ListTexts ListsOf(std::vector<std::pair<int, std::string>> files) {
  ListTexts texts;
  for (auto& [length, text] : files) texts[length - 1] = text;
  return texts;
}

// The model itself, pinned to outputs worked out by hand, so that the
// comparison cannot pass on a fault the two share.
TEST(DifferentialTest, ReferenceModelPrintsWorkedOutputs) {
  EXPECT_EQ(reference::Run("**\r\n**\r\n",
                           ListsOf({{2, "AB;first\r\nBD;second\r\n"}})),
            "MaxVodoravno:2, MaxUspravno:2\n"
            "Ukrstenica je resena\nSad cu je prikazati...\n\n"
            "AB\nBD\n"
            "Vodoravno:\n0.first\n1.second\n\nUspravno:\n0.first\n1.second\n");
  EXPECT_EQ(reference::Run("**\r\n", ListsOf({{2, "AB;x\r\n"}, {1, ""}})),
            "MaxVodoravno:2, MaxUspravno:1\n"
            "Nazalost, ukrstenica ne moze da se resi. Ovo je jos probna "
            "verzija programa.\n"
            "Pokusajte sa manjom ukrstenicom ili sacekajte novu verziju "
            "programa\n"
            "Prikazacu dokle sam uspeo da resim...\n\n"
            "**\n"
            "\nRec koju ne mogu da nadjem u bazi je: ** na mestu (1,1) "
            "vodoravno\n");
  // Two ACROSS slots of ratio 1/3: the one met first from the end of the
  // grid (index 8) is filled first, with CYD; index 0 then gets AXB.
  EXPECT_EQ(reference::Run("A*B#\n####\nC*D#\n####\n",
                           ListsOf({{3, "AXB;1\nAYB;1b\nCYD;2\nCXD;2b\n"},
                                    {1, "A;a\nB;b\nC;c\nD;d\nX;x\nY;y\n"}})),
            "MaxVodoravno:4, MaxUspravno:4\n"
            "Ukrstenica je resena\nSad cu je prikazati...\n\n"
            "AXB#\n####\nCYD#\n####\n"
            "Vodoravno:\n0.1\n1.2\n\n"
            "Uspravno:\n0.a\n1.x\n2.b\n3.c\n4.y\n5.d\n");
}

// Cases kept by hand: the tie rules of slot choice, duplicate words with
// different clues, a given-complete slot missing from its list, a clue
// never recorded, and invalid list lines.
TEST(DifferentialTest, HandPickedCasesAgree) {
  const std::vector<Case> cases = {
      // Ratio 1/3 ties: the slot nearer the end of the grid is taken.
      {"A*B#\n####\nC*D#\n####\n",
       ListsOf({{3, "AXB;1\nCXD;2\nCYD;3\n"}, {1, "X;x\nY;y\n"}})},
      // Ratio 1/2 ties: the slot nearer the start is taken.
      {"AB**\n####\nCD**\n####\n",
       ListsOf({{4, "ABXY;1\nCDXY;2\n"}, {2, "XX;a\nYY;b\n"}})},
      // Duplicate words: the chosen slot's clue comes from the entry taken,
      // crossing slots get the clue of the first entry with their word.
      {"***\n***\n***\n",
       ListsOf({{3, "ABA;1\nBAB;2\nABA;3\nAAA;4\nBBB;5\nBAB;6\n"}})},
      // A DOWN slot given complete and missing from its list.
      {"A**\nB**\n", ListsOf({{2, "AB;no\nXY;xy\n"}, {3, "AXY;1\nBXY;2\n"}})},
      // One turn fills all: the given ACROSS slot's clue is never recorded.
      {"ABC\n***\n",
       ListsOf({{3, "ABC;abc\nXYZ;xyz\n"}, {2, "AX;1\nBY;2\nCZ;3\n"}})},
      // Invalid lines are never offered.
      {"***\n",
       ListsOf({{3, "AB;short\nABCD;long\nA*C;star\nA#C;hash\nnosemi\n" +
                        std::string("XYZ;\0nul\n", 9) + "abc;lower\n"},
                {1, "a;1\nb;2\nc;3\n"}})},
      // No empty square: solved at once; a long slot refused.
      {"AB\nCD\n", ListsOf({})},
      {"**********\n", ListsOf({})},
      {"", ListsOf({})},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Compare(c), "");
  }
}

// Draws random cases from a fixed seed.
class CaseMaker {
 public:
  explicit CaseMaker(std::uint32_t seed) : rng_(seed) {}

  Case Make() {
    Case c;
    alphabet_ = 2 + Below(2);
    c.pattern = MakePattern();
    for (unsigned length = 1; length <= 9; ++length) {
      c.lists[length - 1] = MakeList(length);
    }
    return c;
  }

 private:
  unsigned Below(unsigned n) { return static_cast<unsigned>(rng_() % n); }
  bool Chance(unsigned percent) { return Below(100) < percent; }
  char Letter() { return static_cast<char>('A' + Below(alphabet_)); }

  std::string MakePattern() {
    if (Chance(2)) return Chance(50) ? "" : "\n\n";
    unsigned width = 1 + Below(Chance(5) ? 11 : 9);
    unsigned height = 1 + Below(Chance(5) ? 11 : 9);
    static constexpr unsigned kBlocks[] = {0, 10, 20, 30, 45};
    static constexpr unsigned kLetters[] = {0, 0, 5, 15, 40, 100};
    unsigned blocks = kBlocks[Below(5)];
    unsigned letters = kLetters[Below(6)];
    bool ragged = Chance(20);
    std::string eol = Chance(50) ? "\r\n" : "\n";
    std::string text;
    for (unsigned row = 0; row < height; ++row) {
      if (Chance(5)) text += eol;  // empty lines are not rows
      unsigned length = ragged ? 1 + Below(width) : width;
      for (unsigned column = 0; column < length; ++column) {
        if (Chance(blocks)) {
          text += '#';
        } else if (Chance(letters)) {
          text += Chance(90) ? Letter() : 'Z';
        } else {
          text += '*';
        }
      }
      if (row + 1 < height || Chance(70)) text += eol;
    }
    if (Chance(2)) {
      text.insert(Below(static_cast<unsigned>(text.size()) + 1),
                  Chance(50) ? "a" : " ");
    }
    return text;
  }

  std::string RandomWord(unsigned length) {
    std::string word;
    for (unsigned k = 0; k < length; ++k) word += Letter();
    return word;
  }

  std::optional<std::string> MakeList(unsigned length) {
    if (Chance(4)) return std::nullopt;
    std::vector<std::string> words;
    unsigned all = 1;
    for (unsigned k = 0; k < length; ++k) all *= alphabet_;
    if (all <= 81 && Chance(70)) {
      // Every word of the length, some left out, in a shuffled order.
      static constexpr unsigned kKeep[] = {40, 70, 90, 100, 100};
      unsigned keep = kKeep[Below(5)];
      for (unsigned n = 0; n < all; ++n) {
        std::string word;
        for (unsigned k = 0, v = n; k < length; ++k, v /= alphabet_) {
          word += static_cast<char>('A' + v % alphabet_);
        }
        if (Chance(keep)) words.push_back(word);
      }
      for (std::size_t k = words.size(); k > 1; --k) {
        std::swap(words[k - 1], words[Below(static_cast<unsigned>(k))]);
      }
    } else {
      unsigned count = Below(Chance(50) ? 8 : 60);
      for (unsigned n = 0; n < count; ++n) words.push_back(RandomWord(length));
    }
    // Duplicates of words already listed, with clues of their own.
    if (!words.empty() && Chance(50)) {
      for (unsigned n = Below(6); n > 0; --n) {
        words.insert(words.begin() + Below(words.size() + 1),
                     words[Below(static_cast<unsigned>(words.size()))]);
      }
    }
    std::string eol = Chance(50) ? "\r\n" : "\n";
    std::string text;
    if (Chance(30)) text += JunkLine(length) + eol;
    unsigned clue = 0;
    for (const std::string& word : words) {
      if (Chance(5)) text += JunkLine(length) + eol;
      std::string clue_text =
          std::to_string(length) + "." + std::to_string(clue++);
      if (Chance(3)) clue_text.clear();
      if (Chance(3)) clue_text += ";more";
      text += word + ";" + clue_text + eol;
    }
    if (Chance(10)) text += JunkLine(length);
    if (!text.empty() && Chance(20)) text.pop_back();  // no final line feed
    if (Chance(2)) {
      text.insert(Below(static_cast<unsigned>(text.size()) + 1), "\x1A");
    }
    return text;
  }

  // A line that is not a valid entry, or one that is valid but unusual.
  std::string JunkLine(unsigned length) {
    switch (Below(9)) {
      case 0:
        return RandomWord(length);  // no ';'
      case 1:
        return RandomWord(length + 1) + ";longer";
      case 2:
        return RandomWord(length - 1) + ";shorter";
      case 3: {
        std::string word = RandomWord(length);
        word[Below(length)] = Chance(50) ? '*' : '#';
        return word + ";holds a pattern byte";
      }
      case 4:
        return RandomWord(length) + std::string(";nul\0byte", 9);
      case 5:
        return "";
      case 6: {
        std::string word = RandomWord(length);
        word[Below(length)] = 'a';  // valid, but matches no given letter
        return word + ";lower";
      }
      case 7: {
        std::string word = RandomWord(length);
        word[Below(length)] = static_cast<char>(0xC4);  // stored negative
        return word + ";high byte";
      }
      default:
        // A line longer than 199 bytes: its second piece is an entry.
        return RandomWord(length) + ";" + std::string(198 - length, 'x') +
               RandomWord(length) + ";second piece";
    }
  }

  std::mt19937 rng_;
  unsigned alphabet_ = 2;
};

// A slot of the pattern with every square given, in a grid that still has
// an empty square to fill.
bool HasGivenCompleteSlot(const std::string& pattern) {
  std::istringstream in(pattern);
  LoadedPattern loaded = LoadPattern(in);
  if (loaded.refusal) return false;
  const Grid& grid = loaded.grid;
  if (grid.IsGridFull()) return false;
  for (std::size_t row = 0; row < grid.gridHeight(); ++row) {
    for (std::size_t column = 0; column < grid.gridWidth(); ++column) {
      for (int d : {ACROSS, DOWN}) {
        if (grid.IsSlotStart(column, row, d) &&
            grid.CountEmpty(grid.Index(column, row), d) == 0) {
          return true;
        }
      }
    }
  }
  return false;
}

TEST(DifferentialTest, RandomCasesAgree) {
  constexpr int kCases = 800;
  CaseMaker maker(20240605);
  int solved = 0;
  int failed = 0;
  int failed_after_a_turn = 0;
  int given_complete = 0;
  int mismatches = 0;
  for (int n = 0; n < kCases; ++n) {
    const Case c = maker.Make();
    const std::string report = Compare(c);
    if (!report.empty()) {
      ++mismatches;
      if (mismatches <= 5) ADD_FAILURE() << "case " << n << ":\n" << report;
      continue;
    }
    const std::string out = RunProduct(c);
    if (out.find("Ukrstenica je resena") != std::string::npos) ++solved;
    std::size_t report_start = out.find("resim...\n\n");
    if (report_start != std::string::npos) {
      ++failed;
      // The grid as far as it got holds fewer empty squares than the pattern.
      std::size_t grid_end = out.find("\nRec koju", report_start);
      std::string grid = out.substr(report_start, grid_end - report_start);
      if (std::count(grid.begin(), grid.end(), '*') <
          std::count(c.pattern.begin(), c.pattern.end(), '*')) {
        ++failed_after_a_turn;
      }
    }
    if (HasGivenCompleteSlot(c.pattern)) ++given_complete;
  }
  EXPECT_EQ(mismatches, 0);
  std::printf(
      "%d cases: %d solved, %d failed (%d after at least one turn), "
      "%d with a slot given complete, %d mismatches\n",
      kCases, solved, failed, failed_after_a_turn, given_complete, mismatches);
  // Both outcomes must be well represented for the comparison to mean much.
  EXPECT_GE(solved, kCases / 5);
  EXPECT_GE(failed, kCases / 5);
  EXPECT_GE(failed_after_a_turn, kCases / 10);
  EXPECT_GE(given_complete, kCases / 20);
}

}  // namespace
}  // namespace polimreza
