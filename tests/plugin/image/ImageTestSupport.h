#pragma once
// Pictures the image tests draw for themselves, and where they keep their files.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>

#include "zcad/platform/zcimage.h"

namespace veltrace::testing {

// A 24-bit picture whose pixel (x, y) has colour(x, y).
inline CImage drawnPicture(int width, int height, const std::function<COLORREF(int, int)>& colour) {
  CImage picture;
  EXPECT_TRUE(picture.Create(width, height, 24));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) picture.SetPixel(x, y, colour(x, y));
  }
  return picture;
}

// Black inside [left, right) × [top, bottom), white elsewhere.
inline CImage blackRectangleOnWhite(int width, int height, int left, int top, int right, int bottom) {
  return drawnPicture(width, height, [=](int x, int y) {
    return x >= left && x < right && y >= top && y < bottom ? RGB(0, 0, 0) : RGB(255, 255, 255);
  });
}

// A fresh folder for one test's files, with a space in its name (paths with spaces must work).
inline std::filesystem::path testFolder() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::filesystem::path folder = std::filesystem::path(::testing::TempDir()) /
                                 ("veltrace image " + std::to_string(::getpid()) + " " + info->name());
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder;
}

}  // namespace veltrace::testing
