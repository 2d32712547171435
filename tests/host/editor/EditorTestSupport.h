#pragma once
// A command line with a fresh drawing for tests: the transcript is captured, and a test
// command "T" runs whatever the test puts in `body`.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "editor/CommandStack.h"
#include "editor/EntityNames.h"
#include "editor/Session.h"
#include "zcad/db/ZcDbDatabase.h"

namespace vtcad::editor::testing {

class EditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    db_ = std::make_unique<ZcDbDatabase>();
    zcdbHostApplicationServices()->setWorkingDatabase(db_.get());
    Session::instance().setOutput([this](std::string_view text) { transcript_.append(text); });
    body() = nullptr;
    zcedRegCmds()->addCommand(L"EditorTest", L"T", L"T", 0, [] {
      if (body()) body()();
    });
  }
  void TearDown() override {
    CommandStack::instance().removeGroup(L"EditorTest");
    Session::instance().setOutput([](std::string_view) {});
    zcdbHostApplicationServices()->setWorkingDatabase(nullptr);
    forgetEntityNames();
  }
  static std::function<void()>& body() {
    static std::function<void()> function;
    return function;
  }
  RunOutcome run(const std::wstring& script) { return Session::instance().runScript(script, L"test.scr"); }
  bool said(const std::string& text) const { return transcript_.find(text) != std::string::npos; }

  std::unique_ptr<ZcDbDatabase> db_;
  std::string transcript_;
};

}  // namespace vtcad::editor::testing
