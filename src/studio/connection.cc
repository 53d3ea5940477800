#include "studio/connection.h"

#include <arpa/inet.h>
#include <poll.h>
#include <strings.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <new>
#include <thread>
#include <type_traits>
#include <vector>

#include "studio/memory_reserve.h"

namespace polimreza {
namespace {

using Clock = std::chrono::steady_clock;

// How long one write may wait for the client to take bytes.
constexpr std::chrono::seconds kWriteWait{5};
// The most requests one kept-alive connection carries.
constexpr std::size_t kRequestsPerConnection = 100;
// How often a waiting read or write looks whether the server stops.
constexpr int kPollSliceMs = 100;

// The reply when memory runs out where no reply can be built: written from
// static bytes.
constexpr char kNoMemoryReply[] =
    "HTTP/1.1 503 Service Unavailable\r\n"
    "Content-Type: application/json\r\n"
    "Content-Length: 34\r\n"
    "Connection: close\r\n"
    "Cache-Control: no-store\r\n"
    "X-Content-Type-Options: nosniff\r\n"
    "\r\n"
    "{\"error\":\"Nema dovoljno memorije\"}";

// Address space held back for the unwinding of a request that ran out of
// memory.
constexpr std::size_t kReserveBytes = 16 << 20;

// Workers started as connections wait for one, up to a bound; a worker that
// cannot be started leaves its connection to the ones there are.
class WorkerPool : public httplib::TaskQueue {
 public:
  explicit WorkerPool(std::size_t most)
      : most_(std::max<std::size_t>(most, 1)) {
    threads_.emplace_back([this] { Work(); });
  }
  ~WorkerPool() override { shutdown(); }

  void enqueue(std::function<void()> job) override {
    std::unique_lock lock(mutex_);
    bool queued = false;
    try {
      jobs_.push_back(std::move(job));
      queued = true;
    } catch (const std::bad_alloc&) {
    }
    if (!queued) {
      // Served on the listening thread rather than dropped; outside the
      // catch handler, where a failed allocation would wait rather than
      // fail the request.
      lock.unlock();
      job();
      return;
    }
    if (idle_ < jobs_.size() && threads_.size() < most_) {
      try {
        threads_.emplace_back([this] { Work(); });
      } catch (const std::exception&) {
        // The job waits for a worker that is there.
      }
    }
    ready_.notify_one();
  }

  void shutdown() override {
    {
      std::lock_guard lock(mutex_);
      if (stopped_) return;
      stopped_ = true;
    }
    ready_.notify_all();
    for (std::thread& thread : threads_) thread.join();
  }

 private:
  void Work() {
    for (;;) {
      std::function<void()> job;
      {
        std::unique_lock lock(mutex_);
        ++idle_;
        ready_.wait(lock, [this] { return !jobs_.empty() || stopped_; });
        --idle_;
        if (jobs_.empty()) return;
        job = std::move(jobs_.front());
        jobs_.pop_front();
      }
      job();
    }
  }

  const std::size_t most_;
  std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<std::function<void()>> jobs_;
  std::vector<std::thread> threads_;
  std::size_t idle_ = 0;
  bool stopped_ = false;
};

// What the handlers may learn of the request being served on this thread.
struct RequestState {
  std::optional<FramingRefusal> refusal;
  bool body_too_large = false;
};
// A thread-local that needs destroying is registered with the C library on
// its thread's first use, which allocates; a worker started as memory runs
// out would end the program there.
static_assert(std::is_trivially_destructible_v<RequestState>);
thread_local RequestState current_request;

// A socket read through a buffer until a deadline, counting the bytes of a
// request's body; every wait ends when the server stops.
class DeadlineStream : public httplib::Stream {
 public:
  DeadlineStream(socket_t sock, const std::atomic<bool>& stopping)
      : sock_(sock), stopping_(stopping) {}

  // Waits until a request starts or `deadline`; false when none does.
  bool AwaitRequest(Clock::time_point deadline) {
    return begin_ < end_ || Wait(POLLIN, deadline);
  }
  void StartRequest(Clock::time_point deadline) {
    deadline_ = deadline;
    counting_ = false;
  }
  void StartBody(Clock::time_point deadline, std::size_t limit) {
    deadline_ = deadline;
    counting_ = true;
    body_ = 0;
    limit_ = limit;
  }
  // Whether a read failed: the connection cannot carry another request.
  bool Broken() const { return broken_; }

