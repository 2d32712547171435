#pragma once
// Helpers for the platform tests: a temporary folder removed afterwards, files read and
// written whole, and a fake command line that records what was printed and answers prompts
// from a script.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <deque>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/HeadlessUi.h"
#include "platform/UiBackend.h"

namespace vtcad::platform::testing {

namespace fs = std::filesystem;

struct TempFolder {
  fs::path path;
  TempFolder() {
    std::string pattern = (fs::temp_directory_path() / "vtcad-platform-XXXXXX").string();
    path = ::mkdtemp(pattern.data());
  }
  ~TempFolder() {
    std::error_code ec;
    fs::permissions(path, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path, ec);
  }
  std::vector<std::string> names() const {
    std::vector<std::string> out;
    for (const auto& entry : fs::directory_iterator(path)) out.push_back(entry.path().filename().string());
    std::sort(out.begin(), out.end());
    return out;
  }
};

inline std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

inline void writeFile(const fs::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The editor's command line, played from a script. An answer of nullopt is Esc; when the
// script runs out, every further prompt is cancelled.
struct FakeCommandLine {
  std::wstring transcript;
  std::vector<std::wstring> prompts;
  std::deque<std::optional<std::wstring>> answers;

  TranscriptHooks hooks() {
    return TranscriptHooks{
        [this](const std::wstring& text) { transcript += text; },
        [this](const std::wstring& prompt) -> std::optional<std::wstring> {
          prompts.push_back(prompt);
          transcript += prompt;
          if (answers.empty()) return std::nullopt;
          std::optional<std::wstring> answer = answers.front();
          answers.pop_front();
          return answer;
        },
    };
  }
};

// Installs a headless backend over a fake command line for the life of a test, and puts the
// default backend back afterwards.
struct FakeUi {
  FakeCommandLine commandLine;
  FakeUi() { setUiBackend(std::make_shared<HeadlessUi>(commandLine.hooks())); }
  ~FakeUi() { setUiBackend(nullptr); }
  FakeUi(const FakeUi&) = delete;
  FakeUi& operator=(const FakeUi&) = delete;
};

// Sets an environment variable for the life of a test (unset when value is null).
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value) {
      ::setenv(name, value, /*overwrite=*/1);
    } else {
      ::unsetenv(name);
    }
  }
  ~ScopedEnv() {
    if (old_) {
      ::setenv(name_.c_str(), old_->c_str(), /*overwrite=*/1);
    } else {
      ::unsetenv(name_.c_str());
    }
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  std::string name_;
  std::optional<std::string> old_;
};

}  // namespace vtcad::platform::testing
