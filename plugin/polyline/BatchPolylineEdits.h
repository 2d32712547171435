#pragma once
// The batch edits of selected polylines: one new width for all (PLGXK), closing (PLCLOSE) and
// opening (PLOPEN) them through the host's PEDIT Multiple in one call, and the conversions
// between lightweight and old-style 2-D polylines (PL2OLD, OLDPL2LW) entity by entity, each
// converted polyline keeping its object id (handles and references to it stay valid).
namespace veltrace {

void plgxkCommand();
void plcloseCommand();
void plopenCommand();
void pl2oldCommand();
void oldpl2lwCommand();

}  // namespace veltrace
