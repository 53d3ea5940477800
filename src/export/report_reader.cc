#include "export/report_reader.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <optional>
#include <utility>

#include "report/report.h"

namespace polimreza {
namespace {

// The greedy solver's failure banner up to its first full stop.
constexpr std::string_view kFailureStart =
    kFailureLine.substr(0, kFailureLine.find('.'));

// The lines of `text` without their line ends; a last line without a line
// feed counts, an empty text has none. When the first line ends in CR LF,
// one carriage return before each line feed belongs to the line end.
std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  const std::size_t first_end = text.find('\n');
  const bool crlf = first_end != std::string_view::npos && first_end > 0 &&
                    text[first_end - 1] == '\r';
  std::size_t begin = 0;
  while (begin < text.size()) {
    std::size_t end = text.find('\n', begin);
    const bool terminated = end != std::string_view::npos;
    if (!terminated) end = text.size();
    std::string_view line = text.substr(begin, end - begin);
    if (crlf && terminated && !line.empty() && line.back() == '\r') {
      line.remove_suffix(1);
    }
    lines.push_back(line);
    begin = end + 1;
  }
  return lines;
}

// A decimal number as the report prints one: digits, no sign, no leading
// zero, fitting 32 bits.
std::optional<std::uint32_t> ParseCount(std::string_view digits) {
  if (digits.empty() || (digits.size() > 1 && digits[0] == '0')) {
    return std::nullopt;
  }
  std::uint32_t value = 0;
  auto [end, error] =
      std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (error != std::errc() || end != digits.data() + digits.size()) {
    return std::nullopt;
  }
  return value;
}

std::string Quoted(std::string_view text) {
  return "\"" + std::string(text) + "\"";
}

// Walks the lines of a report, each step either consuming what it expects
// or leaving the refusal that ends the reading.
class ReportParser {
 public:
  explicit ReportParser(std::string_view text) : lines_(SplitLines(text)) {}

  std::variant<SolvedPuzzle, ReportRefusal> Parse() {
    if (lines_.empty()) return ReportRefusal{0, "ulaz je prazan"};
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    if (!ReadDimensions(width, height) || !ReadBanner() ||
        !ReadGrid(width, height)) {
      return std::move(refusal_);
    }
    if (!HasOpenSquare()) {
      return ReportRefusal{
          0, "mreza nema nijedno otvoreno polje, nema sta da se izveze"};
    }
    if (!ReadClues(ACROSS) || !Expect("") || !ReadClues(DOWN) || !ReadEnd()) {
      return std::move(refusal_);
    }
    return std::move(puzzle_);
  }

 private:
  bool AtEnd() const { return next_ >= lines_.size(); }
  std::size_t LineNumber() const { return next_ + 1; }

  bool Refuse(std::string reason) {
    refusal_ = ReportRefusal{LineNumber(), std::move(reason)};
    return false;
  }

  // Consumes a line that is exactly `expected`.
  bool Expect(std::string_view expected) {
    if (AtEnd()) {
      return Refuse("izvestaj se prekida, ocekujem " + Quoted(expected));
    }
    if (lines_[next_] != expected) {
      return Refuse(expected.empty() ? "ocekujem prazan red"
                                     : "ocekujem " + Quoted(expected));
    }
    ++next_;
    return true;
  }

  bool ReadDimensions(std::uint32_t& width, std::uint32_t& height) {
    const std::string_view line = lines_[0];
    if (line.starts_with(kUsageLine)) {
      return Refuse(
          "ovo je uputstvo programa, a ne izvestaj o resenoj ukrstenici");
    }
    if (line.starts_with(kCannotOpenLabel)) {
      return Refuse("program nije mogao da otvori sablon, nema ukrstenice");
    }
    const std::size_t comma = line.find(kHeightLabel);
    std::optional<std::uint32_t> w, h;
    if (line.starts_with(kWidthLabel) && comma != std::string_view::npos) {
      w = ParseCount(
          line.substr(kWidthLabel.size(), comma - kWidthLabel.size()));
      h = ParseCount(line.substr(comma + kHeightLabel.size()));
    }
    if (!w || !h) {
      return Refuse("ocekujem " + Quoted(std::string(kWidthLabel) + "W" +
                                         std::string(kHeightLabel) + "H"));
    }
    width = *w;
    height = *h;
    ++next_;
    return true;
  }

