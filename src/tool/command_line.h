// What the companion programs share on their command lines: the version they
// report, Serbian help and usage errors, and how an error is shown.
#ifndef POLIMREZA_TOOL_COMMAND_LINE_H_
#define POLIMREZA_TOOL_COMMAND_LINE_H_

#include <CLI/CLI.hpp>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "alphabet/alphabet.h"

namespace polimreza {

// The version of the whole toolkit, as the package carries it.
inline constexpr std::string_view kVersion = POLIMREZA_VERSION;

// Exit statuses the companion programs share.
inline constexpr int kExitOk = 0;
inline constexpr int kExitUsage = 2;

// An application named `program` whose help is in Serbian and which knows
// --help and --version.
void SetUpApp(CLI::App& app);

// The letters of `kind` as help names them in ASCII: "A-Z", "30 slova
// srpske latinice", "30 slova srpske cirilice".
std::string_view HelpLetters(AlphabetKind kind);

// Every alphabet's name with its letters, for an --alphabet option's help:
// "ascii (A-Z), sr-latn (30 slova srpske latinice) ili sr-cyrl (...)".
std::string HelpAlphabets();

// Parses the command line into `app`. Gives nothing when the run should go
// on; otherwise the exit status: kExitOk after printing the help or the
// version to `out`, kExitUsage after a usage error (see ReportError).
std::optional<int> ParseCommandLine(CLI::App& app, int argc,
                                    const char* const* argv, std::ostream& out,
                                    std::ostream& err);

// Shows an error: `message` (one or more lines, each ending in a line feed)
// on `out`, and its first line after "`program`: " on `err`.
void ReportError(std::string_view program, std::string_view message,
                 std::ostream& out, std::ostream& err);

// `text` read as a whole number in decimal digits only (no sign, base
// prefix, space or exponent); none when it is not one or exceeds 2^64 - 1.
std::optional<std::uint64_t> ParseWholeNumber(std::string_view text);

// `text` read as a plain decimal number from 0 up ("2", "0.5": digits with
// at most one point; no sign, exponent, hex, inf or nan); none when it is
// not one or is too large for a double.
std::optional<double> ParseDecimal(std::string_view text);

// The value `text` of the option `option` read as a whole number from `min`
// to `max`; throws CLI::ValidationError (a usage error) otherwise.
std::uint64_t ReadWholeNumber(const std::string& option,
                              const std::string& text, std::uint64_t min,
                              std::uint64_t max);

// Adds the option `name` (one long name, "--seed") whose value, a whole
// number from `min` to `max` as ParseWholeNumber reads it, goes to `value`;
// the help calls the value N.
template <typename Number>
CLI::Option* AddWholeNumberOption(CLI::App& app, const std::string& name,
                                  Number& value, std::uint64_t min,
                                  std::uint64_t max,
                                  const std::string& description) {
  return app
      .add_option(
          name,
          [&value, name, min, max](const CLI::results_t& results) {
            value = static_cast<Number>(
                ReadWholeNumber(name, results.back(), min, max));
            return true;
          },
          description)
      ->type_name("N");
}

// Adds the option `name` whose value, a number of seconds as ParseDecimal
// reads it, goes to `value`; the help calls the value SEKUNDE.
CLI::Option* AddSecondsOption(CLI::App& app, const std::string& name,
                              double& value, const std::string& description);

// Whether the file descriptor `fd` is a terminal.
bool IsTerminal(int fd);

}  // namespace polimreza

#endif  // POLIMREZA_TOOL_COMMAND_LINE_H_
