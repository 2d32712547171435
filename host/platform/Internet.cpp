// The WinInet-shaped HTTP GET of zcinet.h over libcurl. Each request runs one easy handle on a
// multi handle of its own, on the caller's thread: curl_easy_perform would do the same, but it
// looks at the clock only about once a second while nothing arrives, and the stall limit and the
// cancelling by InternetCloseHandle need a wait of our own.
#include <curl/curl.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/HandleTable.h"
#include "platform/TextEncoding.h"
#include "zcad/platform/zcinet.h"

namespace vtcad::platform {

namespace {

using Clock = std::chrono::steady_clock;
using Milliseconds = std::chrono::milliseconds;

// The longest a request waits in one go before it looks at the clock again; a stall limit or
// the closing of the session wakes it sooner.
constexpr int kLongestWaitMs = 1000;

// libcurl is set up once, on first use, and never taken down: curl_global_cleanup at exit could
// pull it from under a worker thread still in a request.
bool curlReady() {
  static const bool ready = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
  return ready;
}

struct SessionSettings {
  std::string agent;  // UTF-8; empty: no User-Agent header
  bool direct = false;
  DWORD connectTimeoutMs = kInternetDefaultConnectTimeoutMs;
  DWORD connectRetries = kInternetDefaultConnectRetries;
  DWORD receiveTimeoutMs = kInternetDefaultReceiveTimeoutMs;
  DWORD sendTimeoutMs = kInternetDefaultReceiveTimeoutMs;  // kept, not used (see zcinet.h)
};

// A session's settings and the requests under way on it, so that closing it wakes them.
class Session {
 public:
  explicit Session(SessionSettings settings) : settings_(std::move(settings)) {}

  SessionSettings settings() const {
    std::lock_guard lock(mutex_);
    return settings_;
  }

  bool setOption(DWORD option, DWORD value) {
    std::lock_guard lock(mutex_);
    switch (option) {
      case INTERNET_OPTION_CONNECT_TIMEOUT:
        settings_.connectTimeoutMs = value;
        return true;
      case INTERNET_OPTION_CONNECT_RETRIES:
        settings_.connectRetries = value;
        return true;
      case INTERNET_OPTION_CONTROL_SEND_TIMEOUT:
      case INTERNET_OPTION_DATA_SEND_TIMEOUT:
        settings_.sendTimeoutMs = value;
        return true;
      case INTERNET_OPTION_CONTROL_RECEIVE_TIMEOUT:
      case INTERNET_OPTION_DATA_RECEIVE_TIMEOUT:
        settings_.receiveTimeoutMs = value;
        return true;
      default:
        return false;
    }
  }

  // A request registers the multi handle it waits on; false when the session is closed.
  bool begin(CURLM* multi) {
    std::lock_guard lock(mutex_);
    if (closed_) return false;
    active_.push_back(multi);
    return true;
  }
  void end(CURLM* multi) {
    std::lock_guard lock(mutex_);
    std::erase(active_, multi);
  }
  bool closed() const {
    std::lock_guard lock(mutex_);
    return closed_;
  }
  void close() {
    std::lock_guard lock(mutex_);
    closed_ = true;
    // Under the lock, so that no request can end and free its handle meanwhile.
    for (CURLM* multi : active_) curl_multi_wakeup(multi);
  }

 private:
  mutable std::mutex mutex_;
  SessionSettings settings_;
  bool closed_ = false;
  std::vector<CURLM*> active_;
};

// A finished response, read from the front.
class Request {
 public:
  Request(DWORD status, std::string body) : status_(status), body_(std::move(body)) {}

  DWORD status() const { return status_; }

  size_t read(void* buffer, size_t size) {
    std::lock_guard lock(mutex_);
    size_t count = std::min(size, body_.size() - position_);
    if (count > 0) std::memcpy(buffer, body_.data() + position_, count);
    position_ += count;
    return count;
  }

