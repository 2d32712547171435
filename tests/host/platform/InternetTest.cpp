// HTTP GET through the WinInet-shaped functions, against a server on the loopback interface.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "PlatformTestSupport.h"
#include "support/LoopbackHttpServer.h"
#include "zcad/platform/zcinet.h"

using namespace vtcad::platform::testing;
using vtcad::testing::LoopbackHttpServer;
using vtcad::testing::RefusingPort;

namespace {

std::wstring wide(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

// A session closed at the end of the test. Direct, so that proxies named in the environment
// never stand between the tests and the loopback server.
struct Session {
  HINTERNET handle;
  explicit Session(DWORD accessType = INTERNET_OPEN_TYPE_DIRECT)
      : handle(InternetOpenW(L"vtcad-test/1.0", accessType, nullptr, nullptr, /*flags=*/0)) {}
  ~Session() {
    if (handle) InternetCloseHandle(handle);
  }
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  void set(DWORD option, DWORD value) {
    ASSERT_TRUE(InternetSetOptionW(handle, option, &value, sizeof value));
  }
  HINTERNET open(const std::string& url, LPCWSTR headers = nullptr, DWORD flags = INTERNET_FLAG_RELOAD) {
    return InternetOpenUrlW(handle, wide(url).c_str(), headers, INTERNET_HEADERS_TERMINATED, flags,
                            /*context=*/0);
  }
};

DWORD statusOf(HINTERNET request) {
  DWORD status = 0;
  DWORD length = sizeof status;
  EXPECT_TRUE(
      HttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &length, nullptr));
  return status;
}

std::string readAll(HINTERNET request, DWORD chunkBytes) {
  std::string body;
  std::vector<char> chunk(chunkBytes);
  DWORD got = 0;
  while (InternetReadFile(request, chunk.data(), chunkBytes, &got) && got > 0) body.append(chunk.data(), got);
  return body;
}

}  // namespace

TEST(Internet, ABodyReadInSmallChunksIsTheWholeBody) {
  LoopbackHttpServer server;
  std::string body;
  for (int i = 0; i < 100000; ++i) body.push_back(static_cast<char>(i * 7 % 256));  // NULs included
  server.respond("/data", {.body = body});
  Session session;
  HINTERNET request = session.open(server.url("/data?v=2.1"), L"X-Veltrace: 1\r\nAccept-Language: de");
  ASSERT_NE(request, nullptr);
  EXPECT_EQ(statusOf(request), 200u);
  EXPECT_EQ(readAll(request, /*chunkBytes=*/7), body);
  DWORD got = 99;
  char byte = 0;
  EXPECT_TRUE(InternetReadFile(request, &byte, 1, &got));
  EXPECT_EQ(got, 0u);
  EXPECT_TRUE(InternetCloseHandle(request));

  ASSERT_EQ(server.received().size(), 1u);
  LoopbackHttpServer::Request seen = server.received().front();
  EXPECT_EQ(seen.method, "GET");
  EXPECT_EQ(seen.target, "/data?v=2.1");
  EXPECT_EQ(seen.header("User-Agent"), "vtcad-test/1.0");
  EXPECT_EQ(seen.header("X-Veltrace"), "1");
  EXPECT_EQ(seen.header("Accept-Language"), "de");
  EXPECT_EQ(seen.header("Cache-Control"), "no-cache");  // INTERNET_FLAG_RELOAD
}

TEST(Internet, AnHttpErrorIsAResponseWithItsStatus) {
  LoopbackHttpServer server;
  server.respond("/broken", {.status = 500, .body = "try later"});
  Session session;
  HINTERNET missing = session.open(server.url("/nothing-here"));
  ASSERT_NE(missing, nullptr);
  EXPECT_EQ(statusOf(missing), 404u);
  HINTERNET broken = session.open(server.url("/broken"));
  ASSERT_NE(broken, nullptr);
  EXPECT_EQ(statusOf(broken), 500u);
  EXPECT_EQ(readAll(broken, /*chunkBytes=*/64), "try later");

  // The status as text: bytes without the terminator on success; too small a buffer gets the
  // bytes needed with it, and is left alone.
  wchar_t text[8] = {L'x'};
  DWORD length = 3 * sizeof(wchar_t);
  EXPECT_FALSE(HttpQueryInfoW(missing, HTTP_QUERY_STATUS_CODE, text, &length, nullptr));
  EXPECT_EQ(length, 4 * sizeof(wchar_t));
  EXPECT_EQ(text[0], L'x');
  DWORD index = 0;
  EXPECT_TRUE(HttpQueryInfoW(missing, HTTP_QUERY_STATUS_CODE, text, &length, &index));
  EXPECT_EQ(std::wstring(text), L"404");
  EXPECT_EQ(length, 3 * sizeof(wchar_t));
  EXPECT_EQ(index, 1u);
  // There is one status: index 1 finds nothing; nor is any other information kept.
  EXPECT_FALSE(HttpQueryInfoW(missing, HTTP_QUERY_STATUS_CODE, text, &length, &index));
  DWORD number = 0;
  length = 2;
  EXPECT_FALSE(
      HttpQueryInfoW(missing, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &number, &length, nullptr));
  EXPECT_EQ(length, sizeof(DWORD));
  length = sizeof number;
  EXPECT_FALSE(HttpQueryInfoW(missing, /*HTTP_QUERY_CONTENT_LENGTH=*/5 | HTTP_QUERY_FLAG_NUMBER, &number,
                              &length, nullptr));
  InternetCloseHandle(missing);
  InternetCloseHandle(broken);
}

