#include "outreach/FetchPage.h"

#include "frame/Utf8.h"
#include "zcad/platform/zcinet.h"

namespace veltrace::outreach {
namespace {

// Closes an internet handle on every path.
class InternetHandle {
 public:
  explicit InternetHandle(HINTERNET handle) : handle_(handle) {}
  ~InternetHandle() {
    if (handle_) InternetCloseHandle(handle_);
  }
  InternetHandle(const InternetHandle&) = delete;
  InternetHandle& operator=(const InternetHandle&) = delete;
  HINTERNET get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }

 private:
  HINTERNET handle_;
};

void setTimeout(HINTERNET session, DWORD option, DWORD value) {
  InternetSetOptionW(session, option, &value, sizeof value);
}

// The page's lines joined without their line ends, up to kMaxBodyBytes.
std::string readJoinedLines(HINTERNET request) {
  std::string body;
  char chunk[4096];
  DWORD got = 0;
  while (body.size() < kMaxBodyBytes && InternetReadFile(request, chunk, sizeof chunk, &got) && got > 0) {
    for (DWORD i = 0; i < got && body.size() < kMaxBodyBytes; ++i) {
      if (chunk[i] != '\r' && chunk[i] != '\n') body.push_back(chunk[i]);
    }
  }
  return body;
}

}  // namespace

std::wstring fetchPage(const std::wstring& address, const FetchTimeouts& timeouts) {
  if (address.empty()) return {};
  InternetHandle session(InternetOpenW(L"HttpClient", INTERNET_OPEN_TYPE_PRECONFIG, /*proxy=*/nullptr,
                                       /*proxyBypass=*/nullptr, /*flags=*/0));
  if (!session) return {};
  setTimeout(session.get(), INTERNET_OPTION_CONNECT_TIMEOUT, timeouts.connectMs);
  setTimeout(session.get(), INTERNET_OPTION_CONTROL_SEND_TIMEOUT, timeouts.sendMs);
  setTimeout(session.get(), INTERNET_OPTION_CONTROL_RECEIVE_TIMEOUT, timeouts.receiveMs);
  setTimeout(session.get(), INTERNET_OPTION_DATA_SEND_TIMEOUT, timeouts.sendMs);
  setTimeout(session.get(), INTERNET_OPTION_DATA_RECEIVE_TIMEOUT, timeouts.receiveMs);
  setTimeout(session.get(), INTERNET_OPTION_CONNECT_RETRIES, timeouts.connectRetries);

  InternetHandle request(InternetOpenUrlW(
      session.get(), address.c_str(), /*headers=*/nullptr, /*headersLength=*/0,
      INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_TRANSFER_ASCII, /*context=*/0));
  if (!request) return {};
  DWORD status = 0;
  DWORD size = sizeof status;
  if (!HttpQueryInfoW(request.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size,
                      /*index=*/nullptr) ||
      status != 200) {
    return {};
  }
  return decodeUtf8(readJoinedLines(request.get()));
}

}  // namespace veltrace::outreach
