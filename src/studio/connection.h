// The connections of the studio's web server: each one served on a worker of
// a pool that grows as connections wait, its requests read within deadlines
// (the headers, then the body), bodies held to a size limit as they arrive,
// compressed or malformed framing refused before a body is read, memory
// running out answered rather than ending the program, and every connection
// dropped at once when the server stops.
#ifndef POLIMREZA_STUDIO_CONNECTION_H_
#define POLIMREZA_STUDIO_CONNECTION_H_

#include <httplib.h>

#include <atomic>
#include <chrono>
#include <cstddef>
#include <optional>
#include <semaphore>
#include <string>

namespace polimreza {

struct ConnectionLimits {
  // From a request's first byte to the end of its headers.
  std::chrono::milliseconds headers{10000};
  // From the end of the headers to the end of the body.
  std::chrono::milliseconds body{30000};
  // How long a kept-alive connection may wait for its next request.
  std::chrono::milliseconds idle{5000};
  // The largest body, in bytes as they arrive (chunk framing included).
  std::size_t max_body = 1 << 20;
  // The most connections served at once; more wait for a worker.
  std::size_t workers = 64;
};

// A request refused before its body is read: the status and the message,
// a literal (it is kept per thread, where nothing may need destroying).
struct FramingRefusal {
  int status = 400;
  const char* message = "";
};

// Why the framing of a request with `headers` cannot be taken: a body
// compressed (415), a Content-Length that is no number (400) or over
// `max_body` (413), a POST without a length (411), a Transfer-Encoding
// other than chunked (400). None when it can.
std::optional<FramingRefusal> CheckFraming(const httplib::Request& request,
                                           std::size_t max_body);

class StudioHttpServer : public httplib::Server {
 public:
  explicit StudioHttpServer(ConnectionLimits limits = {});

  // Ends listening and every connection; safe from another thread.
  void Shutdown();

  // On the worker serving a request: the refusal of its framing, if any,
  // and whether its body went past the limit while it was read.
  static std::optional<FramingRefusal> CurrentRefusal();
  static bool CurrentBodyTooLarge();

 private:
  bool process_and_close_socket(socket_t sock) override;
  bool Serve(socket_t sock);

  ConnectionLimits limits_;
  std::atomic<bool> stopping_{false};
  std::counting_semaphore<> body_turns_{8};
};

}  // namespace polimreza

#endif  // POLIMREZA_STUDIO_CONNECTION_H_
