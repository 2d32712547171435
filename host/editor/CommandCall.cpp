// zcedCommand and zcedCmd: host commands run with typed arguments. The arguments become an
// input source above the one the calling command reads from; a command that uses them up
// before it ends takes the rest from there, as when a user goes on typing.
#include <cmath>
#include <cstdarg>
#include <deque>
#include <numbers>

#include "editor/EntityNames.h"
#include "editor/InputReader.h"
#include "editor/InputSource.h"
#include "editor/SelectionSets.h"
#include "editor/Session.h"
#include "editor/ValueText.h"
#include "zcad/zced.h"

using vtcad::editor::InputItem;
using vtcad::editor::Session;

namespace {

struct Arguments {
  std::deque<InputItem> items;
  bool valid = true;
};

InputItem text(std::wstring value) {
  InputItem item;
  if (value.empty()) return item;  // "" is an empty answer (Enter)
  item.kind = InputItem::Kind::kText;
  item.text = std::move(value);
  return item;
}

InputItem number(double value) {
  InputItem item;
  item.kind = InputItem::Kind::kNumber;
  item.number = value;
  return item;
}

InputItem point(const double* p, bool threeD) {
  InputItem item;
  item.kind = InputItem::Kind::kPoint;
  item.point = ZcGePoint3d(p[0], p[1], threeD ? p[2] : 0.0);
  return item;
}

InputItem entity(const Zdesk::LongPtr* name) {
  InputItem item;
  item.kind = InputItem::Kind::kEntity;
  item.entity = vtcad::editor::idOfEntityName(name);
  return item;
}

InputItem selection(const Zdesk::LongPtr* name) {
  InputItem item;
  item.kind = InputItem::Kind::kSelection;
  item.selection = name[1] == vtcad::editor::SelectionSets::kTag ? static_cast<long>(name[0]) : 0;
  return item;
}

// Angles travel in radians and are typed in degrees.
InputItem angle(double radians) {
  return text(vtcad::editor::formatNumber(radians * 180.0 / std::numbers::pi));
}

int runArguments(Arguments arguments) {
  if (!arguments.valid) return RTERROR;
  Session& session = Session::instance();
  auto source = std::make_unique<vtcad::editor::ArgumentSource>(std::move(arguments.items));
  auto* args = source.get();
  vtcad::editor::InputReader& reader = session.reader();
  size_t depth = reader.depth();
  reader.push(std::move(source));
  session.enterArgumentCommand();
  const long long cancelsBefore = session.cancelledReads();
  int status = RTNORM;
  while (!args->empty()) {
    InputItem item = *args->nextItem();
    if (item.kind == InputItem::Kind::kEmpty) continue;  // a stray Enter between commands
    if (item.kind != InputItem::Kind::kText || item.text == vtcad::editor::kPauseText) {
      status = RTERROR;
      break;
    }
    if (!session.quietNow()) session.print(L"\nCommand: " + item.text);
    if (!session.runCommand(item.text)) {
      status = RTERROR;
      break;
    }
  }
  session.leaveArgumentCommand();
  while (reader.depth() > depth) reader.pop();
  // A prompt of the commands run was cancelled (a pause answered with Esc, or input that
  // ended): the caller learns it as a host tells it, RTCAN.
  if (status == RTNORM && session.cancelledReads() != cancelsBefore) status = RTCAN;
  return status;
}

}  // namespace

int zcedCommand(int rtype, ...) {
  Arguments arguments;
  va_list args;
  va_start(args, rtype);
  for (int type = rtype; type != RTNONE && type != 0; type = va_arg(args, int)) {
    switch (type) {
      case RTSTR: {
        const ZTCHAR* value = va_arg(args, const ZTCHAR*);
        arguments.items.push_back(text(value ? value : L""));
        break;
      }
      case RTREAL:
        arguments.items.push_back(number(va_arg(args, double)));
        break;
      case RTANG:
      case RTORINT:
        arguments.items.push_back(angle(va_arg(args, double)));
        break;
      case RTSHORT:
      case RTLONG:
        arguments.items.push_back(number(va_arg(args, int)));
        break;
      case RTPOINT:
      case RT3DPOINT: {
        const double* p = va_arg(args, const double*);
        if (!p)
          arguments.valid = false;
        else
          arguments.items.push_back(point(p, type == RT3DPOINT));
        break;
      }
      case RTENAME:
      case RTPICKS: {
        const Zdesk::LongPtr* name = va_arg(args, const Zdesk::LongPtr*);
        if (!name)
          arguments.valid = false;
        else
          arguments.items.push_back(type == RTENAME ? entity(name) : selection(name));
        break;
      }
      default:
        // The size of an unknown argument is unknown: nothing after it can be read.
        arguments.valid = false;
        break;
    }
    if (!arguments.valid) break;
  }
  va_end(args);
  return runArguments(std::move(arguments));
}

int zcedCmd(const resbuf* rbp) {
  Arguments arguments;
  for (const resbuf* rb = rbp; rb && arguments.valid; rb = rb->rbnext) {
    switch (rb->restype) {
      case RTSTR:
        arguments.items.push_back(text(rb->resval.rstring ? rb->resval.rstring : L""));
        break;
      case RTREAL:
        arguments.items.push_back(number(rb->resval.rreal));
        break;
      case RTANG:
      case RTORINT:
        arguments.items.push_back(angle(rb->resval.rreal));
        break;
      case RTSHORT:
        arguments.items.push_back(number(rb->resval.rint));
        break;
      case RTLONG:
        arguments.items.push_back(number(rb->resval.rlong));
        break;
      case RTPOINT:
      case RT3DPOINT:
        arguments.items.push_back(point(rb->resval.rpoint, rb->restype == RT3DPOINT));
        break;
      case RTENAME:
        arguments.items.push_back(entity(rb->resval.rlname));
        break;
      case RTPICKS:
        arguments.items.push_back(selection(rb->resval.rlname));
        break;
      case RTNONE:
        break;
      default:
        arguments.valid = false;
        break;
    }
  }
  return runArguments(std::move(arguments));
}