  bool ReadBanner() {
    if (!AtEnd()) {
      const std::string_view line = lines_[next_];
      if (line.starts_with(kFailureStart)) {
        return Refuse("ukrstenica nije resena (izvestaj o neuspehu)");
      }
      if (line == kIllegalCharacterLine || line.starts_with(kLongSlotLabel)) {
        return Refuse("program je odbio sablon, ukrstenica nije resena");
      }
    }
    return Expect(kSolvedLine) && Expect(kShowingLine) && Expect("");
  }

  bool ReadGrid(std::uint32_t width, std::uint32_t height) {
    // Every row is checked before the grid is made, so its size is bounded
    // by the input's whatever the dimension line claims.
    const std::size_t first = next_;
    for (std::uint32_t row = 0; row < height; ++row) {
      if (AtEnd()) {
        return Refuse("izvestaj se prekida, ocekujem red mreze " +
                      std::to_string(row + 1) + " od " +
                      std::to_string(height));
      }
      const std::string_view line = lines_[next_];
      if (line.size() != width) {
        return Refuse("red mreze ima " + std::to_string(line.size()) +
                      " znakova, a treba da ima " + std::to_string(width));
      }
      if (std::size_t star = line.find('*'); star != std::string_view::npos) {
        return Refuse("nepopunjeno polje '*' u koloni " +
                      std::to_string(star + 1) + ", ukrstenica nije resena");
      }
      ++next_;
    }
    puzzle_.grid = Grid(width, height);
    for (std::uint32_t row = 0; row < height; ++row) {
      const std::string_view line = lines_[first + row];
      for (std::uint32_t column = 0; column < width; ++column) {
        puzzle_.grid.SetCell(puzzle_.grid.Index(column, row),
                             static_cast<unsigned char>(line[column]));
      }
    }
    return true;
  }

  bool HasOpenSquare() const {
    for (std::size_t i = 0; i < puzzle_.grid.CellCount(); ++i) {
      if (puzzle_.grid.Cell(i) != CELL_BLOCK) return true;
    }
    return false;
  }

  std::size_t CountSlots(int direction) const {
    const std::vector<Slot> slots = FindSlots(puzzle_.grid);
    return static_cast<std::size_t>(std::count_if(
        slots.begin(), slots.end(),
        [direction](const Slot& s) { return s.direction == direction; }));
  }

  // The heading and one "k.clue" line per slot start of `direction`.
  bool ReadClues(int direction) {
    const bool across = direction == ACROSS;
    if (!Expect(across ? kAcrossHeading : kDownHeading)) return false;
    const std::string kind = across ? "vodoravn" : "uspravn";
    const std::size_t slots = CountSlots(direction);
    std::vector<std::string>& clues = across ? puzzle_.across : puzzle_.down;
    const std::string words =
        "mreza ima " + kind + "ih reci: " + std::to_string(slots);
    for (std::size_t k = 0; k < slots; ++k) {
      const std::string prefix = std::to_string(k) + ".";
      if (AtEnd()) {
        return Refuse("izvestaj se prekida, ocekujem " + kind + "i trag " +
                      Quoted(prefix) + " (" + words + ")");
      }
      const std::string_view line = lines_[next_];
      if (!line.starts_with(prefix)) {
        if (line.empty() || line == kDownHeading) {
          return Refuse("ima samo " + std::to_string(k) + " " + kind +
                        "ih tragova, a " + words);
        }
        return Refuse("ocekujem " + kind + "i trag " + Quoted(prefix));
      }
      clues.emplace_back(line.substr(prefix.size()));
      ++next_;
    }
    if (!AtEnd() && lines_[next_].starts_with(std::to_string(slots) + ".")) {
      return Refuse("visak " + kind + "ih tragova: " + words);
    }
    return true;
  }

  // Only empty lines may follow the last down clue.
  bool ReadEnd() {
    const std::string more = std::to_string(puzzle_.down.size()) + ".";
    for (; !AtEnd(); ++next_) {
      if (lines_[next_].empty()) continue;
      if (lines_[next_].starts_with(more)) {
        return Refuse("visak uspravnih tragova: mreza ima uspravnih reci: " +
                      std::to_string(puzzle_.down.size()));
      }
      return Refuse("visak teksta posle izvestaja");
    }
    return true;
  }

  std::vector<std::string_view> lines_;
  std::size_t next_ = 0;
  SolvedPuzzle puzzle_;
  ReportRefusal refusal_;
};

}  // namespace

std::variant<SolvedPuzzle, ReportRefusal> ReadReport(std::string_view text) {
  return ReportParser(text).Parse();
}

}  // namespace polimreza
