#include "export/skandinavka.h"

#include <algorithm>
#include <map>

namespace polimreza {

std::variant<Skandinavka, ClueLayoutRefusal> LayOutSkandinavka(
    const Grid& grid, const NumberedPuzzle& puzzle,
    const Hyphenator* hyphenator) {
  auto placed = PlaceClues(grid);
  if (auto* refusal = std::get_if<ClueLayoutRefusal>(&placed)) return *refusal;
  std::map<CellIndex, std::size_t> slot_at[2];
  for (int direction : {ACROSS, DOWN}) {
    const auto& slots = direction == ACROSS ? puzzle.across : puzzle.down;
    for (std::size_t k = 0; k < slots.size(); ++k) {
      slot_at[direction][slots[k].cells.front()] = k;
    }
  }
  Skandinavka out;
  out.square_clues.resize(puzzle.block.size());
  for (const PlacedClue& placed_clue : std::get<ClueLayout>(placed).clues) {
    SquareClue clue;
    clue.direction = placed_clue.word.direction;
    clue.slot = slot_at[clue.direction].at(placed_clue.word.start);
    clue.square = placed_clue.square;
    const bool across = clue.direction == ACROSS;
    if (placed_clue.bent) {
      clue.arrow =
          across ? ArrowKind::kDownThenRight : ArrowKind::kRightThenDown;
    } else {
      clue.arrow = across ? ArrowKind::kRight : ArrowKind::kDown;
    }
    clue.clue = (across ? puzzle.across : puzzle.down)[clue.slot].clue;
    clue.lines =
        BreakClue(clue.clue, kClueLineChars, kClueMaxLines, hyphenator);
    (across ? out.across_words : out.down_words)++;
    out.square_clues[clue.square].push_back(out.clues.size());
    out.clues.push_back(std::move(clue));
  }
  for (auto& indexes : out.square_clues) {
    std::stable_sort(indexes.begin(), indexes.end(),
                     [&out](std::size_t a, std::size_t b) {
                       return out.clues[a].direction < out.clues[b].direction;
                     });
  }
  return out;
}

bool Overfull(const Skandinavka& skandinavka, CellIndex square) {
  std::size_t lines = 0;
  for (std::size_t k : skandinavka.square_clues[square]) {
    lines += skandinavka.clues[k].lines.lines.size();
  }
  return lines > kClueMaxLines;
}

double DrawnLines(const Skandinavka& skandinavka, CellIndex square) {
  const auto& indexes = skandinavka.square_clues[square];
  double lines = 0.5 * static_cast<double>(indexes.size() - 1);
  for (std::size_t k : indexes) {
    lines += static_cast<double>(skandinavka.clues[k].lines.lines.size());
  }
  return lines;
}

std::string SkandinavkaTitle(std::uint32_t width, std::uint32_t height,
                             PageLanguage language, Script script) {
  std::string name = language == PageLanguage::kEnglish ? "Arrowword"
                     : script == Script::kCyrillic ? "Скандинавка"
                                                   : "Skandinavka";
  return name + " " + std::to_string(width) + "x" + std::to_string(height);
}

std::string ArrowPath(ArrowKind kind) {
  switch (kind) {
    case ArrowKind::kRight:
      return "M0 50H14M14 43L24 50L14 57Z";
    case ArrowKind::kDown:
      return "M50 0V14M43 14L50 24L57 14Z";
    case ArrowKind::kDownThenRight:
      return "M14 0V16H20M20 9L30 16L20 23Z";
    case ArrowKind::kRightThenDown:
      return "M0 14H16V20M9 20L16 30L23 20Z";
  }
  return "";
}

}  // namespace polimreza
