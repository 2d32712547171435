// The second reading thread of a large ENTITIES section.
#include "dxf/DxfEntityReadAhead.h"

#include <algorithm>
#include <cassert>
#include <cstring>

#include "dxf/DxfCodecs.h"
#include "dxf/DxfRecordReader.h"
#include "dxf/DxfTagReader.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbObject.h"

namespace vtcad::dxf {
namespace {

// Kinds whose codecs need nothing of the database beyond what the snapshot holds and whose
// objects need nothing of it while they are made.
bool readsAlone(std::string_view type) {
  // Their record types, found once: asked of every record read.
  static const std::vector<std::string_view> kinds = [] {
    std::vector<std::string_view> names;
    for (const ObjectCodec* codec : secondThreadCodecs()) names.push_back(codec->dxfName());
    return names;
  }();
  return std::find(kinds.begin(), kinds.end(), type) != kinds.end();
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
  size_t pos = 0;  // from the start of the line after `target`
  lineAt(data, target, pos);
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

EntityReadAhead::EntityReadAhead(std::string_view data, std::vector<size_t> starts, const ReadContext& main,
                                 ReadSnapshot snapshot)
    : data_(data),
      starts_(std::move(starts)),
      snapshot_(std::move(snapshot)),
      pieces_(starts_.size()),
      model_(main, snapshot_, scratch_) {
  assert(std::is_sorted(starts_.begin(), starts_.end()));
  thread_ = std::thread([this] { run(); });
}

EntityReadAhead::~EntityReadAhead() {
  stop_.store(true, std::memory_order_relaxed);
  if (thread_.joinable()) thread_.join();
}

std::optional<EntityReadAhead::Piece> EntityReadAhead::arriveAt(size_t offset) {
  while (passed_ < starts_.size() && starts_[passed_] <= offset) {
    const size_t index = passed_++;
    if (pieces_.firstTakes(index)) continue;
    // The second thread's: used only when arrived at exactly, dropped when passed.
    if (starts_[index] == offset) return pieces_.waitFor(index);
  }
  return std::nullopt;
}

void EntityReadAhead::run() {
  while (!stop_.load(std::memory_order_relaxed)) {
    const std::optional<size_t> index = pieces_.secondTakes();
    if (!index) return;  // met the first thread
    Piece piece;
    try {
      // A context of its own for every piece: what one piece's reading left behind (a point
      // dropped, a group reported) never reaches the next.
      LoadResult scratch;
      ReadContext ctx(model_, snapshot_, scratch);
      piece = read(*index, ctx);
    } catch (...) {
      // Out of memory, most likely: the piece is left to the first thread.
      piece = Piece{{}, starts_[*index], 0};
    }
    pieces_.secondDid(*index, std::move(piece));
  }
}

EntityReadAhead::Piece EntityReadAhead::read(size_t index, ReadContext& ctx) {
  const size_t start = starts_[index];
  const size_t end = index + 1 < starts_.size() ? starts_[index + 1] : data_.size();
  Piece piece{{}, start, 0};
  TagReader tags(data_.substr(start));
  RecordReader records(tags);
  ObjectReader reader(ctx);
  Record record;
  while (!stop_.load(std::memory_order_relaxed) && start + tags.nextOffset() < end) {
    if (!records.next(record) || tags.error()) break;
    const std::string_view type = record.type();
    if (!readsAlone(type) || alignedText(record)) break;
    const ObjectCodec* codec = codecForDxfName(type);
    ParsedObject parsed = reader.parse(record, codec, /*entity=*/true);
    if (ctx.declined() || !parsed.object || !parsed.codec ||
        parsed.codec->followers(*parsed.object, record.tags) != ObjectCodec::Followers::kNone)
      break;
    piece.objects.push_back(std::move(parsed));
    // Taken: the first thread goes on after it.
    piece.resumeOffset = start + tags.nextOffset();
    piece.linesToResume = tags.linesBeforeNext();
  }
  return piece;
}

}  // namespace vtcad::dxf
