#pragma once
// ZcDbSequenceEnd ("SEQEND"): the marker that follows the vertices of an old-style polyline
// in a database. The polyline creates and owns it when it is added to a database and erases
// it with itself; it has no geometry.
#include "zcad/db/ZcDbEntity.h"

class ZcDbSequenceEnd : public ZcDbEntity {
 public:
  ZCRX_DECLARE_MEMBERS(ZcDbSequenceEnd)
  ZCDB_DECLARE_VALUE_COPY(ZcDbSequenceEnd)

  ZcDbSequenceEnd();
  ~ZcDbSequenceEnd() override;

 protected:
  ZcDbSequenceEnd(const ZcDbSequenceEnd&) = default;
  ZcDbSequenceEnd& operator=(const ZcDbSequenceEnd&) = default;
};