  bool is_readable() const override {
    return begin_ < end_ || Wait(POLLIN, deadline_);
  }
  bool is_writable() const override {
    return Wait(POLLOUT, Clock::now() + kWriteWait);
  }

  ssize_t read(char* ptr, std::size_t size) override {
    if (begin_ == end_ && !Fill()) {
      broken_ = true;
      return -1;
    }
    std::size_t n = std::min(size, end_ - begin_);
    if (counting_) {
      if (body_ + n > limit_) {
        current_request.body_too_large = broken_ = true;
        return -1;
      }
      body_ += n;
    }
    std::memcpy(ptr, buffer_ + begin_, n);
    begin_ += n;
    return static_cast<ssize_t>(n);
  }

  ssize_t write(const char* ptr, std::size_t size) override {
    if (!is_writable()) return -1;
    return send(sock_, ptr, size, MSG_NOSIGNAL);
  }

  void get_remote_ip_and_port(std::string& ip, int& port) const override {
    Address(getpeername, ip, port);
  }
  void get_local_ip_and_port(std::string& ip, int& port) const override {
    Address(getsockname, ip, port);
  }
  socket_t socket() const override { return sock_; }

 private:
  bool Wait(short events, Clock::time_point deadline) const {
    while (!stopping_) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                            deadline - Clock::now())
                            .count();
      if (left <= 0) return false;
      pollfd poll_fd{sock_, events, 0};
      const int ready = poll(
          &poll_fd, 1, static_cast<int>(std::min<long>(left, kPollSliceMs)));
      if (ready > 0) return true;
      if (ready < 0 && errno != EINTR) return false;
    }
    return false;
  }

  bool Fill() {
    if (!Wait(POLLIN, deadline_)) return false;
    const ssize_t n = recv(sock_, buffer_, sizeof buffer_, 0);
    if (n <= 0) return false;
    begin_ = 0;
    end_ = static_cast<std::size_t>(n);
    return true;
  }

  template <typename Query>
  void Address(Query query, std::string& ip, int& port) const {
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    ip.clear();
    port = 0;
    if (query(sock_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
      return;
    }
    char text[INET6_ADDRSTRLEN] = "";
    if (address.ss_family == AF_INET) {
      const auto& v4 = reinterpret_cast<const sockaddr_in&>(address);
      inet_ntop(AF_INET, &v4.sin_addr, text, sizeof text);
      port = ntohs(v4.sin_port);
    } else if (address.ss_family == AF_INET6) {
      const auto& v6 = reinterpret_cast<const sockaddr_in6&>(address);
      inet_ntop(AF_INET6, &v6.sin6_addr, text, sizeof text);
      port = ntohs(v6.sin6_port);
    }
    ip = text;
  }

  socket_t sock_;
  const std::atomic<bool>& stopping_;
  char buffer_[4096];
  std::size_t begin_ = 0;
  std::size_t end_ = 0;
  Clock::time_point deadline_ = Clock::now();
  bool counting_ = false;
  std::size_t body_ = 0;
  std::size_t limit_ = 0;
  bool broken_ = false;
};

bool SameText(const std::string& a, const char* b) {
  return strcasecmp(a.c_str(), b) == 0;
}

bool HasBody(const httplib::Request& request) {
  return request.has_header("Transfer-Encoding") ||
         (request.has_header("Content-Length") &&
          request.get_header_value("Content-Length") != "0");
}

bool IsLength(const std::string& text) {
  return !text.empty() && text.size() <= 18 &&
         std::all_of(text.begin(), text.end(),
                     [](char c) { return c >= '0' && c <= '9'; });
}

// Ends the connection's sending and reads what the client still sends, for
// a little while: closing with bytes unread would reset the connection, and
// the client could lose the reply before reading it.
void Drain(socket_t sock) {
  shutdown(sock, SHUT_WR);
  const auto until = Clock::now() + std::chrono::milliseconds(500);
  char bytes[4096];
  std::size_t drained = 0;
  while (drained < (4u << 20) && Clock::now() < until) {
    pollfd poll_fd{sock, POLLIN, 0};
    if (poll(&poll_fd, 1, kPollSliceMs) <= 0) continue;
    const ssize_t n = recv(sock, bytes, sizeof bytes, 0);
    if (n <= 0) return;
    drained += static_cast<std::size_t>(n);
  }
}

}  // namespace

