#include "studio/session.h"

#include <algorithm>
#include <chrono>

#include "alphabet/typing.h"
#include "studio/files.h"
#include "studio/skandinavka.h"
#include "tool/command_line.h"

namespace polimreza {
namespace {

// How long a candidate list may search before it answers with what it has:
// the page asks one on every move of the cursor.
constexpr std::chrono::milliseconds kCandidatesBudget{15};

Reply Encode(const Decoded<Json>& reply) {
  if (auto* error = std::get_if<ApiError>(&reply)) {
    return {error->status, ErrorBody(*error)};
  }
  return {200, std::get<Json>(reply).dump(-1, ' ', false,
                                          Json::error_handler_t::replace)};
}

Reply EncodeText(const Decoded<std::string>& reply) {
  if (auto* error = std::get_if<ApiError>(&reply)) {
    return {error->status, ErrorBody(*error)};
  }
  return {200, std::get<std::string>(reply)};
}

const char* DirectionName(int direction) {
  return direction == ACROSS ? "across" : "down";
}

Json SlotJson(const Grid& grid, const Slot& slot) {
  return {{"row", slot.start / grid.gridWidth()},
          {"col", slot.start % grid.gridWidth()},
          {"direction", DirectionName(slot.direction)},
          {"length", slot.length}};
}

Json Square(const Grid& grid, CellIndex i) {
  return {i / grid.gridWidth(), i % grid.gridWidth()};
}

// The key of a candidates question: the vocabulary's version, the grid, the
// slot and the limit.
std::string CandidatesKey(const CandidatesRequest& request, std::size_t slot,
                          std::uint64_t version) {
  std::string key = std::to_string(version) +
                    (request.kind == PuzzleKind::kSkandinavka ? "s/" : "/") +
                    std::to_string(request.grid.gridWidth()) + "/" +
                    std::to_string(slot) + "/" + std::to_string(request.limit);
  for (CellIndex i = 0; i < request.grid.CellCount(); ++i) {
    key += "/";
    key += std::to_string(request.grid.Cell(i));
  }
  return key;
}

}  // namespace

Session::Session(AlphabetKind alphabet, std::filesystem::path lists,
                 std::filesystem::path folder, int weak_below)
    : alphabet_(std::make_shared<const Alphabet>(alphabet)),
      folder_(std::move(folder)),
      vocabulary_(alphabet_, lists),
      scores_(alphabet_, lists, weak_below),
      hyphenator_(Hyphenator::Serbian()) {}

Reply Session::Info(const std::string& host, bool loopback,
                    const std::string& file) {
  auto lock = vocabulary_.Read();
  Json letters = Json::array();
  for (std::size_t l = 0; l < alphabet_->size(); ++l) {
    letters.push_back(std::string(alphabet_->Name(static_cast<Letter>(l))));
  }
  Json counts = Json::array();
  for (unsigned length = 1; length <= kMaxEntryLength; ++length) {
    const WordList* list = vocabulary_.List(length);
    counts.push_back(list ? list->size() : 0);
  }
  return Encode(
      Json{{"version", std::string(kVersion)},
           {"alphabet", std::string(AlphabetName(alphabet_->kind()))},
           {"script", alphabet_->script() == Script::kLatin ? "latn" : "cyrl"},
           {"letters", letters},
           {"typing", TypingJson(TypingTableFor(*alphabet_))},
           {"lists", counts},
           {"excluded", vocabulary_.excluded().size()},
           {"ownClues", vocabulary_.OwnClueCount()},
           {"host", host},
           {"loopback", loopback},
           {"maxSize", kStudioMaxSize},
           {"file", file},
           {"scores", scores_.InPlay()},
           {"weakBelow", scores_.weak_below()}});
}

Reply Session::Candidates(std::string_view body) {
  return EncodeText(CandidatesBody(body));
}

Decoded<std::string> Session::CandidatesBody(std::string_view body) {
  POLIMREZA_TAKE(request, DecodeCandidates(body, *alphabet_));
  POLIMREZA_TAKE(s, SlotThrough(request.grid, request.row, request.col,
                                request.direction));
  auto lock = vocabulary_.Read();
  std::string key = CandidatesKey(request, s, vocabulary_.version()) + "/" +
                    std::to_string(scores_.version());
  if (auto known = candidates_.Find(key)) return *known;
  const Slot geometry = FindSlots(request.grid)[s];
  // A long slot whose words mostly fail takes milliseconds a word: past
  // the budget the page gets the words found so far, marked not exact.
  SearchOptions options;
  const auto deadline = std::chrono::steady_clock::now() + kCandidatesBudget;
  options.stop = [deadline](const SearchProgress&) {
    return std::chrono::steady_clock::now() >= deadline;
  };
  const FittingWords fitting = FitSlot(
      request.grid, vocabulary_.Lexicons(request.kind), s,
      request.limit + vocabulary_.excluded().size(), options, FitTimeUp());
  std::vector<const SlotWord*> shown;
  for (const SlotWord& word : fitting.words) {
    if (shown.size() == request.limit) break;
    if (!vocabulary_.IsExcluded(word.word)) shown.push_back(&word);
  }
  // With scores, each word carries its own (null for none).
  const bool scored = scores_.InPlay();
  Json words = Json::array();
  for (const auto& [word, score] : scores_.Order(shown)) {
    words.push_back({{"word", EncodeWord(word->word, *alphabet_)},
                     {"clue", vocabulary_.ClueFor(word->word, word->entry)}});
    if (scored) words.back()["score"] = score ? Json(*score) : Json();
  }
  std::string reply = Encode(Json{{"count", fitting.count},
                                  {"exact", fitting.exact},
                                  {"slot", SlotJson(request.grid, geometry)},
                                  {"words", words}})
                          .body;
  candidates_.Keep(std::move(key), reply);
  return reply;
}

Reply Session::Check(std::string_view body) { return Encode(CheckJson(body)); }

Decoded<Json> Session::CheckJson(std::string_view body) {
  POLIMREZA_TAKE(request, DecodeCheck(body, *alphabet_));
  const Grid& grid = request.grid;
  auto lock = vocabulary_.Read();
  const std::vector<Slot> slots = FindSlots(grid);
  Json dead = Json::array();
  std::vector<CellIndex> squares;
  for (std::size_t s :
       DeadSlots(grid, vocabulary_.Lexicons(request.kind), SearchOptions{})) {
    dead.push_back(SlotJson(grid, slots[s]));
    for (unsigned k = 0; k < slots[s].length; ++k) {
      const CellIndex i = slots[s].start + k * grid.Step(slots[s].direction);
      if (std::find(squares.begin(), squares.end(), i) == squares.end()) {
        squares.push_back(i);
      }
    }
  }
  Json cells = Json::array();
  for (CellIndex i : squares) cells.push_back(Square(grid, i));
  return Json{{"dead", dead}, {"squares", cells}};
}

Reply Session::SearchWords(std::string_view body) {
  return Encode(SearchJson(body));
}

Decoded<Json> Session::SearchJson(std::string_view body) {
  POLIMREZA_TAKE(request, DecodeSearch(body, *alphabet_));
  auto lock = vocabulary_.Read();
  const WordList* list =
      vocabulary_.List(static_cast<unsigned>(request.pattern.size()));
  std::size_t count = 0;
  Json words = Json::array();
  for (std::size_t e = 0; list && e < list->size(); ++e) {
    const std::string word(list->Word(e));
    if (!MatchPattern(request.pattern, word) || vocabulary_.IsExcluded(word)) {
      continue;
    }
    ++count;
    if (words.size() < request.limit) {
      words.push_back({{"word", EncodeWord(word, *alphabet_)},
                       {"clue", vocabulary_.ClueFor(word, e)}});
    }
  }
  return Json{{"count", count}, {"words", words}};
}

Reply Session::Fill(std::string_view body) { return Encode(FillJson(body)); }

Decoded<Json> Session::FillJson(std::string_view body) {
  POLIMREZA_TAKE(request, DecodeFill(body, *alphabet_));
  const bool skandinavka = request.kind == PuzzleKind::kSkandinavka;
  if (skandinavka) {
    if (auto refusal = LayoutRefusal(request.grid)) return *refusal;
  }
  POLIMREZA_TAKE(outcome, fill_.Run(request, vocabulary_));
  const Grid& sent = request.grid;
  const SearchResult& result = outcome.result;
  Json words = Json::array();
  auto lock = vocabulary_.Read();
  for (const PlacedSlot& placed : outcome.placed) {
    const Slot& slot = result.slots[placed.slot];
    const SlotWord& word = *result.words[placed.slot];
    if (skandinavka && slot.length < 2) continue;  // no word, only a letter
    words.push_back({{"row", slot.start / sent.gridWidth()},
                     {"col", slot.start % sent.gridWidth()},
                     {"direction", DirectionName(slot.direction)},
                     {"word", EncodeWord(word.word, *alphabet_)},
                     {"clue", vocabulary_.ClueFor(word.word, word.entry)}});
  }
  Json machine = Json::array();
  for (CellIndex i = 0; i < sent.CellCount(); ++i) {
    if (sent.Cell(i) == CELL_EMPTY && outcome.grid.Cell(i) != CELL_EMPTY) {
      machine.push_back(Square(sent, i));
    }
  }
  return Json{{"status", outcome.status},
              {"rows", EncodeRows(outcome.grid, *alphabet_)},
              {"machine", machine},
              {"words", words},
              {"seconds", outcome.seconds}};
}

Reply Session::ClueSquares(std::string_view body) {
  return Encode([&]() -> Decoded<Json> {
    POLIMREZA_TAKE(request, DecodeCheck(body, *alphabet_));
    return ClueSquaresJson(request.grid);
  }());
}

Reply Session::ClueLines(std::string_view body) {
  std::lock_guard lock(hyphenator_mutex_);
  return Encode(ClueLinesJson(body, hyphenator_.get()));
}

Reply Session::Progress() {
  const FillProgress progress = fill_.Progress();
  return Encode(Json{{"running", progress.running},
                     {"nodes", progress.nodes},
                     {"filled", progress.filled},
                     {"slots", progress.slots},
                     {"seconds", progress.seconds}});
}

Reply Session::Stop() { return Encode(Json{{"stopping", fill_.Stop()}}); }

Reply Session::Exclude(std::string_view body) {
  return Encode([&]() -> Decoded<Json> {
    POLIMREZA_TAKE(word, DecodeWordRequest(body, *alphabet_));
    POLIMREZA_TAKE(count, vocabulary_.Exclude(word));
    return Json{{"excluded", count}};
  }());
}

Reply Session::Include(std::string_view body) {
  return Encode([&]() -> Decoded<Json> {
    POLIMREZA_TAKE(word, DecodeWordRequest(body, *alphabet_));
    POLIMREZA_TAKE(count, vocabulary_.Include(word));
    return Json{{"excluded", count}};
  }());
}

Reply Session::Excluded() {
  auto lock = vocabulary_.Read();
  Json words = Json::array();
  for (const std::string& word : vocabulary_.excluded()) {
    words.push_back(EncodeWord(word, *alphabet_));
  }
  return Encode(Json{{"words", words}});
}

Reply Session::Clues(std::string_view body) {
  return Encode([&]() -> Decoded<Json> {
    POLIMREZA_TAKE(request, DecodeClues(body, *alphabet_));
    auto lock = vocabulary_.Read();
    Json clues = Json::object();
    for (std::size_t k = 0; k < request.words.size(); ++k) {
      clues[request.words[k]] =
          request.codes[k].empty() ? "" : vocabulary_.ClueFor(request.codes[k]);
    }
    return Json{{"clues", clues}};
  }());
}

Reply Session::SetClue(std::string_view body) {
  return Encode([&]() -> Decoded<Json> {
    POLIMREZA_TAKE(request, DecodeClue(body, *alphabet_));
    if (auto error = vocabulary_.SetClue(request.word, request.clue)) {
      return *error;
    }
    return Json{{"saved", true}};
  }());
}

Reply Session::Quality(std::string_view body) {
  return Encode([&]() -> Decoded<Json> {
    POLIMREZA_TAKE(request, DecodeCheck(body, *alphabet_));
    return scores_.QualityJson(request.grid);
  }());
}

Reply Session::SetScore(std::string_view body) {
  return Encode([&]() -> Decoded<Json> {
    POLIMREZA_TAKE(request, DecodeScore(body, *alphabet_));
    if (auto error = scores_.Set(request.word, request.score)) return *error;
    return Json{{"word", EncodeWord(request.word, *alphabet_)},
                {"score", request.score}};
  }());
}

Reply Session::Files() {
  return Encode(Json{{"files", ListIpuzFiles(folder_)}});
}

Reply Session::Open(std::string_view body) {
  return EncodeText([&]() -> Decoded<std::string> {
    POLIMREZA_TAKE(name, DecodeOpen(body));
    return OpenPuzzle(folder_, name, *alphabet_);
  }());
}

Reply Session::Save(std::string_view body) {
  return EncodeText([&]() -> Decoded<std::string> {
    POLIMREZA_TAKE(request, DecodeSave(body, *alphabet_, ".ipuz"));
    return SavePuzzle(folder_, request, *alphabet_);
  }());
}

Reply Session::Export(std::string_view body) {
  return EncodeText([&]() -> Decoded<std::string> {
    POLIMREZA_TAKE(request, DecodeSave(body, *alphabet_, ""));
    std::lock_guard<std::mutex> lock(hyphenator_mutex_);
    return ExportPuzzle(folder_, request, *alphabet_, hyphenator_.get());
  }());
}

}  // namespace polimreza
