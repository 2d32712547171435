// Command lines split as Windows splits them, with nothing a shell would interpret.
#include <gtest/gtest.h>

#include "platform/CommandLine.h"

using namespace vtcad::platform;

namespace {

using Args = std::vector<std::wstring>;

}  // namespace

TEST(CommandLine, BlanksSeparateAndQuotesGroup) {
  EXPECT_EQ(splitCommandLine(L""), Args{});
  EXPECT_EQ(splitCommandLine(L"  \t "), Args{});
  EXPECT_EQ(splitCommandLine(L"a  b\tc"), (Args{L"a", L"b", L"c"}));
  EXPECT_EQ(splitCommandLine(L"\"/home/u/my plans/site.dxf\" -x"),
            (Args{L"/home/u/my plans/site.dxf", L"-x"}));
  EXPECT_EQ(splitCommandLine(L"pre\"fix mid\"post"), (Args{L"prefix midpost"}));
  EXPECT_EQ(splitCommandLine(L"\"\" a \"\""), (Args{L"", L"a", L""}));
  EXPECT_EQ(splitCommandLine(L"\"unclosed quote runs to the end"), (Args{L"unclosed quote runs to the end"}));
}

TEST(CommandLine, BackslashesAreLiteralExceptBeforeAQuote) {
  EXPECT_EQ(splitCommandLine(L"C:\\dir\\file /a\\b"), (Args{L"C:\\dir\\file", L"/a\\b"}));
  EXPECT_EQ(splitCommandLine(L"a\\\"b"), (Args{L"a\"b"}));              // 1 backslash: a literal quote
  EXPECT_EQ(splitCommandLine(L"\"a\\\\\" b"), (Args{L"a\\", L"b"}));    // 2: one backslash, quote closes
  EXPECT_EQ(splitCommandLine(L"a\\\\\\\"b"), (Args{L"a\\\"b"}));        // 3: one backslash and a quote
  EXPECT_EQ(splitCommandLine(L"\"a\"\"b\" c"), (Args{L"a\"b", L"c"}));  // "" inside quotes: a quote
  EXPECT_EQ(splitCommandLine(L"\"trailing\\\\\""), (Args{L"trailing\\"}));
}

TEST(CommandLine, ShellCharactersArePlainText) {
  EXPECT_EQ(splitCommandLine(L"$(rm -rf ~); `id` 'single' a|b>c *.dxf"),
            (Args{L"$(rm", L"-rf", L"~);", L"`id`", L"'single'", L"a|b>c", L"*.dxf"}));
  EXPECT_EQ(splitCommandLine(L"\"it's $HOME; \\\"quoted\\\"\""), (Args{L"it's $HOME; \"quoted\""}));
}
