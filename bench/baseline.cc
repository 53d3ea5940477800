// The straightforward fill, kept only as the benchmarks' yardstick: every
// lookup rereads its list file line by line from a byte offset, every turn
// rescans the whole Grid to choose a slot, every crossing check looks up every
// complete slot from the start of its list, and a rejected candidate is undone
// by copying the whole Grid back. It prints what Polimreza prints.
//   polimreza_baseline PATTERN     a whole run, lists from the current folder
//   polimreza_baseline --read-lists  reads "1.txt".."9.txt" once, line by line
#include <array>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <string>
#include <utility>

#include "driver/pattern_loader.h"
#include "grid/clue_table.h"
#include "grid/grid.h"
#include "report/report.h"

namespace polimreza::baseline {
namespace {

constexpr std::size_t kMaxPiece = 199;
constexpr int kEndOfText = 26;

// Reads one text line straight from the stream: at most 199 bytes, the line
// feed (and a carriage return just before it) dropped, Ctrl-Z ending the
// text; the read that meets the end sets the end-of-file flag.
void ReadLine(std::istream& in, std::string& line) {
  line.clear();
  std::streambuf* buffer = in.rdbuf();
  while (line.size() < kMaxPiece) {
    int c = buffer->sgetc();
    if (c == std::char_traits<char>::eof() || c == kEndOfText) {
      in.setstate(std::ios::eofbit);
      return;
    }
    buffer->sbumpc();
    if (c == '\n') return;
    if (c == '\r' && buffer->sgetc() == '\n') {
      buffer->sbumpc();
      return;
    }
    line.push_back(static_cast<char>(c));
  }
}

class Baseline {
 public:
  void OpenLists() {
    for (std::size_t k = 0; k < lists_.size(); ++k) {
      lists_[k].open(std::to_string(k + 1) + ".txt", std::ios::binary);
    }
  }

  // Reads every list once from start to end; gives the number of lines.
  std::size_t ReadListsOnce() {
    std::size_t lines = 0;
    std::string line;
    for (std::ifstream& list : lists_) {
      if (!list.is_open()) continue;
      list.seekg(0);
      list.clear();
      while (!list.eof()) {
        ReadLine(list, line);
        ++lines;
      }
    }
    return lines;
  }

  void Run(std::istream& pattern, std::ostream& out) {
    LoadedPattern loaded = LoadPattern(pattern);
    PrintDimensions(out, loaded.width, loaded.height);
    if (loaded.refusal) {
      if (loaded.refusal->kind == PatternRefusalKind::kIllegalCharacter) {
        out << IllegalCharacterRefusal();
      }
      return;
    }
    grid_ = std::move(loaded.grid);
    if (auto slot = FindLongSlot(grid_)) {
      out << LongSlotRefusal(grid_, *slot);
      return;
    }
    OpenLists();
    if (!FillLoop(out)) return;
    PrintSolved(out, grid_, clues_);
  }

 private:
  // Seeks to `from` in the list of the pattern's length and reads on, line
  // by line, to the first valid entry whose word fits.
  std::int64_t FindWord(const std::string& pattern, std::string& word_out,
                        std::string& clue_out, std::int64_t from) {
    const std::size_t length = pattern.size();
    if (length < 1 || length > lists_.size()) return -1;
    std::ifstream& list = lists_[length - 1];
    list.seekg(from);
    list.clear();
    while (!list.eof()) {
      ReadLine(list, line_);
      if (line_.empty()) continue;
      std::size_t semicolon = line_.find(';');
      if (semicolon == std::string::npos || semicolon != length) continue;
      if (line_.find('\0') != std::string::npos) continue;
      bool fits = true;
      for (std::size_t i = 0; i < length && fits; ++i) {
        char c = line_[i];
        if (c == '*' || c == '#' || (pattern[i] != '*' && pattern[i] != c)) {
          fits = false;
        }
      }
      if (!fits) continue;
      word_out.assign(line_, 0, length);
      clue_out.assign(line_, length + 1);
      return list.rdbuf()->pubseekoff(0, std::ios::cur, std::ios::in);
    }
    return -1;
  }

