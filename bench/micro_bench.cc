// Google Benchmark timings of the parts the fill spends its time in: pattern
// search and exact lookup in a list, slot choice, crossing check, reading a
// list, whole fills, and the constructor's query of the words that fit a
// slot. Timings only; nothing here asserts a speed.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <sstream>
#include <string>
#include <variant>
#include <vector>

#include "bench_inputs.h"
#include "grid/clue_squares.h"
#include "grid/clue_table.h"
#include "grid/grid.h"
#include "grid/pattern_reader.h"
#include "search/queries.h"
#include "solver/solver.h"
#include "wordlist/word_list.h"

namespace polimreza::bench {
namespace {

constexpr std::uint32_t kSeed = 20240605;

ListOpener OpenerFor(const ListTexts& texts) {
  return [&texts](unsigned length) -> std::unique_ptr<std::istream> {
    if (length < 1 || length > 9 || !texts[length - 1]) return nullptr;
    return std::make_unique<std::istringstream>(*texts[length - 1]);
  };
}

const ListTexts& RealLists() {
  static const ListTexts lists = RealisticWordLists(kSeed);
  return lists;
}

const ListTexts& ShortLists() {
  static const ListTexts lists = ShortWordLists(kSeed);
  return lists;
}

Grid Load(const std::string& pattern) {
  std::istringstream in(pattern);
  return LoadPattern(in).grid;
}

// `pattern` with a share of its empty squares given a letter 'A'..'P'.
std::string WithGivenLetters(std::string pattern, unsigned percent) {
  unsigned state = 12345;
  for (char& c : pattern) {
    if (c != '*') continue;
    state = state * 1103515245u + 12345u;
    if ((state >> 16) % 100 < percent) c = static_cast<char>('A' + state % 16);
  }
  return pattern;
}

// The words of the realistic list of 7 letters, in list order.
std::vector<std::string> SevenLetterWords() {
  WordLists lists(OpenerFor(RealLists()));
  const WordList* list = lists.List(7);
  std::vector<std::string> words;
  for (std::size_t e = 0; e < list->size(); ++e) {
    words.emplace_back(list->Word(e));
  }
  return words;
}

// Reading and indexing the realistic list of 7-letter words (10,000 entries).
void BM_ReadList(benchmark::State& state) {
  const std::string& text = *RealLists()[6];
  for (auto _ : state) {
    std::istringstream in(text);
    WordList list(in, 7);
    benchmark::DoNotOptimize(list.size());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_ReadList)->Unit(benchmark::kMillisecond);

// One FindWord call, resuming through every fitting entry of patterns of 7
// squares that keep state.range(0) letters of list words (0: all '*').
void BM_FindWord(benchmark::State& state) {
  WordLists lists(OpenerFor(RealLists()));
  lists.List(7);  // read before the timing starts
  const std::vector<std::string> words = SevenLetterWords();
  const auto given = static_cast<std::size_t>(state.range(0));
  std::vector<std::string> patterns;
  for (std::size_t n = 0; n < 64; ++n) {
    std::string pattern = words[(n * 7919) % words.size()];
    for (std::size_t k = given; k < pattern.size(); ++k) {
      pattern[(k * 3 + n) % pattern.size()] = '*';
    }
    patterns.push_back(pattern);
  }
  std::string word;
  std::string clue;
  std::size_t which = 0;
  std::int64_t position = 0;
  std::int64_t found = 0;
  for (auto _ : state) {
    position = lists.FindWord(patterns[which], word, clue, position);
    if (position < 0) {
      position = 0;
      which = (which + 1) % patterns.size();
    } else {
      ++found;
    }
  }
  state.counters["found"] = static_cast<double>(found);
}
BENCHMARK(BM_FindWord)->Arg(0)->Arg(1)->Arg(2)->Arg(3)->Arg(7);

// The exact lookup of a complete slot: words of the list, then words that
// are not in it.
void BM_FindClue(benchmark::State& state) {
  WordLists lists(OpenerFor(RealLists()));
  lists.List(7);  // read before the timing starts
  std::vector<std::string> words = SevenLetterWords();
  if (state.range(0) == 0) {
    for (std::string& word : words) word[3] = 'Q';  // no Q in any word
  }
  std::size_t which = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(lists.FindClue(words[which]));
    which = (which + 1) % words.size();
  }
}
BENCHMARK(BM_FindClue)->Arg(1)->Arg(0);

// ChooseSlot on a short-slot grid of state.range(0) squares a side with 30%
// of its squares given, so that slots of every ratio compete.
void BM_ChooseSlot(benchmark::State& state) {
  const auto size = static_cast<unsigned>(state.range(0));
  Grid grid = Load(WithGivenLetters(ShortSlotPattern(size, kSeed), 30));
  ClueTables clues;
  WordLists lists(OpenerFor(ShortLists()));
  Solver solver(grid, clues, lists);
  int direction = ACROSS;
  for (auto _ : state) {
    benchmark::DoNotOptimize(solver.ChooseSlot(direction));
    direction = OtherDirection(direction);
  }
}
BENCHMARK(BM_ChooseSlot)->Arg(40)->Arg(199);

// A filled short-slot grid of state.range(0) squares a side with one ACROSS
// slot emptied again, and a solver over it.
struct OneSlotLeft {
  explicit OneSlotLeft(unsigned size) : lists(OpenerFor(ShortLists())) {
    grid = Load(ShortSlotPattern(size, kSeed));
    {
      ClueTables fill_clues;
      Solver fill(grid, fill_clues, lists);
      fill.FillLoop();
    }
    // The ACROSS slot of 3 squares nearest the middle of the grid.
    for (CellIndex i = grid.CellCount() / 2; i < grid.CellCount(); ++i) {
      std::size_t column = i % grid.gridWidth();
      std::size_t row = i / grid.gridWidth();
      if (grid.IsSlotStart(column, row, ACROSS) &&
          grid.SlotLength(i, ACROSS) == 3) {
        start = i;
        break;
      }
    }
    word = grid.ReadSlot(start, ACROSS);
    for (unsigned k = 0; k < 3; ++k) grid.SetCell(start + k, CELL_EMPTY);
  }
  Grid grid;
  WordLists lists;
  CellIndex start = 0;
  std::string word;
};

// The first crossing check of a grid whose DOWN slots are nearly all
// complete: every one of them is looked up once.
void BM_CheckCrossingsFirst(benchmark::State& state) {
  OneSlotLeft setup(static_cast<unsigned>(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    Grid grid = setup.grid;
    ClueTables clues;
    Solver solver(grid, clues, setup.lists);
    state.ResumeTiming();
    benchmark::DoNotOptimize(solver.CheckCrossings(ACROSS));
  }
}
BENCHMARK(BM_CheckCrossingsFirst)
    ->Arg(40)
    ->Arg(199)
    ->Unit(benchmark::kMicrosecond);

// One attempt of a turn on that grid once its first check is done: write a
// word into the empty slot, check the crossings, undo.
void BM_CheckCrossingsAttempt(benchmark::State& state) {
  OneSlotLeft setup(static_cast<unsigned>(state.range(0)));
  ClueTables clues;
  Solver solver(setup.grid, clues, setup.lists);
  solver.CheckCrossings(ACROSS);
  for (auto _ : state) {
    solver.WriteSlot(setup.word, setup.start, ACROSS);
    benchmark::DoNotOptimize(solver.CheckCrossings(ACROSS));
    solver.UndoWrite();
  }
}
BENCHMARK(BM_CheckCrossingsAttempt)->Arg(40)->Arg(199);

// A whole fill (solver built, every turn, clues recorded), lists already
// read: the short-slot grid of state.range(0) squares a side.
void BM_FillShortSlots(benchmark::State& state) {
  const Grid pattern =
      Load(ShortSlotPattern(static_cast<unsigned>(state.range(0)), kSeed));
  WordLists lists(OpenerFor(ShortLists()));
  for (unsigned length = 1; length <= 3; ++length) lists.List(length);
  for (auto _ : state) {
    Grid grid = pattern;
    ClueTables clues;
    Solver solver(grid, clues, lists);
    benchmark::DoNotOptimize(solver.FillLoop());
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(pattern.CellCount()));
}
BENCHMARK(BM_FillShortSlots)
    ->Arg(40)
    ->Arg(80)
    ->Arg(100)
    ->Arg(199)
    ->Unit(benchmark::kMillisecond);

// The whole fill of the realistic 15x15 pattern, lists already read.
void BM_FillRealistic(benchmark::State& state) {
  const Grid pattern = Load(RealisticPattern());
  WordLists lists(OpenerFor(RealLists()));
  for (unsigned length = 4; length <= 9; ++length) lists.List(length);
  for (auto _ : state) {
    Grid grid = pattern;
    ClueTables clues;
    Solver solver(grid, clues, lists);
    benchmark::DoNotOptimize(solver.FillLoop());
  }
}
BENCHMARK(BM_FillRealistic)->Unit(benchmark::kMicrosecond);

// Lists of about 100,000 entries: the realistic lists of two seeds, one
// after the other.
const ListTexts& LargeLists() {
  static const ListTexts lists = [] {
    ListTexts merged = RealisticWordLists(kSeed);
    const ListTexts more = RealisticWordLists(kSeed + 1);
    for (std::size_t k = 0; k < merged.size(); ++k) {
      if (merged[k] && more[k]) *merged[k] += *more[k];
    }
    return merged;
  }();
  return lists;
}

// FitSlot (at most 50 words shown) on the realistic 15x15 pattern with the
// large lists, each slot in turn: empty (range 0), or with every fourth slot
// of a fill written in (range 1). Counters: the 95th percentile and the
// largest time of one query, in milliseconds, and the share of inexact
// answers.
void BM_FitSlot(benchmark::State& state) {
  WordLists lists(OpenerFor(LargeLists()));
  SearchLexicons lexicons(lists);
  Grid grid = Load(RealisticPattern());
  const std::vector<Slot> slots = FindSlots(grid);
  if (state.range(0) == 1) {
    const SearchResult fill = Search(grid, lexicons, SearchOptions());
    if (fill.outcome == SearchOutcome::kFilled) {
      for (std::size_t s = 0; s < slots.size(); s += 4) {
        grid.WriteSlot(fill.words[s]->word, slots[s].start, slots[s].direction);
      }
    }
  }
  std::vector<double> times;
  std::size_t inexact = 0;
  std::size_t next = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    // The studio's budget: 10 ms of testing once 50 words fit.
    const auto deadline = start + std::chrono::milliseconds(10);
    const FittingWords fit = FitSlot(
        grid, lexicons, next, 50, SearchOptions(),
        [deadline] { return std::chrono::steady_clock::now() >= deadline; });
    times.push_back(std::chrono::duration<double, std::milli>(
                        std::chrono::steady_clock::now() - start)
                        .count());
    if (!fit.exact) ++inexact;
    benchmark::DoNotOptimize(fit);
    next = (next + 1) % slots.size();
  }
  std::sort(times.begin(), times.end());
  state.counters["p95_ms"] = times[times.size() * 95 / 100];
  state.counters["max_ms"] = times.back();
  state.counters["inexact"] =
      static_cast<double>(inexact) / static_cast<double>(times.size());
}
BENCHMARK(BM_FitSlot)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// A skandinavka of the common layout, `size` x `size`: clue squares along
// the top row and the left column, and inside one square in six, never
// beside another, so every run after a clue square has one before it.
std::string SkandinavkaPattern(int size) {
  std::string pattern;
  unsigned state = 777;
  for (int row = 0; row < size; ++row) {
    for (int column = 0; column < size; ++column) {
      state = state * 1103515245u + 12345u;
      const bool edge = row == 0 || column == 0;
      const bool beside_block =
          (column > 0 && pattern[pattern.size() - 1] == '#') ||
          (row > 0 && pattern[pattern.size() - (size + 1)] == '#');
      const bool inner = row > 1 && column > 1 && row < size - 1 &&
                         column < size - 1 && !beside_block &&
                         (state >> 16) % 6 == 0;
      pattern += edge || inner ? '#' : '*';
    }
    pattern += '\n';
  }
  return pattern;
}

// The clue squares of a 30x30 skandinavka, matched from nothing each time.
void BM_PlaceClues(benchmark::State& state) {
  const Grid grid = Load(SkandinavkaPattern(static_cast<int>(state.range(0))));
  std::size_t words = 0;
  for (auto _ : state) {
    const auto layout = PlaceClues(grid);
    const ClueLayout* placed = std::get_if<ClueLayout>(&layout);
    if (placed == nullptr) {
      state.SkipWithError("the pattern has no clue layout");
      break;
    }
    words = placed->clues.size();
    benchmark::DoNotOptimize(layout);
  }
  state.counters["words"] = static_cast<double>(words);
}
BENCHMARK(BM_PlaceClues)->Arg(13)->Arg(30)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace polimreza::bench

BENCHMARK_MAIN();
