// The second reading thread of a large ENTITIES section.
#include "dxf/DxfEntityReadAhead.h"

#include <algorithm>
#include <cstring>

#include "dxf/DxfRecordReader.h"
#include "dxf/DxfTagReader.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbObject.h"

namespace vtcad::dxf {
namespace {

// Kinds whose codecs need nothing of the database beyond what the snapshot holds and whose
// objects need nothing of it while they are made.
bool readsAlone(std::string_view type) {
  static constexpr std::string_view kKinds[] = {"LINE",    "ARC",    "CIRCLE", "LWPOLYLINE", "POINT",
                                                "ELLIPSE", "SPLINE", "TEXT",   "INSERT"};
  return std::find(std::begin(kKinds), std::end(kKinds), type) != std::end(kKinds);
}

// A text aligned otherwise than left on the baseline measures its glyphs with the style's
// font as it is made: that is the first thread's to do.
bool alignedText(const Record& record) {
  if (record.type() != "TEXT") return false;
  return std::any_of(record.tags.begin(), record.tags.end(), [](const Tag& tag) {
    if (tag.code != 72 && tag.code != 73) return false;
    const std::optional<std::int64_t> v = tag.toInt();
    return !v || *v != 0;
  });
}

// The line at `pos` without its line end; `next` is where the line after it starts.
std::string_view lineAt(std::string_view data, size_t pos, size_t& next) {
  const void* nl = std::memchr(data.data() + pos, '\n', data.size() - pos);
  const size_t end = nl ? static_cast<size_t>(static_cast<const char*>(nl) - data.data()) : data.size();
  next = nl ? end + 1 : data.size();
  std::string_view line = data.substr(pos, end - pos);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

}  // namespace

size_t readAheadStart(std::string_view data, size_t target) {
  constexpr size_t kSearched = 4u << 20;
  if (target >= data.size()) return std::string_view::npos;
  const size_t limit = std::min(data.size(), target + kSearched);
  // From the start of the line after `target`.
  const void* nl = std::memchr(data.data() + target, '\n', data.size() - target);
  size_t pos = nl ? static_cast<size_t>(static_cast<const char*>(nl) - data.data()) + 1 : data.size();
  while (pos < limit) {
    size_t valuePos = 0;
    std::string_view line = lineAt(data, pos, valuePos);
    if (trimBlanks(line) == "0" && valuePos < data.size()) {
      size_t after = 0;
      if (readsAlone(lineAt(data, valuePos, after))) return pos;
    }
    pos = valuePos;
  }
  return std::string_view::npos;
}

EntityReadAhead::EntityReadAhead(std::string_view data, size_t start, const ReadContext& main,
                                 ReadSnapshot snapshot)
    : data_(data), start_(start), snapshot_(std::move(snapshot)), ctx_(main, snapshot_, scratch_) {
  result_.resumeOffset = start_;
  thread_ = std::thread([this] { run(); });
}

EntityReadAhead::~EntityReadAhead() {
  stop_.store(true, std::memory_order_relaxed);
  if (thread_.joinable()) thread_.join();
}

EntityReadAhead::Result EntityReadAhead::finish() {
  if (thread_.joinable()) thread_.join();
  return std::move(result_);
}

void EntityReadAhead::run() {
  try {
    TagReader tags(data_.substr(start_));
    RecordReader records(tags);
    ObjectReader reader(ctx_);
    Record record;
    while (!stop_.load(std::memory_order_relaxed)) {
      if (!records.next(record) || tags.error()) break;
      const std::string_view type = record.type();
      if (!readsAlone(type) || alignedText(record)) break;
      const ObjectCodec* codec = codecForDxfName(type);
      ParsedObject parsed = reader.parse(record, codec, /*entity=*/true);
      if (ctx_.declined() || !parsed.object || !parsed.codec ||
          parsed.codec->followers(*parsed.object, record.tags) != ObjectCodec::Followers::kNone)
        break;
      result_.objects.push_back(std::move(parsed));
      // Taken: the first thread goes on after it.
      result_.resumeOffset = start_ + tags.nextOffset();
      result_.linesToResume = tags.linesBeforeNext();
    }
  } catch (...) {
    // Out of memory, most likely: what was read stands, the first thread reads the rest.
  }
}

}  // namespace vtcad::dxf
