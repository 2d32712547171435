#include "outreach/FetchPage.h"

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

std::wstring decodeUtf8(const std::string& bytes) {
  std::wstring text;
  text.reserve(bytes.size());
  std::size_t i = 0;
  const std::size_t n = bytes.size();
  auto byteAt = [&](std::size_t k) { return static_cast<unsigned char>(bytes[k]); };
  while (i < n) {
    const unsigned char lead = byteAt(i);
    int extra = 0;
    char32_t code = 0;
    char32_t least = 0;
    if (lead < 0x80) {
      text.push_back(static_cast<wchar_t>(lead));
      ++i;
      continue;
    } else if ((lead & 0xE0) == 0xC0) {
      extra = 1, code = lead & 0x1F, least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
      extra = 2, code = lead & 0x0F, least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
      extra = 3, code = lead & 0x07, least = 0x10000;
    } else {
      text.push_back(L'\uFFFD');
      ++i;
      continue;
    }
    std::size_t k = 1;
    for (; k <= static_cast<std::size_t>(extra) && i + k < n && (byteAt(i + k) & 0xC0) == 0x80; ++k) {
      code = (code << 6) | (byteAt(i + k) & 0x3F);
    }
    if (k != static_cast<std::size_t>(extra) + 1) {
      // Truncated sequence: one replacement, then go on at the byte that broke it.
      text.push_back(L'\uFFFD');
      i += k;
      continue;
    }
    // Overlong forms, surrogates and values beyond Unicode are malformed too.
    const bool valid = code >= least && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
    text.push_back(valid ? static_cast<wchar_t>(code) : L'\uFFFD');
    i += k;
  }
  return text;
}

}  // namespace veltrace::outreach
