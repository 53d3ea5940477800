#include "export/numbering.h"

#include <unicode/unistr.h>

namespace polimreza {

std::string DisplayText(std::string_view bytes) {
  // ICU turns each ill-formed sequence into U+FFFD.
  icu::UnicodeString text = icu::UnicodeString::fromUTF8(
      icu::StringPiece(bytes.data(), static_cast<int32_t>(bytes.size())));
  for (int32_t i = 0; i < text.length(); ++i) {
    const char16_t unit = text.charAt(i);
    if ((unit < 0x20 && unit != '\t') || unit == 0x7f) {
      text.setCharAt(i, 0xfffd);
    }
  }
  std::string out;
  text.toUTF8String(out);
  return out;
}

std::string EscapeMarkup(std::string_view text, bool quotes) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c == '&') {
      out += "&amp;";
    } else if (c == '<') {
      out += "&lt;";
    } else if (c == '>') {
      out += "&gt;";
    } else if (quotes && c == '"') {
      out += "&quot;";
    } else if (quotes && c == '\'') {
      out += "&#39;";
    } else {
      out += c;
    }
  }
  return out;
}

std::string DefaultTitle(const SolvedPuzzle& puzzle) {
  return "Ukrstenica " + std::to_string(puzzle.grid.gridWidth()) + "x" +
         std::to_string(puzzle.grid.gridHeight());
}

NumberedPuzzle NumberPuzzle(const SolvedPuzzle& puzzle,
                            std::string_view title) {
  const Grid& grid = puzzle.grid;
  NumberedPuzzle out;
  out.title = DisplayText(title);
  out.width = grid.gridWidth();
  out.height = grid.gridHeight();
  out.block.resize(grid.CellCount());
  out.numbers.resize(grid.CellCount());
  out.letters.resize(grid.CellCount());
  unsigned number = 0;
  for (std::size_t row = 0; row < out.height; ++row) {
    for (std::size_t column = 0; column < out.width; ++column) {
      const CellIndex i = grid.Index(column, row);
      out.block[i] = grid.Cell(i) == CELL_BLOCK;
      if (out.block[i]) continue;
      out.letters[i] =
          DisplayText(std::string(1, static_cast<char>(grid.Cell(i))));
      for (int direction : {ACROSS, DOWN}) {
        if (!grid.IsSlotStart(column, row, direction)) continue;
        if (out.numbers[i] == 0) out.numbers[i] = ++number;
        auto& slots = direction == ACROSS ? out.across : out.down;
        const auto& clues = direction == ACROSS ? puzzle.across : puzzle.down;
        NumberedSlot slot;
        slot.number = out.numbers[i];
        const unsigned length = grid.SlotLength(i, direction);
        for (unsigned k = 0; k < length; ++k) {
          slot.cells.push_back(i + k * grid.Step(direction));
        }
        if (slots.size() < clues.size()) {
          slot.clue = DisplayText(clues[slots.size()]);
        }
        slots.push_back(std::move(slot));
      }
    }
  }
  return out;
}

}  // namespace polimreza
