// Fuzz target: the report reader on arbitrary bytes. A report it accepts is
// printed again by the programs' own report writer, must read back the same
// and, when written as the writer writes (LF line ends, no trailing empty
// line), must be exactly what the writer prints (a Serbian one: must read
// back the same letters); its numbering must cover
// every slot, and every writer's output must keep its JSON parseable and no
// text able to end the page's script elements.
#include <cstddef>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>
#include <string>
#include <variant>

#include "alphabet/alphabet.h"
#include "export/html.h"
#include "export/ipuz.h"
#include "export/numbering.h"
#include "export/report_reader.h"
#include "export/svg.h"
#include "fuzz/fuzz_model.h"
#include "grid/clue_table.h"
#include "report/report.h"

namespace polimreza::fuzz {
namespace {

// How polimreza-fill prints a grid of `puzzle`'s alphabet: a Serbian
// letter (kLetterCell plus the letter) as its one character.
CellSpellings Spellings(const SolvedPuzzle& puzzle) {
  CellSpellings spellings = IdentitySpellings();
  if (puzzle.alphabet == AlphabetKind::kAscii) return spellings;
  const Alphabet alphabet(puzzle.alphabet);
  for (std::size_t letter = 0; letter < alphabet.size(); ++letter) {
    spellings[letter] = std::string(
        alphabet.Spelling(static_cast<Letter>(letter), puzzle.script,
                          DigraphForm::kSingleCharacter));
  }
  return spellings;
}

// The report of `puzzle` as the programs print it, through the report
// module itself: each clue recorded at its slot start.
std::string Print(const SolvedPuzzle& puzzle) {
  ClueTables clues;
  std::size_t across = 0;
  std::size_t down = 0;
  for (const Slot& slot : FindSlots(puzzle.grid)) {
    std::size_t& next = slot.direction == ACROSS ? across : down;
    const auto& list = slot.direction == ACROSS ? puzzle.across : puzzle.down;
    FUZZ_CHECK(next < list.size());
    clues.For(slot.direction).Record(slot.start, list[next++]);
  }
  FUZZ_CHECK(across == puzzle.across.size() && down == puzzle.down.size());
  std::ostringstream out;
  PrintDimensions(out, puzzle.grid.gridWidth(), puzzle.grid.gridHeight());
  PrintSolved(out, puzzle.grid, clues, Spellings(puzzle));
  return out.str();
}

std::size_t Count(const std::string& text, const std::string& what) {
  std::size_t count = 0;
  for (std::size_t at = text.find(what); at != std::string::npos;
       at = text.find(what, at + 1)) {
    ++count;
  }
  return count;
}

void CheckAccepted(const std::string& text, const SolvedPuzzle& puzzle) {
  const std::string printed = Print(puzzle);
  // A Serbian square may be written in several ways (lower case, LJ's
  // forms); an ascii one only as its byte.
  const bool serbian = puzzle.alphabet != AlphabetKind::kAscii;
  if (!serbian && text.find('\r') == std::string::npos &&
      text.ends_with('\n') && !text.ends_with("\n\n")) {
    FUZZ_CHECK(printed == text);
  }
  auto again = ReadReport(printed);
  FUZZ_CHECK(std::holds_alternative<SolvedPuzzle>(again));
  const SolvedPuzzle& reread = std::get<SolvedPuzzle>(again);
  FUZZ_CHECK(reread.across == puzzle.across && reread.down == puzzle.down);
  FUZZ_CHECK(reread.alphabet == puzzle.alphabet &&
             reread.script == puzzle.script);
  for (std::size_t i = 0; i < puzzle.grid.CellCount(); ++i) {
    FUZZ_CHECK(reread.grid.Cell(i) == puzzle.grid.Cell(i));
  }
  FUZZ_CHECK(Print(reread) == printed);

  // Serbian puzzles are also written in the other script.
  const NumberedPuzzle numbered = NumberPuzzle(
      puzzle, "t",
      serbian
          ? std::optional(puzzle.script == Script::kLatin ? Script::kCyrillic
                                                          : Script::kLatin)
          : std::nullopt);
  FUZZ_CHECK(numbered.across.size() == puzzle.across.size());
  FUZZ_CHECK(numbered.down.size() == puzzle.down.size());
  std::size_t open = 0;
  std::size_t covered = 0;
  for (std::size_t i = 0; i < numbered.block.size(); ++i)
    open += !numbered.block[i];
  for (const NumberedSlot& slot : numbered.across) covered += slot.cells.size();
  FUZZ_CHECK(covered == open);

  const auto ipuz = nlohmann::json::parse(WriteIpuz(numbered));
  FUZZ_CHECK(ipuz["clues"]["Across"].size() == puzzle.across.size());
  const std::string data = PageData(numbered);
  FUZZ_CHECK(data.find_first_of("<>&") == std::string::npos);
  FUZZ_CHECK(nlohmann::json::parse(data)["down"].size() == puzzle.down.size());
  if (numbered.block.size() <= 400) {
    const std::string html = WriteHtml(numbered);
    FUZZ_CHECK(Count(html, "</script") == 2 && Count(html, "<script") == 2);
    FUZZ_CHECK(Count(WriteSvg(numbered, true), "<text") >= open);
  }
}

}  // namespace
}  // namespace polimreza::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  auto read = polimreza::ReadReport(text);
  if (auto* puzzle = std::get_if<polimreza::SolvedPuzzle>(&read)) {
    polimreza::fuzz::CheckAccepted(text, *puzzle);
  } else {
    FUZZ_CHECK(!std::get<polimreza::ReportRefusal>(read).reason.empty());
  }
  return 0;
}
