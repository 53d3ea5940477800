// The studio's requests and replies as JSON text: decoding and checking each
// request (a refusal is a value: status and Serbian message), pattern rows to
// the Grid through the alphabet and back. Pure functions over strings.
#ifndef POLIMREZA_STUDIO_API_H_
#define POLIMREZA_STUDIO_API_H_

#include <cstddef>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "alphabet/alphabet.h"
#include "grid/grid.h"

namespace polimreza {

using Json = nlohmann::ordered_json;

// The widest and tallest grid the studio takes.
inline constexpr std::uint32_t kStudioMaxSize = 100;

// A refused request: the HTTP status and the message of its reply.
struct ApiError {
  int status = 400;
  std::string message;
  bool exists = false;  // 409 for a file in the way
  bool operator==(const ApiError&) const = default;
};

template <typename T>
using Decoded = std::variant<T, ApiError>;

// Declares `var` as the value of `expr` (a Decoded<T>), or returns its
// refusal from the function it is in: the one way every decoder and
// endpoint checks a step.
#define POLIMREZA_TAKE(var, expr)                                         \
  auto var##_decoded = (expr);                                            \
  if (auto* error = std::get_if<ApiError>(&var##_decoded)) return *error; \
  auto& var = std::get<0>(var##_decoded)

// The reply body of a refusal: {"error": ...} (and "exists": true).
std::string ErrorBody(const ApiError& error);

// `body` as a JSON object; 400 for anything else.
Decoded<Json> ParseObject(std::string_view body);

// `rows` (a JSON array of pattern rows) as a Grid of letter codes: '#', '*'
// and each letter of `alphabet` as kFirstLetterCode + its number. Refuses
// rows of unequal length, a character that is no letter, a grid past
// kStudioMaxSize either way or with a slot over kMaxEntryLength letters.
Decoded<Grid> DecodeRows(const Json& rows, const Alphabet& alphabet);

// The grid as pattern rows, letters in the alphabet's script.
std::vector<std::string> EncodeRows(const Grid& grid, const Alphabet& alphabet);

// A word (letter codes) written in the alphabet's script.
std::string EncodeWord(std::string_view codes, const Alphabet& alphabet);

// `text` as letter codes; none when it holds a character that is no letter
// or no letter at all. Unicode's one-character digraphs count as two letters
// typed.
std::optional<std::string> DecodeWord(std::string_view text,
                                      const Alphabet& alphabet);

// The field `name` of `object` as each type; 400 when missing or mistyped.
Decoded<std::string> StringField(const Json& object, const char* name);
Decoded<bool> OptionalBool(const Json& object, const char* name, bool absent);
// A whole number from `min` to `max`; `absent` when missing.
Decoded<std::size_t> NumberField(const Json& object, const char* name,
                                 std::optional<std::size_t> absent,
                                 std::size_t min, std::size_t max);

// The kind of puzzle a request is about: a classic crossword, or a
// skandinavka, whose blocks are clue squares and whose single squares are
// no words.
enum class PuzzleKind { kClassic, kSkandinavka };

// The field "kind" ("classic" or "skandinavka"); classic when missing.
Decoded<PuzzleKind> KindField(const Json& object);

// POST /api/candidates.
struct CandidatesRequest {
  Grid grid;
  std::size_t row = 0;
  std::size_t col = 0;
  int direction = ACROSS;
  std::size_t limit = 200;
  PuzzleKind kind = PuzzleKind::kClassic;
};
Decoded<CandidatesRequest> DecodeCandidates(std::string_view body,
                                            const Alphabet& alphabet);

// The index (into FindSlots(grid)) of the slot through (row, col) in
// `direction`; 400 when the square is a block or no slot runs that way.
Decoded<std::size_t> SlotThrough(const Grid& grid, std::size_t row,
                                 std::size_t col, int direction);

// POST /api/check.
struct CheckRequest {
  Grid grid;
  PuzzleKind kind = PuzzleKind::kClassic;
};
Decoded<CheckRequest> DecodeCheck(std::string_view body,
                                  const Alphabet& alphabet);

// POST /api/search: the pattern as codes with '*' for '?'.
struct SearchRequest {
  std::string pattern;
  std::size_t limit = 200;
};
Decoded<SearchRequest> DecodeSearch(std::string_view body,
                                    const Alphabet& alphabet);

// The part of the grid a fill works on.
struct FillRegion {
  bool slot = false;  // a slot and its crossings; else a rectangle
  std::size_t top = 0, left = 0, bottom = 0, right = 0;
  std::size_t row = 0, col = 0;
  int direction = ACROSS;
  std::vector<CellIndex> cells;  // the slot's squares
};

// POST /api/fill.
struct FillRequest {
  Grid grid;
  std::optional<FillRegion> region;
  double time_limit = 30;
  bool another = false;
  PuzzleKind kind = PuzzleKind::kClassic;
};
Decoded<FillRequest> DecodeFill(std::string_view body,
                                const Alphabet& alphabet);

// Whether the fill of `request` takes part in filling `slot`.
bool SlotInRegion(const FillRequest& request, const Slot& slot);

// POST /api/exclude, /api/include: the word as codes.
Decoded<std::string> DecodeWordRequest(std::string_view body,
                                       const Alphabet& alphabet);

// POST /api/clues: the words as codes (in the order sent) and as sent.
struct CluesRequest {
  std::vector<std::string> codes;
  std::vector<std::string> words;
};
Decoded<CluesRequest> DecodeClues(std::string_view body,
                                  const Alphabet& alphabet);

// POST /api/clue.
struct ClueRequest {
  std::string word;  // codes
  std::string clue;
};
Decoded<ClueRequest> DecodeClue(std::string_view body,
                                const Alphabet& alphabet);

// Why `name` is no name of a file in the studio's folder: a '/', '\\' or
// "..", a leading '.', over 100 bytes, not UTF-8, empty; with `extension`,
// a name not ending in it. Empty when the name is good.
std::string FileNameProblem(std::string_view name, std::string_view extension);

// POST /api/open: the file name.
Decoded<std::string> DecodeOpen(std::string_view body);

// A skandinavka's clue of the word starting at (row, col) in `direction`.
struct WordClue {
  std::size_t row = 0;
  std::size_t col = 0;
  int direction = ACROSS;
  std::string clue;
  bool operator==(const WordClue&) const = default;
};

// A list of WordClue as JSON objects {"row", "col", "direction", "clue"}
// (`name` the field it came in); 400 for anything else or a clue of more
// than one line.
Decoded<std::vector<WordClue>> DecodeSquareClues(const Json& list,
                                                 const char* name);

// POST /api/save and /api/export.
struct SaveRequest {
  std::string name;
  Grid grid;
  Grid author;  // the author's letters, CELL_EMPTY elsewhere
  std::string title;
  std::string author_name;
  std::string copyright;  // kept as an opened file had it
  std::vector<std::string> across;
  std::vector<std::string> down;
  bool overwrite = false;
  PuzzleKind kind = PuzzleKind::kClassic;
  // A skandinavka's clues by word ("squareClues").
  std::vector<WordClue> square_clues;
};
// `extension`: ".ipuz" for save, "" for export.
Decoded<SaveRequest> DecodeSave(std::string_view body, const Alphabet& alphabet,
                                std::string_view extension);

}  // namespace polimreza

#endif  // POLIMREZA_STUDIO_API_H_