 private:
  const DWORD status_;
  const std::string body_;
  std::mutex mutex_;
  size_t position_ = 0;
};

using Object = std::variant<std::shared_ptr<Session>, std::shared_ptr<Request>>;

// Handles are numbers, never reused, so a closed or made-up handle finds nothing. Calls hold a
// shared_ptr of their object, so closing a handle during a call on it is safe.
HandleTable<HINTERNET, Object>& handles() {
  static HandleTable<HINTERNET, Object> table(/*first=*/0x10000);
  return table;
}

// The session or request behind a handle; null for a closed handle or one of the other kind.
template <typename T>
std::shared_ptr<T> find(HINTERNET handle) {
  const std::optional<Object> object = handles().find(handle);
  const auto* typed = object ? std::get_if<std::shared_ptr<T>>(&*object) : nullptr;
  return typed ? *typed : nullptr;
}

struct CurlFree {
  void operator()(char* text) const { curl_free(text); }
  void operator()(CURLU* url) const { curl_url_cleanup(url); }
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
// CURL and CURLM are both void, so each needs a deleter of its own.
struct EasyFree {
  void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct MultiFree {
  void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
};
using HeaderList = std::unique_ptr<curl_slist, CurlFree>;

// The URL as libcurl should fetch it, or nullopt when it is not an absolute http or https URL.
// Checked here because libcurl would take "example.org" for http://example.org/.
std::optional<std::string> checkedUrl(LPCWSTR url) {
  if (!url || url[0] == L'\0') return std::nullopt;
  std::unique_ptr<CURLU, CurlFree> parsed(curl_url());
  if (!parsed || curl_url_set(parsed.get(), CURLUPART_URL, encodeUtf8(url).c_str(), /*flags=*/0) != CURLUE_OK)
    return std::nullopt;
  char* scheme = nullptr;
  if (curl_url_get(parsed.get(), CURLUPART_SCHEME, &scheme, /*flags=*/0) != CURLUE_OK) return std::nullopt;
  std::unique_ptr<char, CurlFree> schemeText(scheme);
  if (std::string_view(scheme) != "http" && std::string_view(scheme) != "https") return std::nullopt;
  char* full = nullptr;
  if (curl_url_get(parsed.get(), CURLUPART_URL, &full, /*flags=*/0) != CURLUE_OK) return std::nullopt;
  std::unique_ptr<char, CurlFree> fullText(full);
  return std::string(full);
}

// The caller's extra headers as libcurl takes them, plus those the flags ask for; nullopt when
// a line is not a header (no name, or a control character that could start another header).
// An empty result is a null list.
std::optional<HeaderList> requestHeaders(LPCWSTR headers, DWORD headersLength, DWORD flags) {
  HeaderList list;
  auto append = [&list](const std::string& line) {
    // The head of a list stays its head; on failure the list is left as it was.
    curl_slist* head = curl_slist_append(list.get(), line.c_str());
    if (!head) return false;
    if (!list) list.reset(head);
    return true;
  };
  std::wstring_view text;
  if (headers)
    text = headersLength == INTERNET_HEADERS_TERMINATED ? std::wstring_view(headers)
                                                        : std::wstring_view(headers, headersLength);
  while (!text.empty()) {
    size_t end = text.find(L'\n');
    std::wstring_view line = text.substr(0, end);
    text = end == std::wstring_view::npos ? std::wstring_view() : text.substr(end + 1);
    if (!line.empty() && line.back() == L'\r') line.remove_suffix(1);
    while (!line.empty() && (line.front() == L' ' || line.front() == L'\t')) line.remove_prefix(1);
    while (!line.empty() && (line.back() == L' ' || line.back() == L'\t')) line.remove_suffix(1);
    if (line.empty()) continue;
    size_t colon = line.find(L':');
    if (colon == 0 || colon == std::wstring_view::npos) return std::nullopt;
    if (std::any_of(line.begin(), line.end(),
                    [](wchar_t c) { return (c < 0x20 && c != L'\t') || c == 0x7F; }))
      return std::nullopt;
    // "Name:" with nothing after it keeps libcurl from sending a header of that name, which is
    // what a caller that writes it wants.
    if (!append(encodeUtf8(line))) return std::nullopt;
  }
  if ((flags & INTERNET_FLAG_RELOAD) && !append("Cache-Control: no-cache")) return std::nullopt;
  return list;
}

// What one attempt saw, filled in by libcurl's callbacks.
struct Transfer {
  std::string body;
  bool connected = false;
  Clock::time_point lastByte = Clock::now();
};

size_t onBody(char* data, size_t size, size_t count, void* user) {
  auto* transfer = static_cast<Transfer*>(user);
  size_t bytes = size * count;
  transfer->lastByte = Clock::now();
  // Fewer bytes taken than given ends the transfer with CURLE_WRITE_ERROR. CURLOPT_MAXFILESIZE
  // refuses a body whose Content-Length is too large before it comes; one without (chunked, or
  // ended by closing the connection) is only caught here.
  if (bytes > kInternetMaxBodyBytes - transfer->body.size()) return 0;
  transfer->body.append(data, bytes);
  return bytes;
}

size_t onHeader(char* data, size_t size, size_t count, void* user) {
  auto* transfer = static_cast<Transfer*>(user);
  size_t bytes = size * count;
  transfer->lastByte = Clock::now();
  // Every response (each of a redirect chain, an interim 1xx) starts with its status line; the
  // body kept is the last one's. libcurl already drops the bodies of redirects it follows; this
  // keeps a body from ever running into the next one.
  if (std::string_view(data, bytes).starts_with("HTTP/")) transfer->body.clear();
  return bytes;
}

// Called once a connection is made (TLS handshake included), before the request is sent.
int onConnected(void* user, char* /*remoteIp*/, char* /*localIp*/, int /*remotePort*/, int /*localPort*/) {
  auto* transfer = static_cast<Transfer*>(user);
  transfer->connected = true;
  transfer->lastByte = Clock::now();
  return CURL_PREREQFUNC_OK;
}

// 0 and INFINITE are no limit.
std::optional<Milliseconds> limit(DWORD milliseconds) {
  if (milliseconds == 0 || milliseconds == 0xFFFFFFFF) return std::nullopt;
  return Milliseconds(milliseconds);
}

enum class Outcome {
  kResponse,
  kNoConnection,  // worth another attempt
  kFailed,
};

struct Attempt {
  Outcome outcome = Outcome::kFailed;
  DWORD status = 0;
  std::string body;
};

bool configure(CURL* easy, const SessionSettings& settings, const std::string& url, curl_slist* headers,
               Transfer& transfer, Milliseconds remaining) {
  long remainingMs = static_cast<long>(std::max<Milliseconds::rep>(remaining.count(), 1));
  long connectMs = remainingMs;
  if (auto connect = limit(settings.connectTimeoutMs))
    connectMs = std::min(connectMs, static_cast<long>(connect->count()));
  bool ok = curl_easy_setopt(easy, CURLOPT_URL, url.c_str()) == CURLE_OK &&
            curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L) == CURLE_OK &&
            // Callers are worker threads: no signals (SIGALRM for DNS time-outs) may reach them.
            curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L) == CURLE_OK &&
            curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https") == CURLE_OK &&
            curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https") == CURLE_OK &&
            curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L) == CURLE_OK &&
            curl_easy_setopt(easy, CURLOPT_MAXREDIRS, kInternetMaxRedirects) == CURLE_OK &&
            curl_easy_setopt(easy, CURLOPT_MAXFILESIZE_LARGE,
                             static_cast<curl_off_t>(kInternetMaxBodyBytes)) == CURLE_OK &&
            curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, connectMs) == CURLE_OK &&
            curl_easy_setopt(easy, CURLOPT_TIMEOUT_MS, remainingMs) == CURLE_OK &&
            curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &onBody) == CURLE_OK &&
            curl_easy_setopt(easy, CURLOPT_WRITEDATA, &transfer) == CURLE_OK &&
            curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &onHeader) == CURLE_OK &&
            curl_easy_setopt(easy, CURLOPT_HEADERDATA, &transfer) == CURLE_OK &&
            curl_easy_setopt(easy, CURLOPT_PREREQFUNCTION, &onConnected) == CURLE_OK &&
            curl_easy_setopt(easy, CURLOPT_PREREQDATA, &transfer) == CURLE_OK;
  if (ok && headers) ok = curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers) == CURLE_OK;
  if (ok && !settings.agent.empty())
    ok = curl_easy_setopt(easy, CURLOPT_USERAGENT, settings.agent.c_str()) == CURLE_OK;
  // An empty proxy name turns off the proxies the environment names.
  if (ok && settings.direct) ok = curl_easy_setopt(easy, CURLOPT_PROXY, "") == CURLE_OK;
  return ok;
}

