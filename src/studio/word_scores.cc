#include "studio/word_scores.h"

#include "grid/pattern_reader.h"
#include "report/quality.h"
#include "studio/files.h"
#include "tool/input_files.h"

namespace polimreza {
namespace {

// `line` (without its line feed) with its second field set to `score`.
std::string WithScore(std::string_view line, int score) {
  std::string_view end;
  if (line.ends_with('\r')) {
    end = "\r";
    line.remove_suffix(1);
  }
  const std::size_t first = line.find(';');
  if (first == std::string_view::npos) {
    return std::string(line) + ";" + std::to_string(score) + std::string(end);
  }
  const std::size_t second = line.find(';', first + 1);
  const std::string_view rest =
      second == std::string_view::npos ? "" : line.substr(second);
  return std::string(line.substr(0, first + 1)) + std::to_string(score) +
         std::string(rest) + std::string(end);
}

// `numerator` / `denominator` rounded half up to hundredths, as the report
// writes it.
double Hundredths(std::uint64_t numerator, std::uint64_t denominator) {
  return static_cast<double>(RoundedHundredths(numerator, denominator)) / 100;
}

Json ScoresJson(const QualityFigures& figures) {
  Json kinds = Json::array();
  for (std::size_t count : figures.kinds) kinds.push_back(count);
  const bool any = figures.placed > 0;
  return {{"weakBelow", figures.weak_below},
          {"lowest", any ? Json(figures.lowest) : Json()},
          {"mean",
           any ? Json(Hundredths(figures.score_sum, figures.placed)) : Json()},
          {"weakWords", figures.weak_words},
          {"weakCrossings", figures.weak_crossings},
          {"unscored", figures.unscored},
          {"kinds", kinds}};
}

}  // namespace

std::string RewriteScores(std::string_view text, const std::string& codes,
                          int score, const Alphabet& alphabet) {
  std::string out;
  bool found = false;
  std::string_view rest = text;
  while (!rest.empty()) {
    const std::size_t end = rest.find('\n');
    const std::string_view line = rest.substr(0, end);
    const bool ended = end != std::string_view::npos;
    rest.remove_prefix(ended ? end + 1 : rest.size());
    if (ScoresLineWord(line, alphabet) == codes) {
      out += WithScore(line, score);
      found = true;
    } else {
      out += line;
    }
    if (ended) out += '\n';
  }
  if (found) return out;
  const std::string_view line_end =
      text.find('\n') == std::string_view::npos ||
              text.find("\r\n") != std::string_view::npos
          ? "\r\n"
          : "\n";
  if (!out.empty() && out.back() != '\n') out += line_end;
  return out + EncodeWord(codes, alphabet) + ";" + std::to_string(score) +
         std::string(line_end);
}

Decoded<ScoreRequest> DecodeScore(std::string_view body,
                                  const Alphabet& alphabet) {
  POLIMREZA_TAKE(json, ParseObject(body));
  POLIMREZA_TAKE(word, StringField(json, "word"));
  POLIMREZA_TAKE(score, NumberField(json, "score", std::nullopt, 0, 100));
  std::optional<std::string> codes = DecodeWord(word, alphabet);
  if (!codes || codes->size() > kMaxEntryLength) {
    return ApiError{400, "Neispravna rec"};
  }
  return ScoreRequest{*codes, static_cast<int>(score)};
}

WordScores::WordScores(std::shared_ptr<const Alphabet> alphabet,
                       std::filesystem::path lists, int weak_below)
    : alphabet_(std::move(alphabet)),
      path_(std::move(lists) / kScoresFileName),
      weak_below_(weak_below) {
  auto read = ReadInput(path_.string(), InputRules{});
  if (auto* error = std::get_if<ReadError>(&read)) {
    if (*error != ReadError::kMissing) {
      warning_ = std::string("upozorenje: ne mogu da procitam ") +
                 kScoresFileName + ": ocene se ne koriste";
    }
    return;
  }
  ScoreTable table = ReadScoreTable(std::get<std::string>(read), *alphabet_);
  warning_ = ScoresWarning(table, *alphabet_);
  if (!table.Unusable()) table_ = std::move(table);
}

bool WordScores::InPlay() const {
  std::lock_guard lock(mutex_);
  return table_.has_value();
}

std::vector<std::optional<int>> WordScores::ScoresOf(
    const std::vector<std::string>& words) const {
  std::lock_guard lock(mutex_);
  std::vector<std::optional<int>> scores;
  for (const std::string& word : words) {
    std::optional<int> score;
    if (table_) {
      const auto found = table_->words.find(word);
      if (found != table_->words.end()) score = found->second.score;
    }
    scores.push_back(score);
  }
  return scores;
}

std::optional<ApiError> WordScores::Set(const std::string& codes, int score) {
  std::lock_guard lock(mutex_);
  auto read = ReadInput(path_.string(), InputRules{});
  std::string text;
  if (auto* error = std::get_if<ReadError>(&read)) {
    if (*error == ReadError::kOutOfMemory) {
      return ApiError{503, "Nema dovoljno memorije"};
    }
    if (*error != ReadError::kMissing) {
      return ApiError{500,
                      std::string("Ne mogu da procitam ") + kScoresFileName};
    }
  } else {
    text = std::move(std::get<std::string>(read));
  }
  if (auto error = WriteFiles(
          {{path_, RewriteScores(text, codes, score, *alphabet_)}}, true)) {
    return error;
  }
  if (!table_) table_.emplace();
  table_->words[codes].score = score;
  ++version_;
  return std::nullopt;
}

Json WordScores::QualityJson(const Grid& grid) const {
  std::lock_guard lock(mutex_);
  const QualityFigures figures =
      MeasureQuality(grid, table_ ? &*table_ : nullptr, weak_below_);
  const std::vector<Slot> slots = FindSlots(grid);
  const std::size_t width = grid.gridWidth();
  Json weak = Json::array();
  for (std::size_t s : figures.weak_slots) {
    weak.push_back(
        {{"row", slots[s].start / width},
         {"col", slots[s].start % width},
         {"direction", slots[s].direction == ACROSS ? "across" : "down"},
         {"length", slots[s].length}});
  }
  Json crossings = Json::array();
  for (CellIndex i : figures.crossing_squares) {
    crossings.push_back({i / width, i % width});
  }
  const int pdr = PdrHundredths(figures);
  return {{"squares", figures.squares},
          {"black", figures.black},
          {"blackShare", Hundredths(figures.black * 100, figures.squares)},
          {"words", figures.words},
          {"placed", figures.placed},
          {"pdr", pdr / 100.0},
          {"band", std::string(DifficultyBand(pdr))},
          {"scores", table_ ? ScoresJson(figures) : Json()},
          {"weak", weak},
          {"crossings", crossings}};
}

}  // namespace polimreza
