#include "editor/SelectionFilter.h"

#include <cwctype>
#include <string>
#include <string_view>

#include "editor/WildcardMatch.h"
#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbEntity.h"

namespace vtcad::editor {
namespace {

// Deeper nesting of -4 groups is taken as malformed: no real filter nests this far, and the
// walk below recurses once per level.
constexpr int kMaxGrouping = 256;

std::wstring upperCase(std::wstring_view text) {
  std::wstring result(text);
  for (wchar_t& c : result) c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
  return result;
}

enum class Grouping { kAnd, kOr, kXor, kNot };

enum class Relation {
  kEqual,
  kUnequal,
  kLess,
  kLessOrEqual,
  kGreater,
  kGreaterOrEqual,
  kAny,
  kBitsAny,
  kBitsAll
};

struct Operator {
  enum class Kind { kOpen, kClose, kRelation, kUnknown } kind = Kind::kUnknown;
  Grouping grouping = Grouping::kAnd;
  Relation relation = Relation::kEqual;
};

Operator readOperator(const resbuf& rb) {
  Operator op;
  if (!rb.resval.rstring) return op;
  const std::wstring name = upperCase(rb.resval.rstring);
  static constexpr struct {
    const wchar_t* open;
    const wchar_t* close;
    Grouping grouping;
  } kGroupings[] = {{L"<AND", L"AND>", Grouping::kAnd},
                    {L"<OR", L"OR>", Grouping::kOr},
                    {L"<XOR", L"XOR>", Grouping::kXor},
                    {L"<NOT", L"NOT>", Grouping::kNot}};
  for (const auto& g : kGroupings) {
    if (name == g.open || name == g.close) {
      op.kind = name == g.open ? Operator::Kind::kOpen : Operator::Kind::kClose;
      op.grouping = g.grouping;
      return op;
    }
  }
  static constexpr struct {
    const wchar_t* name;
    Relation relation;
  } kRelations[] = {{L"=", Relation::kEqual},    {L"!=", Relation::kUnequal},
                    {L"/=", Relation::kUnequal}, {L"<>", Relation::kUnequal},
                    {L"<", Relation::kLess},     {L"<=", Relation::kLessOrEqual},
                    {L">", Relation::kGreater},  {L">=", Relation::kGreaterOrEqual},
                    {L"*", Relation::kAny},      {L"&", Relation::kBitsAny},
                    {L"&=", Relation::kBitsAll}};
  for (const auto& r : kRelations) {
    if (name == r.name) {
      op.kind = Operator::Kind::kRelation;
      op.relation = r.relation;
      return op;
    }
  }
  return op;
}

bool isEntityTypeGroup(int code) { return code == 0 || code == RTDXF0; }

// The DXF name of the entity's class, or of the nearest parent that has one.
std::wstring entityTypeName(const ZcDbEntity& entity) {
  for (const ZcRxClass* cls = entity.isA(); cls; cls = cls->myParent()) {
    const ZTCHAR* name = cls->dxfName();
    if (name && *name) return name;
  }
  return {};
}

int spaceNumber(const ZcDbEntity& entity) {
  const ZcDbDatabase* db = entity.database();
  const ZcDbObjectId owner = entity.blockId();
  if (!db || owner.isNull() || owner == db->modelSpaceId()) return 0;
  ZcDbBlockTableRecord* block = nullptr;
  if (zcdbOpenObject(block, owner, ZcDb::kForRead) != Zcad::eOk) return 0;
  const bool layout = block->isLayout();
  block->close();
  return layout ? 1 : 0;
}

bool compare(int value, Relation relation, int wanted) {
  switch (relation) {
    case Relation::kEqual:
      return value == wanted;
    case Relation::kUnequal:
      return value != wanted;
    case Relation::kLess:
      return value < wanted;
    case Relation::kLessOrEqual:
      return value <= wanted;
    case Relation::kGreater:
      return value > wanted;
    case Relation::kGreaterOrEqual:
      return value >= wanted;
    case Relation::kAny:
      return true;
    case Relation::kBitsAny:
      return (value & wanted) != 0;
    case Relation::kBitsAll:
      return (value & wanted) == wanted;
  }
  return false;
}

bool nameMatches(const std::wstring& name, const ZTCHAR* pattern, Relation relation) {
  if (relation == Relation::kAny) return true;
  if (!pattern) return false;
  const bool matches = wildcardMatchesIgnoringCase(name, pattern);
  switch (relation) {
    case Relation::kEqual:
      return matches;
    case Relation::kUnequal:
      return !matches;
    default:
      return false;
  }
}

// Walks the chain item by item, checking its structure and, when there is an entity,
// testing the entity. Every operand is walked (no short cut) so that a malformed tail is
// always found.
class FilterWalk {
 public:
  explicit FilterWalk(const ZcDbEntity* entity) : entity_(entity) {}

