// Fuzz target: the report reader on arbitrary bytes. A report it accepts is
// printed again and must read back the same; its numbering must cover every
// slot, and every writer's output must keep its JSON parseable and no text
// able to end the page's script elements.
#include <cstddef>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <variant>

#include "export/html.h"
#include "export/ipuz.h"
#include "export/numbering.h"
#include "export/report_reader.h"
#include "export/svg.h"
#include "fuzz/fuzz_model.h"

namespace polimreza::fuzz {
namespace {

// The report of `puzzle` as the filler prints it.
std::string Print(const SolvedPuzzle& puzzle) {
  const Grid& grid = puzzle.grid;
  std::string out = "MaxVodoravno:" + std::to_string(grid.gridWidth()) +
                    ", MaxUspravno:" + std::to_string(grid.gridHeight()) +
                    "\nUkrstenica je resena\nSad cu je prikazati...\n\n";
  for (std::size_t i = 0; i < grid.CellCount(); ++i) {
    out += static_cast<char>(grid.Cell(i));
    if ((i + 1) % grid.gridWidth() == 0) out += '\n';
  }
  out += "Vodoravno:\n";
  for (std::size_t k = 0; k < puzzle.across.size(); ++k) {
    out += std::to_string(k) + "." + puzzle.across[k] + "\n";
  }
  out += "\nUspravno:\n";
  for (std::size_t k = 0; k < puzzle.down.size(); ++k) {
    out += std::to_string(k) + "." + puzzle.down[k] + "\n";
  }
  return out;
}

std::size_t Count(const std::string& text, const std::string& what) {
  std::size_t count = 0;
  for (std::size_t at = text.find(what); at != std::string::npos;
       at = text.find(what, at + 1)) {
    ++count;
  }
  return count;
}

void CheckAccepted(const SolvedPuzzle& puzzle) {
  auto again = ReadReport(Print(puzzle));
  FUZZ_CHECK(std::holds_alternative<SolvedPuzzle>(again));
  const SolvedPuzzle& reread = std::get<SolvedPuzzle>(again);
  FUZZ_CHECK(reread.across == puzzle.across && reread.down == puzzle.down);

  const NumberedPuzzle numbered = NumberPuzzle(puzzle, "t");
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
    polimreza::fuzz::CheckAccepted(*puzzle);
  } else {
    FUZZ_CHECK(!std::get<polimreza::ReportRefusal>(read).reason.empty());
  }
  return 0;
}
