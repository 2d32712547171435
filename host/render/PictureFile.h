#pragma once
// PictureFile: a picture drawn on a canvas and written as a PNG, SVG or PDF file, atomically
// (the file is either the old one or the whole new one). PNG pictures are `width` x `height`
// pixels, opaque RGB; SVG and PDF pages are `width` x `height` points with the same drawing
// as vectors.
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "render/Canvas.h"

namespace vtcad::render {

enum class PictureFormat { kPng, kSvg, kPdf };

// The format a file name's extension names (any case), nullopt for another extension.
std::optional<PictureFormat> pictureFormatOf(const std::filesystem::path& path);

// Draws with `paint` and writes the file. nullopt when written; otherwise why not, as a
// sentence naming the file ("cannot write /x/y.png: ...").
std::optional<std::string> writePicture(const std::filesystem::path& path, PictureFormat format, int width,
                                        int height, const std::function<void(Canvas&)>& paint);

}  // namespace vtcad::render
