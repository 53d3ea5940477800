#include "studio/server.h"

#include <arpa/inet.h>
#include <httplib.h>

#include <cstdio>
#include <fstream>
#include <vector>

#include "studio/connection.h"
#include "studio/page_files.h"

namespace polimreza {
namespace {

constexpr const char* kJson = "application/json";

// The page file `name`, as embedded when the program was built.
std::optional<std::string> PageFile(const std::string& name) {
  const std::string_view bytes = StudioPageFile(name);
  if (bytes.empty()) return std::nullopt;
  return std::string(bytes);
}

std::string ContentType(const std::string& name) {
  if (name.ends_with(".html")) return "text/html; charset=utf-8";
  if (name.ends_with(".css")) return "text/css; charset=utf-8";
  if (name.ends_with(".js")) return "text/javascript; charset=utf-8";
  return "application/octet-stream";
}

// Compares in time independent of where the texts differ.
bool SameSecret(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  unsigned char diff = 0;
  for (std::size_t i = 0; i < a.size(); ++i) {
    diff |= static_cast<unsigned char>(a[i] ^ b[i]);
  }
  return diff == 0;
}

void SetError(httplib::Response& res, int status, const std::string& message) {
  res.status = status;
  res.set_content(ErrorBody(ApiError{status, message}), kJson);
}

}  // namespace

std::string NewToken() {
  std::ifstream random("/dev/urandom", std::ios::binary);
  unsigned char bytes[16];
  if (!random.read(reinterpret_cast<char*>(bytes), sizeof bytes)) return "";
  std::string token;
  for (unsigned char byte : bytes) {
    char hex[3];
    std::snprintf(hex, sizeof hex, "%02x", byte);
    token += hex;
  }
  return token;
}

bool IsLoopback(const std::string& host) {
  if (host == "localhost" || host == "::1") return true;
  in_addr address{};
  if (inet_pton(AF_INET, host.c_str(), &address) == 1) {
    return (ntohl(address.s_addr) >> 24) == 127;
  }
  return false;
}

struct StudioServer::Impl {
  Session& session;
  std::string host;
  std::string token;
  std::string first_file;
  StudioHttpServer server;
  std::vector<std::string> hosts;  // the Host headers accepted

  Impl(Session& s, std::string h, std::string t, std::string f)
      : session(s),
        host(std::move(h)),
        token(std::move(t)),
        first_file(std::move(f)) {}

  bool Allowed(const httplib::Request& req) const {
    const std::string name = req.get_header_value("Host");
    bool known = false;
    for (const std::string& allowed : hosts) known |= name == allowed;
    if (!known) return false;
    if (req.method == "POST" && req.has_header("Origin")) {
      const std::string origin = req.get_header_value("Origin");
      bool same = false;
      for (const std::string& allowed : hosts) {
        same |= origin == "http://" + allowed;
      }
      if (!same) return false;
    }
    if (req.path.starts_with("/api/")) {
      return SameSecret(req.get_header_value("X-Polimreza-Token"), token);
    }
    // The page's own files hold no secret and are served to anyone who got
    // past the Host check; no cookie carries the token, since a browser
    // sends a cookie of this host to every other server on it too.
    if (req.path != "/") return true;
    return SameSecret(req.get_param_value("token"), token);
  }

  void Routes() {
    Guards();
    PageRoutes();
    ApiRoutes();
  }

  // What every request and reply goes through: the headers of every reply,
  // the refusals before any route, and the replies to errors.
  void Guards() {
    server.set_default_headers(
        {{"Content-Security-Policy",
          "default-src 'none'; script-src 'self'; style-src 'self'; img-src "
          "'self' data:; connect-src 'self'; base-uri 'none'; form-action "
          "'none'; frame-ancestors 'none'"},
         {"X-Content-Type-Options", "nosniff"},
         {"Referrer-Policy", "no-referrer"},
         {"Cache-Control", "no-store"}});
    server.set_payload_max_length(kMaxRequestBytes);
    // A reply goes out as its headers and then its body: with Nagle's
    // algorithm on, the body waits for the client's delayed acknowledgement
    // of the headers, some 40 ms on every request of a kept-alive
    // connection.
    server.set_tcp_nodelay(true);
    server.set_pre_routing_handler(
        [this](const httplib::Request& req, httplib::Response& res) {
          if (auto refusal = StudioHttpServer::CurrentRefusal()) {
            SetError(res, refusal->status, refusal->message);
            return httplib::Server::HandlerResponse::Handled;
          }
          if (Allowed(req)) return httplib::Server::HandlerResponse::Unhandled;
          SetError(res, 403, "Pristup nije dozvoljen");
          return httplib::Server::HandlerResponse::Handled;
        });
    server.set_exception_handler(ExceptionReply);
    server.set_error_handler(ErrorReply);
  }

  // No exception's own text goes out: only the studio's message.
  static void ExceptionReply(const httplib::Request&, httplib::Response& res,
                             std::exception_ptr exception) {
    try {
      std::rethrow_exception(exception);
    } catch (const std::bad_alloc&) {
      // No JSON value is built (see ErrorBody).
      res.status = 503;
      res.set_content(R"({"error":"Nema dovoljno memorije"})", kJson);
    } catch (...) {
      SetError(res, 500, "Greska na serveru");
    }
  }

