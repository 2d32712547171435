// DICTIONARY: hard-owner flag (280), merge style (281) and the entries, each a key (3)
// followed by the id of its object (350 soft owner, 360 hard owner). Entries are written in the
// order the dictionary iterates them (by key).
//
// The group that names the entries' objects usually follows the flag (360 when hard), but not
// in every file (hard-owner dictionaries with 350 entries are common): a file's choice that
// differs is kept by the codec, one for all entries (the first entry's).
#include <cwctype>
#include <memory>
#include <set>

#include "database/ZcDbFileAccess.h"
#include "dxf/DxfCodecs.h"
#include "dxf/DxfReadContext.h"
#include "dxf/DxfSymbolTableRecord.h"
#include "dxf/DxfText.h"
#include "dxf/DxfWriteContext.h"
#include "zcad/db/ZcDbDictionary.h"

namespace vtcad::dxf {
namespace {

class DictionaryCodec final : public ObjectCodec {
 public:
  std::string_view dxfName() const override { return "DICTIONARY"; }
  ZcRxClass* rxClass() const override { return ZcDbDictionary::desc(); }
  SubclassNames subclasses(const ZcDbObject&) const override { return {"AcDbDictionary"}; }
  ZcDbObject* create(std::span<const Tag>, ReadContext&) const override { return new ZcDbDictionary; }

  bool read(ZcDbObject& obj, std::span<const BodyGroup> body, ReadContext& ctx) const override {
    auto& dict = static_cast<ZcDbDictionary&>(obj);
    bool hardFlag = false;
    const Tag* entryCode = nullptr;  // the group naming the first entry's object
    std::set<std::wstring> keys;
    for (size_t i = 0; i < body.size(); ++i) {
      const BodyGroup& g = body[i];
      switch (g.tag.code) {
        case 280:
          if (std::optional<std::int64_t> v = ctx.integer(g.tag)) {
            hardFlag = *v != 0;
            continue;
          }
          break;
        case 281:
          if (std::optional<std::int64_t> v = ctx.integer(g.tag);
              v && *v >= ZcDb::kDrcNotApplicable && *v <= ZcDb::kDrcReplace) {
            dict.setMergeStyle(static_cast<ZcDb::DuplicateRecordCloning>(*v));
            continue;
          }
          break;
        case 3: {
          // A key without its object, or with a null one, says nothing: kept as it was.
          if (i + 1 >= body.size() || (body[i + 1].tag.code != 350 && body[i + 1].tag.code != 360)) break;
          const BodyGroup& ref = body[i + 1];
          ZcDbObjectId id = ctx.idOfHandle(ref.tag);
          if (id.isNull()) break;
          const std::wstring key = ctx.text(g.tag);
          // Keys are one without regard to case; the objects of the entries may not be read
          // yet, so the dictionary cannot tell.
          std::wstring upper = key;
          for (wchar_t& c : upper) c = static_cast<wchar_t>(std::towupper(c));
          if (!keys.insert(std::move(upper)).second) {
            ctx.warn(g.tag,
                     "dictionary key '" + wideToUtf8(key) + "' appears twice: the later entry is kept");
          }
          ZcDbFileAccess::setDictionaryEntry(&dict, key, id);
          if (!entryCode) entryCode = &ref.tag;
          ++i;
          continue;
        }
        default:
          break;
      }
      ctx.keep(dict, g);
    }
    dict.setTreatElementsAsHard(hardFlag);
    if (entryCode && entryCode->code != (hardFlag ? 360 : 350)) {
      ctx.keep(dict, Tag{entryCode->code, entryCode->line, "1"}, kCodecOwnSlot);
    }
    return true;
  }

  void write(const ZcDbObject& obj, WriteContext& ctx) const override {
    const auto& dict = static_cast<const ZcDbDictionary&>(obj);
    ctx.beginSubclass("AcDbDictionary");
    const bool hard = dict.isTreatElementsAsHard();
    // A flag or merge style the class refused is kept and written back instead.
    if (hard && !hasKeptGroup(dict, 280, /*lastSlot=*/1)) ctx.integer(280, 1);
    if (!hasKeptGroup(dict, 281, /*lastSlot=*/1)) ctx.integer(281, dict.mergeStyle());
    const int entryCode = codecOwnGroup(dict, 350) ? 350 : codecOwnGroup(dict, 360) ? 360 : hard ? 360 : 350;
    std::unique_ptr<ZcDbDictionaryIterator> it(dict.newIterator());
    for (; it && !it->done(); it->next()) {
      // An entry whose object was never defined has nothing to name.
      if (ctx.handleOf(it->objectId()) == 0) continue;
      ctx.text(3, std::wstring(it->name()));
      ctx.handle(entryCode, it->objectId());
    }
  }
};

}  // namespace

const ObjectCodec& dictionaryCodec() {
  static const DictionaryCodec codec;
  return codec;
}

}  // namespace vtcad::dxf
