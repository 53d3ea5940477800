#include "driver/lists_corpus.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <system_error>
#include <variant>

#include "dictionary/corpus_files.h"
#include "tool/command_line.h"

namespace polimreza {
namespace {

namespace fs = std::filesystem;

constexpr char kProgram[] = "polimreza-lists";

// Draws how much of the corpus was read on a terminal's `err`, once reading
// has taken a second, at most ten times a second; erased at the end.
class CorpusProgress {
 public:
  CorpusProgress(std::ostream& err, std::uint64_t total)
      : err_(err),
        total_(total),
        enabled_(IsTerminal(2)),
        start_(std::chrono::steady_clock::now()) {}
  ~CorpusProgress() {
    if (width_ == 0) return;
    err_ << '\r' << std::string(width_, ' ') << '\r';
    err_.flush();
  }
  void Draw(std::uint64_t read) {
    if (!enabled_) return;
    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start_)
            .count();
    if (elapsed < 1 || elapsed - drawn_ < 0.1) return;
    drawn_ = elapsed;
    const std::string line =
        "Citam korpus: " + std::to_string(read >> 20) + " od " +
        std::to_string(total_ >> 20) + " MB (" +
        std::to_string(total_ == 0 ? 100 : read * 100 / total_) + "%)";
    width_ = std::max(width_, line.size());
    err_ << '\r' << line << std::string(width_ - line.size(), ' ');
    err_.flush();
  }

 private:
  std::ostream& err_;
  std::uint64_t total_;
  bool enabled_;
  std::chrono::steady_clock::time_point start_;
  double drawn_ = 0;
  std::size_t width_ = 0;
};

// What the corpus files gave, for the summary.
struct CorpusTotals {
  std::size_t files = 0;
  std::size_t empty = 0;
  std::size_t binary = 0;
  std::uint64_t bytes = 0;
  std::uint64_t invalid = 0;
};

// Adds what reading `file` gave to `totals` and warns on `err` of what was
// skipped; gives the reason the run ends, if any.
std::optional<std::string> Account(const std::string& file,
                                   const CorpusFileResult& result,
                                   CorpusTotals& totals, std::ostream& err) {
  auto warn = [&err](const std::string& text) {
    err << kProgram << ": upozorenje: " << text << "\n";
  };
  totals.bytes += result.bytes;
  totals.invalid += result.invalid_bytes;
  switch (result.outcome) {
    case CorpusFileOutcome::kRead:
      break;
    case CorpusFileOutcome::kEmpty:
      ++totals.empty;
      warn("korpus " + file + " je prazan");
      break;
    case CorpusFileOutcome::kBinary:
      ++totals.binary;
      warn("korpus " + file + " nije tekst (ima bajt 0): preskocen");
      break;
    case CorpusFileOutcome::kNotReadable:
      return "Ne mogu da procitam korpus " + file + "\n";
  }
  if (result.invalid_bytes > 0) {
    warn("korpus " + file + " nije ispravan UTF-8: preskoceno " +
         std::to_string(result.invalid_bytes) + " bajtova");
  }
  return std::nullopt;
}

std::string DescribeCorpus(const CorpusTotals& totals,
                           const WordCounter& counter) {
  return "Korpus:\n  fajlova: " + std::to_string(totals.files) +
         " (praznih: " + std::to_string(totals.empty) +
         ", preskocenih jer nisu tekst: " + std::to_string(totals.binary) +
         ")\n  bajtova: " + std::to_string(totals.bytes) +
         " (preskoceno jer nisu UTF-8: " + std::to_string(totals.invalid) +
         ")\n  reci od 1 do " + std::to_string(kMaxEntryLength) +
         " slova: " + std::to_string(counter.words()) +
         " (razlicitih: " + std::to_string(counter.forms()) + ")\n";
}

}  // namespace

std::optional<std::string> CountCorpus(const std::vector<std::string>& names,
                                       WordCounter& counter,
                                       std::string& summary,
                                       std::ostream& err) {
  auto listed = ListCorpusFiles(names);
  if (auto* error = std::get_if<CorpusNameError>(&listed)) {
    return std::string(error->error == ReadError::kMissing
                           ? "Ne mogu da otvorim korpus "
                           : "Ne mogu da procitam korpus ") +
           error->name + "\n";
  }
  const auto& files = std::get<std::vector<std::string>>(listed);
  std::uint64_t total = 0;
  for (const std::string& file : files) {
    std::error_code error;
    const std::uintmax_t size = fs::file_size(file, error);
    if (!error) total += size;
  }
  CorpusProgress progress(err, total);
  CorpusTotals totals;
  totals.files = files.size();
  for (const std::string& file : files) {
    const std::uint64_t done = totals.bytes;
    const CorpusFileResult result = ReadCorpusFile(
        file, counter,
        [&progress, done](std::uint64_t read) { progress.Draw(done + read); });
    if (auto reason = Account(file, result, totals, err)) return reason;
  }
  if (counter.words() == 0) return "Korpus ne daje nijednu rec\n";
  summary += DescribeCorpus(totals, counter);
  return std::nullopt;
}

}  // namespace polimreza
