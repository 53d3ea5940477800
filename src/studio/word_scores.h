// The words' scores in the studio: ocene.txt of the lists folder read at
// start, a score the author sets written back into it atomically, the order
// of candidates by score, and a grid's quality figures by them.
#ifndef POLIMREZA_STUDIO_WORD_SCORES_H_
#define POLIMREZA_STUDIO_WORD_SCORES_H_

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "alphabet/alphabet.h"
#include "grid/grid.h"
#include "studio/api.h"
#include "wordlist/scores.h"

namespace polimreza {

// The text of an ocene.txt, `text`, with the score of the word `codes` set
// to `score`: every line of that word (in either script) gets it as its
// second field, the rest of the line kept; when no line holds the word,
// `WORD;SCORE` is appended, ending as the file's lines do (CR LF in a new
// file). Every other byte stays as it was.
std::string RewriteScores(std::string_view text, const std::string& codes,
                          int score, const Alphabet& alphabet);

// POST /api/score: the word as codes and its score, 0 to 100.
struct ScoreRequest {
  std::string word;
  int score = 0;
};
Decoded<ScoreRequest> DecodeScore(std::string_view body,
                                  const Alphabet& alphabet);

class WordScores {
 public:
  // Reads `lists`/ocene.txt: a missing one gives no scores, and so does one
  // that cannot be read or holds no line of the alphabet (with a warning).
  WordScores(std::shared_ptr<const Alphabet> alphabet,
             std::filesystem::path lists, int weak_below);

  // The warning about ocene.txt read at start; "" for none.
  const std::string& warning() const { return warning_; }
  int weak_below() const { return weak_below_; }
  // Whether there are scores: ocene.txt was read, or a score was set.
  bool InPlay() const;
  // Changes with every score set.
  std::uint64_t version() const { return version_; }

  // The score of each of `words` (codes); none for a word without one.
  std::vector<std::optional<int>> ScoresOf(
      const std::vector<std::string>& words) const;

  // `words` (each with a member `word` of letter codes) with their scores,
  // ordered by score, high first, words without one last, equal ones in
  // the order given.
  template <typename T>
  std::vector<std::pair<const T*, std::optional<int>>> Order(
      const std::vector<const T*>& words) const {
    std::vector<std::string> codes;
    for (const T* word : words) codes.push_back(word->word);
    const std::vector<std::optional<int>> scores = ScoresOf(codes);
    std::vector<std::pair<const T*, std::optional<int>>> ordered;
    for (std::size_t k = 0; k < words.size(); ++k) {
      ordered.emplace_back(words[k], scores[k]);
    }
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const auto& a, const auto& b) {
                       return a.second.value_or(-1) > b.second.value_or(-1);
                     });
    return ordered;
  }

  // Writes the score of `codes` into ocene.txt (read again first, so that
  // its other lines stay as they are now), then keeps it; the refusal when
  // the file cannot be read or written, and then nothing changed.
  std::optional<ApiError> Set(const std::string& codes, int score);

  // The reply of /api/quality for `grid`: the figures of polimreza-fill
  // --stats, the weak slots and the squares where two of them cross.
  Json QualityJson(const Grid& grid) const;

 private:
  std::shared_ptr<const Alphabet> alphabet_;
  std::filesystem::path path_;
  int weak_below_;
  std::string warning_;
  mutable std::mutex mutex_;
  std::optional<ScoreTable> table_;
  std::atomic<std::uint64_t> version_{0};
};

}  // namespace polimreza

#endif  // POLIMREZA_STUDIO_WORD_SCORES_H_