  std::int64_t ChooseSlot(int direction) const {
    float best = 100.0f;
    std::int64_t result = -1;
    const auto width = static_cast<std::int64_t>(grid_.gridWidth());
    const auto height = static_cast<std::int64_t>(grid_.gridHeight());
    auto visit = [&](std::int64_t c, std::int64_t r) {
      if (!grid_.IsSlotStart(c, r, direction)) return;
      CellIndex i = grid_.Index(c, r);
      float p = static_cast<float>(grid_.CountEmpty(i, direction) * 100.0);
      double ratio = p / static_cast<double>(grid_.SlotLength(i, direction));
      if (best >= ratio && ratio != 0) {
        best = static_cast<float>(ratio);
        result = static_cast<std::int64_t>(i);
      }
    };
    if (direction == ACROSS) {
      for (std::int64_t r = height - 1; r >= 0; --r) {
        for (std::int64_t c = width - 1; c >= 0; --c) visit(c, r);
      }
    } else {
      for (std::int64_t c = width - 1; c >= 0; --c) {
        for (std::int64_t r = height - 1; r >= 0; --r) visit(c, r);
      }
    }
    return result;
  }

  int CheckCrossings(int direction) {
    const int other = OtherDirection(direction);
    for (std::size_t c = 0; c < grid_.gridWidth(); ++c) {
      for (std::size_t r = 0; r < grid_.gridHeight(); ++r) {
        CellIndex i = grid_.Index(c, r);
        if (!grid_.IsSlotStart(c, r, other)) continue;
        if (grid_.CountEmpty(i, other) != 0) continue;
        if (FindWord(grid_.ReadSlot(i, other), word_, clue_, 0) == -1) {
          return 0;
        }
        clues_.For(other).Record(i, clue_);
      }
    }
    return 1;
  }

  bool FillLoop(std::ostream& out) {
    if (grid_.IsGridFull()) return true;
    Grid snapshot;
    int direction = ACROSS;
    std::string word;
    std::string clue;
    for (;;) {
      snapshot = grid_;
      std::int64_t n = ChooseSlot(direction);
      if (n < 0) return true;  // cannot happen while a square is empty
      const auto start = static_cast<CellIndex>(n);
      const std::string pattern = grid_.ReadSlot(start, direction);
      std::int64_t position = 0;
      for (;;) {
        position = FindWord(pattern, word, clue, position);
        if (position == -1) {
          PrintFailure(out, grid_, pattern, start, direction);
          return false;
        }
        grid_.WriteSlot(word, start, direction);
        if (CheckCrossings(direction)) {
          clues_.For(direction).Record(start, clue);
          break;
        }
        grid_ = snapshot;
      }
      direction = OtherDirection(direction);
      if (grid_.IsGridFull()) return true;
    }
  }

  std::array<std::ifstream, 9> lists_;
  Grid grid_;
  ClueTables clues_;
  std::string line_;
  std::string word_;
  std::string clue_;
};

}  // namespace
}  // namespace polimreza::baseline

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  polimreza::baseline::Baseline baseline;
  if (argc == 2 && std::string(argv[1]) == "--read-lists") {
    baseline.OpenLists();
    return baseline.ReadListsOnce() > 0 ? 0 : 1;
  }
  if (argc < 2) {
    std::cout << "Koriscenje programa:\nPolimreza <input_file>\n\n"
                 "input_file je izgled (pattern) vase buduce ukrstenice\n";
    return 0;
  }
  std::ifstream pattern(argv[1], std::ios::binary);
  if (!pattern.is_open()) {
    std::cout << "Ne mogu da otvorim " << argv[1]
              << "\nProgram ce se ugasiti\n";
    return 0;
  }
  baseline.Run(pattern, std::cout);
  return 0;
}
