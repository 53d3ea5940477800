// The words the studio fills with: the word lists and their lexicons (a
// skandinavka's too, whose single squares take any letter), the
// words the author left out (izbaci.txt) and the author's own clues
// (moji-opisi.txt), under one lock, with a version that changes whenever
// any of them does; and the last candidate lists answered, keyed on it.
#ifndef POLIMREZA_STUDIO_VOCABULARY_H_
#define POLIMREZA_STUDIO_VOCABULARY_H_

#include <atomic>
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
#include "search/queries.h"
#include "studio/api.h"
#include "wordlist/word_list.h"

namespace polimreza {

// The excluded words' file and the author's clues' file, in the lists folder.
inline constexpr std::string_view kExcludedFile = "izbaci.txt";
inline constexpr std::string_view kOwnCluesFile = "moji-opisi.txt";

// The time a question of fitting words may go on testing once it has enough:
// true once 10 ms have passed since this call.
std::function<bool()> FitTimeUp();

class Vocabulary {
 public:
  // Reads the lists of `lists` (1.txt to 9.txt, as the alphabet writes
  // them), izbaci.txt and moji-opisi.txt there, and builds the lexicons.
  Vocabulary(std::shared_ptr<const Alphabet> alphabet,
             std::filesystem::path lists);
  ~Vocabulary();
  Vocabulary(const Vocabulary&) = delete;
  Vocabulary& operator=(const Vocabulary&) = delete;

  // Held by every reader (queries, the running fill) while it reads; the
  // changes below wait for every reader.
  std::shared_lock<std::shared_mutex> Read() {
    return std::shared_lock(mutex_);
  }

  // The rest of the readers' side needs Read().
  const WordList* List(unsigned length) { return lists_->List(length); }
  SearchLexicons& Lexicons() { return *lexicons_; }
  // A skandinavka's share the classic ones but for length 1, every letter.
  SearchLexicons& Lexicons(PuzzleKind kind) {
    return kind == PuzzleKind::kSkandinavka ? *skandinavka_ : *lexicons_;
  }
  const std::vector<std::string>& excluded() const { return excluded_; }
  std::size_t OwnClueCount() const { return clues_.size(); }
  bool IsExcluded(const std::string& codes) const;
  // The clue of the word `codes`: the author's own when there is one, else
  // its list's (of `entry` in its list, when given).
  std::string ClueFor(const std::string& codes,
                      std::optional<std::size_t> entry = std::nullopt);
  // Changes with every change below.
  std::uint64_t version() const { return version_; }

  // Each change writes its file first; the refusal when it cannot, and
  // then nothing changed. Exclude and Include give the number of excluded
  // words after.
  Decoded<std::size_t> Exclude(const std::string& codes);
  Decoded<std::size_t> Include(const std::string& codes);
  // An empty clue removes the author's own.
  std::optional<ApiError> SetClue(const std::string& codes,
                                  const std::string& clue);

 private:
  std::optional<ApiError> WriteExcluded() const;
  std::optional<ApiError> WriteOwnClues() const;
  // Passes the excluded words to the lexicons and builds them again.
  void SetExcluded();

  std::shared_ptr<const Alphabet> alphabet_;
  std::filesystem::path path_;
  std::shared_mutex mutex_;
  std::unique_ptr<WordLists> lists_;
  std::unique_ptr<SearchLexicons> lexicons_;
  std::unique_ptr<WordLists> singles_;  // only its list of length 1 is read
  std::unique_ptr<SearchLexicons> skandinavka_;
  std::vector<std::string> excluded_;                       // codes
  std::vector<std::pair<std::string, std::string>> clues_;  // codes, clue
  std::atomic<std::uint64_t> version_{0};
};

// The last candidate lists answered, by the question's key (the grid, the
// slot, the limit and the vocabulary's version): moving the cursor along a
// slot asks the same question again.
class CandidateCache {
 public:
  std::optional<std::string> Find(const std::string& key);
  void Keep(std::string key, std::string body);

 private:
  static constexpr std::size_t kKept = 32;
  std::mutex mutex_;
  std::deque<std::pair<std::string, std::string>> answers_;
};

}  // namespace polimreza

#endif  // POLIMREZA_STUDIO_VOCABULARY_H_
