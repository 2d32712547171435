#pragma once
// One web page fetched with the platform's internet functions: a GET that bypasses caches,
// with bounded time-outs, whose body is kept only when the answer is 200.
#include <cstddef>
#include <string>

namespace veltrace::outreach {

struct FetchTimeouts {
  unsigned connectMs = 5000;
  unsigned sendMs = 1000;
  unsigned receiveMs = 7000;
  unsigned connectRetries = 1;
};

// A version page is a line or two; a body beyond this is not read further.
inline constexpr std::size_t kMaxBodyBytes = 64 * 1024;

// The body of the page at `address`, its lines joined without separators and decoded from
// UTF-8; the empty text for any failure (no connection, a status other than 200, a time-out).
std::wstring fetchPage(const std::wstring& address, const FetchTimeouts& timeouts = {});

}  // namespace veltrace::outreach
