// What the companion programs share on their command lines: the version they
// report, Serbian help and usage errors, and how an error is shown.
#ifndef POLIMREZA_TOOL_COMMAND_LINE_H_
#define POLIMREZA_TOOL_COMMAND_LINE_H_

#include <CLI/CLI.hpp>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

namespace polimreza {

// The version of the whole toolkit, as the package carries it.
inline constexpr std::string_view kVersion = POLIMREZA_VERSION;

// Exit statuses the companion programs share.
inline constexpr int kExitOk = 0;
inline constexpr int kExitUsage = 2;

// An application named `program` whose help is in Serbian and which knows
// --help and --version.
void SetUpApp(CLI::App& app);

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

// Whether the file descriptor `fd` is a terminal.
bool IsTerminal(int fd);

}  // namespace polimreza

#endif  // POLIMREZA_TOOL_COMMAND_LINE_H_
