#include "export/report_reader.h"

#include <unicode/utf8.h>

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

// A square of a Serbian grid row: its text and the byte it starts at.
struct Square {
  std::string_view text;
  std::size_t offset;
};

// The characters of `row`, or the offset of its first byte that is not UTF-8.
std::variant<std::vector<Square>, std::size_t> SplitSquares(
    std::string_view row) {
  std::vector<Square> squares;
  const std::optional<std::size_t> bad =
      VisitUtf8(row, [&](char32_t, std::size_t start, std::size_t end) {
        squares.push_back({row.substr(start, end - start), start});
      });
  if (bad) return *bad;
  return squares;
}

bool IsCyrillic(UChar32 c) { return c >= 0x400 && c <= 0x4ff; }

// The alphabet `rows` show: any Serbian Cyrillic letter makes it sr-cyrl,
// else any Serbian Latin letter outside A-Z (in either case) sr-latn, else
// ascii. Bytes that are not UTF-8 are passed over here.
AlphabetKind DetectAlphabet(const std::vector<std::string_view>& rows) {
  static const Alphabet cyrillic(AlphabetKind::kSerbianCyrillic);
  bool latin = false;
  bool cyrillic_seen = false;
  for (std::string_view row : rows) {
    const auto visit = [&](char32_t c, std::size_t start, std::size_t end) {
      if (cyrillic_seen || c < 0x80) return;
      const SplitResult read = cyrillic.Split(row.substr(start, end - start));
      if (!read.ok() || read.letters.size() != 1) return;
      if (IsCyrillic(static_cast<UChar32>(c))) {
        cyrillic_seen = true;
        return;
      }
      // A character that only upper-cases to A-Z (a long s, a dotless i)
      // says nothing.
      const std::string_view name = cyrillic.Spelling(
          read.letters[0], Script::kLatin, DigraphForm::kSingleCharacter);
      if (static_cast<unsigned char>(name[0]) >= 0x80) latin = true;
    };
    std::optional<std::size_t> bad = VisitUtf8(row, visit);
    while (bad) bad = VisitUtf8(row, visit, *bad + 1);
    if (cyrillic_seen) return AlphabetKind::kSerbianCyrillic;
  }
  return latin ? AlphabetKind::kSerbianLatin : AlphabetKind::kAscii;
}

std::string Quoted(std::string_view text) {
  // Appended rather than concatenated: GCC 12 takes the sum for an
  // overlapping copy (-Wrestrict) in optimised builds.
  std::string quoted(1, '"');
  return quoted.append(text).append(1, '"');
}

// Walks the lines of a report, each step either consuming what it expects
// or leaving the refusal that ends the reading.
class ReportParser {
 public:
  ReportParser(std::string_view text, std::optional<AlphabetKind> alphabet)
      : lines_(SplitLines(text)), alphabet_(alphabet) {}

  std::variant<SolvedPuzzle, ReportRefusal> Parse() {
    if (lines_.empty()) return ReportRefusal{0, "ulaz je prazan"};
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    if (!ReadDimensions(width, height) || !ReadBanner()) {
      return std::move(refusal_);
    }
    puzzle_.alphabet =
        alphabet_ ? *alphabet_ : DetectAlphabet(GridRows(height));
    if (puzzle_.alphabet == AlphabetKind::kAscii
            ? !ReadGrid(width, height)
            : !ReadLetterGrid(width, height)) {
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

  // The lines that would be the grid's rows, as many as there are.
  std::vector<std::string_view> GridRows(std::uint32_t height) const {
    std::vector<std::string_view> rows;
    for (std::size_t i = next_; i < lines_.size() && i - next_ < height; ++i) {
      rows.push_back(lines_[i]);
    }
    return rows;
  }

  // The grid of a Serbian report: one letter a character.
  bool ReadLetterGrid(std::uint32_t width, std::uint32_t height) {
    const Alphabet alphabet(puzzle_.alphabet);
    const std::string name(AlphabetName(puzzle_.alphabet));
    std::vector<std::int32_t> cells;
    std::optional<Script> script;
    for (std::uint32_t row = 0; row < height; ++row) {
      if (AtEnd()) {
        return Refuse("izvestaj se prekida, ocekujem red mreze " +
                      std::to_string(row + 1) + " od " +
                      std::to_string(height));
      }
      auto split = SplitSquares(lines_[next_]);
      if (const auto* bad = std::get_if<std::size_t>(&split)) {
        return Refuse("red mreze nije ispravan UTF-8 (bajt " +
                      std::to_string(*bad + 1) + ")");
      }
      const auto& squares = std::get<std::vector<Square>>(split);
      if (squares.size() != width) {
        return Refuse("red mreze ima " + std::to_string(squares.size()) +
                      " znakova, a treba da ima " + std::to_string(width));
      }
      for (std::size_t column = 0; column < squares.size(); ++column) {
        const std::string_view text = squares[column].text;
        const std::string where = " u koloni " + std::to_string(column + 1);
        if (text == "*") {
          return Refuse("nepopunjeno polje '*'" + where +
                        ", ukrstenica nije resena");
        }
        if (text == "#") {
          cells.push_back(CELL_BLOCK);
          continue;
        }
        const SplitResult read = alphabet.Split(text);
        if (!read.ok() || read.letters.size() != 1) {
          return Refuse("znak" + where + " nije slovo alfabeta " + name);
        }
        UChar32 c;
        U8_GET_UNSAFE(reinterpret_cast<const uint8_t*>(text.data()), 0, c);
        const Script here = IsCyrillic(c) ? Script::kCyrillic : Script::kLatin;
        if (script && *script != here) {
          return Refuse("latinica i cirilica su pomesane u mrezi, slovo" +
                        where);
        }
        script = here;
        cells.push_back(kLetterCell + read.letters[0]);
      }
      ++next_;
    }
    puzzle_.grid = Grid(width, height);
    for (std::size_t i = 0; i < cells.size(); ++i) {
      puzzle_.grid.SetCell(i, cells[i]);
    }
    puzzle_.script = script.value_or(Alphabet(puzzle_.alphabet).script());
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
  std::optional<AlphabetKind> alphabet_;
  std::size_t next_ = 0;
  SolvedPuzzle puzzle_;
  ReportRefusal refusal_;
};

}  // namespace

std::variant<SolvedPuzzle, ReportRefusal> ReadReport(
    std::string_view text, std::optional<AlphabetKind> alphabet) {
  return ReportParser(text, alphabet).Parse();
}

}  // namespace polimreza
