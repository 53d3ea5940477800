#include "studio/fill_job.h"

#include <chrono>
#include <new>
#include <optional>
#include <system_error>

#include "search/queries.h"

namespace polimreza {
namespace {

std::int64_t NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

double SecondsSince(std::int64_t start_ms) {
  return static_cast<double>(NowMs() - start_ms) / 1000.0;
}

}  // namespace

std::thread FillJob::StartThread(std::function<void()> work) {
  return std::thread(std::move(work));
}

bool FillJob::Begin() {
  std::lock_guard lock(mutex_);
  if (running_) return false;
  running_ = true;
  stop_ = false;
  nodes_ = 0;
  filled_ = 0;
  slots_ = 0;
  started_ms_ = NowMs();
  return true;
}

SearchOptions FillJob::Options(const FillRequest& request) {
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
    return stop_.load() || SecondsSince(start) >= limit;
  };
  return options;
}

std::optional<ApiError> FillJob::Search(const FillRequest& request,
                                        Vocabulary& vocabulary,
                                        SearchOptions& options,
                                        SearchResult& result) {
  bool no_memory = false;
  try {
    std::thread worker = start_([&] {
      auto lock = vocabulary.Read();
      try {
        if (request.another) {
          options.forbidden =
              Forbidden(request.grid, request.kind, options.active, vocabulary);
          options.seed = fills_.size() + 1;
        }
        result = polimreza::Search(request.grid,
                                   vocabulary.Lexicons(request.kind), options);
      } catch (const std::bad_alloc&) {
        no_memory = true;
      }
    });
    worker.join();
  } catch (const std::system_error&) {
    return ApiError{503, "Ne mogu da pokrenem popunjavanje"};
  } catch (const std::bad_alloc&) {
    no_memory = true;
  }
  if (no_memory) return ApiError{503, "Nema dovoljno memorije"};
  return std::nullopt;
}

Decoded<FillOutcome> FillJob::Run(const FillRequest& request,
                                  Vocabulary& vocabulary) {
  if (!Begin()) return ApiError{409, "Popunjavanje je vec u toku"};
  // Built before anything can throw: whatever happens from here on, the
  // next fill may start once this one's words are recorded.
  struct Done {
    FillJob& job;
    ~Done() {
      std::lock_guard lock(job.mutex_);
      job.running_ = false;
    }
  } done{*this};
  SearchOptions options = Options(request);
  FillOutcome outcome;
  if (auto error = Search(request, vocabulary, options, outcome.result)) {
    return *error;
  }
  outcome.seconds = SecondsSince(started_ms_);
  outcome.grid = request.grid;
  const SearchResult& result = outcome.result;
  if (result.outcome == SearchOutcome::kNoFill) return outcome;
  outcome.status = result.outcome == SearchOutcome::kFilled ? "filled"
                   : stop_                                  ? "stopped"
                                                            : "timeout";
  std::vector<EarlierWord> words;
  for (const PlacedSlot& placed : PlaceResult(result, outcome.grid)) {
    if (!placed.was_open) continue;
    outcome.placed.push_back(placed);
    // A skandinavka's single square is no word another fill should avoid.
    if (request.kind == PuzzleKind::kSkandinavka &&
        result.slots[placed.slot].length < 2) {
      continue;
    }
    words.push_back(
        {result.slots[placed.slot], result.words[placed.slot]->word});
  }
  if (result.outcome == SearchOutcome::kFilled) fills_.push_back(words);
  return outcome;
}

FillProgress FillJob::Progress() {
  std::lock_guard lock(mutex_);
  return {running_, nodes_.load(), filled_.load(), slots_.load(),
          running_ ? SecondsSince(started_ms_) : 0.0};
}

bool FillJob::Stop() {
  std::lock_guard lock(mutex_);
  if (running_) stop_ = true;
  return running_;
}

std::vector<std::pair<std::size_t, std::string>> FillJob::Forbidden(
    const Grid& grid, PuzzleKind kind,
    const std::function<bool(const Slot&)>& active, Vocabulary& vocabulary) {
  std::vector<std::pair<std::size_t, std::string>> forbidden;
  const std::vector<Slot> slots = FindSlots(grid);
  for (const std::vector<EarlierWord>& fill : fills_) {
    // Of the earlier fill's words the machine could place again, forbid the
    // one whose slot keeps the most other words: the likeliest to leave the
    // grid fillable.
    std::optional<std::pair<std::size_t, std::string>> best;
    std::size_t best_count = 0;
    std::size_t tried = 0;
    for (const EarlierWord& placed : fill) {
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
        const std::size_t count = FitSlot(grid, vocabulary.Lexicons(kind), s, 0,
                                          SearchOptions{}, FitTimeUp())
                                      .count;
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

}  // namespace polimreza
