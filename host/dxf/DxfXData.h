#pragma once
// Extended data (groups 1000-1071 after a 1001 application name) and other group lists kept
// as result-buffer chains (header variables): DXF groups to a chain and back.
#include <span>

#include "dxf/DxfTag.h"
#include "zcad/zds.h"

namespace vtcad::dxf {

class ReadContext;
class TagWriter;

// The extended data starting at tags[0] (a 1001 group) to the end of `tags`. Groups that
// are not extended data, and items before the first application name, are reported and
// left out. Null when nothing usable is there. The caller owns the chain.
resbuf* readXData(std::span<const Tag> tags, ReadContext& ctx);
// Header variable groups (anything but handles) as a chain; points combine 10/20/30 into one
// item. Null (and nothing reported) when a group cannot be held as a value.
resbuf* readValueGroups(std::span<const Tag> tags, ReadContext& ctx);

// Writes a chain as groups: points as code, code+10, code+20.
void writeGroups(const resbuf* chain, TagWriter& out);

}  // namespace vtcad::dxf
