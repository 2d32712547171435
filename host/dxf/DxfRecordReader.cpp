#include "dxf/DxfRecordReader.h"

namespace vtcad::dxf {

const Tag* Record::find(int code) const {
  for (const Tag& tag : tags) {
    if (tag.code == code) return &tag;
  }
  return nullptr;
}

bool RecordReader::next(Record& record) {
  if (pushedBack_) {
    pushedBack_ = false;
    return true;
  }
  Tag tag;
  // Find the head.
  while (true) {
    if (!tags_.next(tag)) return false;
    if (tag.code == 0) break;
    if (tag.code != 999) ++skipped_;  // comments are no damage
  }
  record.head = tag;
  record.tags.clear();
  while (tags_.next(tag)) {
    if (tag.code == 0) {
      tags_.pushBack();
      return true;
    }
    record.tags.push_back(tag);
  }
  // A record broken off by a malformed group is not what the file said: it is left out with
  // the rest of the file (the tag reader's error says where). EOF needs no groups: trash
  // after it is not the drawing's.
  return !tags_.error() || record.head.trimmed() == "EOF";
}

}  // namespace vtcad::dxf
