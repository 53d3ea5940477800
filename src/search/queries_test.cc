#include "search/queries.h"

#include <bitset>
#include <map>
#include <random>
#include <set>
#include <string_view>

#include "gtest/gtest.h"
#include "tests/test_util.h"

namespace polimreza {
namespace {

using Lists = std::map<std::size_t, std::vector<std::string>>;

constexpr std::size_t kNoSlot = ~std::size_t{0};

// The list texts of `lists`, each word with its index as its clue.
std::map<unsigned, std::string> Texts(const Lists& lists) {
  std::map<unsigned, std::string> texts;
  for (const auto& [length, words] : lists) {
    std::string& text = texts[static_cast<unsigned>(length)];
    for (std::size_t k = 0; k < words.size(); ++k) {
      text += words[k] + ";" + std::to_string(k) + "\n";
    }
  }
  return texts;
}

// Arc consistency worked out by brute force over word sets: the slots
// `taking` of `grid` (indexes into FindSlots), slot `assigned` (when it is
// one of them) holding `word` alone, a slot left with weak words only
// taking the weak words from the slots crossing it. True when no slot is left
// without a word.
bool ModelConsistent(const Grid& grid, const Lists& lists, bool repeats,
                     const std::vector<std::size_t>& taking,
                     const SearchOptions& options, std::size_t assigned,
                     const std::string& word) {
  const std::vector<Slot> slots = FindSlots(grid);
  std::vector<std::bitset<256>> letters(grid.CellCount());
  for (std::size_t c = 0; c < letters.size(); ++c) {
    if (grid.Cell(c) == CELL_EMPTY) {
      letters[c].set();
    } else {
      letters[c].set(static_cast<unsigned char>(grid.Cell(c)));
    }
  }
  auto cell = [&](std::size_t s, unsigned p) {
    return slots[s].start + p * grid.Step(slots[s].direction);
  };
  auto crossing = [&](std::size_t s, std::size_t t) {
    for (unsigned p = 0; p < slots[s].length; ++p) {
      for (unsigned q = 0; q < slots[t].length; ++q) {
        if (cell(s, p) == cell(t, q)) return true;
      }
    }
    return false;
  };
  std::map<std::size_t, std::vector<std::string>> domain;
  for (std::size_t s : taking) {
    std::vector<std::string>& words = domain[s];
    auto list = lists.find(slots[s].length);
    if (list == lists.end()) continue;
    for (const std::string& w : list->second) {
      if (std::find(words.begin(), words.end(), w) != words.end()) continue;
      if (std::find(options.forbidden.begin(), options.forbidden.end(),
                    std::pair(s, w)) != options.forbidden.end()) {
        continue;
      }
      if (s == assigned && w != word) continue;
      words.push_back(w);
    }
  }
  for (bool changed = true; changed;) {
    changed = false;
    for (auto& [s, words] : domain) {
      const unsigned length = slots[s].length;
      std::erase_if(words, [&](const std::string& w) {
        for (unsigned p = 0; p < length; ++p) {
          if (!letters[cell(s, p)].test(static_cast<unsigned char>(w[p]))) {
            return changed = true;
          }
        }
        return false;
      });
      if (words.empty()) return false;
      if (words.size() == 1 && !repeats && length >= 2) {
        for (auto& [t, others] : domain) {
          if (t != s && std::erase(others, words[0]) > 0) changed = true;
        }
      }
      if (length >= 2 && options.weak &&
          std::all_of(words.begin(), words.end(), options.weak)) {
        for (auto& [t, others] : domain) {
          if (t == s || slots[t].length < 2 || !crossing(s, t)) continue;
          if (std::erase_if(others, options.weak) > 0) changed = true;
        }
      }
      for (unsigned p = 0; p < length; ++p) {
        std::bitset<256> support;
        for (const std::string& w : words) {
          support.set(static_cast<unsigned char>(w[p]));
        }
        if ((letters[cell(s, p)] & ~support).any()) {
          letters[cell(s, p)] &= support;
          changed = true;
        }
      }
    }
  }
  return true;
}

struct Tiny {
  Grid grid;
  Lists lists;
  SearchOptions options;
  std::vector<std::size_t> taking;  // the active slots
};

// A random 3x3 grid over the letters ABC with lists of one to three
// letters, random repeats, forbidden words and, half the time, active slots
// and, half the time, weak words.
Tiny RandomTiny(std::mt19937& random) {
  Tiny tiny;
  std::vector<std::string> rows(3, std::string(3, '*'));
  for (std::string& row : rows) {
    for (char& c : row) {
      const unsigned roll = random() % 10;
      c = roll < 2   ? '#'
          : roll < 3 ? static_cast<char>('A' + random() % 3)
                     : '*';
    }
  }
  tiny.grid = MakeGrid(rows);
  for (std::size_t length = 1; length <= 3; ++length) {
    std::vector<std::string>& words = tiny.lists[length];
    const std::size_t count = 1 + random() % (length == 1 ? 3 : 12);
    for (std::size_t k = 0; k < count; ++k) {
      std::string w;
      for (std::size_t p = 0; p < length; ++p) {
        w.push_back(static_cast<char>('A' + random() % 3));
      }
      words.push_back(w);
    }
  }
  tiny.options.allow_repeats = random() % 2 == 0;
  const std::vector<Slot> slots = FindSlots(tiny.grid);
  const bool some = random() % 2 == 0;
  const std::uint64_t mask = random();
  for (std::size_t s = 0; s < slots.size(); ++s) {
    if (!some || (mask >> s) & 1) tiny.taking.push_back(s);
    if (random() % 4 == 0) {
      const auto& words = tiny.lists[slots[s].length];
      tiny.options.forbidden.emplace_back(s, words[random() % words.size()]);
    }
  }
  if (random() % 2 == 0) {
    std::set<std::string> weak;
    for (const auto& [length, words] : tiny.lists) {
      for (const std::string& w : words) {
        if (length >= 2 && random() % 2 == 0) weak.insert(w);
      }
    }
    tiny.options.weak = [weak](std::string_view w) {
      return weak.contains(std::string(w));
    };
  }
  if (some) {
    tiny.options.active = [starts = slots, mask](const Slot& slot) {
      for (std::size_t s = 0; s < starts.size(); ++s) {
        if (starts[s].start == slot.start &&
            starts[s].direction == slot.direction) {
          return ((mask >> s) & 1) != 0;
        }
      }
      return false;
    };
  }
  return tiny;
}

TEST(FitSlotTest, AgreesWithArcConsistencyByBruteForce) {
  std::mt19937 random(7);
  for (int round = 0; round < 300; ++round) {
    Tiny tiny = RandomTiny(random);
    WordLists lists = ListsOf(Texts(tiny.lists));
    SearchLexicons lexicons(lists);
    const std::vector<Slot> slots = FindSlots(tiny.grid);
    for (std::size_t s = 0; s < slots.size(); ++s) {
      SCOPED_TRACE(testing::Message() << "round " << round << " slot " << s);
      std::vector<std::size_t> taking = tiny.taking;
      if (std::find(taking.begin(), taking.end(), s) == taking.end()) {
        taking.push_back(s);
      }
      std::vector<std::string> expected;
      if (ModelConsistent(tiny.grid, tiny.lists, tiny.options.allow_repeats,
                          taking, tiny.options, kNoSlot, "")) {
        for (const std::string& w : tiny.lists[slots[s].length]) {
          if (std::find(expected.begin(), expected.end(), w) ==
                  expected.end() &&
              ModelConsistent(tiny.grid, tiny.lists, tiny.options.allow_repeats,
                              taking, tiny.options, s, w)) {
            expected.push_back(w);
          }
        }
      }
      const FittingWords fit = FitSlot(tiny.grid, lexicons, s, 2, tiny.options);
      EXPECT_TRUE(fit.exact);
      EXPECT_EQ(fit.count, expected.size());
      std::vector<std::string> words;
      for (const SlotWord& w : fit.words) words.push_back(w.word);
      expected.resize(std::min<std::size_t>(expected.size(), 2));
      EXPECT_EQ(words, expected);
    }
  }
}

TEST(DeadSlotsTest, AgreesWithArcConsistencyByBruteForce) {
  std::mt19937 random(11);
  for (int round = 0; round < 300; ++round) {
    SCOPED_TRACE(testing::Message() << "round " << round);
    Tiny tiny = RandomTiny(random);
    WordLists lists = ListsOf(Texts(tiny.lists));
    SearchLexicons lexicons(lists);
    const std::vector<std::size_t> dead =
        DeadSlots(tiny.grid, lexicons, tiny.options);
    std::vector<std::size_t> empty;
    for (std::size_t s : tiny.taking) {
      if (!ModelConsistent(tiny.grid, tiny.lists, true, {s}, tiny.options,
                           kNoSlot, "")) {
        empty.push_back(s);
      }
    }
    if (!empty.empty()) {
      EXPECT_EQ(dead, empty);
    } else if (ModelConsistent(tiny.grid, tiny.lists,
                               tiny.options.allow_repeats, tiny.taking,
                               tiny.options, kNoSlot, "")) {
      EXPECT_TRUE(dead.empty());
    } else {
      EXPECT_EQ(dead.size(), 1u);
    }
  }
}

TEST(FitSlotTest, InconsistentGridFitsNothing) {
  WordLists lists = ListsOf({{1, "A;x\nC;y\n"}, {2, "AB;1\nCD;2\n"}});
  SearchLexicons lexicons(lists);
  // Across and down from the A both need AB.
  const Grid grid = MakeGrid({"A*", "**"});
  const FittingWords fit = FitSlot(grid, lexicons, 0, 5, SearchOptions());
  EXPECT_EQ(fit.count, 0u);
  EXPECT_TRUE(fit.words.empty());
  EXPECT_EQ(DeadSlots(grid, lexicons, SearchOptions()).size(), 1u);
  EXPECT_EQ(DeadSlots(MakeGrid({"AC"}), lexicons, SearchOptions()),
            std::vector<std::size_t>{0});
}

struct ActiveCase {
  const char* name;
  std::vector<std::string> rows;
  bool across_only;
  std::vector<std::pair<std::size_t, std::string>> forbidden;
  std::string fill;  // the slots' words joined by '/', "-" for none
  std::optional<std::size_t> unfillable;
};

TEST(SearchTest, ActiveSlotsAndForbiddenWords) {
  // In a 2x2 grid slots 0 and 3 go across, 1 and 2 down.
  const std::vector<ActiveCase> cases = {
      {"every slot", {"A*", "**"}, false, {}, "", {}},
      {"across only", {"A*", "**"}, true, {}, "AB/-/-/CD", {}},
      {"forbidden", {"**"}, false, {{0, "AB"}}, "CD/C/D", {}},
      {"forbidden out of range or of another length",
       {"**"},
       false,
       {{9, "AB"}, {1, "AB"}, {0, "ABC"}},
       "AB/A/B",
       {}},
      {"every word forbidden",
       {"##", "**"},
       false,
       {{0, "AB"}, {0, "CD"}},
       "",
       0},
      {"forbidden in an inactive slot",
       {"**", "**"},
       true,
       {{1, "AB"}, {0, "AB"}},
       "CD/-/-/AB",
       {}},
  };
  for (const ActiveCase& c : cases) {
    SCOPED_TRACE(c.name);
    WordLists lists = ListsOf({{1, "A;\nB;\nC;\nD;\n"}, {2, "AB;1\nCD;2\n"}});
    SearchOptions options;
    options.forbidden = c.forbidden;
    if (c.across_only) {
      options.active = [](const Slot& slot) {
        return slot.direction == ACROSS;
      };
    }
    const SearchResult result = Search(MakeGrid(c.rows), lists, options);
    EXPECT_EQ(result.unfillable, c.unfillable);
    std::string fill;
    for (std::size_t s = 0;
         result.outcome == SearchOutcome::kFilled && s < result.words.size();
         ++s) {
      fill += (s ? "/" : "") + (result.words[s] ? result.words[s]->word : "-");
    }
    EXPECT_EQ(fill, c.fill);
  }
}

TEST(SearchLexiconsTest, LeavesOutExcludedWordsAndKeepsEntries) {
  WordLists lists = ListsOf({{1, "C;\nD;\n"}, {2, "AB;1\nCD;2\nAB;3\nEF;4\n"}});
  SearchLexicons lexicons(lists);
  const Lexicon* all = lexicons.ForLength(2);
  ASSERT_NE(all, nullptr);
  EXPECT_EQ(all->size(), 3u);
  EXPECT_EQ(lexicons.ForLength(2), all);  // built once
  lexicons.SetExcluded({"AB", "XYZ"});
  const Lexicon* some = lexicons.ForLength(2);
  ASSERT_EQ(some->size(), 2u);
  EXPECT_EQ(some->Word(0), "CD");
  EXPECT_EQ(some->Entry(0), 1u);
  EXPECT_EQ(some->Find("AB"), ~std::uint32_t{0});
  EXPECT_EQ(some->Find("EF"), 1u);
  EXPECT_EQ(lexicons.ForLength(0), nullptr);
  EXPECT_EQ(lexicons.ForLength(kMaxEntryLength + 1), nullptr);

  const SearchResult result =
      Search(MakeGrid({"**"}), lexicons, SearchOptions());
  ASSERT_EQ(result.outcome, SearchOutcome::kFilled);
  EXPECT_EQ(result.words[0]->word, "CD");
  EXPECT_EQ(result.words[0]->entry, 1u);
}

// Every word of three letters over A..H (512), and their single letters.
WordLists ThreeLetterLists() {
  std::string singles;
  std::string triples;
  for (char a = 'A'; a <= 'H'; ++a) {
    singles += std::string(1, a) + ";x\n";
    for (char b = 'A'; b <= 'H'; ++b) {
      for (char c = 'A'; c <= 'H'; ++c) {
        triples += std::string{a, b, c} + ";x\n";
      }
    }
  }
  return ListsOf({{1, singles}, {3, triples}});
}

// Cut short by the caller's time, once the limit is reached and 64 words
// were tested, or by the stop, asked every 256 tests: the untested words
// count as the root leaves them, and the answer is not exact.
TEST(FitSlotTest, CutShortCountsTheUntestedWords) {
  WordLists lists = ThreeLetterLists();
  SearchLexicons lexicons(lists);
  const Grid open = MakeGrid({"***"});
  int asked = 0;
  const FittingWords timed =
      FitSlot(open, lexicons, 0, 2, SearchOptions(), [&asked] {
        ++asked;
        return true;
      });
  EXPECT_EQ(asked, 1);
  EXPECT_FALSE(timed.exact);
  EXPECT_EQ(timed.count, 512u);
  ASSERT_EQ(timed.words.size(), 2u);
  EXPECT_EQ(timed.words[0].word, "AAA");
  EXPECT_EQ(timed.words[1].word, "AAB");

  SearchOptions options;
  int stops = 0;
  // The stop is asked before each word: the 256th question stops the tests.
  options.stop = [&stops](const SearchProgress&) { return ++stops == 256; };
  const FittingWords stopped = FitSlot(open, lexicons, 0, 1000, options);
  EXPECT_EQ(stops, 256);
  EXPECT_FALSE(stopped.exact);
  EXPECT_EQ(stopped.count, 512u);
  EXPECT_EQ(stopped.words.size(), 255u);

  const FittingWords whole = FitSlot(open, lexicons, 0, 2, SearchOptions());
  EXPECT_TRUE(whole.exact);
  EXPECT_EQ(whole.count, 512u);
}

}  // namespace
}  // namespace polimreza
