// Group lists as result-buffer chains.
#include "dxf/DxfXData.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "dxf/DxfReadContext.h"
#include "dxf/DxfTagWriter.h"
#include "dxf/DxfText.h"

namespace vtcad::dxf {
namespace {

// Hex text of a binary chunk into bytes; false for odd lengths or non-hex characters.
bool hexToBytes(std::string_view hex, std::string& bytes) {
  if (hex.size() % 2 != 0) return false;
  bytes.clear();
  auto nibble = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
  };
  for (size_t i = 0; i < hex.size(); i += 2) {
    int hi = nibble(hex[i]), lo = nibble(hex[i + 1]);
    if (hi < 0 || lo < 0) return false;
    bytes.push_back(static_cast<char>(hi * 16 + lo));
  }
  return true;
}

// One item from tags[i] (and the y and z groups of a point). Null when the value does not
// parse; `taken` says how many groups were used either way.
resbuf* itemOf(std::span<const Tag> tags, size_t i, size_t& taken, ReadContext& ctx, bool report) {
  const Tag& tag = tags[i];
  taken = 1;
  ZdsValueKind kind = zcutValueKind(tag.code);
  switch (kind) {
    case ZdsValueKind::kString: {
      resbuf* rb = zcutNewRb(tag.code);
      std::wstring text = ctx.text(tag);
      rb->resval.rstring = zcutNewString(text.c_str());
      return rb;
    }
    case ZdsValueKind::kReal: {
      std::optional<double> v = report ? ctx.real(tag) : tag.toDouble();
      if (!v) return nullptr;
      resbuf* rb = zcutNewRb(tag.code);
      rb->resval.rreal = *v;
      return rb;
    }
    case ZdsValueKind::kShort:
    case ZdsValueKind::kLong:
    case ZdsValueKind::kInt64: {
      std::optional<std::int64_t> v = report ? ctx.integer(tag) : tag.toInt();
      if (!v) return nullptr;
      resbuf* rb = zcutNewRb(tag.code);
      if (kind == ZdsValueKind::kShort) {
        rb->resval.rint = static_cast<short>(*v);
      } else if (kind == ZdsValueKind::kLong) {
        rb->resval.rlong = static_cast<Zdesk::Int32>(*v);
      } else {
        rb->resval.mnInt64 = *v;
      }
      return rb;
    }
    case ZdsValueKind::kPoint: {
      double xyz[3] = {0, 0, 0};
      std::optional<double> x = report ? ctx.real(tag) : tag.toDouble();
      if (!x) return nullptr;
      xyz[0] = *x;
      for (int k = 1; k < 3 && i + k < tags.size() && tags[i + k].code == tag.code + 10 * k; ++k) {
        std::optional<double> c = report ? ctx.real(tags[i + k]) : tags[i + k].toDouble();
        if (!c) return nullptr;
        xyz[k] = *c;
        taken = static_cast<size_t>(k) + 1;
      }
      resbuf* rb = zcutNewRb(tag.code);
      std::memcpy(rb->resval.rpoint, xyz, sizeof xyz);
      return rb;
    }
    case ZdsValueKind::kBinary: {
      std::string bytes;
      if (!hexToBytes(tag.trimmed(), bytes) || bytes.size() > 32767) {
        if (report) ctx.lose(tag, "group " + std::to_string(tag.code) + ": binary data that is not hex text");
        return nullptr;
      }
      resbuf* rb = zcutNewRb(tag.code);
      rb->resval.rbinary.clen = static_cast<short>(bytes.size());
      rb->resval.rbinary.buf = static_cast<char*>(std::malloc(bytes.empty() ? 1 : bytes.size()));
      if (!bytes.empty()) std::memcpy(rb->resval.rbinary.buf, bytes.data(), bytes.size());
      return rb;
    }
    default:
      return nullptr;
  }
}

}  // namespace

resbuf* readXData(std::span<const Tag> tags, ReadContext& ctx) {
  resbuf* head = nullptr;
  resbuf** tail = &head;
  bool haveApp = false;
  for (size_t i = 0; i < tags.size();) {
    const Tag& tag = tags[i];
    // An application name that is empty as the C string extended data holds it (blank, or
    // starting with a NUL byte) names no application: what follows cannot be kept under it.
    const bool namesNothing =
        tag.code == 1001 && (tag.trimmed().empty() || ctx.text(tag).c_str()[0] == L'\0');
    if (tag.code < 1000 || tag.code > 1071 || namesNothing) {
      ctx.lose(tag, "group " + std::to_string(tag.code) + " inside extended data was left out");
      ++i;
      continue;
    }
    if (tag.code == 1001) haveApp = true;
    if (!haveApp) {
      ctx.lose(tag, "extended data without an application name was left out");
      ++i;
      continue;
    }
    size_t taken = 1;
    resbuf* rb = itemOf(tags, i, taken, ctx, /*report=*/true);
    i += taken;
    if (!rb) continue;
    *tail = rb;
    tail = &rb->rbnext;
  }
  return head;
}

resbuf* readValueGroups(std::span<const Tag> tags, ReadContext& ctx) {
  resbuf* head = nullptr;
  resbuf** tail = &head;
  for (size_t i = 0; i < tags.size();) {
    ZdsValueKind kind = zcutValueKind(tags[i].code);
    size_t taken = 1;
    resbuf* rb = (kind == ZdsValueKind::kName || kind == ZdsValueKind::kNone || tags[i].code == 5 ||
                  tags[i].code == 105)
                     ? nullptr
                     : itemOf(tags, i, taken, ctx, /*report=*/false);
    // A 2-D point ($LIMMIN) would come back with a z group: such variables stay as the
    // file wrote them.
    if (rb && kind == ZdsValueKind::kPoint && taken < 3) {
      zcutRelRb(rb);
      rb = nullptr;
    }
    if (!rb) {
      zcutRelRb(head);
      return nullptr;
    }
    i += taken;
    *tail = rb;
    tail = &rb->rbnext;
  }
  return head;
}

void writeGroups(const resbuf* chain, TagWriter& out) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  for (const resbuf* rb = chain; rb; rb = rb->rbnext) {
    int code = rb->restype;
    switch (zcutValueKind(code)) {
      case ZdsValueKind::kString:
        out.write(code, wideToUtf8(rb->resval.rstring ? rb->resval.rstring : L""));
        break;
      case ZdsValueKind::kReal:
        out.writeDouble(code, rb->resval.rreal);
        break;
      case ZdsValueKind::kShort:
        out.writeInt(code, rb->resval.rint);
        break;
      case ZdsValueKind::kLong:
        out.writeInt(code, rb->resval.rlong);
        break;
      case ZdsValueKind::kInt64:
        out.writeInt(code, rb->resval.mnInt64);
        break;
      case ZdsValueKind::kPoint:
        out.writePoint(code, rb->resval.rpoint[0], rb->resval.rpoint[1], rb->resval.rpoint[2]);
        break;
      case ZdsValueKind::kBinary: {
        std::string hex;
        for (short k = 0; k < rb->resval.rbinary.clen; ++k) {
          auto byte = static_cast<unsigned char>(rb->resval.rbinary.buf[k]);
          hex += kHex[byte >> 4];
          hex += kHex[byte & 15];
        }
        out.write(code, hex);
        break;
      }
      default:
        break;  // names (entity names) have no file form; nothing the reader makes
    }
  }
}

}  // namespace vtcad::dxf