// Runs the transfer to its end, the stall limit, or the closing of the session.
std::optional<CURLcode> run(CURLM* multi, const Transfer& transfer, std::optional<Milliseconds> stallLimit,
                            const Session& session) {
  for (;;) {
    int running = 0;
    if (curl_multi_perform(multi, &running) != CURLM_OK) return std::nullopt;
    if (running == 0) break;
    if (session.closed()) return std::nullopt;
    auto wait = Milliseconds(kLongestWaitMs);
    if (stallLimit && transfer.connected) {
      auto idle = std::chrono::duration_cast<Milliseconds>(Clock::now() - transfer.lastByte);
      if (idle >= *stallLimit) return CURLE_OPERATION_TIMEDOUT;
      wait = std::min(wait, *stallLimit - idle);
    }
    if (curl_multi_poll(multi, nullptr, 0, static_cast<int>(wait.count()), nullptr) != CURLM_OK)
      return std::nullopt;
  }
  int left = 0;
  for (CURLMsg* message = curl_multi_info_read(multi, &left); message;
       message = curl_multi_info_read(multi, &left)) {
    if (message->msg == CURLMSG_DONE) return message->data.result;
  }
  return std::nullopt;
}

Attempt attemptOnce(Session& session, const SessionSettings& settings, const std::string& url,
                    curl_slist* headers, Clock::time_point deadline) {
  Attempt attempt;
  auto remaining = std::chrono::duration_cast<Milliseconds>(deadline - Clock::now());
  if (remaining.count() <= 0) return attempt;
  Transfer transfer;
  std::unique_ptr<CURL, EasyFree> easy(curl_easy_init());
  std::unique_ptr<CURLM, MultiFree> multi(curl_multi_init());
  if (!easy || !multi || !configure(easy.get(), settings, url, headers, transfer, remaining)) return attempt;
  if (curl_multi_add_handle(multi.get(), easy.get()) != CURLM_OK) return attempt;
  std::optional<CURLcode> result;
  if (session.begin(multi.get())) {
    result = run(multi.get(), transfer, limit(settings.receiveTimeoutMs), session);
    session.end(multi.get());
  }
  long status = 0;
  if (result == CURLE_OK) curl_easy_getinfo(easy.get(), CURLINFO_RESPONSE_CODE, &status);
  curl_multi_remove_handle(multi.get(), easy.get());
  if (result == CURLE_OK && status > 0) {
    attempt.outcome = Outcome::kResponse;
    attempt.status = static_cast<DWORD>(status);
    attempt.body = std::move(transfer.body);
  } else if (!transfer.connected && (result == CURLE_COULDNT_CONNECT || result == CURLE_OPERATION_TIMEDOUT)) {
    attempt.outcome = Outcome::kNoConnection;
  }
  return attempt;
}

}  // namespace

}  // namespace vtcad::platform

