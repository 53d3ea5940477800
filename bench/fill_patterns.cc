// Writes the patterns of the fill benchmark, and for each the same crossword
// as a deck for qxw's batch mode:
//   polimreza_fill_patterns FOLDER [COUNT [long|clean]]
// For every size 9, 11, 13, 15 and black share 18%, 24%, 30%: COUNT
// (default 10) rotationally symmetric patterns FOLDER/S-P-KK.txt with their
// decks FOLDER/S-P-KK.qxd. No run of open squares is longer than 9 or
// shorter than 2, so every open square is crossed both ways. With "long":
// sizes 13, 15, 17 and black shares 18%, 21%, 24% instead, runs as long as
// the grid allowed (the long-entry classes). With "clean": the same sizes
// and shares, drawn as a constructor draws them: every run of 3 squares or
// more and no 2x2 block of black squares. Only std::mt19937's raw output is
// used, so every platform makes the same bytes.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr std::uint32_t kSeed = 20261207;
constexpr int kSizes[] = {9, 11, 13, 15};
constexpr int kPercents[] = {18, 24, 30};
constexpr int kLongest = 9;
constexpr int kLongSizes[] = {13, 15, 17};
constexpr int kLongPercents[] = {18, 21, 24};

class Pattern {
 public:
  explicit Pattern(int size)
      : size_(size), black_(static_cast<std::size_t>(size * size), false) {}

  int Size() const { return size_; }
  bool Black(int row, int column) const {
    return row < 0 || column < 0 || row >= size_ || column >= size_ ||
           black_[static_cast<std::size_t>(row * size_ + column)];
  }
  // Blackens the square and its mirror through the centre.
  void Blacken(int row, int column) {
    black_[static_cast<std::size_t>(row * size_ + column)] = true;
    black_[static_cast<std::size_t>((size_ - 1 - row) * size_ +
                                    (size_ - 1 - column))] = true;
  }
  int BlackCount() const {
    int count = 0;
    for (bool black : black_) count += black;
    return count;
  }
  // Length of the run through (row, column) in direction (dr, dc), or 0 on
  // a black square.
  int RunLength(int row, int column, int dr, int dc) const {
    if (Black(row, column)) return 0;
    int length = 1;
    for (int r = row - dr, c = column - dc; !Black(r, c); r -= dr, c -= dc) {
      ++length;
    }
    for (int r = row + dr, c = column + dc; !Black(r, c); r += dr, c += dc) {
      ++length;
    }
    return length;
  }
  std::string Text() const {
    std::string text;
    for (int row = 0; row < size_; ++row) {
      for (int column = 0; column < size_; ++column) {
        text += Black(row, column) ? '#' : '*';
      }
      text += '\n';
    }
    return text;
  }

 private:
  int size_;
  std::vector<bool> black_;
};

// Breaks every run longer than `longest` at a random square that leaves at
// least two squares on each side, and blackens every square whose run across
// or down is a single square; repeats until neither is left.
void Tidy(Pattern& pattern, int longest, std::mt19937& rng) {
  const int size = pattern.Size();
  for (bool changed = true; changed;) {
    changed = false;
    for (int row = 0; row < size; ++row) {
      for (int column = 0; column < size; ++column) {
        for (int across = 0; across < 2; ++across) {
          const int dr = across ? 0 : 1, dc = across ? 1 : 0;
          const int length = pattern.RunLength(row, column, dr, dc);
          const bool starts = !pattern.Black(row, column) &&
                              pattern.Black(row - dr, column - dc);
          if (length == 1) {
            pattern.Blacken(row, column);
            changed = true;
          } else if (starts && length > longest) {
            const int at = 2 + static_cast<int>(rng() % (length - 4));
            pattern.Blacken(row + at * dr, column + at * dc);
            changed = true;
          }
        }
      }
    }
  }
}

Pattern MakePattern(int size, int percent, int longest, std::mt19937& rng) {
  Pattern pattern(size);
  const int target = (size * size * percent + 50) / 100;
  Tidy(pattern, longest, rng);
  while (pattern.BlackCount() < target) {
    const auto cell = static_cast<int>(rng() % (size * size));
    pattern.Blacken(cell / size, cell % size);
    Tidy(pattern, longest, rng);
  }
  return pattern;
}

