#pragma once
// txt2PL: replaces the selected texts by their outlines. The host draws the glyphs: the texts
// are mirrored in place (MIRRTEXT 1), written as a metafile of the zoomed view (WMFOUT) and
// read back on the view's upper-left corner at scale 2 (WMFIN), the texts erased and the
// imported block mirrored back, so that the outlines sit where the glyphs were. Multiline texts
// stay readable when mirrored: they make the same round trip in a pass of their own, without
// the mirrors.
namespace veltrace {

void txt2plCommand();

}  // namespace veltrace
