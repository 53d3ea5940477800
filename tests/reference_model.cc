// The plain whole run: every turn rescans the Grid to choose a slot, every
// lookup seeks to its resume byte in the list and reads it line by line,
// every crossing check looks up every complete slot from the start of its
// list, and every rejected candidate is undone by copying the whole Grid
// back. It uses the project's Grid and pattern loader and nothing else.
#include "reference_model.h"

#include <cstdint>
#include <sstream>
#include <utility>
#include <vector>

#include "grid/grid.h"
#include "grid/pattern_reader.h"

namespace polimreza::reference {
namespace {

constexpr std::size_t kMaxPiece = 199;
constexpr int kEndOfText = 26;

class Model {
 public:
  explicit Model(std::ostream& out) : out_(out) {}

  void Run(std::istream& pattern, const ListSource& lists) {
    LoadedPattern loaded = LoadPattern(pattern);
    out_ << "MaxVodoravno:" << loaded.width << ", MaxUspravno:" << loaded.height
         << '\n';
    if (loaded.refusal) {
      out_ << "Ilegalan karakter u fajlu\nProgram ce se ugasiti\n";
      return;
    }
    grid_ = std::move(loaded.grid);
    if (RefuseLongSlot()) return;
    for (std::size_t k = 0; k < lists_.size(); ++k) {
      lists_[k] = lists(static_cast<unsigned>(k + 1));
    }
    across_clues_.assign(grid_.CellCount(), "");
    down_clues_.assign(grid_.CellCount(), "");
    if (FillLoop()) {
      out_ << "Ukrstenica je resena\nSad cu je prikazati...\n\n";
      PrintGrid();
      PrintClues();
    }
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

  // Seeks to byte `from` of the list of the pattern's length and reads on,
  // line by line, to the first valid entry whose word fits; gives the byte
  // after that line, or -1.
  std::int64_t FindWord(const std::string& pattern, std::string& word_out,
                        std::string& clue_out, std::int64_t from) {
    const std::size_t length = pattern.size();
    if (length < 1 || length > lists_.size()) return -1;
    std::istream* list = lists_[length - 1].get();
    if (list == nullptr) return -1;
    list->clear();
    list->seekg(from);
    while (!list->eof()) {
      ReadLine(*list, line_);
      if (line_.empty()) continue;
      const std::size_t semicolon = line_.find(';');
      if (semicolon != length) continue;
      if (line_.find('\0') != std::string::npos) continue;
      bool fits = true;
      for (std::size_t i = 0; i < length && fits; ++i) {
        const char c = line_[i];
        if (c == '*' || c == '#' || (pattern[i] != '*' && pattern[i] != c)) {
          fits = false;
        }
      }
      if (!fits) continue;
      word_out.assign(line_, 0, length);
      clue_out.assign(line_, length + 1);
      return list->rdbuf()->pubseekoff(0, std::ios::cur, std::ios::in);
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
    const int other = direction == ACROSS ? DOWN : ACROSS;
    std::vector<std::string>& clues =
        other == ACROSS ? across_clues_ : down_clues_;
    for (std::size_t c = 0; c < grid_.gridWidth(); ++c) {
      for (std::size_t r = 0; r < grid_.gridHeight(); ++r) {
        CellIndex i = grid_.Index(c, r);
        if (!grid_.IsSlotStart(c, r, other)) continue;
        if (grid_.CountEmpty(i, other) != 0) continue;
        if (FindWord(grid_.ReadSlot(i, other), word_, clue_, 0) == -1) {
          return 0;
        }
        clues[i] = clue_;
      }
    }
    return 1;
  }

  // True when the Grid was filled; false after the failure report.
  bool FillLoop() {
    // A Grid with no empty square is solved before any turn.
    if (grid_.IsGridFull()) return true;
    Grid snapshot;
    int direction = ACROSS;
    std::string word;
    std::string clue;
    for (;;) {
      snapshot = grid_;
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

  std::ostream& out_;
  std::array<std::unique_ptr<std::istream>, 9> lists_;
  Grid grid_;
  std::vector<std::string> across_clues_;
  std::vector<std::string> down_clues_;
  std::string line_;  // scratch buffers reused by every lookup
  std::string word_;
  std::string clue_;
};

}  // namespace

void ReadLine(std::istream& in, std::string& line) {
  line.clear();
  std::streambuf* buffer = in.rdbuf();
  while (line.size() < kMaxPiece) {
    const int c = buffer->sgetc();
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

void Run(std::istream& pattern, const ListSource& lists, std::ostream& out) {
  Model model(out);
  model.Run(pattern, lists);
}

std::string Run(const std::string& pattern, const ListTexts& lists) {
  std::istringstream in(pattern);
  std::ostringstream out;
  Run(
      in,
      [&lists](unsigned length) -> std::unique_ptr<std::istream> {
        if (!lists[length - 1]) return nullptr;
        return std::make_unique<std::istringstream>(*lists[length - 1]);
      },
      out);
  return out.str();
}

}  // namespace polimreza::reference
