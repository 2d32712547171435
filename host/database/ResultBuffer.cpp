// Result buffers: allocation, release and copying of resbuf chains.
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <cwchar>

#include "zcad/zds.h"

ZdsValueKind zcutValueKind(int type) {
  switch (type) {
    case RTREAL:
    case RTANG:
      return ZdsValueKind::kReal;
    case RTPOINT:
    case RT3DPOINT:
      return ZdsValueKind::kPoint;
    case RTSHORT:
      return ZdsValueKind::kShort;
    case RTSTR:
    case RTDXF0:
      return ZdsValueKind::kString;
    case RTENAME:
    case RTPICKS:
      return ZdsValueKind::kName;
    case RTLONG:
      return ZdsValueKind::kLong;
    case RTINT64:
    case RTLONG_PTR:
      return ZdsValueKind::kInt64;
    case RTNIL:
    case RTT:
    case RTVOID:
    case RTLB:
    case RTLE:
    case RTDOTE:
      return ZdsValueKind::kNone;
    default:
      break;
  }
  // DXF group codes (entity lists, extended data, xrecords).
  if (type == -1 || type == -2) return ZdsValueKind::kName;
  if (type == -4) return ZdsValueKind::kString;
  if (type < 0) return ZdsValueKind::kNone;
  if (type <= 9) return ZdsValueKind::kString;
  if (type <= 39) return ZdsValueKind::kPoint;
  if (type <= 59) return ZdsValueKind::kReal;
  if (type <= 79) return ZdsValueKind::kShort;
  if (type >= 90 && type <= 99) return ZdsValueKind::kLong;
  if (type == 100 || type == 102 || type == 105) return ZdsValueKind::kString;
  if (type >= 110 && type <= 139) return ZdsValueKind::kPoint;
  if (type >= 140 && type <= 149) return ZdsValueKind::kReal;
  if (type >= 160 && type <= 169) return ZdsValueKind::kInt64;
  if (type >= 170 && type <= 179) return ZdsValueKind::kShort;
  if (type >= 210 && type <= 239) return ZdsValueKind::kPoint;
  if (type >= 270 && type <= 299) return ZdsValueKind::kShort;
  if (type >= 300 && type <= 309) return ZdsValueKind::kString;
  if (type >= 310 && type <= 319) return ZdsValueKind::kBinary;
  if (type >= 320 && type <= 369) return ZdsValueKind::kName;
  if (type >= 370 && type <= 389) return ZdsValueKind::kShort;
  if (type >= 390 && type <= 399) return ZdsValueKind::kName;
  if (type >= 400 && type <= 409) return ZdsValueKind::kShort;
  if (type >= 410 && type <= 419) return ZdsValueKind::kString;
  if (type >= 420 && type <= 429) return ZdsValueKind::kLong;
  if (type >= 430 && type <= 439) return ZdsValueKind::kString;
  if (type >= 440 && type <= 459) return ZdsValueKind::kLong;
  if (type >= 460 && type <= 469) return ZdsValueKind::kReal;
  if (type >= 470 && type <= 479) return ZdsValueKind::kString;
  if (type == 480 || type == 481) return ZdsValueKind::kName;
  if (type == 999) return ZdsValueKind::kString;
  if (type == 1004) return ZdsValueKind::kBinary;
  if (type >= 1000 && type <= 1009) return ZdsValueKind::kString;
  if (type >= 1010 && type <= 1039) return ZdsValueKind::kPoint;
  if (type >= 1040 && type <= 1059) return ZdsValueKind::kReal;
  if (type >= 1060 && type <= 1070) return ZdsValueKind::kShort;
  if (type == 1071) return ZdsValueKind::kLong;
  return ZdsValueKind::kNone;
}

resbuf* zcutNewRb(int type) {
  auto* rb = static_cast<resbuf*>(std::calloc(1, sizeof(resbuf)));
  if (!rb) return nullptr;
  rb->restype = static_cast<short>(type);
  return rb;
}

int zcutRelRb(resbuf* rb) {
  while (rb) {
    resbuf* next = rb->rbnext;
    switch (zcutValueKind(rb->restype)) {
      case ZdsValueKind::kString:
        std::free(rb->resval.rstring);
        break;
      case ZdsValueKind::kBinary:
        std::free(rb->resval.rbinary.buf);
        break;
      default:
        break;
    }
    std::free(rb);
    rb = next;
  }
  return RTNORM;
}

ZTCHAR* zcutNewString(const ZTCHAR* text) {
  if (!text) text = L"";
  size_t n = std::wcslen(text) + 1;
  auto* copy = static_cast<ZTCHAR*>(std::malloc(n * sizeof(ZTCHAR)));
  if (copy) std::wmemcpy(copy, text, n);
  return copy;
}

resbuf* zcutCopyRbChain(const resbuf* rb) {
  resbuf* head = nullptr;
  resbuf** tail = &head;
  for (; rb; rb = rb->rbnext) {
    resbuf* copy = zcutNewRb(rb->restype);
    if (!copy) break;
    copy->resval = rb->resval;
    switch (zcutValueKind(rb->restype)) {
      case ZdsValueKind::kString:
        copy->resval.rstring = rb->resval.rstring ? zcutNewString(rb->resval.rstring) : nullptr;
        break;
      case ZdsValueKind::kBinary: {
        short n = rb->resval.rbinary.clen;
        copy->resval.rbinary.buf = nullptr;
        if (n > 0 && rb->resval.rbinary.buf) {
          copy->resval.rbinary.buf = static_cast<char*>(std::malloc(static_cast<size_t>(n)));
          if (copy->resval.rbinary.buf) std::memcpy(copy->resval.rbinary.buf, rb->resval.rbinary.buf, n);
        } else {
          copy->resval.rbinary.clen = 0;
        }
        break;
      }
      default:
        break;
    }
    *tail = copy;
    tail = &copy->rbnext;
  }
  return head;
}

resbuf* zcutBuildList(int type, ...) {
  va_list args;
  va_start(args, type);
  resbuf* head = nullptr;
  resbuf** tail = &head;
  for (; type != 0; type = va_arg(args, int)) {
    resbuf* rb = zcutNewRb(type);
    if (!rb) break;
    switch (zcutValueKind(type)) {
      case ZdsValueKind::kReal:
        rb->resval.rreal = va_arg(args, double);
        break;
      case ZdsValueKind::kPoint: {
        const double* p = va_arg(args, const double*);
        for (int i = 0; i < 3; ++i) rb->resval.rpoint[i] = p ? p[i] : 0.0;
        break;
      }
      case ZdsValueKind::kShort:
        rb->resval.rint = static_cast<short>(va_arg(args, int));
        break;
      case ZdsValueKind::kLong:
        rb->resval.rlong = va_arg(args, int);
        break;
      case ZdsValueKind::kInt64:
        rb->resval.mnInt64 = va_arg(args, long long);
        break;
      case ZdsValueKind::kString:
        rb->resval.rstring = zcutNewString(va_arg(args, const ZTCHAR*));
        break;
      case ZdsValueKind::kNone:
        break;
      default:
        // Names, handles and binary chunks cannot be given through this list.
        zcutRelRb(rb);
        zcutRelRb(head);
        va_end(args);
        return nullptr;
    }
    *tail = rb;
    tail = &rb->rbnext;
  }
  va_end(args);
  return head;
}