  FilterResult all(const resbuf* chain) {
    cursor_ = chain;
    bool passes = true;
    while (cursor_) {
      const FilterResult item = next(/*depth=*/0);
      if (item == FilterResult::kMalformed) return item;
      passes = passes && item == FilterResult::kMatch;
    }
    return passes ? FilterResult::kMatch : FilterResult::kNoMatch;
  }

 private:
  static FilterResult of(bool passes) { return passes ? FilterResult::kMatch : FilterResult::kNoMatch; }

  // One operand: a group, a relational test and its group, or a whole grouping.
  FilterResult next(int depth) {
    const resbuf& rb = *cursor_;
    cursor_ = cursor_->rbnext;
    if (rb.restype != -4) return of(test(rb, Relation::kEqual));
    const Operator op = readOperator(rb);
    switch (op.kind) {
      case Operator::Kind::kOpen:
        return grouping(op.grouping, depth + 1);
      case Operator::Kind::kRelation: {
        if (!cursor_ || cursor_->restype == -4) return FilterResult::kMalformed;
        const resbuf& tested = *cursor_;
        cursor_ = cursor_->rbnext;
        return of(test(tested, op.relation));
      }
      case Operator::Kind::kClose:
      case Operator::Kind::kUnknown:
        break;
    }
    return FilterResult::kMalformed;
  }

  FilterResult grouping(Grouping kind, int depth) {
    if (depth > kMaxGrouping) return FilterResult::kMalformed;
    int operands = 0, passed = 0;
    while (cursor_) {
      if (cursor_->restype == -4) {
        const Operator op = readOperator(*cursor_);
        if (op.kind == Operator::Kind::kClose) {
          if (op.grouping != kind) return FilterResult::kMalformed;
          cursor_ = cursor_->rbnext;
          return close(kind, operands, passed);
        }
      }
      const FilterResult operand = next(depth);
      if (operand == FilterResult::kMalformed) return operand;
      ++operands;
      if (operand == FilterResult::kMatch) ++passed;
    }
    // The chain ended inside the grouping.
    return FilterResult::kMalformed;
  }

  static FilterResult close(Grouping kind, int operands, int passed) {
    switch (kind) {
      case Grouping::kAnd:
        return operands < 1 ? FilterResult::kMalformed : of(passed == operands);
      case Grouping::kOr:
        return operands < 1 ? FilterResult::kMalformed : of(passed > 0);
      case Grouping::kXor:
        return operands != 2 ? FilterResult::kMalformed : of(passed == 1);
      case Grouping::kNot:
        return operands != 1 ? FilterResult::kMalformed : of(passed == 0);
    }
    return FilterResult::kMalformed;
  }

  bool test(const resbuf& rb, Relation relation) const {
    if (!entity_) return false;
    const int code = rb.restype;
    if (isEntityTypeGroup(code)) return nameMatches(entityTypeName(*entity_), rb.resval.rstring, relation);
    switch (code) {
      case 8:
        return nameMatches(entity_->layer().kwszPtr(), rb.resval.rstring, relation);
      case 6:
        return nameMatches(entity_->linetype().kwszPtr(), rb.resval.rstring, relation);
      case 62:
        return compare(entity_->colorIndex(), relation, rb.resval.rint);
      case 67:
        return compare(spaceNumber(*entity_), relation, rb.resval.rint);
      default:
        // Not a group this host filters on.
        return false;
    }
  }

  const ZcDbEntity* entity_;
  const resbuf* cursor_ = nullptr;
};

}  // namespace

FilterShape checkFilter(const resbuf* filter) {
  return FilterWalk(nullptr).all(filter) == FilterResult::kMalformed ? FilterShape::kMalformed
                                                                     : FilterShape::kWellFormed;
}

FilterResult evaluateFilter(const resbuf* filter, const ZcDbEntity& entity) {
  return FilterWalk(&entity).all(filter);
}

}  // namespace vtcad::editor
