// The loopback HTTP server of the tests: POSIX sockets and poll, one connection at a time.
#include "support/LoopbackHttpServer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <stdexcept>
#include <string_view>

namespace vtcad::testing {

namespace {

// A client that connects and sends nothing is given up after this long, so that one stuck
// client cannot keep later tests from being answered.
constexpr int kRequestWaitMs = 10000;
// How long a client has to close its end after the answer.
constexpr int kCloseWaitMs = 2000;
// Requests larger than these are cut off (tests send small ones).
constexpr std::size_t kMaxHeadBytes = 64 * 1024;
constexpr std::size_t kMaxBodyBytes = 1024 * 1024;

std::string lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

std::string_view trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
    text.remove_suffix(1);
  return text;
}

// The path a target names: without scheme and host (absolute form, sent to proxies) and
// without the query.
std::string pathOf(std::string_view target) {
  if (size_t scheme = target.find("://"); scheme != std::string_view::npos && target.front() != '/') {
    size_t slash = target.find('/', scheme + 3);
    target = slash == std::string_view::npos ? std::string_view("/") : target.substr(slash);
  }
  return std::string(target.substr(0, target.find_first_of("?#")));
}

const char* reason(int status) {
  switch (status) {
    case 200:
      return "OK";
    case 204:
      return "No Content";
    case 301:
      return "Moved Permanently";
    case 302:
      return "Found";
    case 304:
      return "Not Modified";
    case 400:
      return "Bad Request";
    case 403:
      return "Forbidden";
    case 404:
      return "Not Found";
    case 500:
      return "Internal Server Error";
    case 503:
      return "Service Unavailable";
    default:
      return "Status";
  }
}

// A call on a socket that does not block found nothing to do, or a signal came: try again.
bool interrupted() { return errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK; }

// A socket bound to 127.0.0.1 on a port the system chooses; -1 on failure.
int boundLoopbackSocket(int& port) {
  int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) return -1;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  socklen_t length = sizeof address;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    ::close(fd);
    return -1;
  }
  port = ntohs(address.sin_port);
  return fd;
}

std::string loopbackUrl(int port, const std::string& path) {
  return "http://127.0.0.1:" + std::to_string(port) + path;
}

}  // namespace

std::string LoopbackHttpServer::Request::header(const std::string& name) const {
  std::string wanted = lower(name);
  for (const auto& [key, value] : headers) {
    if (lower(key) == wanted) return value;
  }
  return {};
}

LoopbackHttpServer::LoopbackHttpServer() {
  listener_ = boundLoopbackSocket(port_);
  int stop[2] = {-1, -1};
  if (listener_ < 0 || ::listen(listener_, /*backlog=*/16) != 0 || ::pipe2(stop, O_CLOEXEC) != 0) {
    if (listener_ >= 0) ::close(listener_);
    throw std::runtime_error(std::string("loopback HTTP server: ") + std::strerror(errno));
  }
  stopRead_ = stop[0];
  stopWrite_ = stop[1];
  thread_ = std::thread([this] { serve(); });
}

LoopbackHttpServer::~LoopbackHttpServer() {
  char byte = 's';
  while (::write(stopWrite_, &byte, 1) < 0 && errno == EINTR) {
  }
  thread_.join();
  ::close(listener_);
  ::close(stopRead_);
  ::close(stopWrite_);
}

std::string LoopbackHttpServer::url(const std::string& path) const { return loopbackUrl(port_, path); }

void LoopbackHttpServer::respond(const std::string& path, Response response) {
  std::lock_guard lock(mutex_);
  responses_[path] = std::move(response);
}

std::vector<std::string> LoopbackHttpServer::requests() const {
  std::lock_guard lock(mutex_);
  std::vector<std::string> targets;
  for (const Request& request : received_) targets.push_back(request.target);
  return targets;
}

std::vector<LoopbackHttpServer::Request> LoopbackHttpServer::received() const {
  std::lock_guard lock(mutex_);
  return received_;
}

std::size_t LoopbackHttpServer::requestCount() const {
  std::lock_guard lock(mutex_);
  return received_.size();
}

LoopbackHttpServer::Wait LoopbackHttpServer::wait(int fd, int timeoutMs, bool forWriting) const {
  pollfd fds[2] = {{stopRead_, POLLIN, 0}, {fd, static_cast<short>(forWriting ? POLLOUT : POLLIN), 0}};
  for (;;) {
    int ready = ::poll(fds, fd >= 0 ? 2 : 1, timeoutMs);
    if (ready < 0 && errno == EINTR) continue;
    if (ready < 0 || fds[0].revents != 0) return Wait::kStopped;
    if (ready == 0) return Wait::kTimedOut;
    return Wait::kReady;
  }
}

