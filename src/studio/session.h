// One studio run's state, passed explicitly to every request: alphabet, word
// lists and lexicons, excluded words and own clues, the machine's earlier
// fills and the one fill running now on a worker thread.
#ifndef POLIMREZA_STUDIO_SESSION_H_
#define POLIMREZA_STUDIO_SESSION_H_

#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <shared_mutex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "alphabet/alphabet.h"
#include "grid/grid.h"
#include "search/queries.h"
#include "studio/api.h"
#include "wordlist/word_list.h"

namespace polimreza {

// An answer to a request: its HTTP status and JSON body.
struct Reply {
  int status = 200;
  std::string body;
};

// The excluded words' file and the author's clues' file, in the lists folder.
inline constexpr std::string_view kExcludedFile = "izbaci.txt";
inline constexpr std::string_view kOwnCluesFile = "moji-opisi.txt";

class Session {
 public:
  // Reads the lists of `lists` (1.txt to 25.txt, as the alphabet writes
  // them), izbaci.txt and moji-opisi.txt there; saves and opens puzzles in
  // `folder`.
  Session(AlphabetKind alphabet, std::filesystem::path lists,
          std::filesystem::path folder);
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  const Alphabet& alphabet() const { return *alphabet_; }

  // GET /api/info; `host` the address served on, `file` the puzzle named on
  // the command line ("" for none).
  Reply Info(const std::string& host, bool loopback, const std::string& file);
  Reply Candidates(std::string_view body);
  Reply Check(std::string_view body);
  Reply SearchWords(std::string_view body);
  // Blocks until the fill ends.
  Reply Fill(std::string_view body);
  Reply Progress();
  Reply Stop();
  Reply Exclude(std::string_view body);
  Reply Include(std::string_view body);
  Reply Excluded();
  Reply Clues(std::string_view body);
  Reply SetClue(std::string_view body);
  Reply Files();
  Reply Open(std::string_view body);
  Reply Save(std::string_view body);
  Reply Export(std::string_view body);

  // Asks a running fill to stop (for shutting down); returns at once.
  void StopFill();

 private:
  // A machine word of an earlier fill, in its slot.
  struct PlacedWord {
    Slot slot;
    std::string word;
  };

  // The author's clue of `codes`, else its list's; "" for none. Needs
  // lists_mutex_.
  std::string ClueOf(const std::string& codes);
  std::optional<ApiError> WriteExcluded();
  std::optional<ApiError> WriteOwnClues();
  bool IsExcluded(const std::string& codes) const;
  // Passes the excluded words to the lexicons and builds them again.
  void SetExcluded();
  // The (slot, word) pairs that keep an "another" fill of `grid` off every
  // earlier fill. Needs lists_mutex_.
  std::vector<std::pair<std::size_t, std::string>> Forbidden(
      const Grid& grid, const std::function<bool(const Slot&)>& active);

  std::shared_ptr<const Alphabet> alphabet_;
  std::filesystem::path lists_path_;
  std::filesystem::path folder_;

  // The lists, their lexicons, the excluded words and the author's clues:
  // read under a shared lock by queries and the running fill, changed under
  // an exclusive one.
  std::shared_mutex lists_mutex_;
  std::unique_ptr<WordLists> lists_;
  std::unique_ptr<SearchLexicons> lexicons_;
  std::vector<std::string> excluded_;                       // codes
  std::vector<std::pair<std::string, std::string>> clues_;  // codes, clue

  // The last candidate lists answered, by grid, slot and limit: moving the
  // cursor along a slot asks the same question again. Emptied whenever the
  // excluded words or the author's clues change, under lists_mutex_.
  std::mutex candidates_mutex_;
  std::deque<std::pair<std::string, std::string>> candidates_;  // key, body
  void ForgetCandidates();

  // The machine words of every earlier fill; only the running fill reads
  // and adds to them.
  std::vector<std::vector<PlacedWord>> fills_;

  // The fill: one at a time.
  std::mutex fill_mutex_;
  bool running_ = false;
  std::atomic<bool> stop_{false};
  std::atomic<std::uint64_t> nodes_{0};
  std::atomic<std::size_t> filled_{0};
  std::atomic<std::size_t> slots_{0};
  std::atomic<std::int64_t> started_ms_{0};
};

}  // namespace polimreza

#endif  // POLIMREZA_STUDIO_SESSION_H_
