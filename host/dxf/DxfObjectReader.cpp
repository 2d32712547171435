// One record into one object.
#include "dxf/DxfObjectReader.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "database/ZcDbFileAccess.h"
#include "dxf/DxfUnknownObject.h"
#include "dxf/DxfXData.h"
#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/db/ZcDbEntity.h"

namespace vtcad::dxf {

std::uint64_t parseHandle(std::string_view hexText) {
  hexText = trimBlanks(hexText);
  std::uint64_t value = 0;
  if (hexText.empty() || hexText.size() > 16) return 0;
  auto [end, ec] = std::from_chars(hexText.data(), hexText.data() + hexText.size(), value, 16);
  if (ec != std::errc() || end != hexText.data() + hexText.size()) return 0;
  return value;
}

std::string handleText(std::uint64_t handle) {
  char buffer[17];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, handle, 16);
  std::string text(buffer, end);
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

namespace {

constexpr std::uint16_t kHeadSlot = 0;
constexpr std::uint16_t kEntitySlot = 1;

// Groups of AcDbEntity that R12 files write without a subclass marker; none of them is used
// by the entity types' own groups.
bool isEntityCommonCode(int code) {
  switch (code) {
    case 6:
    case 8:
    case 48:
    case 60:
    case 62:
    case 67:
    case 370:
    case 420:
      return true;
    default:
      return false;
  }
}

// Every group AcDbEntity has; anything else after its marker belongs to the entity type (a
// writer that left out the type's own marker).
// The entity's own groups that some writers put after the subclass marker of its geometry
// (LibreCAD's R2000 files: LINE ... 100 AcDbLine, 8, 62, 370, 6). No codec of an entity reads
// these codes: there they are still the entity's, as other readers take them. Answers a bit
// per code, 0 for other codes.
unsigned misplacedEntityBit(int code) {
  switch (code) {
    case 8:
      return 1u;
    case 6:
      return 2u;
    case 62:
      return 4u;
    case 370:
      return 8u;
    case 420:
      return 16u;
    default:
      return 0u;
  }
}

bool isEntitySubclassCode(int code) {
  switch (code) {
    case 6:
    case 8:
    case 48:
    case 60:
    case 62:
    case 67:
    case 92:
    case 160:
    case 284:
    case 310:
    case 347:
    case 348:
    case 370:
    case 380:
    case 390:
    case 410:
    case 420:
    case 430:
    case 440:
      return true;
    default:
      return false;
  }
}

bool isXCode(int code) {
  return (code >= 10 && code <= 18) || (code >= 110 && code <= 112) || (code >= 1010 && code <= 1013);
}

// Writers before R12 put the x groups of all points first, then the y groups, then z
// ("10 11 20 21 30 31"); the groups of each point are brought together.
bool coordinatesApart(std::span<const Tag> tags) {
  for (size_t i = 0; i < tags.size(); ++i) {
    if (isXCode(tags[i].code) && (i + 1 >= tags.size() || tags[i + 1].code != tags[i].code + 10)) return true;
  }
  return false;
}

void bringCoordinatesTogether(std::span<const Tag> tags, std::vector<Tag>& out) {
  out.clear();
  std::vector<bool> used(tags.size(), false);
  for (size_t i = 0; i < tags.size(); ++i) {
    if (used[i]) continue;
    used[i] = true;
    out.push_back(tags[i]);
    int code = tags[i].code;
    if (!isXCode(code)) continue;
    for (int axis = 1; axis <= 2; ++axis) {
      for (size_t k = i + 1; k < tags.size() && tags[k].code != code; ++k) {
        if (!used[k] && tags[k].code == code + 10 * axis) {
          used[k] = true;
          out.push_back(tags[k]);
          break;
        }
      }
    }
  }
}

}  // namespace

bool ObjectReader::readEntityGroup(ZcDbObject& obj, const Tag& tag, ParsedObject& parsed) {
  auto* entity = static_cast<ZcDbEntity*>(&obj);
  switch (tag.code) {
    case 8: {
      ZcDbObjectId layer = ctx_.layerOfGroup(tag);
      if (layer.isNull()) return false;  // kept: written back as it was
      ZcDbFileAccess::setEntityLayer(entity, layer);
      return true;
    }
    case 6: {
      ZcDbObjectId linetype = ctx_.linetypeOfGroup(tag);
      if (linetype.isNull()) return false;
      ZcDbFileAccess::setEntityLinetype(entity, linetype);
      return true;
    }
    case 62: {
      std::optional<std::int64_t> v = ctx_.integer(tag);
      if (!v || *v < 0 || *v > 256) return false;
      // A true colour (420) read before stays: it refines the index.
      if (entity->color().isByColor()) return true;
      ZcCmColor color;
      color.setColorIndex(static_cast<Zdesk::UInt16>(*v));
      entity->setColor(color, /*doSubents=*/false);
      return true;
    }
    case 420: {
      std::optional<std::int64_t> v = ctx_.integer(tag);
      if (!v) return false;
      ZcCmColor color;
      color.setRGB(static_cast<Zdesk::UInt8>((*v >> 16) & 0xFF), static_cast<Zdesk::UInt8>((*v >> 8) & 0xFF),
                   static_cast<Zdesk::UInt8>(*v & 0xFF));
      entity->setColor(color, /*doSubents=*/false);
      return true;
    }
    case 48: {
      std::optional<double> v = ctx_.real(tag);
      return v && entity->setLinetypeScale(*v, /*doSubents=*/false) == Zcad::eOk;
    }
    case 60: {
      std::optional<std::int64_t> v = ctx_.integer(tag);
      if (!v) return false;
      entity->setVisibility(*v == 1 ? ZcDb::kInvisible : ZcDb::kVisible, /*doSubents=*/false);
      return true;
    }
    case 370: {
      std::optional<std::int64_t> v = ctx_.integer(tag);
      // Out of the range of line weights (-3 .. 211) the value is no LineWeight at all: kept.
      if (!v || *v < -3 || *v > 211) return false;
      return entity->setLineWeight(static_cast<ZcDb::LineWeight>(*v), /*doSubents=*/false) == Zcad::eOk;
    }
    case 67: {
      std::optional<std::int64_t> v = ctx_.integer(tag);
      if (!v) return false;
      parsed.paperSpace = *v == 1;
      return true;
    }
    default:
      return false;
  }
}

ParsedObject ObjectReader::parse(const Record& record, const ObjectCodec* codec, bool entity,
                                 Unreadable unreadable) {
  ParsedObject parsed;
  const size_t mark = ctx_.messageMark();
  parsed.line = record.head.line;
  std::span<const Tag> tags(record.tags);
  if (coordinatesApart(tags)) {
    bringCoordinatesTogether(tags, ordered_);
    tags = ordered_;
  }
  ZcDbObject* obj = codec ? codec->create(tags, ctx_) : nullptr;
  // A record where it does not belong (a LAYER among the entities, a LINE among the
  // objects) is kept as it is: the section decides what kind of object it becomes.
  if (obj && (ZcDbEntity::cast(obj) != nullptr) != entity) {
    delete obj;
    obj = nullptr;
  }
  if (!obj) {
    codec = nullptr;
    std::string type(record.type());
    obj = entity ? static_cast<ZcDbObject*>(new DxfUnknownEntity(type)) : new DxfUnknownObject(type);
  }
  parsed.object.reset(obj);
  parsed.codec = codec;
  SubclassNames subclasses;
  if (codec) subclasses = codec->subclasses(*obj);
  const std::uint16_t firstCodecSlot = entity ? 2 : 1;
  const bool dimStyle = record.type() == "DIMSTYLE";

  body_.clear();
  std::uint16_t slot = kHeadSlot;
  bool sawMarker = false;
  unsigned entityCodesSeen = 0;  // misplacedEntityBit() of the entity groups read
  for (size_t i = 0; i < tags.size(); ++i) {
    const Tag& tag = tags[i];
    // Extended data starts with an application name; other 1000-1071 groups before it
    // (XRECORD data, damaged files) stay with the record.
    if (tag.code == 1001) {
      if (resbuf* xdata = readXData(tags.subspan(i), ctx_)) {
        ctx_.noteXDataApplications(xdata);
        ZcDbFileAccess::setXData(obj, xdata);
      }
      break;
    }
    if ((tag.code == 5 || (tag.code == 105 && dimStyle)) && parsed.handle == 0 && !sawMarker) {
      parsed.handle = parseHandle(tag.value);
      // An empty handle (simple writers) just gets a new one.
      if (parsed.handle == 0 && !tag.trimmed().empty()) {
        ctx_.warn(tag, "handle '" + std::string(tag.trimmed().substr(0, 20)) + "' is not a hex number");
      }
      continue;
    }
    if (tag.code == 102 && !tag.trimmed().empty() && tag.trimmed().front() == '{') {
      std::string_view app = tag.trimmed();
      size_t end = i + 1;
      while (end < tags.size() && tags[end].code != 102) ++end;
      // Any 102 value beginning with "}" ends the group: damaged files close it as "}K" and
      // the like. Left open, the group would swallow the groups after it when written back.
      const bool closed =
          end < tags.size() && !tags[end].trimmed().empty() && tags[end].trimmed().front() == '}';
      if (closed && tags[end].trimmed() != "}") {
        ctx_.warn(tags[end], "the group " + std::string(app.substr(0, 40)) + " ends with '" +
                                 std::string(tags[end].trimmed().substr(0, 20)) + "', read as '}'");
      }
      // Another 102 that opens or closes nothing ends the group too: the group is closed before
      // it and the stray tag kept on its own. Written back open, the group would reach the next
      // 102 the writer puts anywhere after it, and swallow what lies between.
      const bool closedBefore = !closed && end < tags.size();
      if (closedBefore) {
        ctx_.warn(tags[end], "the group " + std::string(app.substr(0, 40)) +
                                 " is not closed; closed before '" +
                                 std::string(tags[end].trimmed().substr(0, 20)) + "'");
      }
      if (app == "{ACAD_REACTORS" && (closed || closedBefore)) {
        for (size_t k = i + 1; k < end; ++k) {
          if (tags[k].code == 330) {
            ZcDbObjectId id = ctx_.idOfHandle(tags[k]);
            if (!id.isNull()) parsed.reactors.push_back(id);
          }
        }
        i = closed ? end : end - 1;
        continue;
      }
      if (app == "{ACAD_XDICTIONARY" && (closed || closedBefore)) {
        for (size_t k = i + 1; k < end; ++k) {
          if (tags[k].code == 360) parsed.extensionDictionary = ctx_.idOfHandle(tags[k]);
        }
        i = closed ? end : end - 1;
        continue;
      }
      // Another application's data: kept as it is, in place. Inside a subclass the codec
      // reads, it stays among the codec's groups (an XRECORD's data holds such groups), so
      // that it keeps its place among those the codec leaves.
      size_t last = closed ? end : end - 1;
      const bool inCodecSubclass = codec && sawMarker && !(entity && slot == kEntitySlot);
      const auto keepTag = [&](const Tag& kept) {
        if (inCodecSubclass) {
          body_.push_back(BodyGroup{kept, slot});
        } else {
          ctx_.keep(*obj, kept, slot);
        }
      };
      for (size_t k = i; k <= last && k < tags.size(); ++k) {
        Tag kept = tags[k];
        if (closed && k == end) kept.value = "}";  // a damaged closer goes back plain
        keepTag(kept);
      }
      if (closedBefore) keepTag(Tag{102, tags[end].line, "}"});
      i = last;
      continue;
    }
    if (tag.code == 330 && !sawMarker && parsed.owner.isNull()) {
      parsed.owner = ctx_.idOfHandle(tag);
      continue;
    }
    if (tag.code == 100) {
      std::string_view name = tag.trimmed();
      if (entity && name == "AcDbEntity") {
        slot = kEntitySlot;
        sawMarker = true;
        continue;
      }
      // A name can come twice (TEXT's two AcDbText): the next one after the current slot.
      const size_t from =
          slot >= firstCodecSlot ? std::min<size_t>(slot - firstCodecSlot + 1u, subclasses.size()) : 0;
      auto it = std::find(subclasses.begin() + static_cast<std::ptrdiff_t>(from), subclasses.end(), name);
      if (it == subclasses.end()) it = std::find(subclasses.begin(), subclasses.end(), name);
      if (it != subclasses.end()) {
        slot = static_cast<std::uint16_t>(firstCodecSlot + (it - subclasses.begin()));
        sawMarker = true;
        continue;
      }
      // A subclass the codec does not know: kept with what follows it, after the groups of
      // the subclass before it. A kept record keeps all its markers in one slot after the head.
      if (slot == kHeadSlot) slot = codec ? firstCodecSlot : 1;
      sawMarker = true;
      ctx_.keep(*obj, tag, slot);
      if (!codec) continue;
      // Groups after an unknown marker belong to it, not to the codec.
      for (++i; i < tags.size() && tags[i].code != 100 && tags[i].code != 1001; ++i)
        ctx_.keep(*obj, tags[i], slot);
      --i;
      continue;
    }
    if (entity && slot == kEntitySlot && !isEntitySubclassCode(tag.code) && codec) {
      body_.push_back(BodyGroup{tag, kNoMarkers});
      continue;
    }
    if (entity && (slot == kEntitySlot || (!sawMarker && isEntityCommonCode(tag.code)))) {
      entityCodesSeen |= misplacedEntityBit(tag.code);
      if (readEntityGroup(*obj, tag, parsed)) continue;
      if (slot == kEntitySlot) {
        ctx_.keep(*obj, tag, kEntitySlot);
        continue;
      }
    }
    if (!codec) {
      ctx_.keep(*obj, tag, sawMarker ? slot : std::uint16_t{1});
      continue;
    }
    if (const unsigned bit = entity && sawMarker ? misplacedEntityBit(tag.code) : 0u;
        bit != 0 && (entityCodesSeen & bit) == 0) {
      entityCodesSeen |= bit;
      if (readEntityGroup(*obj, tag, parsed)) continue;
    }
    body_.push_back(BodyGroup{tag, sawMarker ? slot : kNoMarkers});
  }
  if (codec && !codec->read(*obj, body_, ctx_)) {
    parsed.object.reset();
    if (unreadable == Unreadable::kRetry) return parsed;
    ctx_.markLost(mark);
    ctx_.lose(record.head, std::string(record.type()) + " left out");
  }
  return parsed;
}

ZcDbObjectId ObjectReader::add(ParsedObject& parsed, ZcDbObjectId owner) {
  ZcDbObjectId id;
  if (!parsed.object) return id;
  ZcDbDatabase* db = &ctx_.database();
  ZcDbObject* obj = parsed.object.get();
  // Adding finds out whether the handle is taken: the index is searched once per object,
  // not once to ask and again to add.
  Zcad::ErrorStatus es = ZcDbFileAccess::add(db, obj, owner, ZcDbHandle(parsed.handle), id);
  if (es == Zcad::eHandleInUse && parsed.handle != 0) {
    ctx_.warn(parsed.line,
              "handle " + handleText(parsed.handle) + " is used twice; the second object gets a new handle");
    es = ZcDbFileAccess::add(db, obj, owner, ZcDbHandle(), id);
  }
  if (es != Zcad::eOk) {
    ctx_.lose(parsed.line, "object could not be added to the drawing");
    return ZcDbObjectId();
  }
  parsed.object.release();  // the database owns it now
  if (obj->isA() == ZcDbBlockTableRecord::desc() ||
      (obj->isA() == DxfUnknownObject::desc() &&
       static_cast<DxfUnknownObject*>(obj)->recordType() == "LAYOUT")) {
    ctx_.noteLayoutCandidate(id);
  }
  for (ZcDbObjectId reactor : parsed.reactors) ZcDbFileAccess::addPersistentReactor(obj, reactor);
  if (!parsed.extensionDictionary.isNull())
    ZcDbFileAccess::setExtensionDictionary(obj, parsed.extensionDictionary);
  return id;
}

}  // namespace vtcad::dxf
