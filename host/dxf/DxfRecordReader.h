#pragma once
// Groups the tags of a DXF file into records: a (0, TYPE) group and every group up to the
// next code 0. The record's tags point into the file's bytes; a record is reused from one
// call to the next so that reading a million entities allocates almost nothing.
#include <string_view>
#include <vector>

#include "dxf/DxfTagReader.h"

namespace vtcad::dxf {

struct Record {
  Tag head;               // (0, TYPE)
  std::vector<Tag> tags;  // the groups after the head, in file order

  std::string_view type() const { return head.trimmed(); }
  // First group with the code, or nullptr.
  const Tag* find(int code) const;
};

class RecordReader {
 public:
  explicit RecordReader(TagReader& tags) : tags_(tags) {}

  // The next record. False at the end of the data or on an error of the tag reader. Groups
  // before the first code 0 are skipped and counted (a damaged start of file). A record cut
  // short by a malformed group is not returned (but EOF is): check tags().error().
  bool next(Record& record);
  // The record comes again with the next call.
  void pushBack() { pushedBack_ = true; }
  bool hasPushedBack() const { return pushedBack_; }
  size_t skippedGroups() const { return skipped_; }
  TagReader& tags() { return tags_; }

 private:
  TagReader& tags_;
  bool pushedBack_ = false;
  size_t skipped_ = 0;
};

}  // namespace vtcad::dxf
