// Objects of classes a plug-in registered: read and written by the class's own dxfInFields and
// dxfOutFields through a ZcDbDxfFiler over the record's groups. The reader finds the class by
// the DXF name the CLASSES section gives (zcrxFindZcRxClassByDxfName); without the plug-in the
// record stays a kept object, written back as it was.
//
// Subclass markers. A plug-in's dxfOutFields writes, after its parent's fields, the marker of
// its own class, and dxfInFields asks for it with atSubclassData. The marker of a plug-in class
// is taken to be the class's name ("VTLinkLineToNotify"): that is what a class written for a
// ZRX-style host passes to both, there being no other name a plug-in gives its class. A class
// derived from another plug-in class has one marker per plug-in class, base first. A plug-in
// class derived from a host class with a codec of its own (an xrecord, a dictionary) is read
// and written by that codec for the host's subclasses first.
#include <cwchar>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "dxf/DxfCodecs.h"
#include "dxf/DxfGroupCode.h"
#include "dxf/DxfReadContext.h"
#include "dxf/DxfText.h"
#include "dxf/DxfWriteContext.h"
#include "zcad/db/ZcDbEntity.h"
#include "zcad/db/ZcDbFiler.h"
#include "zcad/rx/ZcRxClass.h"

namespace vtcad::dxf {
namespace {

// readItem's answer after the last group. The host has no end-of-data status: plug-ins end
// their reading loop on any status other than eOk.
constexpr Zcad::ErrorStatus kNoMoreItems = Zcad::eInvalidIndex;

// The host registers its classes under its own application name (zcrxRegisterHostClass).
bool isHostClass(const ZcRxClass* cls) {
  return cls->appName() && std::wcscmp(cls->appName(), L"vtcad") == 0;
}

// The plug-in classes from `cls` up to the first host class, base first.
std::vector<const ZcRxClass*> pluginChain(const ZcRxClass* cls, const ZcRxClass*& hostBase) {
  std::vector<const ZcRxClass*> chain;
  hostBase = nullptr;
  // Bounded: a parent chain made cyclic by a plug-in's mistake must not hang.
  for (const ZcRxClass* c = cls; c && chain.size() < 64; c = c->myParent()) {
    if (isHostClass(c)) {
      hostBase = c;
      break;
    }
    chain.insert(chain.begin(), c);
  }
  return chain;
}

// Reads the groups of the plug-in's subclasses, each subclass's groups after its marker.
class BodyFiler final : public ZcDbDxfFiler {
 public:
  struct Item {
    int code = 0;
    std::wstring value;
    const BodyGroup* group = nullptr;  // null for a marker
  };

  BodyFiler(ReadContext& ctx, std::vector<Item> items, bool withMarkers)
      : ctx_(ctx), items_(std::move(items)), read_(items_.size(), false), withMarkers_(withMarkers) {}

  Zcad::ErrorStatus filerStatus() const override { return Zcad::eOk; }
  ZcDb::FilerType filerType() const override { return ZcDb::kFileFiler; }
  ZcDbDatabase* database() const override { return &ctx_.database(); }

  Zcad::ErrorStatus readItem(int* groupCode, std::wstring* value) override {
    if (pos_ >= items_.size()) return kNoMoreItems;
    if (groupCode) *groupCode = items_[pos_].code;
    if (value) *value = items_[pos_].value;
    read_[pos_++] = true;
    return Zcad::eOk;
  }
  Zcad::ErrorStatus pushBackItem() override {
    if (pos_ == 0) return Zcad::eInvalidIndex;
    read_[--pos_] = false;
    return Zcad::eOk;
  }
  bool atSubclassData(const ZTCHAR* subClassName) override {
    // A record without subclass markers (written by a program that leaves them out) is at
    // every subclass's data.
    if (!withMarkers_) return true;
    if (pos_ >= items_.size() || items_[pos_].code != 100 || !subClassName ||
        items_[pos_].value != subClassName) {
      return false;
    }
    read_[pos_++] = true;
    return true;
  }
  bool atEOF() override { return pos_ >= items_.size(); }

  Zcad::ErrorStatus writeItem(int, const std::wstring&) override { return Zcad::eNotApplicable; }
  Zcad::ErrorStatus writeString(int, const ZTCHAR*) override { return Zcad::eNotApplicable; }
  Zcad::ErrorStatus writeDouble(int, double) override { return Zcad::eNotApplicable; }
  Zcad::ErrorStatus writeInt16(int, Zdesk::Int16) override { return Zcad::eNotApplicable; }
  Zcad::ErrorStatus writeInt32(int, Zdesk::Int32) override { return Zcad::eNotApplicable; }
  Zcad::ErrorStatus writePoint3d(int, const ZcGePoint3d&) override { return Zcad::eNotApplicable; }
  Zcad::ErrorStatus writeObjectId(int, const ZcDbObjectId&) override { return Zcad::eNotApplicable; }

