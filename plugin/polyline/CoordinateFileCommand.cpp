#include "polyline/CoordinateFileCommand.h"

#include <cassert>
#include <cstddef>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <system_error>

#include "frame/Messages.h"
#include "frame/PolylineFromPoints.h"
#include "frame/Utf8.h"
#include "frame/WorkProgress.h"
#include "polyline/CoordinateFileLines.h"
#include "zcad/platform/zcui.h"
#include "zcad/zced.h"
#include "zcad/zds.h"

namespace veltrace {

namespace {

// The file question is Chinese in both languages, as the file-type label is.
constexpr const wchar_t* kFileTitle = L"请选择一个坐标列表文件";
// Only ".txt" files are offered (label "txt坐标文件(*.txt)"); a name typed without an extension
// gets it.
constexpr const wchar_t* kFileExtension = L"txt";
// zcedGetFileD flags: the file is to be read, so it must exist.
constexpr int kOpenExistingFile = 0;

constexpr MessagePair kTooFewLines{L"\n文件中行数太少！", L"\nToo few lines in file！"};
constexpr MessagePair kLineError{L"\n第 %lld 行错误，数据被抛弃，请检查: 【%s】",
                                 L"\nError in line %lld, data discarded, please check: [%s]"};
constexpr MessagePair kBlockSplit{
    L"\n第 %lld 行：一段坐标超过 %lld 个点，分为首尾相接的多条多段线。",
    L"\nLine %lld: a block of more than %lld points is drawn as several polylines joined end to end."};
constexpr const wchar_t* kAdded = L"\nAdded < %d> polylines.";
constexpr const wchar_t* kReadError = L"\nRead File <%s> Error.";

std::optional<std::wstring> askCoordinateFile() {
  resbuf answer{};
  if (zcedGetFileD(kFileTitle, /*defawlt=*/nullptr, kFileExtension, kOpenExistingFile, &answer) != RTNORM ||
      answer.restype != RTSTR || !answer.resval.rstring) {
    return std::nullopt;
  }
  std::wstring chosen = answer.resval.rstring;
  std::free(answer.resval.rstring);
  if (chosen.empty()) return std::nullopt;
  // The messages name the file by its full path, whatever the working folder.
  std::error_code ec;
  const std::filesystem::path made = std::filesystem::absolute(encodeUtf8(chosen), ec);
  return ec ? chosen : decodeUtf8(made.string());
}

std::wstring withCount(const wchar_t* format, int count) {
  std::wstring text(format);
  const std::size_t at = text.find(L"%d");
  if (at != std::wstring::npos) text.replace(at, 2, std::to_wstring(count));
  return text;
}

void showReadError(const std::wstring& path) {
  const std::wstring text = withPath(kReadError, path);
  messageBoxBilingual(text.c_str(), text.c_str());
}

void reportLineError(long long number, const std::wstring& raw) {
  printfBilingual(kLineError, number, raw.c_str());
}

// The points of the current block, drawn as a polyline at its end. A block that reaches the
// limit is drawn and goes on from its last point, so the pieces join and no point is lost.
class BlockDrawer {
 public:
  explicit BlockDrawer(std::size_t maxPoints) : maxPoints_(maxPoints) {
    // A piece must hold more than the point it shares with the next one.
    assert(maxPoints >= 2);
  }

  void add(const ZcGePoint3d& point, long long lineNumber) {
    if (points_.size() >= maxPoints_) {
      if (!splitReported_) {
        printfBilingual(kBlockSplit, lineNumber, static_cast<long long>(maxPoints_));
        splitReported_ = true;
      }
      const ZcGePoint3d joint = points_.back();
      draw();
      points_.clear();
      points_.push_back(joint);
    }
    points_.push_back(point);
  }

  // The block ends (a terminator line or the end of the file). One point makes nothing.
  void finish() {
    if (!points_.empty()) draw();
    points_.clear();
    splitReported_ = false;
  }

  int drawn() const { return drawn_; }

 private:
  void draw() {
    if (polylineFromPoints(points_, /*closed=*/false, /*reference=*/nullptr)) ++drawn_;
  }

  std::size_t maxPoints_;
  PointList points_;
  bool splitReported_ = false;
  int drawn_ = 0;
};

enum class FileRead { finished, failed, broken };

// The second pass over the lines. On a failure the block being read is left undrawn: its
// points are not all known.
FileRead drawBlocks(std::istream& in, const CoordinateFileSurvey& survey, const CoordinateFileLimits& limits,
                    BlockDrawer& block) {
  CoordinateLineReader reader(in, survey.encoding, limits.maxLineBytes);
  WorkProgress progress(L"ZB2PL", static_cast<std::size_t>(survey.lines));
  long long number = 0;
  for (;;) {
    // Every 4096 lines: a look costs less than reading a line, but there are millions.
    if ((number & 4095) == 0 && !progress.advance(static_cast<std::size_t>(number))) return FileRead::broken;
    const CoordinateFileLine line = reader.next();
    switch (line.status) {
      case CoordinateLineStatus::end:
        block.finish();
        return FileRead::finished;
      case CoordinateLineStatus::failed:
        return FileRead::failed;
      case CoordinateLineStatus::tooLong:
        reportLineError(++number, line.text);
        continue;
      case CoordinateLineStatus::line:
        break;
    }
    ++number;
    const CoordinateLine read = classifyCoordinateLine(line.text);
    switch (read.kind) {
      case CoordinateLineKind::point:
        block.add(read.point, number);
        break;
      case CoordinateLineKind::terminator:
        block.finish();
        break;
      case CoordinateLineKind::badPoint:
        reportLineError(number, line.text);
        break;
    }
  }
}

}  // namespace

void drawCoordinateFilePolylines(const std::wstring& path, const CoordinateFileLimits& limits) {
  const std::filesystem::path file(encodeUtf8(path));
  BlockDrawer block(limits.maxBlockPoints);
  // Nothing here is expected to throw; should memory run out while a file is read, the command
  // still ends with its message, keeping what it has drawn.
  try {
    CoordinateFileSurvey survey{CoordinateSurveyStatus::unreadable};
    if (std::ifstream in(file, std::ios::binary); in) survey = surveyCoordinateFile(in);
    if (survey.status != CoordinateSurveyStatus::ok) {
      showReadError(path);
      return;
    }
    if (survey.lines < 2) {
      printBilingual(kTooFewLines.chinese, kTooFewLines.english);
      return;
    }
    // Opened again rather than rewound: a stream that has met its end is back at the start
    // only after clear() and seekg(), and a fresh one needs neither.
    std::ifstream in(file, std::ios::binary);
    const FileRead read = in ? drawBlocks(in, survey, limits, block) : FileRead::failed;
    if (read == FileRead::broken) return;  // the host takes it all back and says so
    if (read == FileRead::failed) {
      showReadError(path);
      return;
    }
  } catch (const std::exception&) {
    showReadError(path);
    return;
  }
  const std::wstring added = withCount(kAdded, block.drawn());
  messageBoxBilingual(added.c_str(), added.c_str());
}

void zb2plCommand() {
  const std::optional<std::wstring> path = askCoordinateFile();
  if (!path) return;  // cancelled: nothing to say
  drawCoordinateFilePolylines(*path, CoordinateFileLimits{});
}

}  // namespace veltrace