using namespace vtcad::platform;

HINTERNET InternetOpenW(LPCWSTR agent, DWORD accessType, LPCWSTR /*proxy*/, LPCWSTR /*proxyBypass*/,
                        DWORD /*flags*/) {
  if (accessType != INTERNET_OPEN_TYPE_PRECONFIG && accessType != INTERNET_OPEN_TYPE_DIRECT) return nullptr;
  if (!curlReady()) return nullptr;
  SessionSettings settings;
  if (agent) settings.agent = encodeUtf8(agent);
  settings.direct = accessType == INTERNET_OPEN_TYPE_DIRECT;
  return handles().add(std::make_shared<Session>(std::move(settings)));
}

BOOL InternetSetOptionW(HINTERNET session, DWORD option, void* buffer, DWORD bufferLength) {
  auto found = find<Session>(session);
  if (!found || !buffer || bufferLength < sizeof(DWORD)) return 0;
  DWORD value = 0;
  std::memcpy(&value, buffer, sizeof value);
  return found->setOption(option, value) ? 1 : 0;
}

HINTERNET InternetOpenUrlW(HINTERNET session, LPCWSTR url, LPCWSTR headers, DWORD headersLength, DWORD flags,
                           DWORD_PTR /*context*/) {
  auto found = find<Session>(session);
  if (!found || !curlReady()) return nullptr;
  std::optional<std::string> target = checkedUrl(url);
  if (!target) return nullptr;
  std::optional<HeaderList> extra = requestHeaders(headers, headersLength, flags);
  if (!extra) return nullptr;
  SessionSettings settings = found->settings();
  Clock::time_point deadline = Clock::now() + Milliseconds(kInternetMaxTransferMs);
  DWORD retries = std::min(settings.connectRetries, kInternetMaxConnectRetries);
  for (DWORD attempt = 0;; ++attempt) {
    Attempt result = attemptOnce(*found, settings, *target, extra->get(), deadline);
    if (result.outcome == Outcome::kResponse)
      return handles().add(std::make_shared<Request>(result.status, std::move(result.body)));
    if (result.outcome != Outcome::kNoConnection || attempt >= retries || found->closed()) return nullptr;
  }
}

