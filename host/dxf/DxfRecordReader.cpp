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
      break;
    }
    record.tags.push_back(tag);
  }
  return true;
}

}  // namespace vtcad::dxf
