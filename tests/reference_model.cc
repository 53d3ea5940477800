// The plain whole run: every turn rescans the Grid to choose a slot, every
// crossing check looks up every complete slot from the start of its list,
// and every rejected candidate is undone by copying the whole Grid back.
#include "reference_model.h"

#include <cstdint>
#include <sstream>
#include <string_view>
#include <utility>
#include <vector>

#include "driver/pattern_loader.h"
#include "grid/grid.h"
#include "text/text_lines.h"

namespace polimreza::reference {
namespace {

// One list file as the lines it holds, every line kept, valid or not.
struct LineList {
  std::vector<std::string> lines;
};

LineList ReadLines(const std::optional<std::string>& text) {
  LineList list;
  if (!text) return list;
  std::istringstream in(*text);
  TextLineReader reader(in);
  std::string line;
  while (!reader.AtEnd()) {
    reader.ReadLine(line);
    list.lines.push_back(line);
  }
  return list;
}

int MatchPattern(const std::string& pattern, const std::string& word) {
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    char w = i < word.size() ? word[i] : '\0';
    if (pattern[i] != w && pattern[i] != '*') return 0;
  }
  return 1;
}

class Model {
 public:
  explicit Model(const ListTexts& texts) {
    for (std::size_t k = 0; k < lists_.size(); ++k) {
      lists_[k] = ReadLines(texts[k]);
    }
  }

  std::string Run(const std::string& pattern_text) {
    std::istringstream pattern(pattern_text);
    LoadedPattern loaded = LoadPattern(pattern);
    out_ << "MaxVodoravno:" << loaded.width << ", MaxUspravno:" << loaded.height
         << '\n';
    if (loaded.refusal) {
      out_ << "Ilegalan karakter u fajlu\nProgram ce se ugasiti\n";
      return out_.str();
    }
    grid_ = std::move(loaded.grid);
    if (RefuseLongSlot()) return out_.str();
    across_clues_.assign(grid_.CellCount(), "");
    down_clues_.assign(grid_.CellCount(), "");
    if (FillLoop()) {
      out_ << "Ukrstenica je resena\nSad cu je prikazati...\n\n";
      PrintGrid();
      PrintClues();
    }
    return out_.str();
  }

 private:
  std::string DirectionName(int direction) {
    return direction == ACROSS ? "vodoravno" : "uspravno";
  }

  // The first slot longer than 9 squares, row by row, ACROSS before DOWN.
  bool RefuseLongSlot() {
    for (std::size_t r = 0; r < grid_.gridHeight(); ++r) {
      for (std::size_t c = 0; c < grid_.gridWidth(); ++c) {
        for (int d : {ACROSS, DOWN}) {
          if (!grid_.IsSlotStart(c, r, d)) continue;
          unsigned length = grid_.SlotLength(grid_.Index(c, r), d);
          if (length <= 9) continue;
          out_ << "Rec na mestu (" << c + 1 << ',' << r + 1 << ") "
               << DirectionName(d) << " ima " << length
               << " polja, a najvise moze da ima 9\nProgram ce se ugasiti\n";
          return true;
        }
      }
    }
    return false;
  }

  // Searches the list of the pattern's length line by line from line
  // `from`, skipping lines that are not valid entries.
  std::int64_t FindWord(const std::string& pattern, std::string& word_out,
                        std::string& clue_out, std::int64_t from) {
    const std::size_t length = pattern.size();
    if (length < 1 || length > 9) return -1;
    const std::vector<std::string>& lines = lists_[length - 1].lines;
    for (std::size_t k = static_cast<std::size_t>(from); k < lines.size();
         ++k) {
      const std::string& line = lines[k];
      if (line.empty()) continue;
      std::size_t semicolon = line.find(';');
      if (semicolon == std::string::npos) continue;
      if (line.find('\0') != std::string::npos) continue;
      std::string word = line.substr(0, semicolon);
      if (word.size() != length) continue;
      if (word.find('*') != std::string::npos) continue;
      if (word.find('#') != std::string::npos) continue;
      if (MatchPattern(pattern, word)) {
        word_out = word;
        clue_out = line.substr(semicolon + 1);
        return static_cast<std::int64_t>(k + 1);
      }
    }
    return -1;
  }

