// The complete search against the brute-force model on random tiny grids:
// a fill is found exactly when one exists, every fill found is one, and each
// decision's word is the earliest its slot has in any fill that agrees with
// the decisions before it; with weak words, the same among the fills where
// no two of them cross.
#include <cmath>
#include <random>
#include <set>
#include <string_view>

#include "gtest/gtest.h"
#include "search/search.h"
#include "tests/fill_model.h"
#include "tests/test_util.h"

namespace polimreza {
namespace {

struct Instance {
  model::Rows rows;
  std::map<std::size_t, std::vector<std::string>> lists;
  std::string alphabet;
  bool repeats = false;
  std::set<std::string> weak;  // words that may not cross one another
};

// A random grid up to 4x4 with at most `max_combinations` ways to fill it,
// and short random lists over two or three letters (one above 127).
Instance RandomInstance(std::mt19937& random, double max_combinations) {
  const std::string letters = "AB\xC3";
  for (;;) {
    Instance instance;
    instance.alphabet = letters.substr(0, 2 + random() % 2);
    const std::size_t width = 1 + random() % 4;
    const std::size_t height = 1 + random() % 4;
    std::size_t open = 0;
    for (std::size_t r = 0; r < height; ++r) {
      std::string row;
      for (std::size_t c = 0; c < width; ++c) {
        unsigned roll = random() % 10;
        row.push_back(roll < 2 ? '#' : roll < 3 ? "AB"[random() % 2] : '*');
        open += row.back() == '*';
      }
      instance.rows.push_back(row);
    }
    if (std::pow(instance.alphabet.size(), open) > max_combinations) continue;
    for (std::size_t length = 1; length <= 4; ++length) {
      std::vector<std::string>& list = instance.lists[length];
      const std::size_t count = random() % (length == 1 ? 3 : 7);
      for (std::size_t k = 0; k < count; ++k) {
        std::string word;
        for (std::size_t i = 0; i < length; ++i) {
          word.push_back(
              instance.alphabet[random() % instance.alphabet.size()]);
        }
        list.push_back(word);
        if (random() % 5 == 0) list.push_back(word);  // a repeated entry
      }
    }
    instance.repeats = random() % 3 == 0;
    if (random() % 2 == 0) {
      for (const auto& [length, list] : instance.lists) {
        for (const std::string& word : list) {
          if (length >= 2 && random() % 2 == 0) instance.weak.insert(word);
        }
      }
    }
    return instance;
  }
}

std::string ListText(const std::vector<std::string>& words) {
  std::string text;
  for (const std::string& word : words) text += word + ";c\n";
  return text;
}

TEST(FillDifferential, AgreesWithBruteForce) {
  std::mt19937 random(20261207);
  int filled = 0;
  for (int round = 0; round < 2000; ++round) {
    const Instance instance = RandomInstance(random, 20000);
    SCOPED_TRACE("round " + std::to_string(round));
    std::vector<model::Rows> fills = model::AllFills(
        instance.rows, instance.lists, instance.repeats, instance.alphabet);
    std::erase_if(fills, [&instance](const model::Rows& fill) {
      return model::WeakCrossing(fill, instance.weak);
    });
    std::map<unsigned, std::string> texts;
    for (const auto& [length, words] : instance.lists) {
      texts[static_cast<unsigned>(length)] = ListText(words);
    }
    WordLists lists = ListsOf(texts);
    SearchOptions options;
    options.allow_repeats = instance.repeats;
    options.seed = static_cast<std::uint64_t>(round);
    if (!instance.weak.empty()) {
      options.weak = [&instance](std::string_view word) {
        return instance.weak.contains(std::string(word));
      };
    }
    // Runs of one to three decisions: restarts must lose no fill.
    if (round % 2 == 1) options.first_run_nodes = 1 + round % 3;
    // A way back to the preferred words cut short: the slots past the
    // listed decisions keep the words of the fill found by letters.
    if (round % 4 == 3) options.min_preference_nodes = round % 3;
    int checks = 0;
    options.check_state = [&checks](const std::string& broken) {
      ++checks;
      EXPECT_EQ(broken, "");
    };
    const SearchResult result = Search(MakeGrid(instance.rows), lists, options);
    ASSERT_EQ(result.outcome == SearchOutcome::kFilled, !fills.empty());
    // A fill is only reached through propagations that succeed.
    if (result.outcome == SearchOutcome::kFilled) {
      EXPECT_GT(checks, 0);
    }
    if (fills.empty()) continue;
    ++filled;

    model::Rows found = instance.rows;
    const std::size_t width = found[0].size();
    for (std::size_t s = 0; s < result.slots.size(); ++s) {
      const Slot& slot = result.slots[s];
      const std::string& word = result.words[s]->word;
      const std::vector<std::string>& list = instance.lists.at(slot.length);
      // The entry is the word's first one, whose clue is shown.
      ASSERT_EQ(result.words[s]->entry,
                std::find(list.begin(), list.end(), word) - list.begin());
      for (std::size_t k = 0; k < word.size(); ++k) {
        const std::size_t cell =
            slot.start + k * (slot.direction == ACROSS ? 1 : width);
        char& square = found[cell / width][cell % width];
        ASSERT_TRUE(square == '*' || square == word[k]);
        square = word[k];
      }
    }
    ASSERT_TRUE(model::IsFill(found, instance.lists, instance.repeats));
    ASSERT_FALSE(model::WeakCrossing(found, instance.weak));

    // The preference rule, decision by decision.
    std::vector<const model::Rows*> agreeing;
    for (const model::Rows& fill : fills) agreeing.push_back(&fill);
    for (const auto& [s, word] : result.decisions) {
      const Slot& slot = result.slots[s];
      const std::vector<std::string>& list = instance.lists.at(slot.length);
      auto rank = [&](const std::string& w) {
        return std::find(list.begin(), list.end(), w) - list.begin();
      };
      auto read = [&](const model::Rows& rows) {
        std::string w;
        for (std::size_t k = 0; k < slot.length; ++k) {
          const std::size_t cell =
              slot.start + k * (slot.direction == ACROSS ? 1 : width);
          w.push_back(rows[cell / width][cell % width]);
        }
        return w;
      };
      for (const model::Rows* fill : agreeing) {
        ASSERT_GE(rank(read(*fill)), rank(word));
      }
      std::erase_if(agreeing, [&](const model::Rows* fill) {
        return read(*fill) != word;
      });
    }
  }
  EXPECT_GT(filled, 200);
}

}  // namespace
}  // namespace polimreza
