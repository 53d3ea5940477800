// polimreza-studio: the crossword constructor in a browser, served from this
// machine: draws the grid, lists the words that fit, fills with the search.
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <thread>

#include "alphabet/alphabet.h"
#include "studio/server.h"
#include "studio/session.h"
#include "tool/command_line.h"

extern char** environ;

namespace {

constexpr std::string_view kProgram = "polimreza-studio";
constexpr int kExitServe = 1;

bool ReadableFolder(const std::string& path) {
  DIR* dir = opendir(path.c_str());
  if (!dir) return false;
  closedir(dir);
  return true;
}

// Starts `xdg-open url` without waiting for it; nothing happens when it is
// missing.
void OpenBrowser(const std::string& url) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null",
                                   O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null",
                                   O_WRONLY, 0);
  std::string program = "xdg-open";
  std::string argument = url;
  char* argv[] = {program.data(), argument.data(), nullptr};
  pid_t pid;
  posix_spawnp(&pid, "xdg-open", &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
}

int Run(int argc, char** argv) {
  using namespace polimreza;
  CLI::App app(
      "Radionica ukrstenica u veb citacu: crtanje mreze, reci koje staju, "
      "popunjavanje pretragom. Radi samo na ovom racunaru.",
      std::string(kProgram));
  SetUpApp(app);
  std::string lists = ".";
  std::string alphabet_name = "ascii";
  std::string host = "127.0.0.1";
  std::string file;
  int port = 0;
  bool open = false;
  app.add_option("--lists", lists,
                 "Folder sa listama reci 1.txt do 25.txt (podrazumevano: "
                 "tekuci folder)")
      ->type_name("FOLDER");
  app.add_option("--alphabet", alphabet_name,
                 "Azbuka mreze i lista reci: ascii (A-Z), sr-latn ili sr-cyrl")
      ->type_name("AZBUKA")
      ->default_str(alphabet_name)
      ->check(CLI::IsMember({"ascii", "sr-latn", "sr-cyrl"}).description(""));
  AddWholeNumberOption(app, "--port", port, 0, 65535,
                       "Port (podrazumevano 0: bilo koji slobodan)");
  app.add_option("--host", host,
                 "Adresa na kojoj server slusa (podrazumevano 127.0.0.1)")
      ->type_name("ADRESA");
  app.add_flag("--open", open, "Otvori adresu u veb citacu (xdg-open)");
  app.add_option("fajl", file, "Ukrstenica (ipuz) iz foldera u kom se radi")
      ->type_name("FAJL");
  if (auto status = ParseCommandLine(app, argc, argv, std::cout, std::cerr)) {
    return *status;
  }
  if (!ReadableFolder(lists)) {
    std::cerr << kProgram << ": Ne mogu da procitam folder " << lists << "\n";
    return kExitUsage;
  }
  std::filesystem::path folder = ".";
  if (!file.empty()) {
    if (!std::filesystem::is_regular_file(file)) {
      std::cerr << kProgram << ": Ne mogu da procitam " << file << "\n";
      return kExitUsage;
    }
    folder = std::filesystem::path(file).parent_path();
    if (folder.empty()) folder = ".";
  }
  const std::string token = NewToken();
  if (token.empty()) {
    std::cerr << kProgram << ": Ne mogu da procitam /dev/urandom\n";
    return kExitServe;
  }

  // SIGINT and SIGTERM are taken by one thread that stops the server; the
  // others never see them.
  // A shell starts a background job with SIGINT ignored; the server still
  // stops on it.
  signal(SIGINT, SIG_DFL);
  signal(SIGTERM, SIG_DFL);
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
  signal(SIGPIPE, SIG_IGN);
  signal(SIGCHLD, SIG_IGN);

  Session session(*AlphabetNamed(alphabet_name), lists, folder);
  StudioServer server(
      session, host, token,
      file.empty() ? "" : std::filesystem::path(file).filename().string());
  if (auto error = server.Bind(static_cast<int>(port))) {
    std::cerr << kProgram << ": " << *error << "\n";
    return kExitServe;
  }
  std::thread stopper([&] {
    int signal_number = 0;
    sigwait(&signals, &signal_number);
    session.StopFill();
    server.Stop();
  });
  std::cout << server.Url() << std::endl;
  if (open) OpenBrowser(server.Url());
  server.Run();
  // Run ends only after a signal, or when the server failed: then wake the
  // waiting thread.
  kill(getpid(), SIGTERM);
  stopper.join();
  return kExitOk;
}

}  // namespace

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  return Run(argc, argv);
}
