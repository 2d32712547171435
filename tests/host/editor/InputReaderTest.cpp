#include <gtest/gtest.h>

#include <vector>

#include "editor/InputReader.h"

namespace vtcad::editor {
namespace {

using Kind = InputItem::Kind;

std::vector<InputItem> tokens(const std::wstring& script, size_t count) {
  InputReader reader;
  reader.push(std::make_unique<ScriptSource>(script, L"s"));
  std::vector<InputItem> items;
  for (size_t i = 0; i < count; ++i) items.push_back(reader.next(InputReader::Mode::kToken, L""));
  return items;
}

TEST(InputReader, SpacesAndLineEndsEachEndOneInput) {
  auto items = tokens(L"LINE 0,0  10,0\n\nC", 7);
  EXPECT_EQ(items[0].text, L"LINE");
  EXPECT_EQ(items[1].text, L"0,0");
  EXPECT_EQ(items[2].kind, Kind::kEmpty);  // the second space is an Enter of its own
  EXPECT_EQ(items[3].text, L"10,0");
  EXPECT_EQ(items[4].kind, Kind::kEmpty);  // the empty line
  EXPECT_EQ(items[5].text, L"C");
  EXPECT_EQ(items[6].kind, Kind::kEnd);
}

TEST(InputReader, CommentsQuotesCancelAndCrLf) {
  auto items = tokens(L"; a comment\r\n\"two words\" ^C\r\nX", 4);
  EXPECT_EQ(items[0].text, L"two words");
  EXPECT_EQ(items[1].kind, Kind::kCancel);
  EXPECT_EQ(items[2].text, L"X");
  EXPECT_EQ(items[3].kind, Kind::kEnd);
}

TEST(InputReader, RestOfLineTakesSpaces) {
  InputReader reader;
  reader.push(std::make_unique<ScriptSource>(L"TEXT Hello big world\nNEXT", L"s"));
  EXPECT_EQ(reader.next(InputReader::Mode::kToken, L"").text, L"TEXT");
  EXPECT_EQ(reader.next(InputReader::Mode::kRestOfLine, L"").text, L"Hello big world");
  EXPECT_EQ(reader.next(InputReader::Mode::kToken, L"").text, L"NEXT");
}

TEST(InputReader, ArgumentsComeFirstAndAPauseAsksTheLineSource) {
  InputReader reader;
  reader.push(std::make_unique<ScriptSource>(L"typed", L"s"));
  InputItem number;
  number.kind = Kind::kNumber;
  number.number = 2.5;
  InputItem pause;
  pause.kind = Kind::kText;
  pause.text = kPauseText;
  reader.push(std::make_unique<ArgumentSource>(std::deque<InputItem>{number, pause}));
  EXPECT_EQ(reader.next(InputReader::Mode::kToken, L"").number, 2.5);
  EXPECT_EQ(reader.next(InputReader::Mode::kToken, L"").text, L"typed");
  // Arguments used up: the rest comes from beneath, and then there is nothing.
  EXPECT_EQ(reader.next(InputReader::Mode::kToken, L"").kind, Kind::kEnd);
}

}  // namespace
}  // namespace vtcad::editor
