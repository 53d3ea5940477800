// Fuzz target: whole runs in memory, whose output must be well formed and
// agree with what the input allows.
//
// Input: split at each "%%" into a pattern and up to nine word lists ("1.txt"
// first); a list given as "!" is missing, one given as "?" fails to read.
#include <cstddef>
#include <cstdint>
#include <ios>
#include <memory>
#include <optional>
#include <sstream>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

#include "driver/run.h"
#include "fuzz/fuzz_model.h"

namespace polimreza::fuzz {
namespace {

// Patterns stay small so that a run never takes long.
constexpr std::size_t kMaxPatternBytes = 300;

constexpr std::string_view kIllegal =
    "Ilegalan karakter u fajlu\nProgram ce se ugasiti\n";
constexpr std::string_view kSolved =
    "Ukrstenica je resena\nSad cu je prikazati...\n\n";
constexpr std::string_view kFailed =
    "Nazalost, ukrstenica ne moze da se resi. Ovo je jos probna verzija "
    "programa.\nPokusajte sa manjom ukrstenicom ili sacekajte novu verziju "
    "programa\nPrikazacu dokle sam uspeo da resim...\n\n";
constexpr std::string_view kMissing =
    "\nRec koju ne mogu da nadjem u bazi je: ";

// A stream buffer whose every read fails, as a file that opens but cannot be
// read does.
class FailingBuffer : public std::streambuf {
 protected:
  int_type underflow() override { throw std::ios_base::failure("read error"); }
};

class FailingStream : public std::istream {
 public:
  FailingStream() : std::istream(&buffer_) {}

 private:
  FailingBuffer buffer_;
};

struct Slot {
  std::size_t column;
  std::size_t row;
  int direction;
  std::string word;  // the bytes of its cells
};

// A grid as printed: rows of equal width, '#' for a block.
class PrintedGrid {
 public:
  PrintedGrid(std::vector<std::string> rows, std::size_t width)
      : rows_(std::move(rows)), width_(width) {}

  bool Open(std::size_t column, std::size_t row) const {
    return rows_[row][column] != '#';
  }

  bool IsStart(std::size_t column, std::size_t row, int direction) const {
    if (!Open(column, row)) return false;
    if (direction == 0) return column == 0 || !Open(column - 1, row);
    return row == 0 || !Open(column, row - 1);
  }

  Slot SlotAt(std::size_t column, std::size_t row, int direction) const {
    Slot slot{column, row, direction, ""};
    std::size_t c = column, r = row;
    while (c < width_ && r < rows_.size() && Open(c, r)) {
      slot.word.push_back(rows_[r][c]);
      if (direction == 0) {
        ++c;
      } else {
        ++r;
      }
    }
    return slot;
  }

  // Every slot of `direction`, in cell order (row by row).
  std::vector<Slot> Slots(int direction) const {
    std::vector<Slot> slots;
    for (std::size_t row = 0; row < rows_.size(); ++row) {
      for (std::size_t column = 0; column < width_; ++column) {
        if (IsStart(column, row, direction)) {
          slots.push_back(SlotAt(column, row, direction));
        }
      }
    }
    return slots;
  }

  const std::vector<std::string>& rows() const { return rows_; }

 private:
  std::vector<std::string> rows_;
  std::size_t width_;
};

struct Lists {
  std::vector<std::optional<std::string>> texts;  // none: missing
  std::vector<std::vector<ModelEntry>> entries;   // by length - 1

