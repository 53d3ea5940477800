// One studio run's endpoints, passed explicitly to every request: each
// decodes its request (studio/api), calls the vocabulary, the fill job or
// the files, and encodes the reply; a refusal at any step is the reply.
#ifndef POLIMREZA_STUDIO_SESSION_H_
#define POLIMREZA_STUDIO_SESSION_H_

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "alphabet/alphabet.h"
#include "studio/api.h"
#include "studio/fill_job.h"
#include "studio/vocabulary.h"
#include "studio/word_scores.h"

namespace polimreza {

// An answer to a request: its HTTP status and JSON body.
struct Reply {
  int status = 200;
  std::string body;
};

class Session {
 public:
  // Reads the lists of `lists` (1.txt to 25.txt, as the alphabet writes
  // them), izbaci.txt, moji-opisi.txt and ocene.txt there; saves and opens
  // puzzles in `folder`; a word scoring below `weak_below` is weak.
  Session(AlphabetKind alphabet, std::filesystem::path lists,
          std::filesystem::path folder, int weak_below = kDefaultWeakBelow);
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  const Alphabet& alphabet() const { return *alphabet_; }
  // The warning about ocene.txt read at start; "" for none.
  const std::string& ScoresWarning() const { return scores_.warning(); }

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
  Reply Quality(std::string_view body);
  Reply SetScore(std::string_view body);
  Reply Files();
  Reply Open(std::string_view body);
  Reply Save(std::string_view body);
  Reply Export(std::string_view body);

  // Asks a running fill to stop (for shutting down); returns at once.
  void StopFill() { fill_.StopNow(); }
  // Replaces how a fill's thread is started (tests make it fail).
  void SetThreadStarter(FillJob::ThreadStarter start) {
    fill_.SetThreadStarter(std::move(start));
  }

 private:
  Decoded<std::string> CandidatesBody(std::string_view body);
  Decoded<Json> CheckJson(std::string_view body);
  Decoded<Json> SearchJson(std::string_view body);
  Decoded<Json> FillJson(std::string_view body);

  std::shared_ptr<const Alphabet> alphabet_;
  std::filesystem::path folder_;
  Vocabulary vocabulary_;
  WordScores scores_;
  CandidateCache candidates_;
  FillJob fill_;
};

}  // namespace polimreza

#endif  // POLIMREZA_STUDIO_SESSION_H_