TEST(Internet, RedirectsAreFollowedAFewTimesAndOnlyToHttp) {
  LoopbackHttpServer server;
  server.respond("/old", {.status = 302, .body = "see /new", .headers = {"Location: /new"}});
  server.respond("/new", {.body = "moved here"});
  server.respond("/loop", {.status = 302, .headers = {"Location: /loop"}});
  server.respond("/to-file", {.status = 302, .headers = {"Location: file:///etc/passwd"}});

  Session session;
  HINTERNET request = session.open(server.url("/old"));
  ASSERT_NE(request, nullptr);
  EXPECT_EQ(statusOf(request), 200u);
  EXPECT_EQ(readAll(request, /*chunkBytes=*/4), "moved here");
  InternetCloseHandle(request);
  EXPECT_EQ(server.requests(), (std::vector<std::string>{"/old", "/new"}));

  EXPECT_EQ(session.open(server.url("/loop")), nullptr);
  // The first request and kInternetMaxRedirects more; the last redirect is not followed.
  EXPECT_EQ(server.requestCount(), static_cast<size_t>(2 + 1 + kInternetMaxRedirects));
  EXPECT_EQ(session.open(server.url("/to-file")), nullptr);
}

TEST(Internet, WhatIsNotAnHttpUrlIsRefusedWithoutAsking) {
  LoopbackHttpServer server;
  server.respond("/x", {.body = "x"});
  Session session;
  std::string hostAndPath = server.url("/x").substr(std::string("http://").size());
  for (const std::string& url : {std::string("ftp://") + hostAndPath, std::string("file:///etc/passwd"),
                                 std::string(""), std::string("garbage"), std::string("http://"), hostAndPath,
                                 "http://" + hostAndPath + " with spaces"}) {
    EXPECT_EQ(session.open(url), nullptr) << url;
  }
  EXPECT_EQ(InternetOpenUrlW(session.handle, nullptr, nullptr, 0, 0, 0), nullptr);
  // A header line that is not one is refused too, before anything is sent.
  EXPECT_EQ(session.open(server.url("/x"), L"no colon here"), nullptr);
  EXPECT_EQ(session.open(server.url("/x"), L"X-A: 1\rX-B: 2"), nullptr);
  EXPECT_EQ(server.requestCount(), 0u);

  // The scheme is read without regard to case.
  HINTERNET request = session.open("HTTP://" + hostAndPath);
  EXPECT_NE(request, nullptr);
  InternetCloseHandle(request);
}

TEST(Internet, NoConnectionOrNoAnswerGivesNull) {
  RefusingPort refusing;
  Session session;
  session.set(INTERNET_OPTION_CONNECT_RETRIES, 2);
  EXPECT_EQ(session.open(refusing.url("/version")), nullptr);

  // Once connected, silence ends the request at the receive time-out, and is not retried.
  LoopbackHttpServer server;
  server.respond("/silent", {.neverAnswer = true});
  session.set(INTERNET_OPTION_RECEIVE_TIMEOUT, 300);
  EXPECT_EQ(session.open(server.url("/silent")), nullptr);
  EXPECT_EQ(server.requestCount(), 1u);
}

TEST(Internet, BodiesAboveTheLimitAreRefused) {
  LoopbackHttpServer server;
  std::string largest(kInternetMaxBodyBytes, 'a');
  server.respond("/largest", {.body = largest});
  server.respond("/announced", {.body = largest + "b"});
  // Without a Content-Length the body is only measured as it arrives.
  server.respond("/unannounced", {.body = largest + "b", .untilClose = true});
  Session session;
  HINTERNET request = session.open(server.url("/largest"));
  ASSERT_NE(request, nullptr);
  EXPECT_EQ(readAll(request, /*chunkBytes=*/65536).size(), kInternetMaxBodyBytes);
  InternetCloseHandle(request);
  EXPECT_EQ(session.open(server.url("/announced")), nullptr);
  EXPECT_EQ(session.open(server.url("/unannounced")), nullptr);
}

