// The studio's fill, one at a time, on a worker thread of its own: the
// running state (cleared by a guard built before anything can throw), its
// progress and stop, and the machine's words of earlier fills, which an
// "another" fill keeps off.
#ifndef POLIMREZA_STUDIO_FILL_JOB_H_
#define POLIMREZA_STUDIO_FILL_JOB_H_

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "grid/grid.h"
#include "search/placement.h"
#include "search/search.h"
#include "studio/api.h"
#include "studio/vocabulary.h"

namespace polimreza {

// A fill's end: the grid sent with the words found, and which were placed.
struct FillOutcome {
  const char* status = "impossible";  // filled, impossible, timeout, stopped
  Grid grid;
  SearchResult result;
  std::vector<PlacedSlot> placed;  // the slots that had an open square
  double seconds = 0;
};

// How a fill stands, for GET /api/progress.
struct FillProgress {
  bool running = false;
  std::uint64_t nodes = 0;
  std::size_t filled = 0;
  std::size_t slots = 0;
  double seconds = 0;
};

class FillJob {
 public:
  // Starts the thread a fill runs on; throws std::system_error (or
  // std::bad_alloc) when it cannot.
  using ThreadStarter = std::function<std::thread(std::function<void()>)>;
  static std::thread StartThread(std::function<void()> work);

  explicit FillJob(ThreadStarter start = StartThread)
      : start_(std::move(start)) {}
  ~FillJob() { StopNow(); }

  // Fills `request` with the words of `vocabulary`; blocks until the fill
  // ends. 409 while another runs, 503 when its thread cannot be started or
  // memory runs out.
  Decoded<FillOutcome> Run(const FillRequest& request, Vocabulary& vocabulary);
  FillProgress Progress();
  // Asks a running fill to stop; whether one runs.
  bool Stop();
  // Asks a running fill to stop (for shutting down); returns at once.
  void StopNow() { stop_ = true; }
  void SetThreadStarter(ThreadStarter start) { start_ = std::move(start); }

 private:
  // A machine word of an earlier fill, in its slot.
  struct EarlierWord {
    Slot slot;
    std::string word;
  };

  bool Begin();
  SearchOptions Options(const FillRequest& request);
  // Runs the search on the worker; the refusal when it cannot.
  std::optional<ApiError> Search(const FillRequest& request,
                                 Vocabulary& vocabulary, SearchOptions& options,
                                 SearchResult& result);
  // The (slot, word) pairs that keep an "another" fill of `grid` off every
  // earlier fill. Needs the vocabulary's Read().
  std::vector<std::pair<std::size_t, std::string>> Forbidden(
      const Grid& grid, PuzzleKind kind,
      const std::function<bool(const Slot&)>& active, Vocabulary& vocabulary);

  ThreadStarter start_;
  // The machine words of every earlier fill; only the running fill reads
  // and adds to them.
  std::vector<std::vector<EarlierWord>> fills_;
  std::mutex mutex_;
  bool running_ = false;
  std::atomic<bool> stop_{false};
  std::atomic<std::uint64_t> nodes_{0};
  std::atomic<std::size_t> filled_{0};
  std::atomic<std::size_t> slots_{0};
  std::atomic<std::int64_t> started_ms_{0};
};

}  // namespace polimreza

#endif  // POLIMREZA_STUDIO_FILL_JOB_H_
