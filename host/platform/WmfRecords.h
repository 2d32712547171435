#pragma once
// Record functions and constants of the Windows Metafile format that the reader and the
// writer share (values from the format's published description).
#include <cstdint>

namespace vtcad::platform::wmf {

inline constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
inline constexpr std::size_t kPlaceableBytes = 22;
inline constexpr std::size_t kHeaderBytes = 18;

inline constexpr std::uint16_t kEof = 0x0000;
inline constexpr std::uint16_t kSetMapMode = 0x0103;
inline constexpr std::uint16_t kSetPolyFillMode = 0x0106;
inline constexpr std::uint16_t kSelectObject = 0x012D;
inline constexpr std::uint16_t kDeleteObject = 0x01F0;
inline constexpr std::uint16_t kSetWindowOrg = 0x020B;
inline constexpr std::uint16_t kSetWindowExt = 0x020C;
inline constexpr std::uint16_t kLineTo = 0x0213;
inline constexpr std::uint16_t kMoveTo = 0x0214;
inline constexpr std::uint16_t kCreatePenIndirect = 0x02FA;
inline constexpr std::uint16_t kCreateBrushIndirect = 0x02FC;
inline constexpr std::uint16_t kPolygon = 0x0324;
inline constexpr std::uint16_t kPolyline = 0x0325;
inline constexpr std::uint16_t kEllipse = 0x0418;
inline constexpr std::uint16_t kRectangle = 0x041B;
inline constexpr std::uint16_t kPolyPolygon = 0x0538;
inline constexpr std::uint16_t kRoundRect = 0x061C;
inline constexpr std::uint16_t kEscape = 0x0626;

inline constexpr std::uint16_t kMfComment = 0x000F;
inline constexpr std::uint16_t kMapAnisotropic = 8;
inline constexpr std::uint16_t kFillWinding = 2;
inline constexpr std::uint16_t kBrushNull = 1;
inline constexpr std::uint16_t kPenSolid = 0;

// Our comment: this tag, then the size of a logical unit in drawing units (a little-endian
// IEEE double).
inline constexpr char kScaleTag[] = "VTCAD-WMF-SCALE";
inline constexpr std::size_t kScaleTagBytes = sizeof(kScaleTag);  // with its NUL

}  // namespace vtcad::platform::wmf
