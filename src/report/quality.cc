#include "report/quality.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace polimreza {
namespace {

// `numerator` / `denominator` with two decimals, rounded half up.
std::string Hundredths(std::uint64_t numerator, std::uint64_t denominator) {
  const std::uint64_t value = RoundedHundredths(numerator, denominator);
  char text[32];
  std::snprintf(text, sizeof text, "%llu.%02llu",
                static_cast<unsigned long long>(value / 100),
                static_cast<unsigned long long>(value % 100));
  return text;
}

}  // namespace

QualityFigures MeasureQuality(const Grid& grid, const ScoreTable* scores,
                              int weak_below) {
  QualityFigures figures;
  figures.squares = grid.CellCount();
  for (CellIndex i = 0; i < grid.CellCount(); ++i) {
    if (grid.Cell(i) == CELL_BLOCK) ++figures.black;
  }
  figures.scored = scores != nullptr;
  figures.weak_below = weak_below;
  // weak[d][cell]: the slot of direction d through the cell is a weak word.
  std::array<std::vector<bool>, 2> weak;
  for (auto& cells : weak) cells.assign(grid.CellCount(), false);
  bool first = true;
  const std::vector<Slot> slots = FindSlots(grid);
  for (std::size_t s = 0; s < slots.size(); ++s) {
    const Slot& slot = slots[s];
    if (slot.length < 2) continue;
    ++figures.words;
    figures.letters += slot.length;
    const std::string word = grid.ReadSlot(slot.start, slot.direction);
    if (word.find(static_cast<char>(CELL_EMPTY)) != std::string::npos) {
      continue;
    }
    ++figures.placed;
    if (!scores) continue;
    WordScore score;
    const auto found = scores->words.find(word);
    if (found == scores->words.end()) {
      ++figures.unscored;
    } else {
      score = found->second;
    }
    ++figures.kinds[static_cast<std::size_t>(score.kind)];
    figures.score_sum += static_cast<std::uint64_t>(score.score);
    figures.lowest =
        first ? score.score : std::min(figures.lowest, score.score);
    first = false;
    if (score.score >= weak_below) continue;
    ++figures.weak_words;
    figures.weak_slots.push_back(s);
    const std::size_t step = grid.Step(slot.direction);
    for (unsigned k = 0; k < slot.length; ++k) {
      weak[slot.direction == DOWN][slot.start + k * step] = true;
    }
  }
  for (CellIndex i = 0; i < grid.CellCount(); ++i) {
    if (weak[0][i] && weak[1][i]) figures.crossing_squares.push_back(i);
  }
  figures.weak_crossings = figures.crossing_squares.size();
  return figures;
}

std::uint64_t RoundedHundredths(std::uint64_t numerator,
                                std::uint64_t denominator) {
  if (denominator == 0) return 0;
  return (numerator * 200 + denominator) / (2 * denominator);
}

int PdrHundredths(const QualityFigures& figures) {
  return static_cast<int>(RoundedHundredths(figures.letters, figures.words));
}

std::string_view DifficultyBand(int pdr_hundredths) {
  if (pdr_hundredths < 410) return "vrlo laka";
  if (pdr_hundredths < 440) return "laka";
  if (pdr_hundredths < 470) return "umereno teska";
  if (pdr_hundredths < 500) return "srednje teska";
  if (pdr_hundredths <= 530) return "teska";
  return "vrlo teska";
}

std::string FormatQuality(const QualityFigures& figures) {
  const int pdr = PdrHundredths(figures);
  std::string text;
  auto line = [&text](std::string_view name, const std::string& value) {
    text.append(name).append(": ").append(value).push_back('\n');
  };
  line("polja", std::to_string(figures.squares));
  line("crna polja", std::to_string(figures.black) + " (" +
                         Hundredths(figures.black * 100, figures.squares) +
                         "%)");
  line("reci od dva ili vise slova", std::to_string(figures.words));
  line("PDR", Hundredths(figures.letters, figures.words) + " (" +
                  std::string(DifficultyBand(pdr)) + ")");
  const bool scored = figures.scored && figures.placed > 0;
  auto scored_value = [scored](const std::string& value) {
    return scored ? value : std::string("-");
  };
  line("najniza ocena", scored_value(std::to_string(figures.lowest)));
  line("prosecna ocena",
       scored_value(Hundredths(figures.score_sum, figures.placed)));
  line("granica slabih reci", scored_value(std::to_string(figures.weak_below)));
  line("slabe reci", scored_value(std::to_string(figures.weak_words)));
  line("slaba ukrstanja", scored_value(std::to_string(figures.weak_crossings)));
  line("reci bez ocene", scored_value(std::to_string(figures.unscored)));
  static constexpr std::array<std::string_view, kScoredKinds> kNames = {
      "obicne reci",         "imena",
      "skracenice",          "rimski brojevi",
      "iz lista sa opisima", "iz lista sa ocenama",
      "nepoznate vrste"};
  for (std::size_t kind = 0; kind < kScoredKinds; ++kind) {
    line(kNames[kind], scored_value(std::to_string(figures.kinds[kind])));
  }
  return text;
}

}  // namespace polimreza
