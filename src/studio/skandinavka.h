// The studio's side of a skandinavka: which clue square serves which word
// (or why none can), the refusal of a fill without such a layout, its
// clues broken into the lines of their squares, and the kind and clues a
// saved skandinavka keeps in the ipuz extension fields.
#ifndef POLIMREZA_STUDIO_SKANDINAVKA_H_
#define POLIMREZA_STUDIO_SKANDINAVKA_H_

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "grid/clue_squares.h"
#include "grid/grid.h"
#include "studio/api.h"
#include "text/clue_lines.h"

namespace polimreza {

// The extension fields of a saved skandinavka: the kind ("skandinavka")
// and its clues, [{"row", "col", "direction", "clue", "square": [r, c]}]
// (the square when the grid has a layout).
inline constexpr std::string_view kIpuzKindField = "com.polimreza:kind";
inline constexpr std::string_view kIpuzCluesField = "com.polimreza:clues";

// POST /api/clue-squares: {"clues": [{"row", "col", "direction", "length",
// "square": [r, c], "bent"}]} for every word, or {"refusal": {"message",
// "square": [r, c]} with "word": {"row", "col", "direction"} when a word
// has no clue square}.
Json ClueSquaresJson(const Grid& grid);

// The refusal (400) of a fill of `grid` as a skandinavka with no layout.
std::optional<ApiError> LayoutRefusal(const Grid& grid);

// POST /api/clue-lines {"clues": [{"clue"}]}: {"lines": [{"lines": [...],
// "fits", "max"}]}, each clue broken by BreakClue into lines of
// kClueLineChars characters, hyphenated by `hyphenator` (none: broken
// hard), `fits` when they are at most "max", kClueMaxLines. Two clues of
// one square fit when their lines together are at most that many, which the
// page adds up, as polimreza-export does.
Decoded<Json> ClueLinesJson(std::string_view body,
                            const Hyphenator* hyphenator);

// Adds the kind and clues of a skandinavka `request` to `ipuz`; a classic
// one gets neither.
void AddSkandinavkaFields(const SaveRequest& request, Json& ipuz);

// A saved puzzle's kind and clues as read from its ipuz JSON: the kind
// classic and no clues when the fields are missing; clues that are not
// well formed are left out.
struct SavedKind {
  PuzzleKind kind = PuzzleKind::kClassic;
  std::vector<WordClue> clues;
};
SavedKind ReadSkandinavkaFields(const Json& ipuz);

// The clues of `clues` as the API and the extension field write them; with
// `grid`, each with the square that serves its word when there is one.
Json SquareCluesJson(const std::vector<WordClue>& clues,
                     const Grid* grid = nullptr);

}  // namespace polimreza

#endif  // POLIMREZA_STUDIO_SKANDINAVKA_H_
