#include "studio/skandinavka.h"

#include <variant>

#include "report/report.h"

namespace polimreza {
namespace {

const char* DirectionName(int direction) {
  return direction == ACROSS ? "across" : "down";
}

Json Square(const Grid& grid, CellIndex i) {
  return {i / grid.gridWidth(), i % grid.gridWidth()};
}

}  // namespace

Json ClueSquaresJson(const Grid& grid) {
  const auto layout = PlaceClues(grid);
  if (const auto* refusal = std::get_if<ClueLayoutRefusal>(&layout)) {
    Json out = {{"message", ClueSquareRefusalLine(grid, *refusal)},
                {"square", Square(grid, refusal->square)}};
    if (refusal->word) {
      out["word"] = {{"row", refusal->word->start / grid.gridWidth()},
                     {"col", refusal->word->start % grid.gridWidth()},
                     {"direction", DirectionName(refusal->word->direction)}};
    }
    return Json{{"refusal", out}};
  }
  Json clues = Json::array();
  for (const PlacedClue& placed : std::get<ClueLayout>(layout).clues) {
    clues.push_back({{"row", placed.word.start / grid.gridWidth()},
                     {"col", placed.word.start % grid.gridWidth()},
                     {"direction", DirectionName(placed.word.direction)},
                     {"length", placed.word.length},
                     {"square", Square(grid, placed.square)},
                     {"bent", placed.bent}});
  }
  return Json{{"clues", clues}};
}

std::optional<ApiError> LayoutRefusal(const Grid& grid) {
  const auto layout = PlaceClues(grid);
  if (const auto* refusal = std::get_if<ClueLayoutRefusal>(&layout)) {
    return ApiError{400, ClueSquareRefusalLine(grid, *refusal)};
  }
  return std::nullopt;
}

Json SquareCluesJson(const std::vector<WordClue>& clues, const Grid* grid) {
  std::optional<ClueLayout> layout;
  if (grid != nullptr) {
    auto placed = PlaceClues(*grid);
    if (auto* found = std::get_if<ClueLayout>(&placed)) {
      layout = std::move(*found);
    }
  }
  Json list = Json::array();
  for (const WordClue& clue : clues) {
    Json item = {{"row", clue.row},
                 {"col", clue.col},
                 {"direction", DirectionName(clue.direction)},
                 {"clue", clue.clue}};
    if (layout && clue.row < grid->gridHeight() &&
        clue.col < grid->gridWidth()) {
      const CellIndex start = grid->Index(clue.col, clue.row);
      for (const PlacedClue& placed : layout->clues) {
        if (placed.word.start == start &&
            placed.word.direction == clue.direction) {
          item["square"] = Square(*grid, placed.square);
        }
      }
    }
    list.push_back(std::move(item));
  }
  return list;
}

Decoded<Json> ClueLinesJson(std::string_view body,
                            const Hyphenator* hyphenator) {
  POLIMREZA_TAKE(json, ParseObject(body));
  const ApiError bad{400, "Polje clues nedostaje ili nije ispravno"};
  if (!json.contains("clues") || !json["clues"].is_array()) return bad;
  Json out = Json::array();
  for (const Json& item : json["clues"]) {
    if (!item.is_object()) return bad;
    POLIMREZA_TAKE(clue, StringField(item, "clue"));
    const ClueLines lines =
        BreakClue(clue, kClueLineChars, kClueMaxLines, hyphenator);
    out.push_back(
        {{"lines", lines.lines}, {"fits", lines.fits}, {"max", kClueMaxLines}});
  }
  return Json{{"lines", out}};
}

void AddSkandinavkaFields(const SaveRequest& request, Json& ipuz) {
  if (request.kind != PuzzleKind::kSkandinavka) return;
  ipuz[std::string(kIpuzKindField)] = "skandinavka";
  ipuz[std::string(kIpuzCluesField)] =
      SquareCluesJson(request.square_clues, &request.grid);
}

SavedKind ReadSkandinavkaFields(const Json& ipuz) {
  SavedKind saved;
  if (!ipuz.is_object()) return saved;
  const auto kind = ipuz.find(std::string(kIpuzKindField));
  if (kind == ipuz.end() || *kind != "skandinavka") return saved;
  saved.kind = PuzzleKind::kSkandinavka;
  const auto clues = ipuz.find(std::string(kIpuzCluesField));
  if (clues == ipuz.end() || !clues->is_array()) return saved;
  for (const Json& item : *clues) {
    // One clue at a time, so that one that is not well formed leaves the
    // others.
    auto one = DecodeSquareClues(Json::array({item}), "clues");
    if (auto* good = std::get_if<std::vector<WordClue>>(&one)) {
      saved.clues.push_back(std::move(good->front()));
    }
  }
  return saved;
}

}  // namespace polimreza