  // The groups the object did not read (or pushed back and left).
  void keepUnread(ZcDbObject& obj) {
    for (size_t i = 0; i < items_.size(); ++i) {
      if (!read_[i] && items_[i].group) ctx_.keep(obj, *items_[i].group);
    }
  }

 private:
  ReadContext& ctx_;
  std::vector<Item> items_;
  std::vector<bool> read_;
  size_t pos_ = 0;
  bool withMarkers_ = true;
};

// Writes what the object files into the record, opening each plug-in subclass at its marker.
class RecordFiler final : public ZcDbDxfFiler {
 public:
  RecordFiler(WriteContext& ctx, const std::vector<std::string>& markers) : ctx_(ctx), markers_(markers) {}

  Zcad::ErrorStatus filerStatus() const override { return Zcad::eOk; }
  ZcDb::FilerType filerType() const override { return ZcDb::kFileFiler; }
  ZcDbDatabase* database() const override { return &ctx_.database(); }

  Zcad::ErrorStatus readItem(int*, std::wstring*) override { return Zcad::eNotApplicable; }
  Zcad::ErrorStatus pushBackItem() override { return Zcad::eNotApplicable; }
  bool atSubclassData(const ZTCHAR*) override { return false; }
  bool atEOF() override { return true; }

  Zcad::ErrorStatus writeItem(int groupCode, const std::wstring& value) override {
    if (groupCode == 100 && marker(wideToUtf8(value))) return Zcad::eOk;
    open();
    ctx_.text(groupCode, value);
    return Zcad::eOk;
  }
  Zcad::ErrorStatus writeString(int groupCode, const ZTCHAR* value) override {
    return writeItem(groupCode, std::wstring(value ? value : L""));
  }
  Zcad::ErrorStatus writeDouble(int groupCode, double value) override {
    open();
    ctx_.real(groupCode, value);
    return Zcad::eOk;
  }
  Zcad::ErrorStatus writeInt16(int groupCode, Zdesk::Int16 value) override {
    open();
    ctx_.integer(groupCode, value);
    return Zcad::eOk;
  }
  Zcad::ErrorStatus writeInt32(int groupCode, Zdesk::Int32 value) override {
    open();
    ctx_.integer(groupCode, value);
    return Zcad::eOk;
  }
  Zcad::ErrorStatus writePoint3d(int groupCode, const ZcGePoint3d& value) override {
    open();
    ctx_.point(groupCode, value);
    return Zcad::eOk;
  }
  Zcad::ErrorStatus writeObjectId(int groupCode, const ZcDbObjectId& value) override {
    open();
    ctx_.handle(groupCode, value);
    return Zcad::eOk;
  }

  // Opens the subclasses the object did not write a marker for, so that every one is in the
  // record and the groups kept in it come back.
  void finish() {
    while (next_ < markers_.size()) ctx_.beginSubclass(markers_[next_++]);
  }

 private:
  // A marker of one of the plug-in's subclasses opens it (and any the object skipped before
  // it); other markers are data.
  bool marker(const std::string& name) {
    for (size_t k = next_; k < markers_.size(); ++k) {
      if (markers_[k] != name) continue;
      while (next_ <= k) ctx_.beginSubclass(markers_[next_++]);
      return true;
    }
    return false;
  }
  // Data before the first marker belongs to the first subclass.
  void open() {
    if (next_ == 0 && !markers_.empty()) ctx_.beginSubclass(markers_[next_++]);
  }

  WriteContext& ctx_;
  const std::vector<std::string>& markers_;
  size_t next_ = 0;
};

class PluginObjectCodec final : public ObjectCodec {
 public:
  PluginObjectCodec(ZcRxClass* cls, std::vector<const ZcRxClass*> chain, const ObjectCodec* hostCodec)
      : cls_(cls), chain_(std::move(chain)), hostCodec_(hostCodec), className_(cls->name()) {
    const ZTCHAR* dxf = cls->dxfName();
    dxfName_ = wideToUtf8(dxf && *dxf ? dxf : cls->name());
    for (const ZcRxClass* c : chain_) markers_.push_back(wideToUtf8(c->name()));
  }

  // Still the codec of `cls`: the class was not replaced by another at the same address, nor
  // given another parent since.
  bool describes(const ZcRxClass* cls, const std::vector<const ZcRxClass*>& chain) const {
    return chain == chain_ && className_ == cls->name();
  }

