#pragma once
// Enumerations of the drawing database. Each has int as its fixed underlying type, so that a
// number read from a file or given by a caller is a value of the type even when it names no
// enumerator: a setter can cast first and refuse it after, without undefined behaviour.
namespace ZcDb {
enum OpenMode : int { kForRead = 0, kForWrite = 1, kForNotify = 2 };
enum Visibility : int { kVisible = 0, kInvisible = 1 };
enum Poly2dType : int {
  k2dSimplePoly = 0,
  k2dFitCurvePoly = 1,
  k2dQuadSplinePoly = 2,
  k2dCubicSplinePoly = 3
};
enum Poly3dType : int { k3dSimplePoly = 0, k3dQuadSplinePoly = 1, k3dCubicSplinePoly = 2 };
enum Vertex2dType : int {
  k2dVertex = 0,
  k2dSplineCtlVertex = 1,
  k2dSplineFitVertex = 2,
  k2dCurveFitVertex = 3
};
enum Vertex3dType : int { k3dSimpleVertex = 0, k3dControlVertex = 1, k3dFitVertex = 2 };
enum DuplicateRecordCloning : int { kDrcNotApplicable = 0, kDrcIgnore = 1, kDrcReplace = 2 };
enum SaveType : int { kDwg = 0, kDxf = 1 };
// Widths in hundredths of a millimetre, every standard width an enumerator.
enum LineWeight : int {
  kLnWtByLayer = -1,
  kLnWtByBlock = -2,
  kLnWtByLwDefault = -3,
  kLnWt000 = 0,
  kLnWt005 = 5,
  kLnWt009 = 9,
  kLnWt013 = 13,
  kLnWt015 = 15,
  kLnWt018 = 18,
  kLnWt020 = 20,
  kLnWt025 = 25,
  kLnWt030 = 30,
  kLnWt035 = 35,
  kLnWt040 = 40,
  kLnWt050 = 50,
  kLnWt053 = 53,
  kLnWt060 = 60,
  kLnWt070 = 70,
  kLnWt080 = 80,
  kLnWt090 = 90,
  kLnWt100 = 100,
  kLnWt106 = 106,
  kLnWt120 = 120,
  kLnWt140 = 140,
  kLnWt158 = 158,
  kLnWt200 = 200,
  kLnWt211 = 211
};
// Which operands of an intersection may be extended beyond their ends (lines to infinite
// lines, arcs to full circles, open curves along their end tangents or carriers).
enum Intersect : int { kOnBothOperands = 0, kExtendThis = 1, kExtendArg = 2, kExtendBoth = 3 };
enum SplineType : int { kFitPoints = 0, kControlPoints = 1 };
enum TextHorzMode : int {
  kTextLeft = 0,
  kTextCenter = 1,
  kTextRight = 2,
  kTextAlign = 3,
  kTextMid = 4,
  kTextFit = 5
};
enum TextVertMode : int { kTextBase = 0, kTextBottom = 1, kTextVertMid = 2, kTextTop = 3 };
}  // namespace ZcDb
