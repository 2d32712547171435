// XRECORD: the duplicate record cloning flag (280, the first group after the subclass marker)
// and then the data: every group up to the extended data, as the class's chain of result
// buffers. A point's x, y, z groups (10/20/30, 110/120/130, 210/220/230, ...) are one point
// value; references (320-369, 390-399, 480-481) name their object by its id, written back by
// the handle it has then.
//
// The class holds no cloning flag: a value other than the usual 1 (keep existing) is kept by
// the codec and written again; one that is no number is written as 1. Data the chain cannot hold (a group
// code no value type belongs to, a number out of its type's range, a y without its x) keeps the whole data as
// the file gave it, in its order: an application reads its xrecord by position.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "dxf/DxfCodecs.h"
#include "dxf/DxfReadContext.h"
#include "dxf/DxfSymbolTableRecord.h"
#include "dxf/DxfWriteContext.h"
#include "zcad/db/ZcDbXrecord.h"

namespace vtcad::dxf {
namespace {

constexpr int kCloningFlag = 280;
constexpr int kKeepExisting = 1;

// Codes whose group is followed by the y (code + 10) and z (code + 20) of a point.
bool isPointStart(int code) {
  return (code >= 10 && code <= 18) || (code >= 110 && code <= 112) || code == 210;
}

// Groups dataValue reads as the x of a point (and so needs the y after it).
bool readsAsPoint(int code) {
  return code >= 0 && code < 1000 && zcutValueKind(code) == ZdsValueKind::kPoint && isPointStart(code);
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// One result buffer for the group at body[i]; null when the chain cannot hold it. `taken` is
// the number of groups used.
resbuf* dataValue(std::span<const BodyGroup> body, size_t i, size_t& taken, ReadContext& ctx) {
  const Tag& tag = body[i].tag;
  const int code = tag.code;
  taken = 1;
  if (code < 0 || code >= 1000) return nullptr;
  switch (zcutValueKind(code)) {
    case ZdsValueKind::kPoint: {
      double v[3] = {0.0, 0.0, 0.0};
      if (isPointStart(code)) {
        ReadContext::PointRead p = ctx.point(body, i);
        if (!p.point) return nullptr;
        v[0] = p.point->x;
        v[1] = p.point->y;
        v[2] = p.point->z;
        taken = p.taken;
      } else {
        // A lone coordinate (38, 39, or a y or z without its x): the first of the three.
        std::optional<double> x = ctx.real(tag);
        if (!x) return nullptr;
        v[0] = *x;
      }
      resbuf* rb = zcutNewRb(code);
      std::memcpy(rb->resval.rpoint, v, sizeof v);
      return rb;
    }
    case ZdsValueKind::kReal: {
      std::optional<double> v = ctx.real(tag);
      if (!v) return nullptr;
      resbuf* rb = zcutNewRb(code);
      rb->resval.rreal = *v;
      return rb;
    }
    case ZdsValueKind::kShort:
    case ZdsValueKind::kLong:
    case ZdsValueKind::kInt64: {
      std::optional<std::int64_t> v = ctx.integer(tag);
      if (!v) return nullptr;
      const ZdsValueKind kind = zcutValueKind(code);
      if (kind == ZdsValueKind::kShort && (*v < -32768 || *v > 32767)) return nullptr;
      if (kind == ZdsValueKind::kLong && (*v < INT32_MIN || *v > INT32_MAX)) return nullptr;
      resbuf* rb = zcutNewRb(code);
      if (kind == ZdsValueKind::kShort) {
        rb->resval.rint = static_cast<short>(*v);
      } else if (kind == ZdsValueKind::kLong) {
        rb->resval.rlong = static_cast<Zdesk::Int32>(*v);
      } else {
        rb->resval.mnInt64 = *v;
      }
      return rb;
    }
    case ZdsValueKind::kString: {
      resbuf* rb = zcutNewRb(code);
      rb->resval.rstring = zcutNewString(ctx.text(tag).c_str());
      return rb;
    }
    case ZdsValueKind::kName: {
      // "0" names no object; anything else must be a handle.
      ZcDbObjectId id = ctx.idOfHandle(tag);
      if (id.isNull() && tag.trimmed() != "0") return nullptr;
      resbuf* rb = zcutNewRb(code);
      rb->resval.rlname[0] = id.asOldId();
      return rb;
    }
    case ZdsValueKind::kBinary: {
      std::string_view hex = tag.trimmed();
      if (hex.size() % 2 != 0 || hex.size() / 2 > 32767) return nullptr;
      std::string bytes(hex.size() / 2, '\0');
      for (size_t k = 0; k < bytes.size(); ++k) {
        int hi = hexDigit(hex[2 * k]), lo = hexDigit(hex[2 * k + 1]);
        if (hi < 0 || lo < 0) return nullptr;
        bytes[k] = static_cast<char>(hi * 16 + lo);
      }
      resbuf* rb = zcutNewRb(code);
      rb->resval.rbinary.clen = static_cast<short>(bytes.size());
      rb->resval.rbinary.buf = static_cast<char*>(std::malloc(bytes.size() + 1));
      std::memcpy(rb->resval.rbinary.buf, bytes.data(), bytes.size());
      return rb;
    }
    default:
      return nullptr;
  }
}

void writeValue(const resbuf& rb, WriteContext& ctx) {
  const int code = rb.restype;
  switch (zcutValueKind(code)) {
    case ZdsValueKind::kPoint:
      if (isPointStart(code)) {
        ctx.point(code, ZcGePoint3d(rb.resval.rpoint[0], rb.resval.rpoint[1], rb.resval.rpoint[2]));
      } else {
        ctx.real(code, rb.resval.rpoint[0]);
      }
      break;
    case ZdsValueKind::kReal:
      ctx.real(code, rb.resval.rreal);
      break;
    case ZdsValueKind::kShort:
      ctx.integer(code, rb.resval.rint);
      break;
    case ZdsValueKind::kLong:
      ctx.integer(code, rb.resval.rlong);
      break;
    case ZdsValueKind::kInt64:
      ctx.integer(code, rb.resval.mnInt64);
      break;
    case ZdsValueKind::kString:
      ctx.text(code, std::wstring(rb.resval.rstring ? rb.resval.rstring : L""));
      break;
    case ZdsValueKind::kName:
      ctx.handle(code, ZcDbObjectId().setFromOldId(rb.resval.rlname[0]));
      break;
    case ZdsValueKind::kBinary: {
      static constexpr char kHex[] = "0123456789ABCDEF";
      std::string hex;
      hex.reserve(static_cast<size_t>(std::max<short>(rb.resval.rbinary.clen, 0)) * 2);
      for (short k = 0; k < rb.resval.rbinary.clen; ++k) {
        auto byte = static_cast<unsigned char>(rb.resval.rbinary.buf[k]);
        hex += kHex[byte >> 4];
        hex += kHex[byte & 0xF];
      }
      ctx.text(code, std::string_view(hex));
      break;
    }
    default:
      break;
  }
}

class XrecordCodec final : public ObjectCodec {
 public:
  std::string_view dxfName() const override { return "XRECORD"; }
  ZcRxClass* rxClass() const override { return ZcDbXrecord::desc(); }
  SubclassNames subclasses(const ZcDbObject&) const override { return {"AcDbXrecord"}; }
  ZcDbObject* create(std::span<const Tag>, ReadContext&) const override { return new ZcDbXrecord; }

  bool read(ZcDbObject& obj, std::span<const BodyGroup> body, ReadContext& ctx) const override {
    auto& xrecord = static_cast<ZcDbXrecord&>(obj);
    size_t first = 0;
    if (!body.empty() && body[0].tag.code == kCloningFlag) {
      // A flag that is no number reads as the usual one (ctx.integer said so).
      std::optional<std::int64_t> v = ctx.integer(body[0].tag);
      if (v && *v != kKeepExisting) ctx.keep(xrecord, body[0].tag, kCodecOwnSlot);
      first = 1;
    }
    std::span<const BodyGroup> data = body.subspan(first);
    resbuf* head = nullptr;
    resbuf** tail = &head;
    bool held = true;
    for (size_t i = 0; i < data.size() && held;) {
      size_t taken = 1;
      resbuf* rb = dataValue(data, i, taken, ctx);
      if (!rb) {
        held = false;
        break;
      }
      *tail = rb;
      tail = &rb->rbnext;
      i += taken;
    }
    if (held && head) held = xrecord.setFromRbChain(head) == Zcad::eOk;
    zcutRelRb(head);
    if (!held) {
      for (size_t i = 0; i < data.size(); ++i) {
        const Tag& tag = data[i].tag;
        // Kept as the file gave it, but for an x without its y: read back, it would be a
        // point the file cannot give (and refused as damage).
        const bool yFollows = i + 1 < data.size() && data[i + 1].tag.code == tag.code + 10;
        if (readsAsPoint(tag.code) && !yFollows) {
          if (!ctx.reportedUnreadable(tag)) {
            ctx.lose(tag, "group " + std::to_string(tag.code) + ": the point has no y value (group " +
                              std::to_string(tag.code + 10) + ") and was left out");
          }
          continue;
        }
        ctx.keep(xrecord, data[i]);
      }
    }
    return true;
  }

  void write(const ZcDbObject& obj, WriteContext& ctx) const override {
    const auto& xrecord = static_cast<const ZcDbXrecord&>(obj);
    ctx.beginSubclass("AcDbXrecord");
    ctx.integer(kCloningFlag, codecOwnInteger(xrecord, kCloningFlag).value_or(kKeepExisting));
    resbuf* chain = xrecord.rbChain();
    for (const resbuf* rb = chain; rb; rb = rb->rbnext) writeValue(*rb, ctx);
    zcutRelRb(chain);
  }
};

}  // namespace

const ObjectCodec& xrecordCodec() {
  static const XrecordCodec codec;
  return codec;
}

}  // namespace vtcad::dxf