BOOL HttpQueryInfoW(HINTERNET request, DWORD infoLevel, void* buffer, LPDWORD bufferLength, LPDWORD index) {
  auto found = find<Request>(request);
  if (!found || !bufferLength) return 0;
  DWORD level = infoLevel & 0x0000FFFF;
  DWORD modifiers = infoLevel & 0xFFFF0000;
  if (level != HTTP_QUERY_STATUS_CODE || (modifiers & ~HTTP_QUERY_FLAG_NUMBER) != 0) return 0;
  if (index && *index != 0) return 0;
  if (modifiers & HTTP_QUERY_FLAG_NUMBER) {
    DWORD status = found->status();
    if (!buffer || *bufferLength < sizeof status) {
      *bufferLength = sizeof status;
      return 0;
    }
    std::memcpy(buffer, &status, sizeof status);
    *bufferLength = sizeof status;
  } else {
    std::wstring text = std::to_wstring(found->status());
    auto needed = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    if (!buffer || *bufferLength < needed) {
      *bufferLength = needed;
      return 0;
    }
    std::memcpy(buffer, text.c_str(), needed);
    *bufferLength = static_cast<DWORD>(text.size() * sizeof(wchar_t));
  }
  if (index) *index = 1;
  return 1;
}

BOOL InternetReadFile(HINTERNET request, void* buffer, DWORD bytesToRead, LPDWORD bytesRead) {
  if (!bytesRead) return 0;
  *bytesRead = 0;
  auto found = find<Request>(request);
  if (!found || (!buffer && bytesToRead > 0)) return 0;
  *bytesRead = static_cast<DWORD>(found->read(buffer, bytesToRead));
  return 1;
}

BOOL InternetCloseHandle(HINTERNET handle) {
  std::optional<Object> object = handles().remove(handle);
  if (!object) return 0;
  if (auto* session = std::get_if<std::shared_ptr<Session>>(&*object)) (*session)->close();
  return 1;
}
