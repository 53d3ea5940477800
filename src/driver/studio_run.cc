#include "driver/studio_run.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <variant>

#include "alphabet/alphabet.h"
#include "export/numbering.h"
#include "studio/server.h"
#include "studio/session.h"
#include "tool/command_line.h"

extern char** environ;

namespace polimreza {
namespace {

constexpr std::string_view kProgram = "polimreza-studio";
constexpr int kExitServe = 1;

struct StudioSettings {
  std::string lists = ".";
  std::string alphabet = "ascii";
  std::string host = "127.0.0.1";
  std::string file;
  int port = 0;
  int weak_below = kDefaultWeakBelow;
  bool open = false;
};

bool ReadableFolder(const std::string& path) {
  DIR* dir = opendir(path.c_str());
  if (!dir) return false;
  closedir(dir);
  return true;
}

// The settings of `argv`, or the exit status after the help, the version
// or a usage error.
std::variant<StudioSettings, int> ParseSettings(int argc, char** argv,
                                                std::ostream& out,
                                                std::ostream& err) {
  CLI::App app(
      "Radionica ukrstenica u veb citacu: crtanje mreze, reci koje staju, "
      "popunjavanje pretragom. Radi samo na ovom racunaru.",
      std::string(kProgram));
  SetUpApp(app);
  StudioSettings settings;
  app.add_option("--lists", settings.lists,
                 "Folder sa listama reci 1.txt do 25.txt (podrazumevano: "
                 "tekuci folder)")
      ->type_name("FOLDER");
  app.add_option("--alphabet", settings.alphabet,
                 "Azbuka mreze i lista reci: ascii (A-Z), sr-latn ili sr-cyrl")
      ->type_name("AZBUKA")
      ->default_str(settings.alphabet)
      ->check(CLI::IsMember({"ascii", "sr-latn", "sr-cyrl"}).description(""));
  AddWholeNumberOption(app, "--port", settings.port, 0, 65535,
                       "Port (podrazumevano 0: bilo koji slobodan)");
  app.add_option("--host", settings.host,
                 "Adresa na kojoj server slusa (podrazumevano 127.0.0.1)")
      ->type_name("ADRESA");
  AddWholeNumberOption(
      app, "--weak", settings.weak_below, 0, 101,
      "Rec sa ocenom (iz ocene.txt) manjom od N je slaba (podrazumevano 30)");
  app.add_flag("--open", settings.open,
               "Otvori adresu u veb citacu (xdg-open)");
  app.add_option("fajl", settings.file,
                 "Ukrstenica (ipuz) iz foldera u kom se radi")
      ->type_name("FAJL");
  if (auto status = ParseCommandLine(app, argc, argv, out, err)) {
    return *status;
  }
  return settings;
}

// A page that sends the browser on to `url`, written where only this user
// can read it (a folder of mode 0700 made for it, the file 0600, under
// $XDG_RUNTIME_DIR, else $TMPDIR, else /tmp); the folder, or "" when it
// cannot be written.
std::string WriteOpeningPage(const std::string& url) {
  const char* base = getenv("XDG_RUNTIME_DIR");
  if (!base || !*base) base = getenv("TMPDIR");
  if (!base || !*base) base = "/tmp";
  std::string folder = std::string(base) + "/polimreza-studio-XXXXXX";
  if (!mkdtemp(folder.data())) return "";
  const std::string path = folder + "/otvori.html";
  const int fd =
      open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  const std::string href = EscapeMarkup(url);
  const std::string page =
      "<!DOCTYPE html>\n<meta charset=\"utf-8\">\n"
      "<meta http-equiv=\"refresh\" content=\"0;url=" +
      href +
      "\">\n"
      "<title>polimreza-studio</title>\n<a href=\"" +
      href + "\">" + href + "</a>\n";
  const bool written = fd >= 0 && write(fd, page.data(), page.size()) ==
                                      static_cast<ssize_t>(page.size());
  if (fd >= 0) close(fd);
  if (!written) {
    unlink(path.c_str());
    rmdir(folder.c_str());
    return "";
  }
  return folder;
}

// Starts `xdg-open` on the page `folder`/otvori.html without waiting for
// it; nothing happens when it is missing. The address with its token never
// goes on a command line, where every user of the machine could read it.
void OpenBrowser(const std::string& folder) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null",
                                   O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null",
                                   O_WRONLY, 0);
  std::string program = "xdg-open";
  std::string argument = folder + "/otvori.html";
  char* argv[] = {program.data(), argument.data(), nullptr};
  pid_t pid;
  posix_spawnp(&pid, "xdg-open", &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
}

// SIGINT and SIGTERM, blocked in every thread started from now on, to be
// taken by one that waits for them. A shell starts a background job with
// SIGINT ignored; the server still stops on it.
sigset_t BlockStopSignals() {
  signal(SIGINT, SIG_DFL);
  signal(SIGTERM, SIG_DFL);
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
  signal(SIGPIPE, SIG_IGN);
  signal(SIGCHLD, SIG_IGN);
  return signals;
}

// Serves `session` until SIGINT or SIGTERM; the exit status.
int Serve(Session& session, const StudioSettings& settings,
          const std::string& token, std::ostream& out, std::ostream& err) {
  sigset_t signals = BlockStopSignals();
  StudioServer server(
      session, settings.host, token,
      settings.file.empty()
          ? ""
          : std::filesystem::path(settings.file).filename().string());
  if (auto error = server.Bind(settings.port)) {
    err << kProgram << ": " << *error << "\n";
    return kExitServe;
  }
  std::thread stopper([&] {
    int signal_number = 0;
    sigwait(&signals, &signal_number);
    session.StopFill();
    server.Stop();
  });
  out << server.Url() << std::endl;
  const std::string opening =
      settings.open ? WriteOpeningPage(server.Url()) : "";
  if (!opening.empty()) OpenBrowser(opening);
  server.Run();
  if (!opening.empty()) std::filesystem::remove_all(opening);
  // Run ends only after a signal, or when the server failed: then wake the
  // waiting thread.
  kill(getpid(), SIGTERM);
  stopper.join();
  return kExitOk;
}

}  // namespace

int RunStudio(int argc, char** argv, std::ostream& out, std::ostream& err) {
  auto parsed = ParseSettings(argc, argv, out, err);
  if (auto* status = std::get_if<int>(&parsed)) return *status;
  const StudioSettings& settings = std::get<StudioSettings>(parsed);
  if (!ReadableFolder(settings.lists)) {
    err << kProgram << ": Ne mogu da procitam folder " << settings.lists
        << "\n";
    return kExitUsage;
  }
  std::filesystem::path folder = ".";
  if (!settings.file.empty()) {
    if (!std::filesystem::is_regular_file(settings.file)) {
      err << kProgram << ": Ne mogu da procitam " << settings.file << "\n";
      return kExitUsage;
    }
    folder = std::filesystem::path(settings.file).parent_path();
    if (folder.empty()) folder = ".";
  }
  const std::string token = NewToken();
  if (token.empty()) {
    err << kProgram << ": Ne mogu da procitam /dev/urandom\n";
    return kExitServe;
  }
  Session session(*AlphabetNamed(settings.alphabet), settings.lists, folder,
                  settings.weak_below);
  if (!session.ScoresWarning().empty()) {
    err << kProgram << ": " << session.ScoresWarning() << "\n";
  }
  return Serve(session, settings, token, out, err);
}

}  // namespace polimreza
