#pragma once
// A picture of the current view, made by the host's PNGOUT, and what the region engine reads
// from it: one seed per background region, or the contour of the drawn pixels.
#include <string>
#include <vector>

#include "outline/BackgroundRegions.h"
#include "outline/LabelGrid.h"
#include "outline/RegionOutline.h"

namespace veltrace {

// Writes the current view (the grid off) to a new temporary ".PNG" file through the host's
// PNGOUT and answers its path; the caller deletes the file. Empty when no temporary name
// could be made.
std::wstring exportViewPng();

struct SeedSearch {
  bool loaded = false;           // false: the picture could not be read (the message is printed)
  std::vector<GridPoint> seeds;  // label order: the first is the region of the top-left pixel
};
// Loads the picture, labels its background regions and seeds each one.
SeedSearch findRegionSeeds(Rgb background, const std::wstring& path);

struct ContourSearch {
  bool loaded = false;
  std::vector<PixelPoint> contour;       // the outer contour of the first drawn pixels
  GridPoint secondSeed{-99999, -99999};  // the seed of region 2, when there is one
};
// Loads and labels the picture and traces the contour of the drawn pixels (label 0) that
// begin first from the top left.
ContourSearch traceDrawingContour(Rgb background, const std::wstring& path);

// The model-space background colour of the host.
Rgb modelBackground();

}  // namespace veltrace