  static void ErrorReply(const httplib::Request&, httplib::Response& res) {
    if (StudioHttpServer::CurrentBodyTooLarge()) {
      SetError(res, 413, "Zahtev je veci od 1 MB");
      res.set_header("Connection", "close");
      return;
    }
    if (!res.body.empty()) return;
    if (res.status == 413) {
      SetError(res, 413, "Zahtev je veci od 1 MB");
    } else if (res.status == 404) {
      SetError(res, 404, "Nepoznata putanja");
    } else {
      SetError(res, res.status, "Neispravan zahtev");
    }
  }

  void PageRoutes() {
    server.Get("/", [](const httplib::Request&, httplib::Response& res) {
      res.set_content(*PageFile("studio.html"), ContentType("studio.html"));
    });
    server.Get(R"(/([A-Za-z0-9_-]+\.(?:html|css|js)))",
               [](const httplib::Request& req, httplib::Response& res) {
                 const std::string name = req.matches[1];
                 if (auto file = PageFile(name)) {
                   res.set_content(*file, ContentType(name));
                 } else {
                   SetError(res, 404, "Nepoznata putanja");
                 }
               });
  }

  void ApiRoutes() {
    using Body = Reply (Session::*)(std::string_view);
    const std::vector<std::pair<const char*, Body>> posts = {
        {"/api/candidates", &Session::Candidates},
        {"/api/check", &Session::Check},
        {"/api/search", &Session::SearchWords},
        {"/api/fill", &Session::Fill},
        {"/api/exclude", &Session::Exclude},
        {"/api/include", &Session::Include},
        {"/api/clues", &Session::Clues},
        {"/api/clue", &Session::SetClue},
        {"/api/quality", &Session::Quality},
        {"/api/score", &Session::SetScore},
        {"/api/open", &Session::Open},
        {"/api/save", &Session::Save},
        {"/api/export", &Session::Export}};
    for (const auto& [path, method] : posts) {
      server.Post(path, [this, method = method](const httplib::Request& req,
                                                httplib::Response& res) {
        Send(res, (session.*method)(req.body));
      });
    }
    using Query = Reply (Session::*)();
    const std::vector<std::pair<const char*, Query>> gets = {
        {"/api/progress", &Session::Progress},
        {"/api/excluded", &Session::Excluded},
        {"/api/files", &Session::Files}};
    for (const auto& [path, method] : gets) {
      server.Get(path, [this, method = method](const httplib::Request&,
                                               httplib::Response& res) {
        Send(res, (session.*method)());
      });
    }
    server.Post("/api/stop",
                [this](const httplib::Request&, httplib::Response& res) {
                  Send(res, session.Stop());
                });
    server.Get("/api/info",
               [this](const httplib::Request&, httplib::Response& res) {
                 Send(res, session.Info(host, IsLoopback(host), first_file));
               });
  }

  static void Send(httplib::Response& res, const Reply& reply) {
    res.status = reply.status;
    res.set_content(reply.body, kJson);
  }
};

StudioServer::StudioServer(Session& session, std::string host,
                           std::string token, std::string file)
    : impl_(std::make_unique<Impl>(session, std::move(host), std::move(token),
                                   std::move(file))) {
  impl_->Routes();
}

StudioServer::~StudioServer() = default;

std::optional<std::string> StudioServer::Bind(int port) {
  const std::string& host = impl_->host;
  if (port == 0) {
    port_ = impl_->server.bind_to_any_port(host);
    if (port_ <= 0) return "Ne mogu da otvorim adresu " + host;
  } else if (impl_->server.bind_to_port(host, port)) {
    port_ = port;
  } else {
    return "Ne mogu da otvorim adresu " + host + " na portu " +
           std::to_string(port) + " (zauzet ili nedozvoljen)";
  }
  // Appended rather than concatenated: GCC 12 takes a literal plus a
  // string for an overlapping copy (-Wrestrict) in optimised builds.
  const std::string suffix = std::string(":").append(std::to_string(port_));
  const std::string named = host.find(':') != std::string::npos
                                ? std::string("[").append(host).append("]")
                                : host;
  impl_->hosts = {"127.0.0.1" + suffix, "localhost" + suffix, named + suffix};
  return std::nullopt;
}

std::string StudioServer::Url() const {
  // An address of every interface is opened through this machine's own.
  const std::string host = impl_->host == "0.0.0.0" || impl_->host == "::"
                               ? "127.0.0.1"
                               : impl_->host;
  const std::string named =
      host.find(':') != std::string::npos ? "[" + host + "]" : host;
  return "http://" + named + ":" + std::to_string(port_) +
         "/?token=" + impl_->token;
}

void StudioServer::Run() { impl_->server.listen_after_bind(); }

void StudioServer::Stop() { impl_->server.Shutdown(); }

}  // namespace polimreza