  std::string_view dxfName() const override { return dxfName_; }
  ZcRxClass* rxClass() const override { return cls_; }

  SubclassNames subclasses(const ZcDbObject& obj) const override {
    SubclassNames names;
    if (hostCodec_) names = hostCodec_->subclasses(obj);
    for (const std::string& m : markers_) names.push_back(m);
    return names;
  }

  ZcDbObject* create(std::span<const Tag>, ReadContext&) const override {
    ZcRxObject* made = zcrxCreateObject(cls_->name());
    if (made && made->isA() == cls_) return static_cast<ZcDbObject*>(made);
    // The plug-in was unloaded (or its class replaced) since the file's classes were read:
    // null keeps the record as it is.
    delete made;
    return nullptr;
  }

  bool read(ZcDbObject& obj, std::span<const BodyGroup> body, ReadContext& ctx) const override {
    const std::uint16_t first = ZcDbEntity::cast(&obj) ? 2 : 1;
    const size_t hostCount = hostCodec_ ? hostCodec_->subclasses(obj).size() : 0;
    const std::uint16_t pluginFirst = static_cast<std::uint16_t>(first + hostCount);
    std::vector<BodyGroup> hostPart;
    bool withMarkers = false;
    for (const BodyGroup& g : body) {
      if (g.slot != kNoMarkers) withMarkers = true;
      if (g.slot != kNoMarkers && g.slot < pluginFirst) hostPart.push_back(g);
    }
    if (hostCodec_ && !hostCodec_->read(obj, hostPart, ctx)) return false;

    std::vector<BodyFiler::Item> items;
    auto add = [&](const BodyGroup& g) {
      const ValueType type = valueTypeOf(g.tag.code);
      // Numbers as their digits: writers pad them with blanks.
      std::wstring value = type == ValueType::kString || type == ValueType::kUnknown
                               ? ctx.text(g.tag)
                               : utf8ToWide(g.tag.trimmed());
      items.push_back(BodyFiler::Item{g.tag.code, std::move(value), &g});
    };
    if (withMarkers) {
      for (size_t k = 0; k < markers_.size(); ++k) {
        items.push_back(BodyFiler::Item{100, utf8ToWide(markers_[k]), nullptr});
        for (const BodyGroup& g : body) {
          if (g.slot == pluginFirst + k) add(g);
        }
      }
    }
    // Groups of a record without markers, in their order.
    for (const BodyGroup& g : body) {
      if (g.slot == kNoMarkers) add(g);
    }
    BodyFiler filer(ctx, std::move(items), withMarkers);
    Zcad::ErrorStatus es = obj.dxfInFields(&filer);
    if (es != Zcad::eOk) {
      std::uint32_t line = body.empty() ? 0 : body.front().tag.line;
      ctx.warn(line, dxfName_ + ": the plug-in's class could not read the object (status " +
                         std::to_string(static_cast<int>(es)) + ")");
      return false;
    }
    filer.keepUnread(obj);
    return true;
  }

  void write(const ZcDbObject& obj, WriteContext& ctx) const override {
    if (hostCodec_) hostCodec_->write(obj, ctx);
    RecordFiler filer(ctx, markers_);
    obj.dxfOutFields(&filer);
    filer.finish();
  }

 private:
  ZcRxClass* cls_;
  std::vector<const ZcRxClass*> chain_;
  const ObjectCodec* hostCodec_;
  std::wstring className_;
  std::string dxfName_;
  std::vector<std::string> markers_;
};

}  // namespace

const ObjectCodec* pluginObjectCodec(ZcRxClass* cls) {
  if (!cls || isHostClass(cls) || !cls->isDerivedFrom(ZcDbObject::desc())) return nullptr;
  const ZcRxClass* hostBase = nullptr;
  std::vector<const ZcRxClass*> chain = pluginChain(cls, hostBase);
  if (!hostBase) return nullptr;

  // One codec per class, made on first use and never freed: readers and writers hold on to
  // the pointer. A class replaced by another one (unloaded and loaded again) gets a new one.
  static std::mutex mutex;
  static std::map<const ZcRxClass*, std::vector<std::unique_ptr<PluginObjectCodec>>> codecs;
  std::lock_guard lock(mutex);
  auto& made = codecs[cls];
  if (made.empty() || !made.back()->describes(cls, chain)) {
    made.push_back(std::make_unique<PluginObjectCodec>(cls, std::move(chain), codecForClass(hostBase)));
  }
  return made.back().get();
}

}  // namespace vtcad::dxf