  const ModelEntry* FirstExact(std::string_view word) const {
    if (word.empty() || word.size() > 9) return nullptr;
    for (const ModelEntry& entry : entries[word.size() - 1]) {
      if (entry.word == word) return &entry;
    }
    return nullptr;
  }
};

// Consumes `prefix` from the front of `rest`; false when it is not there.
bool Take(std::string_view& rest, std::string_view prefix) {
  if (rest.substr(0, prefix.size()) != prefix) return false;
  rest.remove_prefix(prefix.size());
  return true;
}

std::string_view TakeLine(std::string_view& rest) {
  std::size_t newline = rest.find('\n');
  FUZZ_CHECK(newline != std::string_view::npos);
  std::string_view line = rest.substr(0, newline);
  rest.remove_prefix(newline + 1);
  return line;
}

// Reads the printed grid and holds it to the pattern: blocks stay blocks,
// given letters stay, and an open square never prints as a block.
PrintedGrid TakeGrid(std::string_view& rest, const ModelPattern& pattern) {
  std::vector<std::string> rows;
  for (std::size_t row = 0; row < pattern.rows.size(); ++row) {
    FUZZ_CHECK(rest.size() > pattern.width);
    FUZZ_CHECK(rest[pattern.width] == '\n');
    std::string line(rest.substr(0, pattern.width));
    rest.remove_prefix(pattern.width + 1);
    for (std::size_t column = 0; column < pattern.width; ++column) {
      char given = pattern.At(column, row);
      if (given == '*') {
        FUZZ_CHECK(line[column] != '#');
      } else {
        FUZZ_CHECK(line[column] == given);
      }
    }
    rows.push_back(std::move(line));
  }
  return PrintedGrid(std::move(rows), pattern.width);
}

// The first slot longer than 9 squares, row by row, ACROSS before DOWN.
std::optional<Slot> FirstLongSlot(const ModelPattern& pattern) {
  std::vector<std::string> rows;
  for (std::size_t row = 0; row < pattern.rows.size(); ++row) {
    rows.push_back(pattern.rows[row] +
                   std::string(pattern.width - pattern.rows[row].size(), '#'));
  }
  PrintedGrid grid(std::move(rows), pattern.width);
  for (std::size_t row = 0; row < pattern.rows.size(); ++row) {
    for (std::size_t column = 0; column < pattern.width; ++column) {
      for (int direction : {0, 1}) {
        if (!grid.IsStart(column, row, direction)) continue;
        Slot slot = grid.SlotAt(column, row, direction);
        if (slot.word.size() > 9) return slot;
      }
    }
  }
  return std::nullopt;
}

// The cells that the fill wrote: open in the pattern, a letter now.
std::vector<std::pair<std::size_t, std::size_t>> Filled(
    const PrintedGrid& grid, const ModelPattern& pattern) {
  std::vector<std::pair<std::size_t, std::size_t>> filled;
  for (std::size_t row = 0; row < pattern.rows.size(); ++row) {
    for (std::size_t column = 0; column < pattern.width; ++column) {
      if (pattern.At(column, row) == '*' && grid.rows()[row][column] != '*') {
        filled.emplace_back(column, row);
      }
    }
  }
  return filled;
}

// Whether the slot of `direction` that holds (column, row) starts at
// (start_column, start_row).
bool InSlot(const PrintedGrid& grid, std::size_t column, std::size_t row,
            int direction, std::size_t start_column, std::size_t start_row) {
  while (!grid.IsStart(column, row, direction)) {
    if (direction == 0) {
      --column;
    } else {
      --row;
    }
  }
  return column == start_column && row == start_row;
}

// Which slots have certainly been looked up in their lists (and had their
// clues recorded). Turns alternate ACROSS, DOWN, ... and each accepted turn
// looks up every complete slot of the other Direction, so after two turns
// every complete slot has been. After a single ACROSS turn only the DOWN
// slots and the ACROSS slot it filled have; before any turn, none.
enum class Checked { kNone, kOneAcrossTurn, kAll };

Checked CheckedAfter(const PrintedGrid& grid, const ModelPattern& pattern,
                     bool next_turn_across) {
  auto filled = Filled(grid, pattern);
  if (filled.empty()) {
    FUZZ_CHECK(next_turn_across);
    return Checked::kNone;
  }
  if (next_turn_across) return Checked::kAll;
  // After an odd number of turns: one turn when every filled square lies in
  // one ACROSS slot (the second turn fills squares outside it).
  auto [column, row] = filled.front();
  while (!grid.IsStart(column, row, 0)) --column;
  for (auto [c, r] : filled) {
    if (!InSlot(grid, c, r, 0, column, row)) return Checked::kAll;
  }
  return Checked::kOneAcrossTurn;
}

bool IsChecked(Checked checked, const Slot& slot, const PrintedGrid& grid,
               const ModelPattern& pattern) {
  if (checked == Checked::kAll) return true;
  if (checked == Checked::kNone) return false;
  if (slot.direction == 1) return true;
  // The ACROSS slot of the single turn: the one that holds the filled
  // squares.
  auto filled = Filled(grid, pattern);
  return !filled.empty() &&
         InSlot(grid, filled.front().first, filled.front().second, 0,
                slot.column, slot.row);
}

void TakeClues(std::string_view& rest, const std::vector<Slot>& slots,
               Checked checked, const PrintedGrid& grid,
               const ModelPattern& pattern, const Lists& lists) {
  for (std::size_t n = 0; n < slots.size(); ++n) {
    FUZZ_CHECK(Take(rest, std::to_string(n) + "."));
    std::string_view clue = TakeLine(rest);
    const Slot& slot = slots[n];
    FUZZ_CHECK(slot.word.find('*') == std::string::npos);
    if (IsChecked(checked, slot, grid, pattern)) {
      const ModelEntry* entry = lists.FirstExact(slot.word);
      FUZZ_CHECK(entry != nullptr);
      FUZZ_CHECK(clue == entry->clue);
    } else {
      FUZZ_CHECK(clue.empty());
    }
  }
}

void CheckOutput(std::string_view rest, const ModelPattern& pattern,
                 const Lists& lists) {
  const std::string dimensions =
      "MaxVodoravno:" + std::to_string(pattern.width) +
      ", MaxUspravno:" + std::to_string(pattern.rows.size()) + "\n";
  FUZZ_CHECK(Take(rest, dimensions));
  if (pattern.illegal) {
    FUZZ_CHECK(rest == kIllegal);
    return;
  }
  if (std::optional<Slot> slot = FirstLongSlot(pattern)) {
    FUZZ_CHECK(rest == "Rec na mestu (" + std::to_string(slot->column + 1) +
                           "," + std::to_string(slot->row + 1) + ") " +
                           (slot->direction == 0 ? "vodoravno" : "uspravno") +
                           " ima " + std::to_string(slot->word.size()) +
                           " polja, a najvise moze da ima 9\n"
                           "Program ce se ugasiti\n");
    return;
  }

  if (Take(rest, kSolved)) {
    PrintedGrid grid = TakeGrid(rest, pattern);
    bool any_empty = false;
    for (const std::string& row : pattern.rows) {
      any_empty = any_empty || row.find('*') != std::string::npos;
    }
    for (const std::string& row : grid.rows()) {
      FUZZ_CHECK(row.find('*') == std::string::npos);
    }
    // A pattern with no empty square takes no turn at all. Otherwise the
    // turns taken are told apart as after an odd number of turns: one turn
    // fills a single ACROSS slot, more turns fill squares of several.
    Checked checked =
        any_empty ? CheckedAfter(grid, pattern, false) : Checked::kNone;
    FUZZ_CHECK(Take(rest, "Vodoravno:\n"));
    TakeClues(rest, grid.Slots(0), checked, grid, pattern, lists);
    FUZZ_CHECK(Take(rest, "\nUspravno:\n"));
    TakeClues(rest, grid.Slots(1), checked, grid, pattern, lists);
    FUZZ_CHECK(rest.empty());
    return;
  }

  FUZZ_CHECK(Take(rest, kFailed));
  PrintedGrid grid = TakeGrid(rest, pattern);
  FUZZ_CHECK(Take(rest, kMissing));
  // The pattern string is at most 9 bytes, too short to hold the marker.
  std::size_t marker = rest.rfind(" na mestu (");
  FUZZ_CHECK(marker != std::string_view::npos && marker <= 9);
  std::string missing(rest.substr(0, marker));
  rest.remove_prefix(marker + 11);
  std::size_t column = 0, row = 0;
  int direction = -1;
  {
    std::string tail(rest);
    unsigned c = 0, r = 0;
    char name[16] = {};
    int read = std::sscanf(tail.c_str(), "%u,%u) %15[a-z]", &c, &r, name);
    FUZZ_CHECK(read == 3);
    FUZZ_CHECK(tail == std::to_string(c) + "," + std::to_string(r) + ") " +
                           name + "\n");
    direction = std::string_view(name) == "vodoravno"  ? 0
                : std::string_view(name) == "uspravno" ? 1
                                                       : -1;
    FUZZ_CHECK(direction >= 0);
    FUZZ_CHECK(c >= 1 && c <= pattern.width);
    FUZZ_CHECK(r >= 1 && r <= pattern.rows.size());
    column = c - 1;
    row = r - 1;
  }
  FUZZ_CHECK(grid.IsStart(column, row, direction));
  FUZZ_CHECK(grid.SlotAt(column, row, direction).word == missing);
  FUZZ_CHECK(missing.find('*') != std::string::npos);
  // The grid is the one at the start of the failed turn: every complete
  // slot looked up by the turns before it is in its list.
  Checked checked = CheckedAfter(grid, pattern, direction == 0);
  for (int d : {0, 1}) {
    for (const Slot& slot : grid.Slots(d)) {
      if (slot.word.find('*') != std::string::npos) continue;
      if (!IsChecked(checked, slot, grid, pattern)) continue;
      FUZZ_CHECK(lists.FirstExact(slot.word) != nullptr);
    }
  }
}

}  // namespace
}  // namespace polimreza::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  using namespace polimreza;
  using namespace polimreza::fuzz;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  std::vector<std::string_view> sections;
  for (std::size_t start = 0;;) {
    std::size_t mark = input.find("%%", start);
    if (mark == std::string_view::npos || sections.size() == 9) {
      sections.push_back(input.substr(start));
      break;
    }
    sections.push_back(input.substr(start, mark - start));
    start = mark + 2;
  }
  if (sections[0].size() > kMaxPatternBytes) return -1;

  Lists lists;
  for (std::size_t k = 1; k <= 9; ++k) {
    if (k < sections.size() && sections[k] != "!" && sections[k] != "?") {
      lists.texts.emplace_back(std::string(sections[k]));
      lists.entries.push_back(ModelEntries(sections[k], k));
    } else {
      lists.texts.emplace_back(std::nullopt);
      lists.entries.emplace_back();
    }
  }
  ListOpener opener = [&](unsigned length) -> std::unique_ptr<std::istream> {
    if (length < 1 || length > 9) return nullptr;
    if (length < sections.size() && sections[length] == "?") {
      return std::make_unique<FailingStream>();
    }
    if (!lists.texts[length - 1]) return nullptr;
    return std::make_unique<std::istringstream>(*lists.texts[length - 1]);
  };

  const std::string pattern_text(sections[0]);
  std::istringstream pattern(pattern_text);
  std::ostringstream out;
  RunPattern(pattern, opener, out);
  CheckOutput(out.str(), ModelPatternOf(pattern_text), lists);
  return 0;
}
