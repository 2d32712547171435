#pragma once
// HTTP GET shaped as the WinInet functions plug-in code calls, done by libcurl.
//
// A session (InternetOpenW) holds the user agent, the proxy choice and the time-outs; each
// InternetOpenUrlW on it performs one whole GET before it returns and keeps the response (status
// and body) in a request handle that HttpQueryInfoW and InternetReadFile read. There is no
// asynchronous mode and no cache: callers that must not block call from a worker thread.
//
// What maps to what:
// - INTERNET_OPEN_TYPE_PRECONFIG: the proxy the environment names (http_proxy, https_proxy,
//   no_proxy, as libcurl reads them); INTERNET_OPEN_TYPE_DIRECT: no proxy at all.
// - Only http:// and https:// URLs; a redirect is followed, at most kInternetMaxRedirects times,
//   and only to http or https. Certificates are checked against the system's trusted ones.
// - INTERNET_OPTION_CONNECT_TIMEOUT: the limit for making the connection (TLS handshake included).
//   INTERNET_OPTION_CONNECT_RETRIES: how many more attempts follow a connection that could not be
//   made (refused, or not made in time); a failure after connecting is not retried.
// - INTERNET_OPTION_CONTROL_RECEIVE_TIMEOUT and INTERNET_OPTION_DATA_RECEIVE_TIMEOUT are one
//   setting, the stall limit: once connected, no byte received for that long ends the request.
// - INTERNET_OPTION_CONTROL_SEND_TIMEOUT and INTERNET_OPTION_DATA_SEND_TIMEOUT are accepted and
//   have no effect of their own: a GET sends only its headers, and the stall limit covers the
//   wait for the answer.
// - Whatever the time-outs, no request takes longer than kInternetMaxTransferMs in all, retries
//   included. A time-out of 0 or 0xFFFFFFFF (INFINITE) means no limit but that one.
// - The body is kept in memory, at most kInternetMaxBodyBytes of it; a longer one fails the
//   request.
// - INTERNET_FLAG_RELOAD asks caches on the way to check with the server (Cache-Control:
//   no-cache); the other flags (no cache here to write to, ASCII transfers are FTP's) and the
//   context value have no effect.
//
// Every function is safe to call from any thread. Handles are numbers looked up in a table, so a
// closed or made-up handle is refused (FALSE or null), never followed.
#include <cstddef>

#include "zcad/platform/zcwintypes.h"

// A session or a request.
using HINTERNET = void*;

// InternetOpenW's access types.
inline constexpr DWORD INTERNET_OPEN_TYPE_PRECONFIG = 0;
inline constexpr DWORD INTERNET_OPEN_TYPE_DIRECT = 1;

// InternetSetOptionW's options; each takes a DWORD (milliseconds for the time-outs).
inline constexpr DWORD INTERNET_OPTION_CONNECT_TIMEOUT = 2;
inline constexpr DWORD INTERNET_OPTION_CONNECT_RETRIES = 3;
inline constexpr DWORD INTERNET_OPTION_CONTROL_SEND_TIMEOUT = 5;
inline constexpr DWORD INTERNET_OPTION_SEND_TIMEOUT = INTERNET_OPTION_CONTROL_SEND_TIMEOUT;
inline constexpr DWORD INTERNET_OPTION_CONTROL_RECEIVE_TIMEOUT = 6;
inline constexpr DWORD INTERNET_OPTION_RECEIVE_TIMEOUT = INTERNET_OPTION_CONTROL_RECEIVE_TIMEOUT;
inline constexpr DWORD INTERNET_OPTION_DATA_SEND_TIMEOUT = 7;
inline constexpr DWORD INTERNET_OPTION_DATA_RECEIVE_TIMEOUT = 8;

// InternetOpenUrlW's flags.
inline constexpr DWORD INTERNET_FLAG_RELOAD = 0x80000000;
inline constexpr DWORD INTERNET_FLAG_NO_CACHE_WRITE = 0x04000000;
inline constexpr DWORD INTERNET_FLAG_TRANSFER_ASCII = 0x1;

// HttpQueryInfoW's information levels and modifiers.
inline constexpr DWORD HTTP_QUERY_STATUS_CODE = 19;
inline constexpr DWORD HTTP_QUERY_FLAG_NUMBER = 0x20000000;

// headersLength when the headers string is terminated.
inline constexpr DWORD INTERNET_HEADERS_TERMINATED = 0xFFFFFFFF;

// The longest body a request keeps.
inline constexpr std::size_t kInternetMaxBodyBytes = 4 * 1024 * 1024;
// The longest a request may take in all (5 minutes), so that nothing waits forever.
inline constexpr DWORD kInternetMaxTransferMs = 5 * 60 * 1000;
// How many redirects are followed before a request fails.
inline constexpr long kInternetMaxRedirects = 5;
// More connection retries than this are not made, whatever INTERNET_OPTION_CONNECT_RETRIES says.
inline constexpr DWORD kInternetMaxConnectRetries = 10;

// Defaults of a new session.
inline constexpr DWORD kInternetDefaultConnectTimeoutMs = 60 * 1000;
inline constexpr DWORD kInternetDefaultConnectRetries = 5;
inline constexpr DWORD kInternetDefaultReceiveTimeoutMs = 30 * 1000;

// A new session. agent: the User-Agent header (null or empty: none is sent). accessType:
// PRECONFIG or DIRECT; the proxy names and flags are not used. Null on failure.
HINTERNET InternetOpenW(LPCWSTR agent, DWORD accessType, LPCWSTR proxy, LPCWSTR proxyBypass, DWORD flags);

// Sets a time-out or the connection retries of a session (a DWORD at `buffer`, bufferLength at
// least 4); requests begun afterwards use it. FALSE for a request handle, an unknown option or a
// short buffer.
BOOL InternetSetOptionW(HINTERNET session, DWORD option, void* buffer, DWORD bufferLength);

// GETs `url` and returns a request handle once the whole response has arrived, whatever its
// HTTP status (a 404 is a response: HttpQueryInfoW tells it). headers: more request headers,
// "Name: value" lines separated by CR LF, headersLength characters of them (or
// INTERNET_HEADERS_TERMINATED); a line without a colon fails the request. Null when there is no
// response: a bad or unsupported URL, no connection, a time-out, too many redirects, a body
// above kInternetMaxBodyBytes, or the session closed while the request was under way (closing it
// cancels the requests in progress).
HINTERNET InternetOpenUrlW(HINTERNET session, LPCWSTR url, LPCWSTR headers, DWORD headersLength, DWORD flags,
                           DWORD_PTR context);

// HTTP_QUERY_STATUS_CODE of a request, nothing else. With HTTP_QUERY_FLAG_NUMBER: a DWORD, and
// *bufferLength set to 4. Without: the decimal text in wide characters; *bufferLength counts
// bytes, the text's without its terminator on success; when the buffer is too small, FALSE and
// the bytes needed, terminator included, with the buffer left alone. index (may be null): only 0
// is there, and it becomes 1 on success.
BOOL HttpQueryInfoW(HINTERNET request, DWORD infoLevel, void* buffer, LPDWORD bufferLength, LPDWORD index);

// Copies up to bytesToRead bytes of the body from where the last read ended; *bytesRead is 0 at
// the end of the body.
BOOL InternetReadFile(HINTERNET request, void* buffer, DWORD bytesToRead, LPDWORD bytesRead);

// Closes a session or a request. A request outlives its session: it stays readable until it is
// closed itself.
BOOL InternetCloseHandle(HINTERNET handle);
