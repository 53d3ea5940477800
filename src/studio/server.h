// The studio's web server: serves the constructor's page and its API on one
// address of this machine, to the holder of the run's token only.
#ifndef POLIMREZA_STUDIO_SERVER_H_
#define POLIMREZA_STUDIO_SERVER_H_

#include <memory>
#include <optional>
#include <string>

#include "studio/session.h"

namespace polimreza {

// The largest request body the server reads.
inline constexpr std::size_t kMaxRequestBytes = 1 << 20;

// A token of 32 lowercase hexadecimal digits from the system's random
// source; empty when it cannot be read.
std::string NewToken();

// Whether `host` names this machine only: localhost, 127.0.0.0/8, ::1.
bool IsLoopback(const std::string& host);

class StudioServer {
 public:
  // `file`: the puzzle to open first, named to the page ("" for none).
  StudioServer(Session& session, std::string host, std::string token,
               std::string file = "");
  ~StudioServer();

  // Binds to `port` (0: a free one); the error message when it cannot.
  std::optional<std::string> Bind(int port);
  int Port() const { return port_; }
  // The address to open: http://HOST:PORT/?token=TOKEN.
  std::string Url() const;
  // Serves until Stop().
  void Run();
  // Ends Run(); safe to call from another thread.
  void Stop();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
  int port_ = 0;
};

}  // namespace polimreza

#endif  // POLIMREZA_STUDIO_SERVER_H_
