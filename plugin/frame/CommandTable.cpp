#include "frame/CommandTable.h"

#include <array>
#include <cstddef>
#include <utility>

#include "affect/AffectCommands.h"
#include "export/ListCommands.h"
#include "formula/FormulaCommand.h"
#include "frame/CommandPrologue.h"
#include "frame/Messages.h"
#include "image/ImageCommands.h"
#include "linkline/LinkLineCommands.h"
#include "morph/CurveBlends.h"
#include "morph/FenceMapping.h"
#include "morph/InterpolatedArray.h"
#include "morph/PolylineInterpolation.h"
#include "outline/OutlineCommands.h"
#include "outreach/AboutBox.h"
#include "outreach/DemoLinks.h"
#include "outreach/Outreach.h"
#include "polyline/BatchOffsetCommand.h"
#include "polyline/BatchPolylineEdits.h"
#include "polyline/CoordinateFileCommand.h"
#include "polyline/CurveIntersections.h"
#include "polyline/DivideCurves.h"
#include "polyline/HatchBoundary.h"
#include "polyline/NumberVertices.h"
#include "polyline/ProjectToXy.h"
#include "polyline/RandomArrayCommand.h"
#include "polyline/ReverseCurves.h"
#include "polyline/SplineConversion.h"
#include "polyline/TextToPolylines.h"
#include "polyline/VertexOptimisationCommands.h"
#include "zcad/ed/ZcEdCommandStack.h"

