// The bytes of list files: GB18030 for the declared gb2312, CR LF line ends.
#include <gtest/gtest.h>

#include "export/ListEncoding.h"

namespace veltrace {
namespace {

TEST(ListEncodingTest, GB18030BytesAndCrLfLineEnds) {
  ListEncoder encoder;
  EXPECT_EQ(encoder.encode(L"<td width=5%>\n\n"), "<td width=5%>\r\n\r\n");
  EXPECT_EQ(encoder.encode(L"X坐标\n序号"), "X\xD7\xF8\xB1\xEA\r\n\xD0\xF2\xBA\xC5");
  EXPECT_EQ(encoder.encode(L"Lines、Arcs"),
            "Lines\xA1\xA2"
            "Arcs");
  // Beyond GB2312 the four-byte forms carry every character: a path with any name is whole.
  EXPECT_EQ(encoder.encode(L"\U00020000\u20AC"), "\x95\x32\x82\x36\xA2\xE3");
  // What has no encoding at all becomes "?", and the converter goes on.
  const wchar_t damaged[] = {L'a', static_cast<wchar_t>(0xD800), L'b', static_cast<wchar_t>(0x110000), L'号',
                             0};
  EXPECT_EQ(encoder.encode(damaged), "a?b?\xBA\xC5");
}

}  // namespace
}  // namespace veltrace
