#include "studio/session.h"

#include <algorithm>
#include <chrono>
#include <shared_mutex>
#include <sstream>
#include <thread>

#include "studio/files.h"
#include "tool/command_line.h"
#include "tool/input_files.h"
#include "tool/output_files.h"
#include "wordlist/alphabet_lists.h"

namespace polimreza {
namespace {

// How long a candidate list may search before it answers with what it has:
// the page asks one on every move of the cursor.
constexpr std::chrono::milliseconds kCandidatesBudget{15};

Reply Ok(const Json& body) {
  return {200, body.dump(-1, ' ', false, Json::error_handler_t::replace)};
}

Reply Refused(const ApiError& error) {
  return {error.status, ErrorBody(error)};
}

template <typename T>
Reply Refused(const Decoded<T>& decoded) {
  return Refused(std::get<ApiError>(decoded));
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

// The lines of the file `path`, without their line ends; none when missing.
std::vector<std::string> ReadLines(const std::filesystem::path& path) {
  std::vector<std::string> lines;
  auto read = ReadInput(path.string(), InputRules{});
  if (auto* text = std::get_if<std::string>(&read)) {
    std::istringstream in(*text);
    std::string line;
    while (std::getline(in, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(line);
    }
  }
  return lines;
}

std::int64_t NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

}  // namespace

Session::Session(AlphabetKind alphabet, std::filesystem::path lists,
                 std::filesystem::path folder)
    : alphabet_(std::make_shared<const Alphabet>(alphabet)),
      lists_path_(std::move(lists)),
      folder_(std::move(folder)) {
  ListOpener opener = [dir = lists_path_](unsigned length) {
    return OpenForReading((dir / ListFileName(length)).string());
  };
  lists_ = std::make_unique<WordLists>(std::move(opener),
                                       AlphabetWordEncoder(alphabet_));
  lexicons_ = std::make_unique<SearchLexicons>(*lists_);
  for (const std::string& line : ReadLines(lists_path_ / kExcludedFile)) {
    std::optional<std::string> codes = DecodeWord(line, *alphabet_);
    if (codes && !IsExcluded(*codes)) excluded_.push_back(*codes);
  }
  for (const std::string& line : ReadLines(lists_path_ / kOwnCluesFile)) {
    const std::size_t semicolon = line.find(';');
    if (semicolon == std::string::npos) continue;
    std::optional<std::string> codes =
        DecodeWord(std::string_view(line).substr(0, semicolon), *alphabet_);
    if (codes) clues_.emplace_back(*codes, line.substr(semicolon + 1));
  }
  for (unsigned length = 1; length <= kMaxEntryLength; ++length) {
    lists_->List(length);
  }
  SetExcluded();
}

void Session::SetExcluded() {
  ForgetCandidates();
  lexicons_->SetExcluded({excluded_.begin(), excluded_.end()});
  // Built now, under the writer's lock, so that every later reader only
  // reads them.
  for (unsigned length = 1; length <= kMaxEntryLength; ++length) {
    lexicons_->ForLength(length);
  }
}

Session::~Session() { StopFill(); }

void Session::StopFill() { stop_ = true; }

bool Session::IsExcluded(const std::string& codes) const {
  return std::find(excluded_.begin(), excluded_.end(), codes) !=
         excluded_.end();
}

std::string Session::ClueOf(const std::string& codes) {
  for (const auto& [word, clue] : clues_) {
    if (word == codes) return clue;
  }
  return std::string(lists_->FindClue(codes).value_or(""));
}

Reply Session::Info(const std::string& host, bool loopback,
                    const std::string& file) {
  std::shared_lock lock(lists_mutex_);
  Json letters = Json::array();
  for (std::size_t l = 0; l < alphabet_->size(); ++l) {
    letters.push_back(std::string(alphabet_->Name(static_cast<Letter>(l))));
  }
  Json counts = Json::array();
  for (unsigned length = 1; length <= kMaxEntryLength; ++length) {
    const WordList* list = lists_->List(length);
    counts.push_back(list ? list->size() : 0);
  }
  return Ok(
      {{"version", std::string(kVersion)},
       {"alphabet", std::string(AlphabetName(alphabet_->kind()))},
       {"script", alphabet_->script() == Script::kLatin ? "latn" : "cyrl"},
       {"letters", letters},
       {"lists", counts},
       {"excluded", excluded_.size()},
       {"ownClues", clues_.size()},
       {"host", host},
       {"loopback", loopback},
       {"maxSize", kStudioMaxSize},
       {"file", file}});
}

Reply Session::Candidates(std::string_view body) {
  auto decoded = DecodeCandidates(body, *alphabet_);
  if (decoded.index() != 0) return Refused(decoded);
  const CandidatesRequest& request = std::get<0>(decoded);
  auto slot =
      SlotThrough(request.grid, request.row, request.col, request.direction);
  if (slot.index() != 0) return Refused(slot);
  const std::size_t s = std::get<0>(slot);
  std::string key = std::to_string(request.grid.gridWidth()) + "/" +
                    std::to_string(s) + "/" + std::to_string(request.limit);
  for (CellIndex i = 0; i < request.grid.CellCount(); ++i) {
    key += "/";
    key += std::to_string(request.grid.Cell(i));
  }
  std::shared_lock lock(lists_mutex_);
  {
    std::lock_guard cache_lock(candidates_mutex_);
    for (const auto& [known, answer] : candidates_) {
      if (known == key) return Reply{200, answer};
    }
  }
  const Slot geometry = FindSlots(request.grid)[s];
  // A long slot whose words mostly fail takes milliseconds a word: past
  // the budget the page gets the words found so far, marked not exact.
  SearchOptions options;
  const auto deadline = std::chrono::steady_clock::now() + kCandidatesBudget;
  options.stop = [deadline](const SearchProgress&) {
    return std::chrono::steady_clock::now() >= deadline;
  };
  const FittingWords fitting = FitSlot(
      request.grid, *lexicons_, s, request.limit + excluded_.size(), options);
  Json words = Json::array();
  const WordList* list = lists_->List(geometry.length);
  for (const SlotWord& word : fitting.words) {
    if (words.size() == request.limit) break;
    if (IsExcluded(word.word)) continue;
    std::string clue;
    for (const auto& [own, text] : clues_) {
      if (own == word.word) clue = text;
    }
    if (clue.empty() && list) clue = std::string(list->Clue(word.entry));
    words.push_back({{"word", EncodeWord(word.word, *alphabet_)},
                     {"clue", std::move(clue)}});
  }
  Reply reply = Ok({{"count", fitting.count},
                    {"exact", fitting.exact},
                    {"slot", SlotJson(request.grid, geometry)},
                    {"words", words}});
  std::lock_guard cache_lock(candidates_mutex_);
  constexpr std::size_t kKept = 32;
  if (candidates_.size() == kKept) candidates_.pop_front();
  candidates_.emplace_back(std::move(key), reply.body);
  return reply;
}

void Session::ForgetCandidates() {
  std::lock_guard cache_lock(candidates_mutex_);
  candidates_.clear();
}

Reply Session::Check(std::string_view body) {
  auto decoded = DecodeCheck(body, *alphabet_);
  if (decoded.index() != 0) return Refused(decoded);
  const Grid& grid = std::get<0>(decoded);
  std::shared_lock lock(lists_mutex_);
  const std::vector<Slot> slots = FindSlots(grid);
  Json dead = Json::array();
  std::vector<CellIndex> squares;
  for (std::size_t s : DeadSlots(grid, *lexicons_, SearchOptions{})) {
    dead.push_back(SlotJson(grid, slots[s]));
    for (unsigned k = 0; k < slots[s].length; ++k) {
      const CellIndex i = slots[s].start + k * grid.Step(slots[s].direction);
      if (std::find(squares.begin(), squares.end(), i) == squares.end()) {
        squares.push_back(i);
      }
    }
  }
  Json cells = Json::array();
  for (CellIndex i : squares) {
    cells.push_back({i / grid.gridWidth(), i % grid.gridWidth()});
  }
  return Ok({{"dead", dead}, {"squares", cells}});
}

Reply Session::SearchWords(std::string_view body) {
  auto decoded = DecodeSearch(body, *alphabet_);
  if (decoded.index() != 0) return Refused(decoded);
  const SearchRequest& request = std::get<0>(decoded);
  std::shared_lock lock(lists_mutex_);
  const WordList* list =
      lists_->List(static_cast<unsigned>(request.pattern.size()));
  std::size_t count = 0;
  Json words = Json::array();
  for (std::size_t e = 0; list && e < list->size(); ++e) {
    const std::string word(list->Word(e));
    if (!MatchPattern(request.pattern, word) || IsExcluded(word)) continue;
    ++count;
    if (words.size() < request.limit) {
      std::string clue = ClueOf(word);
      if (clue.empty()) clue = std::string(list->Clue(e));
      words.push_back(
          {{"word", EncodeWord(word, *alphabet_)}, {"clue", std::move(clue)}});
    }
  }
  return Ok({{"count", count}, {"words", words}});
}

std::vector<std::pair<std::size_t, std::string>> Session::Forbidden(
    const Grid& grid, const std::function<bool(const Slot&)>& active) {
  std::vector<std::pair<std::size_t, std::string>> forbidden;
  const std::vector<Slot> slots = FindSlots(grid);
  for (const std::vector<PlacedWord>& fill : fills_) {
    // Of the earlier fill's words the machine could place again, forbid the
    // one whose slot keeps the most other words: the likeliest to leave the
    // grid fillable.
    std::optional<std::pair<std::size_t, std::string>> best;
    std::size_t best_count = 0;
    std::size_t tried = 0;
    for (const PlacedWord& placed : fill) {
      for (std::size_t s = 0; s < slots.size(); ++s) {
        const Slot& slot = slots[s];
        if (slot.start != placed.slot.start ||
            slot.direction != placed.slot.direction ||
            slot.length != placed.slot.length || (active && !active(slot))) {
          continue;
        }
        const std::string pattern = grid.ReadSlot(slot.start, slot.direction);
        if (pattern.find('*') == std::string::npos ||
            !MatchPattern(pattern, placed.word) || tried == 20) {
          continue;
        }
        ++tried;
        const std::size_t count =
            FitSlot(grid, *lexicons_, s, 0, SearchOptions{}).count;
        if (!best || count > best_count) {
          best = std::pair(s, placed.word);
          best_count = count;
        }
      }
    }
    if (best) forbidden.push_back(*best);
  }
  return forbidden;
}

Reply Session::Fill(std::string_view body) {
  auto decoded = DecodeFill(body, *alphabet_);
  if (decoded.index() != 0) return Refused(decoded);
  const FillRequest request = std::move(std::get<0>(decoded));
  {
    std::lock_guard lock(fill_mutex_);
    if (running_) return Refused(ApiError{409, "Popunjavanje je vec u toku"});
    running_ = true;
    stop_ = false;
    nodes_ = 0;
    filled_ = 0;
    slots_ = 0;
    started_ms_ = NowMs();
  }
  SearchOptions options;
  if (request.region) {
    options.active = [&request](const Slot& slot) {
      return SlotInRegion(request, slot);
    };
  }
  const double limit = request.time_limit;
  const std::int64_t start = started_ms_;
  options.stop = [this, limit, start](const SearchProgress& progress) {
    nodes_ = progress.nodes;
    filled_ = progress.filled;
    slots_ = progress.slots;
    return stop_.load() ||
           static_cast<double>(NowMs() - start) / 1000.0 >= limit;
  };

  SearchResult result;
  std::string failure;
  std::thread worker([&] {
    std::shared_lock lock(lists_mutex_);
    try {
      if (request.another) {
        options.forbidden = Forbidden(request.grid, options.active);
        options.seed = fills_.size() + 1;
      }
      result = Search(request.grid, *lexicons_, options);
    } catch (const std::bad_alloc&) {
      failure = "Nema dovoljno memorije";
    }
  });
  worker.join();
  const double seconds = static_cast<double>(NowMs() - start) / 1000.0;
  const bool stopped = stop_;
  // The next fill may start once this one's words are recorded.
  struct Done {
    Session& session;
    ~Done() {
      std::lock_guard lock(session.fill_mutex_);
      session.running_ = false;
    }
  } done{*this};
  if (!failure.empty()) return Refused(ApiError{500, failure});

  const Grid& sent = request.grid;
  Grid grid = sent;
  Json words = Json::array();
  std::vector<PlacedWord> placed;
  const char* status = "impossible";
  if (result.outcome != SearchOutcome::kNoFill) {
    status = result.outcome == SearchOutcome::kFilled ? "filled"
             : stopped                                ? "stopped"
                                                      : "timeout";
    std::shared_lock lists_lock(lists_mutex_);
    for (std::size_t s = 0; s < result.slots.size(); ++s) {
      if (!result.words[s]) continue;
      const Slot& slot = result.slots[s];
      const std::string pattern = sent.ReadSlot(slot.start, slot.direction);
      grid.WriteSlot(result.words[s]->word, slot.start, slot.direction);
      if (pattern.find('*') == std::string::npos) continue;
      const std::string& word = result.words[s]->word;
      std::string clue;
      for (const auto& [own, text] : clues_) {
        if (own == word) clue = text;
      }
      if (clue.empty()) {
        if (const WordList* list = lists_->List(slot.length)) {
          clue = std::string(list->Clue(result.words[s]->entry));
        }
      }
      words.push_back({{"row", slot.start / sent.gridWidth()},
                       {"col", slot.start % sent.gridWidth()},
                       {"direction", DirectionName(slot.direction)},
                       {"word", EncodeWord(word, *alphabet_)},
                       {"clue", std::move(clue)}});
      placed.push_back({slot, word});
    }
    if (result.outcome == SearchOutcome::kFilled) fills_.push_back(placed);
  }
  Json machine = Json::array();
  for (CellIndex i = 0; i < sent.CellCount(); ++i) {
    if (sent.Cell(i) == CELL_EMPTY && grid.Cell(i) != CELL_EMPTY) {
      machine.push_back({i / sent.gridWidth(), i % sent.gridWidth()});
    }
  }
  return Ok({{"status", status},
             {"rows", EncodeRows(grid, *alphabet_)},
             {"machine", machine},
             {"words", words},
             {"seconds", seconds}});
}

Reply Session::Progress() {
  std::lock_guard lock(fill_mutex_);
  const double seconds =
      running_ ? static_cast<double>(NowMs() - started_ms_) / 1000.0 : 0.0;
  return Ok({{"running", running_},
             {"nodes", nodes_.load()},
             {"filled", filled_.load()},
             {"slots", slots_.load()},
             {"seconds", seconds}});
}

Reply Session::Stop() {
  std::lock_guard lock(fill_mutex_);
  if (running_) stop_ = true;
  return Ok({{"stopping", running_}});
}

std::optional<ApiError> Session::WriteExcluded() {
  std::string text;
  for (const std::string& word : excluded_) {
    text += EncodeWord(word, *alphabet_) + "\n";
  }
  return WriteFiles({{lists_path_ / kExcludedFile, text}}, true);
}

std::optional<ApiError> Session::WriteOwnClues() {
  std::string text;
  for (const auto& [word, clue] : clues_) {
    text += EncodeWord(word, *alphabet_) + ";" + clue + "\r\n";
  }
  return WriteFiles({{lists_path_ / kOwnCluesFile, text}}, true);
}

Reply Session::Exclude(std::string_view body) {
  auto decoded = DecodeWordRequest(body, *alphabet_);
  if (decoded.index() != 0) return Refused(decoded);
  std::unique_lock lock(lists_mutex_);
  const std::string& word = std::get<0>(decoded);
  if (!IsExcluded(word)) {
    excluded_.push_back(word);
    if (auto error = WriteExcluded()) {
      excluded_.pop_back();
      return Refused(*error);
    }
    SetExcluded();
  }
  return Ok({{"excluded", excluded_.size()}});
}

Reply Session::Include(std::string_view body) {
  auto decoded = DecodeWordRequest(body, *alphabet_);
  if (decoded.index() != 0) return Refused(decoded);
  std::unique_lock lock(lists_mutex_);
  const std::string& word = std::get<0>(decoded);
  const auto found = std::find(excluded_.begin(), excluded_.end(), word);
  if (found != excluded_.end()) {
    const std::vector<std::string> before = excluded_;
    excluded_.erase(found);
    if (auto error = WriteExcluded()) {
      excluded_ = before;
      return Refused(*error);
    }
    SetExcluded();
  }
  return Ok({{"excluded", excluded_.size()}});
}

Reply Session::Excluded() {
  std::shared_lock lock(lists_mutex_);
  Json words = Json::array();
  for (const std::string& word : excluded_) {
    words.push_back(EncodeWord(word, *alphabet_));
  }
  return Ok({{"words", words}});
}

Reply Session::Clues(std::string_view body) {
  auto decoded = DecodeClues(body, *alphabet_);
  if (decoded.index() != 0) return Refused(decoded);
  const CluesRequest& request = std::get<0>(decoded);
  std::shared_lock lock(lists_mutex_);
  Json clues = Json::object();
  for (std::size_t k = 0; k < request.words.size(); ++k) {
    clues[request.words[k]] =
        request.codes[k].empty() ? "" : ClueOf(request.codes[k]);
  }
  return Ok({{"clues", clues}});
}

Reply Session::SetClue(std::string_view body) {
  auto decoded = DecodeClue(body, *alphabet_);
  if (decoded.index() != 0) return Refused(decoded);
  const ClueRequest& request = std::get<0>(decoded);
  std::unique_lock lock(lists_mutex_);
  const auto before = clues_;
  auto found = std::find_if(clues_.begin(), clues_.end(), [&](const auto& c) {
    return c.first == request.word;
  });
  if (request.clue.empty()) {
    if (found != clues_.end()) clues_.erase(found);
  } else if (found != clues_.end()) {
    found->second = request.clue;
  } else {
    clues_.emplace_back(request.word, request.clue);
  }
  if (auto error = WriteOwnClues()) {
    clues_ = before;
    return Refused(*error);
  }
  ForgetCandidates();
  return Ok({{"saved", true}});
}

Reply Session::Files() { return Ok({{"files", ListIpuzFiles(folder_)}}); }

Reply Session::Open(std::string_view body) {
  auto decoded = DecodeOpen(body);
  if (decoded.index() != 0) return Refused(decoded);
  auto reply = OpenPuzzle(folder_, std::get<0>(decoded), *alphabet_);
  if (reply.index() != 0) return Refused(reply);
  return {200, std::get<0>(reply)};
}

Reply Session::Save(std::string_view body) {
  auto decoded = DecodeSave(body, *alphabet_, ".ipuz");
  if (decoded.index() != 0) return Refused(decoded);
  auto reply = SavePuzzle(folder_, std::get<0>(decoded), *alphabet_);
  if (reply.index() != 0) return Refused(reply);
  return {200, std::get<0>(reply)};
}

Reply Session::Export(std::string_view body) {
  auto decoded = DecodeSave(body, *alphabet_, "");
  if (decoded.index() != 0) return Refused(decoded);
  auto reply = ExportPuzzle(folder_, std::get<0>(decoded), *alphabet_);
  if (reply.index() != 0) return Refused(reply);
  return {200, std::get<0>(reply)};
}

}  // namespace polimreza
