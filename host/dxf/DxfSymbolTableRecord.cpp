// The name and standard flags of symbol table records, shared by their codecs.
#include "dxf/DxfSymbolTableRecord.h"

#include <algorithm>

#include "database/ZcDbFileAccess.h"
#include "dxf/DxfReadContext.h"
#include "dxf/DxfWriteContext.h"
#include "zcad/db/ZcDbSymbolTable.h"

namespace vtcad::dxf {
namespace {

// Group 70 is a 16-bit integer; flag words are not negative.
constexpr std::int64_t kMaxFlags = 0x7FFF;

}  // namespace

bool SymbolRecordCodec::read(ZcDbObject& obj, std::span<const BodyGroup> body, ReadContext& ctx) const {
  auto& record = static_cast<ZcDbSymbolTableRecord&>(obj);
  std::vector<BodyGroup> fields;
  fields.reserve(body.size());
  bool named = false;
  bool flagged = false;
  for (const BodyGroup& g : body) {
    // The first name and flag word count; a repeated one is kept as it was.
    if (g.tag.code == 2 && !named) {
      ZcDbFileAccess::setRecordName(&record, ZcString(ctx.text(g.tag)));
      named = true;
      continue;
    }
    if (g.tag.code == 70 && hasStandardFlags() && !flagged) {
      // Later 70 groups are no flags (DIMSTYLE's DIMTFILLCLR): the first one is.
      flagged = true;
      std::optional<std::int64_t> v = ctx.integer(g.tag);
      if (v && *v >= 0 && *v <= kMaxFlags) {
        readFlags(record, static_cast<int>(*v));
        if ((*v & ~flagMask()) != 0) ctx.keep(record, g.tag, kCodecOwnSlot);
      } else {
        // No flag word (not a number, or out of range): written back as it was.
        ctx.keep(record, g.tag, kCodecOwnSlot);
      }
      continue;
    }
    fields.push_back(g);
  }
  return readFields(record, fields, ctx);
}

void SymbolRecordCodec::write(const ZcDbObject& obj, WriteContext& ctx) const {
  const auto& record = static_cast<const ZcDbSymbolTableRecord&>(obj);
  ctx.beginSubclass("AcDbSymbolTableRecord");
  ctx.beginSubclass(recordSubclass());
  ctx.text(2, record.name().str());
  if (hasStandardFlags()) {
    const ZcDbKeptGroup* kept = codecOwnGroup(record, 70);
    std::optional<std::int64_t> fileBits = kept ? parseInt(kept->value) : std::optional<std::int64_t>(0);
    if (fileBits && *fileBits >= 0 && *fileBits <= kMaxFlags) {
      ctx.integer(70, flags(record) | (static_cast<int>(*fileBits) & ~flagMask()));
    } else {
      ctx.text(70, std::string_view(kept->value));
    }
  }
  writeFields(record, ctx);
}

bool SymbolRecordCodec::keptInstead(const ZcDbObject& obj, int code) {
  return hasKeptGroup(obj, code, /*lastSlot=*/2);
}

bool hasKeptGroup(const ZcDbObject& obj, int code, std::uint16_t lastSlot) {
  const std::vector<ZcDbKeptGroup>* kept = ZcDbFileAccess::keptGroups(&obj);
  if (!kept) return false;
  return std::any_of(kept->begin(), kept->end(), [&](const ZcDbKeptGroup& g) {
    return g.code == code && ((g.slot >= 1 && g.slot <= lastSlot) || g.slot == kNoMarkers);
  });
}

const ZcDbKeptGroup* codecOwnGroup(const ZcDbObject& obj, int code) {
  if (const std::vector<ZcDbKeptGroup>* kept = ZcDbFileAccess::keptGroups(&obj)) {
    for (const ZcDbKeptGroup& g : *kept) {
      if (g.slot == kCodecOwnSlot && g.code == code) return &g;
    }
  }
  return nullptr;
}

std::optional<std::int64_t> codecOwnInteger(const ZcDbObject& obj, int code) {
  const ZcDbKeptGroup* g = codecOwnGroup(obj, code);
  return g ? parseInt(g->value) : std::nullopt;
}

}  // namespace vtcad::dxf