TEST(Internet, StaleAndForeignHandlesAreRefused) {
  LoopbackHttpServer server;
  server.respond("/a", {.body = "abc"});
  HINTERNET session = InternetOpenW(L"t", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
  ASSERT_NE(session, nullptr);
  HINTERNET request = InternetOpenUrlW(session, wide(server.url("/a")).c_str(), nullptr, 0, 0, 0);
  ASSERT_NE(request, nullptr);
  // A request outlives its session.
  EXPECT_TRUE(InternetCloseHandle(session));
  EXPECT_EQ(InternetOpenUrlW(session, wide(server.url("/a")).c_str(), nullptr, 0, 0, 0), nullptr);
  EXPECT_EQ(readAll(request, /*chunkBytes=*/2), "abc");

  // Each kind of handle where the other belongs, made-up and closed handles.
  Session other;
  DWORD value = 1000;
  DWORD got = 7;
  char buffer[4];
  EXPECT_FALSE(InternetSetOptionW(request, INTERNET_OPTION_CONNECT_TIMEOUT, &value, sizeof value));
  EXPECT_EQ(InternetOpenUrlW(request, wide(server.url("/a")).c_str(), nullptr, 0, 0, 0), nullptr);
  EXPECT_FALSE(InternetReadFile(other.handle, buffer, sizeof buffer, &got));
  EXPECT_EQ(got, 0u);
  // Handles are multiples of 4, so an odd number was never one; nor is a pointer.
  EXPECT_FALSE(InternetReadFile(reinterpret_cast<HINTERNET>(std::uintptr_t{0x12345}), buffer, 1, &got));
  EXPECT_FALSE(InternetReadFile(static_cast<HINTERNET>(buffer), buffer, 1, &got));
  EXPECT_TRUE(InternetCloseHandle(request));
  EXPECT_FALSE(InternetReadFile(request, buffer, sizeof buffer, &got));
  DWORD length = sizeof value;
  EXPECT_FALSE(
      HttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &value, &length, nullptr));
  EXPECT_FALSE(InternetCloseHandle(request));
  EXPECT_FALSE(InternetCloseHandle(nullptr));
  // Options: a DWORD of them, known ones only; access types the same.
  EXPECT_FALSE(InternetSetOptionW(other.handle, INTERNET_OPTION_CONNECT_TIMEOUT, &value, 2));
  EXPECT_FALSE(InternetSetOptionW(other.handle, /*INTERNET_OPTION_USERNAME=*/28, &value, sizeof value));
  EXPECT_EQ(InternetOpenW(L"t", /*INTERNET_OPEN_TYPE_PROXY=*/3, L"proxy:8080", nullptr, 0), nullptr);
}

TEST(Internet, ThreadsFetchAtOnce) {
  LoopbackHttpServer server;
  constexpr int kThreads = 4;
  constexpr int kEach = 3;
  for (int i = 0; i < kThreads * kEach; ++i)
    server.respond("/n" + std::to_string(i), {.body = std::string(1000 + i, static_cast<char>('a' + i))});
  Session session;
  std::atomic<int> right{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int k = 0; k < kEach; ++k) {
        int i = t * kEach + k;
        HINTERNET request = session.open(server.url("/n" + std::to_string(i)));
        if (!request) continue;
        if (readAll(request, /*chunkBytes=*/100) == std::string(1000 + i, static_cast<char>('a' + i)))
          ++right;
        InternetCloseHandle(request);
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(right, kThreads * kEach);
}

TEST(Internet, ClosingTheSessionCancelsARequestUnderWay) {
  LoopbackHttpServer server;
  server.respond("/silent", {.neverAnswer = true});
  HINTERNET session = InternetOpenW(L"t", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
  // No stall limit: only the closing can end the request before the overall bound.
  DWORD noLimit = 0;
  ASSERT_TRUE(InternetSetOptionW(session, INTERNET_OPTION_RECEIVE_TIMEOUT, &noLimit, sizeof noLimit));
  HINTERNET result = reinterpret_cast<HINTERNET>(std::uintptr_t{1});
  std::thread worker(
      [&] { result = InternetOpenUrlW(session, wide(server.url("/silent")).c_str(), nullptr, 0, 0, 0); });
  for (int i = 0; i < 1000 && server.requestCount() == 0; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_TRUE(InternetCloseHandle(session));
  worker.join();
  EXPECT_EQ(result, nullptr);
}

TEST(Internet, PreconfiguredSessionsUseTheEnvironmentsProxyAndDirectOnesDoNot) {
  LoopbackHttpServer server;
  server.respond("/via", {.body = "from the proxy"});
  server.respond("/direct", {.body = "direct"});
  ScopedEnv proxy("http_proxy", server.url("").c_str());
  ScopedEnv noProxy("no_proxy", nullptr);
  ScopedEnv noProxyUpper("NO_PROXY", nullptr);
  Session preconfigured(INTERNET_OPEN_TYPE_PRECONFIG);
  HINTERNET viaProxy = preconfigured.open("http://veltrace.invalid/via?q=1");
  ASSERT_NE(viaProxy, nullptr);
  EXPECT_EQ(readAll(viaProxy, /*chunkBytes=*/64), "from the proxy");
  InternetCloseHandle(viaProxy);
  Session direct;
  HINTERNET request = direct.open(server.url("/direct"));
  ASSERT_NE(request, nullptr);
  InternetCloseHandle(request);
  EXPECT_EQ(server.requests(), (std::vector<std::string>{"http://veltrace.invalid/via?q=1", "/direct"}));
}
