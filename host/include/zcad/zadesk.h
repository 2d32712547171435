#pragma once
// Basic scalar types of the host interface. Texts are wide strings (ZTCHAR is wchar_t),
// as in the Windows host the plug-in was written for.
#include <cstdint>

using ZTCHAR = wchar_t;

#ifndef _T
#define _T(x) L##x
#endif
#ifndef ZCRX_T
#define ZCRX_T(x) L##x
#endif

namespace Zdesk {
using Int8 = std::int8_t;
using Int16 = std::int16_t;
using Int32 = std::int32_t;
using Int64 = std::int64_t;
using UInt8 = std::uint8_t;
using UInt16 = std::uint16_t;
using UInt32 = std::uint32_t;
using UInt64 = std::uint64_t;
using IntPtr = std::intptr_t;
using UIntPtr = std::uintptr_t;
using Boolean = bool;
using LongPtr = std::intptr_t;
// Graphics-system marker of a subentity (an entity's part); 0 means the whole entity.
using GsMarker = std::intptr_t;
inline constexpr Boolean kFalse = false;
inline constexpr Boolean kTrue = true;
}  // namespace Zdesk
