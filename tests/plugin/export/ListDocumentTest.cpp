// The markup of a list (whole documents are compared in the commands' golden files).
#include <gtest/gtest.h>

#include <limits>

#include "export/ListDocument.h"

namespace veltrace {
namespace {

// The content of a real cell as the document writes it.
std::string realCell(double value) {
  StringListSink sink;
  ListDocument document(sink, L"p", L"t", {});
  const std::size_t start = sink.bytes().size();
  document.realCell(20, value);
  const std::string line = sink.bytes().substr(start);
  EXPECT_TRUE(line.starts_with("    <td width=20% valign=top bgcolor=#FFFFFF><div align=center>")) << line;
  const std::size_t open = line.find("center>") + 7;
  return line.substr(open, line.find("</div>") - open);
}

TEST(ListDocumentTest, RealsHaveThreeDecimals) {
  EXPECT_EQ(realCell(12.566370614359172), "12.566");
  EXPECT_EQ(realCell(-0.0004), "-0.000") << "the sign stays, as printf's %.3f writes it";
  EXPECT_EQ(realCell(-12345678.98765), "-12345678.988");
  EXPECT_EQ(realCell(1e20), "100000000000000000000.000");
  EXPECT_EQ(realCell(std::numeric_limits<double>::infinity()), "inf");
}

TEST(ListDocumentTest, TextFromOutsideIsEscaped) {
  // A folder may be called anything; its name must not become markup.
  StringListSink sink;
  ListDocument document(sink, L"/a&b/<i>\"x\".html", L"R&D <lists>", {});
  EXPECT_NE(sink.bytes().find("<title>/a&amp;b/&lt;i&gt;&quot;x&quot;.html</title>"), std::string::npos);
  EXPECT_NE(sink.bytes().find(">R&amp;D &lt;lists&gt;</p>"), std::string::npos);
}

}  // namespace
}  // namespace veltrace