namespace veltrace {
namespace {

using enum UsageRecording;

// The order is the registration order; usage names are what the usage report tells.
constexpr CommandRow kRows[] = {
    {L"PLYH", L"VTRC_PLYH", L"VTRC_PLYH", kRecordAndCount, &plyhCommand},
    {L"PLYH2", L"VTRC_PLYH2", L"VTRC_PLYH2", kRecordAndCount, &plyh2Command},
    {L"PLYH3", L"VTRC_PLYH3", L"VTRC_PLYH3", kRecordAndCount, &plyh3Command},
    {L"QXTY", L"VTRC_QXTY", L"VTRC_QXTY", kRecordAndCount, &qxtyCommand},
    {L"PLLIST", L"VTRC_PLLIST", L"VTRC_PLLIST", kRecordAndCount, &pllistCommand},
    {L"CLIST", L"VTRC_CircleLIST", L"VTRC_Clist", kRecordAndCount, &clistCommand},
    {L"ELLLIST", L"VTRC_EllipseLIST", L"outputEllipseToExcel", kRecordAndCount, &elllistCommand},
    {L"ARCLIST", L"VTRC_ARCLIST", L"outputArcToExcel", kRecordAndCount, &arclistCommand},
    {L"s2p", L"VTRC_spline2pline", L"spline2pline", kRecordAndCount, &s2pCommand},
    {L"p2s", L"VTRC_pline2spline", L"pline2spline", kRecordAndCount, &p2sCommand},
    {L"PLBH", L"VTRC_PLBH", L"plineVertexBH", kRecordAndCount, &plbhCommand},
    {L"PLDD", L"VTRC_PLReverse", L"plineReverse", kRecordAndCount, &plddCommand},
    {L"PLDF", L"VTRC_PLDevide", L"plineDevide", kRecordAndCount, &pldfCommand},
    {L"PLDJDF", L"VTRC_plineDevideByDist", L"plineDevideByDist", kRecordAndCount, &pldjdfCommand},
    {L"CHBJ", L"VTRC_HatchBound", L"restoreHatchBoundary", kRecordAndCount, &chbjCommand},
    {L"txt2PL", L"VTRC_Text2PL", L"txt2pline", kRecordAndCount, &txt2plCommand},
    {L"PLGXK", L"VTRC_PLGXK", L"plBatchChangeW", kRecordAndCount, &plgxkCommand},
    {L"PLCLOSE", L"VTRC_PLCLOSE", L"plBatchClose", kRecordAndCount, &plcloseCommand},
    {L"PLOPEN", L"VTRC_PLOPEN", L"plBatchOpen", kRecordAndCount, &plopenCommand},
    {L"PLOFFSET", L"VTRC_PLOFFSET", L"plBatchOffset", kRecordAndCount, &ploffsetCommand},
    {L"PLRNDArray", L"VTRC_PLRNDArray", L"randomArray", kRecordAndCount, &plrndArrayCommand},
    {L"PLINT", L"VTRC_PLINT", L"plineInterpolation", kRecordAndCount, &plintCommand},
    {L"PLARR", L"VTRC_PLARRAY", L"plineInterArray", kRecordAndCount, &plarrCommand},
    {L"PLBLENDS", L"VTRC_PLBLENDS", L"plineBlends", kRecordAndCount, &plblendsCommand},
    {L"PLMAP4", L"VTRC_PLMAP4", L"mapACurveTo4CurvesFence", kRecordAndCount, &plmap4Command},
    {L"PLJD", L"VTRC_PLINTERSECT", L"plBatchIntersect", kRecordAndCount, &pljdCommand},
    {L"PLJD1", L"VTRC_PLINTERSECT1", L"plBatchIntersect1", kRecordAndCount, &pljd1Command},
    {L"PLAFFECT", L"VTRC_PLAFFECT", L"plAffect", kRecordAndCount, &plaffectCommand},
    {L"plAffectMoveX", L"VTRC_plAffectMoveX", L"plAffectMoveX", kRecordAndCount, &plAffectMoveXCommand},
    {L"plAffClick", L"VTRC_plAffClick", L"plAffectScaleClick", kRecordAndCount, &plAffClickCommand},
    {L"ZB2PL", L"VTRC_TXTZB2PL", L"drawPolylineByTxtFile", kRecordAndCount, &zb2plCommand},
    {L"PL2OLD", L"VTRC_PL2OLD", L"lwPL2pline2D", kRecordAndCount, &pl2oldCommand},
    {L"OLDPL2LW", L"VTRC_OLDPL2LW", L"oldPL2lw", kRecordAndCount, &oldpl2lwCommand},
    {L"linkLine00", L"VTRC_linkLine00", L"linkLine00", kRecordAndCount, &linkLine00Command},
    {L"linkLine90", L"VTRC_linkLine90", L"linkLine90", kRecordAndCount, &linkLine90Command},
    {L"linkLineAuto", L"VTRC_linkLineAuto", L"linkLineAuto", kRecordAndCount, &linkLineAutoCommand},
    {L"INOFFSET", L"VTRC_INOFFSET", L"makeInnerOffsets", kRecordAndCount, &inoffsetCommand},
    {L"makeOutline", L"VTRC_makeOutline", L"makeOutline", kRecordAndCount, &makeOutlineCommand},
    {L"R2V", L"VTRC_VECTORIZE", L"loadCOutlineDlg", kRecordAndCount, &loadCOutlineDlg},
    {L"txwk", L"VTRC_ImageHoleNet", L"loadImageHoleNetDlg", kRecordAndCount, &loadImageHoleNetDlg},
    // The outreach commands record their own names, like every other command.
    {L"ABOUT_VTRACE", L"VTRC_ABOUT", L"VTRC_ABOUT", kRecordAndCount, &outreach::aboutCommand},
    {L"FORMULA", L"VTRC_FORMULA", nullptr, kCountOnly, &formulaCommand},
    {L"VTRC_DEMO1", L"VTRC_DEMO1", L"VTRC_DEMO1", kRecordAndCount, &outreach::demo1Command},
    {L"VTRC_DEMO2", L"VTRC_DEMO2", L"VTRC_DEMO2", kRecordAndCount, &outreach::demo2Command},
    {L"VTRC_DEMO3", L"VTRC_DEMO3", L"VTRC_DEMO3", kRecordAndCount, &outreach::demo3Command},
    {L"VTRC_DEMO4", L"VTRC_DEMO4", L"VTRC_DEMO4", kRecordAndCount, &outreach::demo4Command},
    {L"VTRC_DEMO5", L"VTRC_DEMO5", L"VTRC_DEMO5", kRecordAndCount, &outreach::demo5Command},
    {L"VTRC_DEMO6", L"VTRC_DEMO6", L"VTRC_DEMO6", kRecordAndCount, &outreach::demo6Command},
    {L"VTRC_DEMO7", L"VTRC_DEMO7", L"VTRC_DEMO7", kRecordAndCount, &outreach::demo7Command},
    {L"VTRC_DEMO8", L"VTRC_DEMO8", L"VTRC_DEMO8", kRecordAndCount, &outreach::demo8Command},
    {L"VTRC_SIBLING1", L"VTRC_SIBLING1", L"VTRC_SIBLING1", kRecordAndCount, &outreach::siblingDemo1Command},
    {L"VTRC_SIBLING2", L"VTRC_SIBLING2", L"VTRC_SIBLING2", kRecordAndCount, &outreach::siblingDemo2Command},
    {L"VTRC_SIBLING3", L"VTRC_SIBLING3", L"VTRC_SIBLING3", kRecordAndCount, &outreach::siblingDemo3Command},
};

constexpr CommandNames kDemandLoadCommands[] = {
    {L"VTRC_PLYH", L"PLYH"},
    {L"VTRC_PLYH2", L"PLYH2"},
    {L"VTRC_PLYH3", L"PLYH3"},
    {L"VTRC_QXTY", L"QXTY"},
    {L"VTRC_VECTORIZE", L"R2V"},
    {L"VTRC_PLLIST", L"PLLIST"},
    {L"VTRC_CircleLIST", L"CLIST"},
    {L"VTRC_EllipseLIST", L"ELLLIST"},
    {L"VTRC_ARCLIST", L"ARCLIST"},
    {L"VTRC_spline2pline", L"s2p"},
    {L"VTRC_pline2spline", L"p2s"},
    {L"VTRC_PLBH", L"PLBH"},
    {L"VTRC_PLReverse", L"PLDD"},
    {L"VTRC_PLDevide", L"PLDF"},
    {L"VTRC_plineDevideByDist", L"PLDJDF"},
    {L"VTRC_HatchBound", L"CHBJ"},
    {L"VTRC_Text2PL", L"txt2PL"},
    {L"VTRC_PLGXK", L"PLGXK"},
    {L"VTRC_PLCLOSE", L"PLCLOSE"},
    {L"VTRC_PLOPEN", L"PLOPEN"},
    {L"VTRC_PLOFFSET", L"PLOFFSET"},
    {L"VTRC_PLRNDArray", L"PLRNDArray"},
    {L"VTRC_PLINT", L"PLINT"},
    {L"VTRC_PLARRAY", L"PLARR"},
    {L"VTRC_PLBLENDS", L"PLBLENDS"},
    {L"VTRC_PLMAP4", L"PLMAP4"},
    {L"VTRC_PLINTERSECT", L"PLJD"},
    {L"VTRC_PLINTERSECT1", L"PLJD1"},
    {L"VTRC_PLAFFECT", L"PLAFFECT"},
    {L"VTRC_plAffectMoveX", L"plAffectMoveX"},
    {L"VTRC_plAffClick", L"plAffClick"},
    {L"VTRC_ImageHoleNet", L"txwk"},
    {L"VTRC_TXTZB2PL", L"ZB2PL"},
    {L"VTRC_PL2OLD", L"PL2OLD"},
    {L"VTRC_OLDPL2LW", L"OLDPL2LW"},
    {L"VTRC_linkLine00", L"linkLine00"},
    {L"VTRC_linkLine90", L"linkLine90"},
    {L"VTRC_linkLineAuto", L"linkLineAuto"},
    {L"VTRC_INOFFSET", L"INOFFSET"},
    {L"VTRC_makeOutline", L"makeOutline"},
    {L"VTRC_ABOUT", L"ABOUT_VTRACE"},
    {L"VTRC_FORMULA", L"FORMULA"},
    {L"VTRC_DEMO1", L"VTRC_DEMO1"},
    {L"VTRC_DEMO2", L"VTRC_DEMO2"},
    {L"VTRC_DEMO3", L"VTRC_DEMO3"},
    {L"VTRC_DEMO4", L"VTRC_DEMO4"},
    {L"VTRC_DEMO5", L"VTRC_DEMO5"},
    {L"VTRC_DEMO6", L"VTRC_DEMO6"},
    {L"VTRC_DEMO7", L"VTRC_DEMO7"},
    {L"VTRC_DEMO8", L"VTRC_DEMO8"},
};

constexpr std::size_t kRowCount = std::size(kRows);

// The function the host calls for row I: the host's commands take no arguments, so each row
// gets its own.
template <std::size_t I>
void runRow() {
  runCommandRow(kRows[I]);
}

template <std::size_t... I>
constexpr std::array<void (*)(), sizeof...(I)> rowEntries(std::index_sequence<I...>) {
  return {&runRow<I>...};
}

constexpr auto kRowEntries = rowEntries(std::make_index_sequence<kRowCount>{});

}  // namespace

std::span<const CommandRow> commandTable() { return kRows; }

std::span<const CommandNames> demandLoadCommands() { return kDemandLoadCommands; }

void registerCommandTable(ZcEdCommandStack& stack) {
  for (std::size_t i = 0; i < kRowCount; ++i) {
    (void)stack.addCommand(kCommandGroup, kRows[i].globalName, kRows[i].localName, ZcRx::kCmdModal,
                           kRowEntries[i], /*uiContext=*/nullptr, /*fcode=*/-1, /*hResourceHandle=*/nullptr);
  }
}

void runCommandRow(const CommandRow& row) {
  if (row.recording == kRecordAndCount) {
    commandPrologue(row.usageName);
  } else {
    outreach::countCommandUse();
  }
  if (row.body) {
    row.body();
    return;
  }
  printfBilingual({L"\n%s 命令在此版本中尚不可用。", L"\n%s is not available in this build."}, row.localName);
}

}  // namespace veltrace