std::optional<FramingRefusal> CheckFraming(const httplib::Request& request,
                                           std::size_t max_body) {
  if (request.has_header("Content-Encoding") &&
      !SameText(request.get_header_value("Content-Encoding"), "identity")) {
    return FramingRefusal{415, "Sazeto telo zahteva nije podrzano"};
  }
  const std::size_t lengths = request.get_header_value_count("Content-Length");
  if (request.has_header("Transfer-Encoding")) {
    if (lengths > 0 ||
        request.get_header_value_count("Transfer-Encoding") != 1 ||
        !SameText(request.get_header_value("Transfer-Encoding"), "chunked")) {
      return FramingRefusal{400, "Neispravan zahtev"};
    }
    return std::nullopt;
  }
  if (lengths == 0) {
    if (request.method == "POST") {
      return FramingRefusal{411, "Zahtev nema duzinu"};
    }
    return std::nullopt;
  }
  const std::string length = request.get_header_value("Content-Length");
  if (lengths != 1 || !IsLength(length)) {
    return FramingRefusal{400, "Neispravna duzina zahteva"};
  }
  if (std::stoull(length) > max_body) {
    return FramingRefusal{413, "Zahtev je veci od 1 MB"};
  }
  return std::nullopt;
}

StudioHttpServer::StudioHttpServer(ConnectionLimits limits) : limits_(limits) {
  new_task_queue = [this] { return new WorkerPool(limits_.workers); };
  InstallMemoryReserve(kReserveBytes);
}

void StudioHttpServer::Shutdown() {
  stopping_ = true;
  stop();
}

std::optional<FramingRefusal> StudioHttpServer::CurrentRefusal() {
  return current_request.refusal;
}

bool StudioHttpServer::CurrentBodyTooLarge() {
  return current_request.body_too_large;
}

bool StudioHttpServer::process_and_close_socket(socket_t sock) {
  bool served = false;
  try {
    served = Serve(sock);
  } catch (const std::bad_alloc&) {
    send(sock, kNoMemoryReply, sizeof kNoMemoryReply - 1, MSG_NOSIGNAL);
  } catch (...) {
    // The connection is dropped; the server goes on.
  }
  current_request = RequestState{};
  Drain(sock);
  close(sock);
  return served;
}

bool StudioHttpServer::Serve(socket_t sock) {
  DeadlineStream stream(sock, stopping_);
  RequestState& state = current_request;
  for (std::size_t n = 0; n < kRequestsPerConnection; ++n) {
    if (!stream.AwaitRequest(Clock::now() + limits_.idle)) return true;
    stream.StartRequest(Clock::now() + limits_.headers);
    state = RequestState{};
    bool closed = false;
    // Given back however the request ends.
    struct Turn {
      std::counting_semaphore<>* turns = nullptr;
      ~Turn() {
        if (turns) turns->release();
      }
    } turn;
    const bool written = process_request(
        stream, n + 1 == kRequestsPerConnection, closed,
        [&](httplib::Request& request) {
          const auto deadline = Clock::now() + limits_.body;
          stream.StartBody(deadline, limits_.max_body);
          state.refusal = CheckFraming(request, limits_.max_body);
          if (!state.refusal && HasBody(request)) {
            // Bodies are read and handled a few at a time, so that many
            // large ones at once do not exhaust memory.
            if (body_turns_.try_acquire_until(deadline)) {
              turn.turns = &body_turns_;
            } else {
              state.refusal = FramingRefusal{503, "Server je zauzet"};
            }
          }
          if (!state.refusal) return;
          // Its body is never read: nothing after it can be told apart.
          request.headers.erase("Connection");
          request.headers.emplace("Connection", "close");
        });
    RearmMemoryReserve();
    if (!written || closed || state.refusal || stream.Broken()) return written;
  }
  return true;
}

}  // namespace polimreza
