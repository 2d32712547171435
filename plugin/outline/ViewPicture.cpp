#include "outline/ViewPicture.h"

#include <optional>

#include "frame/Messages.h"
#include "frame/SystemVariables.h"
#include "frame/TempFiles.h"
#include "outline/RegionSeeds.h"
#include "zcad/zced.h"
#include "zcad/zds.h"

namespace veltrace {

namespace {

// The picture at `path`, or an empty one after the message (the same in both languages).
bool loadPicture(const std::wstring& path, CImage& picture) {
  if (SUCCEEDED(picture.Load(path.c_str()))) return true;
  const std::wstring message = withPath(L"\nLoad image file <%s> Error", path);
  printBilingual(message.c_str(), message.c_str());
  return false;
}

}  // namespace

std::wstring exportViewPng() {
  const int gridMode = getSysVarIntOr(L"GRIDMODE");
  setSysVarQuiet(L"GRIDMODE", 0);
  zcedUpdateDisplay();
  const std::wstring path = tempFilePath(L".PNG");
  if (!path.empty()) {
    QuietHostCommands quiet;
    zcedCommand(RTSTR, L"_PNGOUT", RTSTR, path.c_str(), RTSTR, L"ALL", RTSTR, L"", RTNONE);
  }
  if (gridMode != kSysVarUnreadable) setSysVarQuiet(L"GRIDMODE", static_cast<short>(gridMode));
  return path;
}

namespace {

// The picture at `path` with its background regions labelled; nothing when it cannot be read.
struct LabelledPicture {
  LabelGrid grid;
  int regions = 0;  // labels in use, label 0 counted
};
std::optional<LabelledPicture> labelPicture(Rgb background, const std::wstring& path) {
  CImage picture;
  if (!loadPicture(path, picture)) return std::nullopt;
  LabelledPicture labelled;
  labelled.regions = labelBackgroundRegions(background, picture, labelled.grid);
  return labelled;
}

}  // namespace

SeedSearch findRegionSeeds(Rgb background, const std::wstring& path) {
  SeedSearch search;
  const std::optional<LabelledPicture> labelled = labelPicture(background, path);
  if (!labelled) return search;
  search.loaded = true;
  search.seeds = regionSeeds(labelled->regions, labelled->grid);
  return search;
}

ContourSearch traceDrawingContour(Rgb background, const std::wstring& path) {
  ContourSearch search;
  const std::optional<LabelledPicture> labelled = labelPicture(background, path);
  if (!labelled) return search;
  search.loaded = true;
  const std::vector<GridPoint> seeds = regionSeeds(labelled->regions, labelled->grid);
  if (seeds.size() >= 2) search.secondSeed = seeds[1];
  search.contour = traceRegionOutline(kDrawnLabel, labelled->grid);
  return search;
}

Rgb modelBackground() {
  ZcColorSettings colours{};
  if (!zcedGetCurrentColors(&colours)) return Rgb{};
  const DWORD c = colours.dwGfxModelBkColor;  // red in the low byte
  return Rgb{static_cast<BYTE>(c & 0xFF), static_cast<BYTE>((c >> 8) & 0xFF),
             static_cast<BYTE>((c >> 16) & 0xFF)};
}

}  // namespace veltrace
