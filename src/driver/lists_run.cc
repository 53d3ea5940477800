#include "driver/lists_run.h"

#include <cctype>
#include <cstdint>
#include <filesystem>
#include <new>
#include <optional>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

#include "alphabet/alphabet.h"
#include "dictionary/corpus.h"
#include "dictionary/list_builder.h"
#include "dictionary/sources.h"
#include "driver/lists_corpus.h"
#include "grid/grid.h"
#include "tool/command_line.h"
#include "tool/input_files.h"
#include "tool/messages.h"
#include "tool/output_files.h"
#include "wordlist/scores.h"
#include "wordlist/word_list.h"

namespace polimreza {
namespace {

namespace fs = std::filesystem;

constexpr char kProgram[] = "polimreza-lists";
constexpr int kExitFailure = 1;

constexpr char kDescription[] =
    "Pravi liste reci 1.txt do 25.txt (reci od 1 do 25 slova, redovi\n"
    "REC;opis) od recnika i fajlova sa recima. Izvori se spajaju redom kojim\n"
    "su navedeni; rec koja se ponovi se preskace, ali njen opis popunjava\n"
    "rec koja opis jos nema. Reci iz recnika i fajla sa recima idu po vrsti:\n"
    "obicne reci, pa imena, pa skracenice, pa rimski brojevi.\n";

// The help's description: the letters of `alphabet` when --alphabet names
// it, else those of every alphabet.
std::string Description(std::optional<AlphabetKind> alphabet) {
  if (alphabet) {
    return std::string(kDescription) +
           "Slova reci: " + std::string(HelpLetters(*alphabet)) +
           " (--alphabet " + std::string(AlphabetName(*alphabet)) + ").";
  }
  return std::string(kDescription) +
         "Slova reci: A-Z (--alphabet ascii, podrazumevano), 30 slova srpske\n"
         "latinice (sr-latn) ili 30 slova srpske cirilice (sr-cyrl).";
}

constexpr char kFooter[] =
    "Vrsta izvora se prepoznaje ovako:\n"
    "  folder                       liste 1.txt do 25.txt iz njega (rec;opis)\n"
    "  ime na .dic, prvi red broj   hunspell recnik (skup znakova iz .aff)\n"
    "  svaki red: rec;broj          redovi rec;ocena (ocena 0 do 100)\n"
    "  prvi neprazan red sadrzi ;   redovi rec;opis\n"
    "  inace                        jedna rec u redu\n"
    "--format odredjuje vrstu svih fajlova (ne foldera).\n"
    "\n"
    "Izlazni status: 0 uspeh; 2 pogresni argumenti, izvor koji ne postoji,\n"
    "ne moze da se procita ili ne daje nijednu rec, ili liste koje vec\n"
    "postoje (bez --force); 1 greska pri pisanju ili nema dovoljno memorije.\n"
    "Kad status nije 0, nista nije zapisano, osim onoga sto poruka navodi.";

const char* FormatName(SourceFormat format) {
  switch (format) {
    case SourceFormat::kHunspell:
      return "hunspell";
    case SourceFormat::kWords:
      return "reci";
    case SourceFormat::kClued:
      return "rec;opis";
    case SourceFormat::kScored:
      return "rec;ocena";
  }
  return "";
}

bool IsUtf8(std::string charset) {
  std::string plain;
  for (char c : charset) {
    if (c != '-' && c != '_')
      plain.push_back(static_cast<char>(std::toupper(c)));
  }
  return plain == "UTF8";
}

// A failure that ends the run: its whole message and exit status.
struct Failure {
  std::string message;
  int status = kExitUsage;
};

// A failure before anything was written: `reason` (lines ending in a line
// feed), then that nothing was written.
Failure Refusal(std::string reason, int status = kExitUsage) {
  reason += kNothingWritten;
  return Failure{std::move(reason), status};
}

// The failure of reading the source `name` for `error`.
Failure ReadFailure(const std::string& name, ReadError error) {
  switch (error) {
    case ReadError::kMissing:
      return Refusal("Ne mogu da otvorim izvor " + name + "\n");
    case ReadError::kOutOfMemory:
      return Refusal(std::string(kOutOfMemory), kExitFailure);
    case ReadError::kFolder:
    case ReadError::kNotReadable:
      break;
  }
  return Refusal("Ne mogu da procitam izvor " + name + "\n");
}

// Adds one source named on the command line to `builder` and a line about
// it to `summary`, telling a terminal on `err` which source it reads; gives
// the failure that ends the run, if any.
std::optional<Failure> AddSource(const std::string& name,
                                 const std::string& forced,
                                 ListBuilder& builder, std::string& summary,
                                 std::ostream& err) {
  if (IsTerminal(2)) err << "Citam " << name << "...\n";
  auto read = ReadInput(name, InputRules());
  if (std::holds_alternative<ReadError>(read) &&
      std::get<ReadError>(read) == ReadError::kFolder) {
    // The lists of a folder; a missing or unreadable one holds no words.
    std::size_t words = 0;
    for (unsigned length = 1; length <= kMaxEntryLength; ++length) {
      auto list =
          ReadInput((fs::path(name) / ListFileName(length)).string(), {});
      if (auto* error = std::get_if<ReadError>(&list)) {
        if (*error == ReadError::kOutOfMemory) return ReadFailure(name, *error);
        continue;
      }
      words +=
          builder.AddSource(std::get<std::string>(list), SourceFormat::kClued);
    }
    if (words == 0) return Refusal("Izvor " + name + " ne daje nijednu rec\n");
    summary += "  " + name + " (folder sa listama): " + std::to_string(words) +
               " reci\n";
    return std::nullopt;
  }
  if (auto* error = std::get_if<ReadError>(&read)) {
    return ReadFailure(name, *error);
  }
  std::string& text = std::get<std::string>(read);
  const SourceFormat format =
      forced == "auto" ? RecognizeFormat(name, text) : *FormatNamed(forced);
  if (format == SourceFormat::kHunspell) {
    // The affix file beside the dictionary tells its character set.
    auto affix =
        ReadInput(fs::path(name).replace_extension(".aff").string(), {});
    if (auto* error = std::get_if<ReadError>(&affix);
        error && *error == ReadError::kOutOfMemory) {
      return ReadFailure(name, *error);
    }
    if (auto* affix_text = std::get_if<std::string>(&affix)) {
      const std::string charset = HunspellCharset(*affix_text);
      std::string converted;
      if (!IsUtf8(charset)) {
        if (!ConvertToUtf8(text, charset, converted)) {
          return Refusal("Nepoznat skup znakova " + charset + " za izvor " +
                         name + "\n");
        }
        text = std::move(converted);
      }
    }
  }
  const std::size_t words = builder.AddSource(text, format);
  if (const auto& bad = builder.bad_score()) {
    return Refusal("Neispravna ocena " + bad->text + " u redu " +
                   std::to_string(bad->line) + " izvora " + name +
                   " (ocena je ceo broj od 0 do 100)\n");
  }
  if (words == 0) return Refusal("Izvor " + name + " ne daje nijednu rec\n");
  summary += "  " + name + " (" + FormatName(format) +
             "): " + std::to_string(words) + " reci\n";
  return std::nullopt;
}

// Builds the lists from `sources` and writes them into `output`; prints the
// summary to `out` on success, or gives the failure.
std::optional<Failure> BuildAndWrite(const std::vector<std::string>& sources,
                                     const std::vector<std::string>& corpus,
                                     const std::string& format,
                                     const std::string& output, bool force,
                                     ListOptions options, std::ostream& out,
                                     std::ostream& err) {
  Folder folder;
  std::optional<WordCounter> counter;
  std::string corpus_lines;
  if (!corpus.empty()) {
    counter.emplace(options.alphabet, folder);
    if (std::optional<std::string> reason =
            CountCorpus(corpus, *counter, corpus_lines, err)) {
      return Refusal(std::move(*reason));
    }
    options.corpus = &*counter;
  }
  ListBuilder builder(options, folder);
  std::string source_lines;
  for (const std::string& source : sources) {
    if (std::optional<Failure> failure =
            AddSource(source, format, builder, source_lines, err)) {
      return failure;
    }
  }
  ListSummary summary;
  std::string scores;
  auto lists = builder.Finish(summary, &scores);
  if (summary.from_sources == 0) {
    return Refusal("Nijedna rec iz izvora ne prolazi zadate uslove\n");
  }
  std::vector<OutputFile> files;
  for (unsigned length = 1; length <= options.max_length; ++length) {
    files.push_back({fs::path(output) / ListFileName(length),
                     std::move(lists[length - 1])});
  }
  if (summary.scores) {
    files.push_back({fs::path(output) / kScoresFileName, std::move(scores)});
  }
  const WriteResult written = WriteAll(files, force);
  if (written.status != WriteStatus::kWritten) {
    // A list in the way is the user's to resolve, as a usage error is; a
    // failed write is not.
    const bool in_the_way = written.unrestored.empty() &&
                            written.status != WriteStatus::kCannotWrite;
    return Failure{DescribeWriteFailure(written),
                   in_the_way ? kExitUsage : kExitFailure};
  }
  out << "Liste 1.txt do " << ListFileName(options.max_length)
      << (summary.scores ? " i ocene.txt" : "") << " su zapisane u "
      << (output.empty() ? "tekuci folder" : "folder " + output)
      << "\nIzvori:\n"
      << source_lines << corpus_lines << FormatSummary(summary);
  return std::nullopt;
}

// What the command line names beyond ListOptions.
struct ListsCommandLine {
  std::vector<std::string> sources;
  std::string output;  // empty: the current folder
  std::string format = "auto";
  bool force = false;
  std::vector<std::string> corpus;
  std::size_t limit = 0;  // 0: none
  bool no_proper_nouns = false;
  bool no_letters = false;
  std::string order = "tiers";
  std::string alphabet = "ascii";
  CLI::Option* min_score = nullptr;  // given when its count is not 0
};

// Declares every option of polimreza-lists, in the order --help lists them.
void AddListsOptions(CLI::App& app, ListsCommandLine& line,
                     ListOptions& options) {
  app.add_option("IZVOR", line.sources,
                 "Hunspell recnik (.dic), fajl sa recima, fajl sa redovima "
                 "rec;opis ili folder sa listama")
      ->required()
      ->type_name("");
  app.add_option("-o,--output", line.output, "Folder u koji se pisu liste")
      ->type_name("FOLDER")
      ->check(CLI::ExistingDirectory.description(""));
  app.add_flag("-f,--force", line.force, "Zameni liste koje vec postoje");
  app.add_option("--format", line.format,
                 "Vrsta svih fajlova: auto (prepoznaj), hunspell, words (rec "
                 "u redu), clued (rec;opis) ili scored (rec;ocena 0-100)")
      ->type_name("VRSTA")
      ->check(CLI::IsMember({"auto", "hunspell", "words", "clued", "scored"})
                  .description(""));
  app.add_option("--corpus", line.corpus,
                 "Tekst (UTF-8) ili folder sa tekstovima: reci se ocenjuju "
                 "po tome koliko su ceste u njima (moze vise puta)")
      ->type_name("FAJL")
      ->allow_extra_args(false);
  line.min_score =
      AddWholeNumberOption(app, "--min-score", options.min_score, 0, 100,
                           "Izostavi reci sa ocenom manjom od N (0 do 100)");
  AddWholeNumberOption(app, "--clued-score", options.clued_score, 0, 100,
                       "Ocena reci iz lista sa opisima (podrazumevano 100)");
  AddWholeNumberOption(app, "--min-length", options.min_length, 1,
                       kMaxEntryLength, "Najmanja duzina reci (1 do 25)");
  AddWholeNumberOption(app, "--max-length", options.max_length, 1,
                       kMaxEntryLength,
                       "Najveca duzina reci (1 do 25); pise liste 1.txt do "
                       "N.txt (9: liste za Polimreza)");
  AddWholeNumberOption(app, "--limit", line.limit, 1, std::uint64_t{1} << 32,
                       "Najvise N reci po listi (prvih N posle spajanja)");
  app.add_flag("--no-proper-nouns", line.no_proper_nouns,
               "Preskoci reci koje u recniku ili fajlu sa recima pocinju "
               "velikim slovom");
  app.add_option("--order", line.order,
                 "Redosled reci iz recnika i fajlova sa recima: tiers (po "
                 "vrsti, pa redom iz izvora) ili source (redom iz izvora)")
      ->type_name("REDOSLED")
      ->check(CLI::IsMember({"tiers", "source"}).description(""));
  app.add_option("--alphabet", line.alphabet,
                 "Slova reci: ascii (A-Z, slova sa kvacicama bez kvacica), "
                 "sr-latn (30 slova srpske latinice, opisi latinicom) ili "
                 "sr-cyrl (30 slova cirilice, opisi cirilicom)")
      ->type_name("PISMO")
      ->check(CLI::IsMember({"ascii", "sr-latn", "sr-cyrl"}).description(""))
      ->each([&app](const std::string& name) {
        app.description(Description(AlphabetNamed(name)));
      });
  app.add_flag("--no-letters", line.no_letters,
               "Ne dodaj slova azbuke u 1.txt kao reci od jednog slova");
  app.add_flag("--keep-clue-diacritics", options.keep_clue_diacritics,
               "Ostavi opise kako su napisani (bez prevodjenja u ASCII)");
  app.footer(kFooter);
}

}  // namespace

int RunLists(int argc, const char* const* argv, std::ostream& out,
             std::ostream& err) {
  CLI::App app(Description(std::nullopt), kProgram);
  SetUpApp(app);
  ListsCommandLine line;
  ListOptions options;
  AddListsOptions(app, line, options);
  if (std::optional<int> status = ParseCommandLine(app, argc, argv, out, err)) {
    return *status;
  }
  if (options.min_length > options.max_length) {
    ReportError(kProgram,
                "Najmanja duzina (" + std::to_string(options.min_length) +
                    ") je veca od najvece (" +
                    std::to_string(options.max_length) + ")\n",
                out, err);
    return kExitUsage;
  }
  if (line.limit > 0) options.limit = line.limit;
  options.proper_nouns = !line.no_proper_nouns;
  options.letters = !line.no_letters;
  options.order =
      line.order == "tiers" ? WordOrder::kTiers : WordOrder::kSource;
  options.alphabet = *AlphabetNamed(line.alphabet);
  options.scores = !line.corpus.empty() || line.min_score->count() > 0;

  std::optional<Failure> failure;
  try {
    failure = BuildAndWrite(line.sources, line.corpus, line.format, line.output,
                            line.force, options, out, err);
  } catch (const std::bad_alloc&) {
    failure = Refusal(std::string(kOutOfMemory), kExitFailure);
  } catch (const std::exception& error) {
    // ICU failing to start.
    failure =
        Refusal(std::string("Greska: ") + error.what() + "\n", kExitFailure);
  }
  if (failure) {
    ReportError(kProgram, failure->message, out, err);
    return failure->status;
  }
  return kExitOk;
}

}  // namespace polimreza
