#pragma once
// A small HTTP/1.1 server on 127.0.0.1 for tests of code that fetches URLs: each test makes its
// own, tells it what to answer for which path, and afterwards looks at what was asked.
//
//   vtcad::testing::LoopbackHttpServer server;
//   server.respond("/version", {.status = 200, .body = "2.1"});
//   fetch(server.url("/version?from=1.0"));
//   EXPECT_EQ(server.requests(), std::vector<std::string>{"/version?from=1.0"});
//
// It listens on an ephemeral port from construction to destruction and serves one connection at
// a time on a thread of its own, one request per connection (every answer says Connection:
// close). A connection still waiting (a `delay`, `neverAnswer`) holds up the next one, so tests
// that fetch at once should answer without delay. The destructor always returns promptly: every
// wait of the server thread also watches a stop pipe.
#include <chrono>
#include <cstddef>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

namespace vtcad::testing {

class LoopbackHttpServer {
 public:
  // Every member has a default, so designated initializers may leave any out (in this order):
  // {.status = 503, .delay = std::chrono::milliseconds(50)}.
  struct Response {
    int status = 200;
    std::string body{};
    // How long to wait before answering.
    std::chrono::milliseconds delay{0};
    // Keep the connection open without answering until the client gives up or the server stops:
    // how time-outs are tested.
    bool neverAnswer = false;
    // More header lines ("Location: /elsewhere"); Connection: close is always sent.
    std::vector<std::string> headers{};
    // Send no Content-Length: the body ends where the connection is closed.
    bool untilClose = false;
  };

  // A request as it arrived.
  struct Request {
    std::string method;
    std::string target;  // as sent: "/path?query", or the whole URL when sent to a proxy
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;
    // The value of the first header of that name (names compare without regard to case); empty
    // when there is none.
    std::string header(const std::string& name) const;
  };

  LoopbackHttpServer();  // listening when constructed; throws std::runtime_error when it cannot
  ~LoopbackHttpServer();
  LoopbackHttpServer(const LoopbackHttpServer&) = delete;
  LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

  int port() const { return port_; }
  // "http://127.0.0.1:<port><path>"
  std::string url(const std::string& path) const;

  // What to answer for a path (without the query; a target in absolute form, as sent to a
  // proxy, is answered by its path). Paths not set are answered 404 with an empty body.
  void respond(const std::string& path, Response response);

  // Targets of the requests received so far, in order.
  std::vector<std::string> requests() const;
  std::vector<Request> received() const;
  std::size_t requestCount() const;

 private:
  enum class Wait { kReady, kTimedOut, kStopped };

  void serve();
  void handle(int connection);
  // Waits until fd is readable (or closed by the peer), the server stops, or timeoutMs passes
  // (-1: no limit; fd -1: only the stop or the time). forWriting: until fd takes more bytes.
  Wait wait(int fd, int timeoutMs, bool forWriting = false) const;
  bool sendAll(int fd, std::string_view bytes) const;

  int listener_ = -1;
  int stopRead_ = -1;
  int stopWrite_ = -1;
  int port_ = 0;
  mutable std::mutex mutex_;
  std::map<std::string, Response> responses_;
  std::vector<Request> received_;
  std::thread thread_;
};

// A loopback port nobody listens on while this lives (it is bound, so no one else can take it):
// a connection to it is refused at once.
class RefusingPort {
 public:
  RefusingPort();
  ~RefusingPort();
  RefusingPort(const RefusingPort&) = delete;
  RefusingPort& operator=(const RefusingPort&) = delete;

  int port() const { return port_; }
  std::string url(const std::string& path) const;

 private:
  int socket_ = -1;
  int port_ = 0;
};

}  // namespace vtcad::testing