// Whether every run across and down has at least 3 squares and no 2x2
// block is all black.
bool Clean(const Pattern& pattern) {
  const int size = pattern.Size();
  for (int row = 0; row < size; ++row) {
    for (int column = 0; column < size; ++column) {
      if (row + 1 < size && column + 1 < size && pattern.Black(row, column) &&
          pattern.Black(row + 1, column) && pattern.Black(row, column + 1) &&
          pattern.Black(row + 1, column + 1)) {
        return false;
      }
      for (int across = 0; across < 2; ++across) {
        const int length =
            pattern.RunLength(row, column, across ? 0 : 1, across ? 1 : 0);
        if (length == 1 || length == 2) return false;
      }
    }
  }
  return true;
}

// A clean pattern: black squares (with their twins) drawn at random and kept
// only when the pattern stays clean, starting afresh when 1,000 draws in a
// row are refused.
Pattern MakeCleanPattern(int size, int percent, std::mt19937& rng) {
  const int target = (size * size * percent + 50) / 100;
  for (;;) {
    Pattern pattern(size);
    for (int refused = 0; refused < 1000 && pattern.BlackCount() < target;) {
      const auto cell = static_cast<int>(rng() % (size * size));
      const int row = cell / size, column = cell % size;
      if (pattern.Black(row, column)) {
        ++refused;
        continue;
      }
      Pattern tried = pattern;
      tried.Blacken(row, column);
      if (Clean(tried)) {
        pattern = tried;
        refused = 0;
      } else {
        ++refused;
      }
    }
    if (pattern.BlackCount() >= target) return pattern;
  }
}

// The deck: open squares numbered from 0 in reading order; one light a line,
// its squares' numbers, across slots in reading order, then down slots.
std::string Deck(const Pattern& pattern) {
  const int size = pattern.Size();
  std::vector<int> number(static_cast<std::size_t>(size * size), -1);
  int next = 0;
  for (int cell = 0; cell < size * size; ++cell) {
    if (!pattern.Black(cell / size, cell % size)) {
      number[static_cast<std::size_t>(cell)] = next++;
    }
  }
  std::string deck;
  for (int across = 1; across >= 0; --across) {
    const int dr = across ? 0 : 1, dc = across ? 1 : 0;
    for (int row = 0; row < size; ++row) {
      for (int column = 0; column < size; ++column) {
        if (pattern.Black(row, column) ||
            !pattern.Black(row - dr, column - dc)) {
          continue;
        }
        std::string light;
        for (int r = row, c = column; !pattern.Black(r, c); r += dr, c += dc) {
          if (!light.empty()) light += ' ';
          light +=
              std::to_string(number[static_cast<std::size_t>(r * size + c)]);
        }
        deck += light + '\n';
      }
    }
  }
  return deck;
}

bool WriteFile(const fs::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string kind = argc == 4 ? argv[3] : "";
  const bool clean = kind == "clean";
  const bool long_runs = kind == "long" || clean;
  if (argc < 2 || argc > 4 || (argc == 4 && !long_runs)) {
    std::fprintf(stderr, "usage: %s FOLDER [COUNT [long|clean]]\n", argv[0]);
    return 2;
  }
  const fs::path folder = argv[1];
  const int count = argc >= 3 ? std::atoi(argv[2]) : 10;
  fs::create_directories(folder);
  bool ok = true;
  const std::vector<int> sizes =
      long_runs ? std::vector<int>(std::begin(kLongSizes), std::end(kLongSizes))
                : std::vector<int>(std::begin(kSizes), std::end(kSizes));
  const std::vector<int> percents =
      long_runs
          ? std::vector<int>(std::begin(kLongPercents), std::end(kLongPercents))
          : std::vector<int>(std::begin(kPercents), std::end(kPercents));
  for (int size : sizes) {
    for (int percent : percents) {
      // One generator per class, so a class does not change with COUNT or
      // with the classes before it.
      const std::uint32_t kind_seed = clean ? 2000u : long_runs ? 1000u : 0u;
      std::mt19937 rng(kSeed + kind_seed +
                       static_cast<std::uint32_t>(size * 100 + percent));
      for (int k = 1; k <= count; ++k) {
        const Pattern pattern =
            clean
                ? MakeCleanPattern(size, percent, rng)
                : MakePattern(size, percent, long_runs ? size : kLongest, rng);
        char name[32];
        std::snprintf(name, sizeof name, "%d-%d-%02d", size, percent, k);
        ok = WriteFile(folder / (std::string(name) + ".txt"), pattern.Text()) &&
             WriteFile(folder / (std::string(name) + ".qxd"), Deck(pattern)) &&
             ok;
      }
    }
  }
  if (!ok) std::fprintf(stderr, "cannot write into %s\n", argv[1]);
  return ok ? 0 : 1;
}