// The socket does not block, so that a client that stops reading cannot hold up the stop.
bool LoopbackHttpServer::sendAll(int fd, std::string_view bytes) const {
  while (!bytes.empty()) {
    ssize_t sent = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (sent < 0 && interrupted()) {
      if (wait(fd, /*timeoutMs=*/-1, /*forWriting=*/true) != Wait::kReady) return false;
      continue;
    }
    if (sent <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(sent));
  }
  return true;
}

void LoopbackHttpServer::serve() {
  while (wait(listener_, /*timeoutMs=*/-1) == Wait::kReady) {
    int connection = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (connection < 0) continue;
    handle(connection);
    ::close(connection);
  }
}

void LoopbackHttpServer::handle(int connection) {
  // The head: everything up to the empty line.
  std::string data;
  size_t headEnd = std::string::npos;
  char chunk[4096];
  while (headEnd == std::string::npos) {
    if (data.size() > kMaxHeadBytes || wait(connection, kRequestWaitMs) != Wait::kReady) return;
    ssize_t got = ::recv(connection, chunk, sizeof chunk, 0);
    if (got < 0 && interrupted()) continue;
    if (got <= 0) return;
    data.append(chunk, static_cast<size_t>(got));
    headEnd = data.find("\r\n\r\n");
  }

  Request request;
  std::string_view head(data.data(), headEnd);
  size_t lineEnd = head.find("\r\n");
  std::string_view requestLine = head.substr(0, lineEnd);
  size_t firstSpace = requestLine.find(' ');
  size_t secondSpace = requestLine.find(' ', firstSpace == std::string_view::npos ? 0 : firstSpace + 1);
  if (firstSpace == std::string_view::npos || secondSpace == std::string_view::npos) return;
  request.method = std::string(requestLine.substr(0, firstSpace));
  request.target = std::string(requestLine.substr(firstSpace + 1, secondSpace - firstSpace - 1));
  std::string_view rest = lineEnd == std::string_view::npos ? std::string_view() : head.substr(lineEnd + 2);
  while (!rest.empty()) {
    size_t end = rest.find("\r\n");
    std::string_view line = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 2);
    size_t colon = line.find(':');
    if (colon == std::string_view::npos) continue;
    request.headers.emplace_back(std::string(trim(line.substr(0, colon))),
                                 std::string(trim(line.substr(colon + 1))));
  }

  // A body, when the request announces one.
  request.body = data.substr(headEnd + 4);
  std::string length = request.header("Content-Length");
  size_t bodyBytes = 0;
  std::from_chars(length.data(), length.data() + length.size(), bodyBytes);
  bodyBytes = std::min(bodyBytes, kMaxBodyBytes);
  while (request.body.size() < bodyBytes) {
    if (wait(connection, kRequestWaitMs) != Wait::kReady) return;
    ssize_t got = ::recv(connection, chunk, sizeof chunk, 0);
    if (got < 0 && interrupted()) continue;
    if (got <= 0) return;
    request.body.append(chunk, static_cast<size_t>(got));
  }

  Response response{.status = 404};
  {
    std::lock_guard lock(mutex_);
    received_.push_back(request);
    if (auto it = responses_.find(pathOf(request.target)); it != responses_.end()) response = it->second;
  }

  if (response.neverAnswer) {
    // Read (and drop) whatever comes until the client closes or the server stops.
    for (;;) {
      if (wait(connection, /*timeoutMs=*/-1) != Wait::kReady) return;
      ssize_t got = ::recv(connection, chunk, sizeof chunk, 0);
      if (got < 0 && interrupted()) continue;
      if (got <= 0) return;
    }
  }
  if (response.delay.count() > 0 &&
      wait(/*fd=*/-1, static_cast<int>(response.delay.count())) == Wait::kStopped)
    return;

  std::string answer = "HTTP/1.1 " + std::to_string(response.status) + " " + reason(response.status) + "\r\n";
  for (const std::string& line : response.headers) answer += line + "\r\n";
  if (!response.untilClose) answer += "Content-Length: " + std::to_string(response.body.size()) + "\r\n";
  answer += "Connection: close\r\n\r\n";
  if (!sendAll(connection, answer) || !sendAll(connection, response.body)) return;

  // Closing with the client's bytes unread would reset the connection and could lose the
  // answer on its way: let the client close first.
  ::shutdown(connection, SHUT_WR);
  while (wait(connection, kCloseWaitMs) == Wait::kReady) {
    ssize_t got = ::recv(connection, chunk, sizeof chunk, 0);
    if (got < 0 && interrupted()) continue;
    if (got <= 0) return;
  }
}

RefusingPort::RefusingPort() {
  socket_ = boundLoopbackSocket(port_);
  if (socket_ < 0) throw std::runtime_error(std::string("refusing port: ") + std::strerror(errno));
}

RefusingPort::~RefusingPort() { ::close(socket_); }

std::string RefusingPort::url(const std::string& path) const { return loopbackUrl(port_, path); }

}  // namespace vtcad::testing
