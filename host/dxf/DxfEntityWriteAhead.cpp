// The second writing thread of a large space.
#include "dxf/DxfEntityWriteAhead.h"

#include <algorithm>

namespace vtcad::dxf {
namespace {

std::vector<size_t> pieceStarts(size_t count, size_t pieces) {
  std::vector<size_t> starts;
  pieces = std::clamp<size_t>(pieces, 1, std::max<size_t>(count, 1));
  for (size_t k = 0; k < pieces; ++k) starts.push_back(count * k / pieces);
  return starts;
}

}  // namespace

EntityWriteAhead::EntityWriteAhead(ZcDbDatabase& db, std::span<const ZcDbObjectId> ids, size_t pieces)
    : db_(db), ids_(ids), starts_(pieceStarts(ids.size(), pieces)), pieces_(starts_.size()) {
  thread_ = std::thread([this] { run(); });
}

EntityWriteAhead::~EntityWriteAhead() {
  stop_.store(true, std::memory_order_relaxed);
  if (thread_.joinable()) thread_.join();
}

std::optional<DocumentWriter::EntitiesText> EntityWriteAhead::arriveAt(size_t index) {
  if (passed_ >= starts_.size() || starts_[passed_] != index) return std::nullopt;
  const size_t piece = passed_++;
  if (pieces_.firstTakes(piece)) return std::nullopt;
  return pieces_.waitFor(piece);
}

void EntityWriteAhead::run() {
  DocumentWriter writer(db_);
  while (true) {
    const std::optional<size_t> piece = pieces_.secondTakes();
    if (!piece) return;  // met the first thread
    DocumentWriter::EntitiesText text;
    if (!stop_.load(std::memory_order_relaxed)) {
      const size_t begin = starts_[*piece];
      const size_t end = *piece + 1 < starts_.size() ? starts_[*piece + 1] : ids_.size();
      try {
        text = writer.writeEntitiesAlone(ids_.subspan(begin, end - begin));
      } catch (...) {
        // Out of memory, most likely: the piece is left to the first thread.
        text = DocumentWriter::EntitiesText{};
      }
    }
    pieces_.secondDid(*piece, std::move(text));
  }
}

}  // namespace vtcad::dxf
