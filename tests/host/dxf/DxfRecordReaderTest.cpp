#include <gtest/gtest.h>

#include "dxf/DxfRecordReader.h"

using namespace vtcad::dxf;

TEST(DxfRecordReader, GroupsTagsUpToTheNextCodeZero) {
  TagReader tags("0\nSECTION\n2\nENTITIES\n0\nLINE\n8\n0\n10\n1.0\n0\nENDSEC\n0\nEOF\n");
  RecordReader reader(tags);
  Record record;
  ASSERT_TRUE(reader.next(record));
  EXPECT_EQ(record.type(), "SECTION");
  ASSERT_EQ(record.tags.size(), 1u);
  ASSERT_TRUE(reader.next(record));
  EXPECT_EQ(record.type(), "LINE");
  ASSERT_NE(record.find(10), nullptr);
  EXPECT_EQ(record.find(10)->toDouble(), 1.0);
  EXPECT_EQ(record.find(11), nullptr);
  // A pushed-back record comes again unchanged.
  reader.pushBack();
  ASSERT_TRUE(reader.next(record));
  EXPECT_EQ(record.type(), "LINE");
  ASSERT_TRUE(reader.next(record));
  EXPECT_EQ(record.type(), "ENDSEC");
  ASSERT_TRUE(reader.next(record));
  EXPECT_EQ(record.type(), "EOF");
  EXPECT_FALSE(reader.next(record));
}

TEST(DxfRecordReader, GroupsBeforeTheFirstHeadAreSkippedAndCounted) {
  TagReader tags("999\ncomment\n5\n1F\n0\nSECTION\n");
  RecordReader reader(tags);
  Record record;
  ASSERT_TRUE(reader.next(record));
  EXPECT_EQ(record.type(), "SECTION");
  EXPECT_EQ(reader.skippedGroups(), 1u);  // the comment is no damage
}

TEST(DxfRecordReader, AMalformedGroupLeavesOutTheBrokenRecordAndReportsItsLine) {
  // The LINE before the damage is whole; the broken one is not given as if it were.
  TagReader tags("0\nLINE\n10\n1.0\n0\nLINE\n10\n1.0\nbad\n2.0\n");
  RecordReader reader(tags);
  Record record;
  ASSERT_TRUE(reader.next(record));
  EXPECT_EQ(record.tags.size(), 1u);
  EXPECT_FALSE(reader.next(record));
  ASSERT_TRUE(tags.error());
  EXPECT_EQ(tags.error()->line, 9u);
  // Trash after EOF does not take EOF with it.
  TagReader trailing("0\nEOF\nignore\nthis\n");
  RecordReader afterEof(trailing);
  ASSERT_TRUE(afterEof.next(record));
  EXPECT_EQ(record.type(), "EOF");
}