  std::int64_t ChooseSlot(int direction) {
    float best = 100.0f;
    std::int64_t result = -1;
    const std::int64_t width = grid_.gridWidth();
    const std::int64_t height = grid_.gridHeight();
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
    const int other = direction == ACROSS ? DOWN : ACROSS;
    std::vector<std::string>& clues =
        other == ACROSS ? across_clues_ : down_clues_;
    std::string word;
    std::string clue;
    for (std::size_t c = 0; c < grid_.gridWidth(); ++c) {
      for (std::size_t r = 0; r < grid_.gridHeight(); ++r) {
        CellIndex i = grid_.Index(c, r);
        if (!grid_.IsSlotStart(c, r, other)) continue;
        if (grid_.CountEmpty(i, other) != 0) continue;
        if (FindWord(grid_.ReadSlot(i, other), word, clue, 0) == -1) return 0;
        clues[i] = clue;
      }
    }
    return 1;
  }

  // True when the Grid was filled; false after the failure report.
  bool FillLoop() {
    // A Grid with no empty square is solved before any turn.
    if (grid_.IsGridFull()) return true;
    int direction = ACROSS;
    std::string word;
    std::string clue;
    for (;;) {
      const Grid snapshot = grid_;
      std::int64_t n = ChooseSlot(direction);
      if (n < 0) {
        out_ << "<model: no slot to choose>\n";
        return false;
      }
      const auto start = static_cast<CellIndex>(n);
      const std::string pattern = grid_.ReadSlot(start, direction);
      std::int64_t position = 0;
      for (;;) {
        position = FindWord(pattern, word, clue, position);
        if (position == -1) {
          ReportFailure(pattern, start, direction);
          return false;
        }
        grid_.WriteSlot(word, start, direction);
        if (CheckCrossings(direction)) {
          (direction == ACROSS ? across_clues_ : down_clues_)[start] = clue;
          break;
        }
        grid_ = snapshot;
      }
      direction = direction == ACROSS ? DOWN : ACROSS;
      if (grid_.IsGridFull()) return true;
    }
  }

  void PrintGrid() {
    for (std::size_t r = 0; r < grid_.gridHeight(); ++r) {
      for (std::size_t c = 0; c < grid_.gridWidth(); ++c) {
        out_ << static_cast<char>(grid_.Cell(grid_.Index(c, r)) & 0xFF);
      }
      out_ << '\n';
    }
  }

  void PrintClues() {
    for (int d : {ACROSS, DOWN}) {
      out_ << (d == ACROSS ? "Vodoravno:\n" : "\nUspravno:\n");
      const std::vector<std::string>& clues =
          d == ACROSS ? across_clues_ : down_clues_;
      int counter = 0;
      for (std::size_t i = 0; i < grid_.CellCount(); ++i) {
        std::size_t c = i % grid_.gridWidth();
        std::size_t r = (i - c) / grid_.gridWidth();
        if (!grid_.IsSlotStart(c, r, d)) continue;
        out_ << counter << '.' << clues[i] << '\n';
        ++counter;
      }
    }
  }

  void ReportFailure(const std::string& pattern, CellIndex start,
                     int direction) {
    std::size_t c = start % grid_.gridWidth();
    std::size_t r = (start - c) / grid_.gridWidth();
    out_ << "Nazalost, ukrstenica ne moze da se resi. Ovo je jos probna "
            "verzija programa.\n";
    out_ << "Pokusajte sa manjom ukrstenicom ili sacekajte novu verziju "
            "programa\n";
    out_ << "Prikazacu dokle sam uspeo da resim...\n\n";
    PrintGrid();
    out_ << "\nRec koju ne mogu da nadjem u bazi je: " << pattern
         << " na mestu (" << c + 1 << ',' << r + 1 << ") "
         << DirectionName(direction) << '\n';
  }

  std::array<LineList, 9> lists_;
  std::ostringstream out_;
  Grid grid_;
  std::vector<std::string> across_clues_;
  std::vector<std::string> down_clues_;
};

}  // namespace

std::string Run(const std::string& pattern, const ListTexts& lists) {
  Model model(lists);
  return model.Run(pattern);
}

}  // namespace polimreza::reference
