#pragma once
// A second thread for the entities of a large space being written: the list is cut into
// pieces, which this thread writes from the last one backwards while the first thread writes
// from the start forwards (see MeetingPieces); the first appends each piece's text where it
// arrives at it. The second writes only the kinds DocumentWriter::writeEntitiesAlone takes
// and stops a piece short at any other; the first writes the rest. The text is the same
// either way.
#include <atomic>
#include <optional>
#include <span>
#include <thread>
#include <vector>

#include "dxf/DxfDocumentWriter.h"
#include "dxf/DxfMeetingPieces.h"

namespace vtcad::dxf {

class EntityWriteAhead {
 public:
  EntityWriteAhead(ZcDbDatabase& db, std::span<const ZcDbObjectId> ids, size_t pieces);
  ~EntityWriteAhead();  // stops the thread and waits for it
  EntityWriteAhead(const EntityWriteAhead&) = delete;
  EntityWriteAhead& operator=(const EntityWriteAhead&) = delete;

  // The first thread is at ids[index] (every index in turn): the text of the piece starting
  // there when the second thread wrote it (waiting for it if need be).
  std::optional<DocumentWriter::EntitiesText> arriveAt(size_t index);

 private:
  void run();

  ZcDbDatabase& db_;
  std::span<const ZcDbObjectId> ids_;
  std::vector<size_t> starts_;
  size_t passed_ = 0;  // the first thread's only
  MeetingPieces<DocumentWriter::EntitiesText> pieces_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

}  // namespace vtcad::dxf
