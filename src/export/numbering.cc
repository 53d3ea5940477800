#include "export/numbering.h"

#include <unicode/unistr.h>

#include <new>

#include "alphabet/clue_script.h"

namespace polimreza {

std::string DisplayText(std::string_view bytes) {
  // ICU turns each ill-formed sequence into U+FFFD.
  icu::UnicodeString text = icu::UnicodeString::fromUTF8(
      icu::StringPiece(bytes.data(), static_cast<int32_t>(bytes.size())));
  // ICU answers a failed allocation with a bogus string, which would read as
  // an empty text: a clue lost without a word.
  if (text.isBogus()) throw std::bad_alloc();
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

bool IsEmptyClue(std::string_view clue) {
  return clue.find_first_not_of(" \t") == std::string_view::npos;
}

std::size_t EmptyClueCount(const NumberedPuzzle& puzzle) {
  std::size_t count = 0;
  for (const auto* slots : {&puzzle.across, &puzzle.down}) {
    for (const NumberedSlot& slot : *slots) {
      if (IsEmptyClue(slot.clue)) ++count;
    }
  }
  return count;
}

NumberedPuzzle NumberPuzzle(const SolvedPuzzle& puzzle, std::string_view title,
                            std::optional<Script> script) {
  const Grid& grid = puzzle.grid;
  NumberedPuzzle out;
  const bool serbian = puzzle.alphabet != AlphabetKind::kAscii;
  const bool convert = serbian && script.has_value();
  std::string converted;
  // Text in the puzzle's script when it is converted, else as written.
  const auto text = [&](std::string_view raw) {
    if (!convert) return DisplayText(raw);
    ConvertClueScript(raw, *script, converted);
    return DisplayText(converted);
  };
  out.title = text(title);
  out.script = convert ? *script : puzzle.script;
  // Converted, the puzzle takes the order of its new script's alphabet.
  out.alphabet_kind = puzzle.alphabet;
  if (convert) {
    out.alphabet_kind = *script == Script::kLatin
                            ? AlphabetKind::kSerbianLatin
                            : AlphabetKind::kSerbianCyrillic;
  }
  std::optional<Alphabet> source;
  if (serbian) {
    source.emplace(puzzle.alphabet);
    const Alphabet alphabet(out.alphabet_kind);
    for (std::size_t letter = 0; letter < alphabet.size(); ++letter) {
      out.alphabet.emplace_back(
          alphabet.Spelling(static_cast<Letter>(letter), out.script));
    }
    out.language = out.script == Script::kLatin ? "sr-Latn" : "sr-Cyrl";
  }
  out.width = grid.gridWidth();
  out.height = grid.gridHeight();
  out.block.resize(grid.CellCount());
  out.numbers.resize(grid.CellCount());
  out.letters.resize(grid.CellCount());
  for (CellIndex i = 0; i < grid.CellCount(); ++i) {
    out.block[i] = grid.Cell(i) == CELL_BLOCK;
    if (out.block[i]) continue;
    out.letters[i] =
        serbian
            ? std::string(source->Spelling(
                  static_cast<Letter>(grid.Cell(i) - kLetterCell), out.script))
            : DisplayText(std::string(1, static_cast<char>(grid.Cell(i))));
  }
  // Slots come in reading order of their starts, so numbers do too; a
  // square starting both an across and a down slot keeps one number.
  unsigned number = 0;
  for (const Slot& grid_slot : FindSlots(grid)) {
    const CellIndex i = grid_slot.start;
    if (out.numbers[i] == 0) out.numbers[i] = ++number;
    const bool across = grid_slot.direction == ACROSS;
    auto& slots = across ? out.across : out.down;
    const auto& clues = across ? puzzle.across : puzzle.down;
    NumberedSlot slot;
    slot.number = out.numbers[i];
    for (CellIndex cell : grid.CellsOf(grid_slot)) slot.cells.push_back(cell);
    if (slots.size() < clues.size()) {
      slot.clue = text(clues[slots.size()]);
    }
    slots.push_back(std::move(slot));
  }
  return out;
}

}  // namespace polimreza
