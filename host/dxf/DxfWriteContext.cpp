// The state codecs share while a drawing is written.
#include "dxf/DxfWriteContext.h"

#include "database/ZcDbFileAccess.h"
#include "dxf/DxfDocumentWriter.h"
#include "dxf/DxfGroupCode.h"
#include "dxf/DxfObjectReader.h"
#include "dxf/DxfText.h"
#include "zcad/db/ZcDbSymbolTable.h"

namespace vtcad::dxf {

WriteContext::WriteContext(ZcDbDatabase& db, TagWriter& out, DocumentWriter& document)
    : db_(db), out_(out), document_(document) {}

void WriteContext::text(int code, std::wstring_view value) { out_.write(code, wideToUtf8(value)); }

std::uint64_t WriteContext::handleOf(ZcDbObjectId id) const {
  // A reference to an object that is gone (erased, or never in the file) is written as none.
  ZcDbObject* obj = ZcDbFileAccess::peek(id);
  if (!obj || id.isErased()) return 0;
  return ZcDbFileAccess::handleOf(id);
}

void WriteContext::handle(int code, ZcDbObjectId id) { out_.writeHandle(code, handleOf(id)); }

std::wstring WriteContext::recordName(ZcDbObjectId id) const {
  auto* record = ZcDbSymbolTableRecord::cast(ZcDbFileAccess::peek(id));
  return record ? std::wstring(record->name().kwszPtr()) : std::wstring();
}

std::string_view WriteContext::recordNameUtf8(ZcDbObjectId id) {
  const ZcDbObject* obj = ZcDbFileAccess::peek(id);
  // Entities name a few layers and linetypes in every order: a direct-mapped cache in front
  // of the table answers nearly every one without hashing.
  auto& recent = recentNames_[recentSlot(obj, recentNames_.size())];
  if (obj && recent.first == obj) return recent.second;
  auto* record = ZcDbSymbolTableRecord::cast(obj);
  if (!record) return {};  // no record, or not one with a name
  auto [it, made] = names_.try_emplace(obj);
  if (made) it->second = wideToUtf8(record->name().kwszPtr());
  recent = {obj, it->second};  // elements of an unordered_map stay where they are
  return it->second;
}

void WriteContext::writeObject(ZcDbObjectId id) { document_.writeObject(id); }

void WriteContext::beginObject(const ZcDbObject& obj, std::uint16_t lastSlot) {
  kept_ = ZcDbFileAccess::keptGroups(&obj);
  slot_ = 0;
  lastSlot_ = lastSlot;
  flushed_.assign(static_cast<size_t>(lastSlot) + 1, false);
}

void WriteContext::beginSubclass(std::string_view name) {
  flushKept(slot_);
  out_.write(100, name);
  ++slot_;
}

void WriteContext::endObject() {
  // Slots the codec did not open this time (it wrote fewer subclasses than the file had)
  // still give back their groups, in order.
  for (std::uint16_t s = 0; s <= lastSlot_; ++s) flushKept(s);
  kept_ = nullptr;
}

void WriteContext::writeKept(const ZcDbKeptGroup& group) {
  if (isReferenceCode(group.code) && !group.ref.isNull()) {
    out_.writeHandle(group.code, handleOf(group.ref));
  } else {
    out_.write(group.code, group.value);
  }
}

void WriteContext::flushKept(std::uint16_t slot) {
  if (slot < flushed_.size()) {
    if (flushed_[slot]) return;
    flushed_[slot] = true;
  }
  if (!kept_) return;
  for (const ZcDbKeptGroup& group : *kept_) {
    // Groups of a file without subclass markers go with the last subclass.
    if (group.slot == slot || (slot == lastSlot_ && group.slot == kNoMarkers)) writeKept(group);
  }
}

}  // namespace vtcad::dxf
