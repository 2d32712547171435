// Xrecords: a chain of DXF groups kept as an object.
#include "zcad/db/ZcDbXrecord.h"

#include <cmath>
#include <cstdlib>

ZCRX_DEFINE_MEMBERS_WITH_NAMES(ZcDbXrecord, ZcDbObject, L"AcDbXrecord", L"XRECORD",
                               []() -> ZcRxObject* { return new ZcDbXrecord; })

ZcDbXrecord::ZcDbXrecord() = default;
ZcDbXrecord::~ZcDbXrecord() { zcutRelRb(data_); }

ZcDbXrecord::ZcDbXrecord(const ZcDbXrecord& other)
    : ZcDbObject(other), data_(zcutCopyRbChain(other.data_)), xlateReferences_(other.xlateReferences_) {}

ZcDbXrecord& ZcDbXrecord::operator=(const ZcDbXrecord& other) {
  if (this == &other) return *this;
  ZcDbObject::operator=(other);
  resbuf* copy = zcutCopyRbChain(other.data_);
  zcutRelRb(data_);
  data_ = copy;
  xlateReferences_ = other.xlateReferences_;
  return *this;
}

ZcRxObject* ZcDbXrecord::clone() const { return new ZcDbXrecord(*this); }

Zcad::ErrorStatus ZcDbXrecord::copyFrom(const ZcRxObject* other) {
  const ZcDbXrecord* source = ZcDbXrecord::cast(other);
  if (!source || source->isA() != isA()) return Zcad::eWrongObjectType;
  *this = *source;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbXrecord::rbChain(resbuf** chain, ZcDbDatabase* /*auxDb*/) const {
  if (!chain) return Zcad::eNullPtr;
  *chain = zcutCopyRbChain(data_);
  return Zcad::eOk;
}

resbuf* ZcDbXrecord::rbChain() const { return zcutCopyRbChain(data_); }

Zcad::ErrorStatus ZcDbXrecord::setFromRbChain(const resbuf& chain, ZcDbDatabase* auxDb) {
  return setFromRbChain(&chain, auxDb);
}

Zcad::ErrorStatus ZcDbXrecord::setFromRbChain(const resbuf* chain, ZcDbDatabase* /*auxDb*/) {
  for (const resbuf* rb = chain; rb; rb = rb->rbnext) {
    // Extended data codes and entity names have no place in an xrecord.
    if (rb->restype >= 1000 || rb->restype < 0) return Zcad::eInvalidResBuf;
    ZdsValueKind kind = zcutValueKind(rb->restype);
    if (kind == ZdsValueKind::kNone) return Zcad::eInvalidResBuf;
    if (kind == ZdsValueKind::kReal && !std::isfinite(rb->resval.rreal)) return Zcad::eInvalidInput;
    if (kind == ZdsValueKind::kPoint) {
      for (double c : rb->resval.rpoint) {
        if (!std::isfinite(c)) return Zcad::eInvalidInput;
      }
    }
  }
  if (Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  resbuf* copy = zcutCopyRbChain(chain);
  zcutRelRb(data_);
  data_ = copy;
  return Zcad::eOk;
}

void ZcDbXrecord::setXlateReferences(bool translate) {
  if (checkedAssertWriteEnabled() == Zcad::eOk) xlateReferences_ = translate;
}

Zcad::ErrorStatus ZcDbXrecord::dwgOutFields(ZcDbDwgFiler* filer) const {
  // The data is filed like extended data: through a temporary object's base filing would
  // need access to its xdata, so it is written here in the same layout.
  Zcad::ErrorStatus es = ZcDbObject::dwgOutFields(filer);
  if (es != Zcad::eOk) return es;
  filer->writeBool(xlateReferences_);
  Zdesk::Int32 count = 0;
  for (const resbuf* rb = data_; rb; rb = rb->rbnext) ++count;
  filer->writeInt32(count);
  for (const resbuf* rb = data_; rb; rb = rb->rbnext) {
    filer->writeInt16(rb->restype);
    switch (zcutValueKind(rb->restype)) {
      case ZdsValueKind::kReal:
        filer->writeDouble(rb->resval.rreal);
        break;
      case ZdsValueKind::kPoint:
        filer->writePoint3d(ZcGePoint3d(rb->resval.rpoint[0], rb->resval.rpoint[1], rb->resval.rpoint[2]));
        break;
      case ZdsValueKind::kShort:
        filer->writeInt16(rb->resval.rint);
        break;
      case ZdsValueKind::kLong:
        filer->writeInt32(rb->resval.rlong);
        break;
      case ZdsValueKind::kInt64:
        filer->writeUInt64(static_cast<Zdesk::UInt64>(rb->resval.mnInt64));
        break;
      case ZdsValueKind::kString:
        filer->writeString(rb->resval.rstring ? rb->resval.rstring : L"");
        break;
      case ZdsValueKind::kName:
        filer->writeSoftPointerId(ZcDbObjectId().setFromOldId(rb->resval.rlname[0]));
        break;
      case ZdsValueKind::kBinary: {
        std::wstring bytes;
        for (short i = 0; i < rb->resval.rbinary.clen; ++i) {
          bytes.push_back(static_cast<wchar_t>(static_cast<unsigned char>(rb->resval.rbinary.buf[i])));
        }
        filer->writeString(bytes);
        break;
      }
      default:
        break;
    }
  }
  return filer->filerStatus();
}

Zcad::ErrorStatus ZcDbXrecord::dwgInFields(ZcDbDwgFiler* filer) {
  Zcad::ErrorStatus es = ZcDbObject::dwgInFields(filer);
  if (es != Zcad::eOk) return es;
  filer->readBool(&xlateReferences_);
  Zdesk::Int32 count = 0;
  filer->readInt32(&count);
  resbuf* head = nullptr;
  resbuf** tail = &head;
  for (Zdesk::Int32 i = 0; i < count && filer->filerStatus() == Zcad::eOk; ++i) {
    Zdesk::Int16 type = 0;
    filer->readInt16(&type);
    resbuf* rb = zcutNewRb(type);
    switch (zcutValueKind(type)) {
      case ZdsValueKind::kReal:
        filer->readDouble(&rb->resval.rreal);
        break;
      case ZdsValueKind::kPoint: {
        ZcGePoint3d p;
        filer->readPoint3d(&p);
        rb->resval.rpoint[0] = p.x;
        rb->resval.rpoint[1] = p.y;
        rb->resval.rpoint[2] = p.z;
        break;
      }
      case ZdsValueKind::kShort:
        filer->readInt16(&rb->resval.rint);
        break;
      case ZdsValueKind::kLong:
        filer->readInt32(&rb->resval.rlong);
        break;
      case ZdsValueKind::kInt64: {
        Zdesk::UInt64 v = 0;
        filer->readUInt64(&v);
        rb->resval.mnInt64 = static_cast<Zdesk::Int64>(v);
        break;
      }
      case ZdsValueKind::kString: {
        std::wstring text;
        filer->readString(&text);
        rb->resval.rstring = zcutNewString(text.c_str());
        break;
      }
      case ZdsValueKind::kName: {
        ZcDbObjectId id;
        filer->readSoftPointerId(&id);
        rb->resval.rlname[0] = id.asOldId();
        break;
      }
      case ZdsValueKind::kBinary: {
        std::wstring bytes;
        filer->readString(&bytes);
        rb->resval.rbinary.clen = static_cast<short>(bytes.size());
        rb->resval.rbinary.buf = static_cast<char*>(std::malloc(bytes.size() + 1));
        for (size_t b = 0; b < bytes.size(); ++b) rb->resval.rbinary.buf[b] = static_cast<char>(bytes[b]);
        break;
      }
      default:
        break;
    }
    *tail = rb;
    tail = &rb->rbnext;
  }
  if (filer->filerStatus() != Zcad::eOk) {
    zcutRelRb(head);
    return filer->filerStatus();
  }
  zcutRelRb(data_);
  data_ = head;
  return Zcad::eOk;
}
