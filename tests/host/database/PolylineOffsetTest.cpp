#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <sstream>
#include <string>

#include "database/BulgeSegmentDistance.h"
#include "database/BulgeSegmentIntersection.h"
#include "database/PolylineOffset.h"

namespace vtcad::db {
namespace {

std::vector<BulgeSegment> segmentsOf(const std::vector<OffsetVertex>& v, bool closed) {
  std::vector<BulgeSegment> out;
  const size_t n = v.size();
  for (size_t i = 0; i + (closed ? 0 : 1) < n; ++i)
    out.emplace_back(v[i].point, v[(i + 1) % n].point, v[i].bulge);
  return out;
}

double distanceTo(const ZcGePoint2d& p, const std::vector<BulgeSegment>& segments) {
  double best = std::numeric_limits<double>::infinity();
  for (const BulgeSegment& s : segments) best = std::min(best, pointSegmentDistance(p, s));
  return best;
}

double signedArea(const OffsetPiece& piece) {
  double area = 0.0;
  for (const BulgeSegment& s : segmentsOf(piece.vertices, /*closed=*/true)) {
    const ZcGePoint2d a = s.startPoint(), b = s.endPoint();
    area += 0.5 * (a.x * b.y - b.x * a.y) + s.signedSegmentArea();
  }
  return area;
}

std::string describe(const std::vector<OffsetVertex>& v) {
  std::ostringstream out;
  out.precision(17);
  out << "\n{";
  for (const OffsetVertex& x : v) out << "{{" << x.point.x << ", " << x.point.y << "}, " << x.bulge << "}, ";
  out << "}";
  return out.str();
}

// Crossing-number test against the polygon with its arcs drawn as fine chords (the points
// asked about lie far from the boundary).
bool inside(const ZcGePoint2d& q, const std::vector<BulgeSegment>& loop) {
  bool in = false;
  for (const BulgeSegment& s : loop) {
    for (int k = 0; k < 64; ++k) {
      const ZcGePoint2d a = s.pointAt(k / 64.0), b = s.pointAt((k + 1) / 64.0);
      if ((a.y > q.y) != (b.y > q.y) && q.x < a.x + (q.y - a.y) * (b.x - a.x) / (b.y - a.y)) in = !in;
    }
  }
  return in;
}

// A simple (not self-intersecting) polyline: a star-shaped loop with random radii and bulges,
// drawn again until no two segments cross.
std::vector<OffsetVertex> randomSimplePolyline(std::mt19937& rng, bool closed) {
  std::uniform_int_distribution<int> count(3, 12);
  std::uniform_real_distribution<double> radius(20.0, 50.0), unit(0.0, 1.0), bulge(-0.6, 0.6);
  while (true) {
    const int n = count(rng);
    std::vector<double> angles(n);
    for (double& a : angles) a = unit(rng) * 2.0 * std::numbers::pi;
    std::sort(angles.begin(), angles.end());
    std::vector<OffsetVertex> v;
    for (double a : angles) {
      const double r = radius(rng);
      v.push_back({{50 + r * std::cos(a), 50 + r * std::sin(a)}, unit(rng) < 0.5 ? 0.0 : bulge(rng)});
    }
    if (unit(rng) < 0.5) std::reverse(v.begin(), v.end());  // clockwise as often
    const std::vector<BulgeSegment> segs = segmentsOf(v, closed);
    bool simple = true;
    const int m = static_cast<int>(segs.size());
    for (int i = 0; i < m && simple; ++i) {
      if (segs[i].chordLength() < 1.0) simple = false;
      for (int j = i + 1; j < m && simple; ++j) {
        const SegmentIntersection x = intersectSegments(segs[i], segs[j], 1e-9);
        const bool neighbours = j == i + 1 || (closed && i == 0 && j == m - 1);
        if (x.relation == SegmentRelation::kOverlapping || x.count > (neighbours ? 1 : 0)) simple = false;
      }
    }
    if (simple) return v;
  }
}

// Soundness and completeness of one offset:
// - no vertex is non-finite and no point of the result comes nearer to the source than |d|;
// - nothing reaches farther than a rounded corner would;
// - every point of a segment's moved copy that no other part of the source is nearer to
//   than |d| lies on the result (so kept pieces are not lost and loops are cut where they
//   should be);
// - every arc of the result is a source arc's concentric offset or a round join of radius |d|.
// Returns the number of pieces.
int checkOffset(const std::vector<OffsetVertex>& source, bool closed, double d) {
  const PolylineOffsetResult result = offsetPolyline(source, closed, d);
  EXPECT_EQ(result.outcome, OffsetOutcome::kOffset);
  const std::vector<BulgeSegment> src = segmentsOf(source, closed);
  const double tol = 1e-7 * 100.0;
  double area = 0.0;
  for (const BulgeSegment& s : src) {
    area +=
        0.5 * (s.startPoint().x * s.endPoint().y - s.endPoint().x * s.startPoint().y) + s.signedSegmentArea();
  }
  const bool expectInside = (area > 0.0) == (d < 0.0);
  std::vector<BulgeSegment> out;
  for (const OffsetPiece& piece : result.pieces) {
    if (closed) {
      EXPECT_TRUE(piece.closed);
    }
    for (const OffsetVertex& v : piece.vertices) {
      EXPECT_TRUE(std::isfinite(v.point.x) && std::isfinite(v.point.y) && std::isfinite(v.bulge));
    }
    for (const BulgeSegment& s : segmentsOf(piece.vertices, piece.closed)) out.push_back(s);
  }
  for (const BulgeSegment& s : out) {
    for (int k = 0; k <= 8; ++k) {
      const double gap = distanceTo(s.pointAt(k / 8.0), src);
      EXPECT_GE(gap, std::fabs(d) - tol) << describe(source);
      EXPECT_LE(gap, kMaxCornerReach * std::fabs(d)) << describe(source);
    }
    if (s.isArc()) {
      const bool roundJoin = std::fabs(s.radius() - std::fabs(d)) < tol;
      // A nearly straight arc's centre lies far away and is known only to tol times its
      // distance over the drawing's size; a tiny arc's ends are known to tol, its centre to
      // tol times its radius over its chord.
      const double centreTol = tol * std::max({1.0, s.radius() / 100.0, s.radius() / s.chordLength()});
      const bool concentric = std::any_of(src.begin(), src.end(), [&](const BulgeSegment& a) {
        return a.isArc() &&
               std::hypot(a.center().x - s.center().x, a.center().y - s.center().y) < centreTol &&
               std::fabs(std::fabs(a.radius() - s.radius()) - std::fabs(d)) < centreTol;
      });
      EXPECT_TRUE(roundJoin || concentric) << "radius " << s.radius() << describe(source);
    }
  }
  for (const BulgeSegment& s : src) {
    for (int k = 1; k < 16; ++k) {
      const double t = k / 16.0;
      const ZcGeVector2d tangent = s.firstDeriv(t);
      const double len = std::hypot(tangent.x, tangent.y);
      const ZcGePoint2d q = s.pointAt(t) + ZcGeVector2d(tangent.y / len, -tangent.x / len) * d;
      if (distanceTo(q, src) < std::fabs(d) - 1e-6) continue;  // inside a loop: cut away
      // Where a closed polyline is narrower than the distance, a segment's moved copy comes
      // out on the other side: that belongs to the other side's offset.
      if (closed && inside(q, src) != expectInside) continue;
      // On an arc collapsing past its centre the moved point is no offset point.
      if (s.isArc() && s.radius() + (s.sweep() > 0 ? d : -d) <= 0.0) continue;
      const double miss = distanceTo(q, out);
      EXPECT_LT(miss, 1e-6) << "lost offset point of a source segment at t " << t << " q " << q.x << ","
                            << q.y << " seg " << (&s - src.data()) << " pieces " << result.pieces.size()
                            << " segs " << out.size() << describe(source);
      if (miss >= 1e-6) break;  // one message per segment is enough
    }
  }
  return static_cast<int>(result.pieces.size());
}

// Over many random simple polylines, both signs, small and large distances (many of them
// wider than the polyline, so whole pieces vanish).
TEST(PolylineOffset, RandomPolylinesKeepTheirDistanceAndLoseNothing) {
  std::mt19937 rng(20261207);
  std::uniform_real_distribution<double> magnitude(0.5, 30.0), unit(0.0, 1.0);
  int pieces = 0;
  for (int round = 0; round < 300 && !testing::Test::HasFailure(); ++round) {
    const bool closed = round % 2 == 0;
    const std::vector<OffsetVertex> source = randomSimplePolyline(rng, closed);
    const double d = magnitude(rng) * (unit(rng) < 0.5 ? -1.0 : 1.0);
    SCOPED_TRACE(testing::Message() << "round " << round << " d " << d);
    pieces += checkOffset(source, closed, d);
  }
  EXPECT_GT(pieces, 100);
}

// Cases longer random runs found.
TEST(PolylineOffset, CornersOfShortArcStretchesStayOnTheirCircles) {
  // A sharp corner joining the last bit of a flat arc (its stretch so short that it read as
  // straight) to a line: the arc was extended along the stretch's chord, off its circle.
  EXPECT_EQ(checkOffset({{{69.160053241159744, 62.810675748432445}, -0.0057039976837379713},
                         {{70.320718602221959, 73.554823139306279}, 0},
                         {{30.231541626763395, 89.270190000922838}, -0.12432611215297951},
                         {{23.436367367207502, 81.882941209801942}, 0},
                         {{27.821842914154725, 71.208133368257606}, -0.20323663447922352},
                         {{81.127497268175574, 49.592118187216293}, 0.30726465813704429}},
                        /*closed=*/false, 24.657254037239262),
            1);
  // Neighbours whose carriers do not meet near the corner: the join must stay round (it was
  // given the corner of a failed search, the origin).
  EXPECT_EQ(checkOffset({{{79.717704298618827, 65.306795843666208}, 0},
                         {{51.767766625580776, 87.060168282992748}, -0.52223119209138225},
                         {{15.746799974444251, 69.270637833489374}, 0},
                         {{26.077037335345175, 44.937631351268458}, -0.42350809288736191},
                         {{48.186670816294139, 29.707559349101228}, 0.58179023542523567},
                         {{90.698189306406221, 41.551519388741376}, 0.48981507764786991}},
                        /*closed=*/false, 16.977233943372116),
            1);
}

TEST(PolylineOffset, NearlyStraightArcsCrossAndCornerExactly) {
  // A nearly straight arc (bulge 2e-6, radius 2.7e6) crossing the circle of radius |d| about a
  // vertex: measured from the far centre the crossing lost four digits, the offset was not cut
  // where it comes too near and a stretch of it was dropped.
  EXPECT_EQ(checkOffset({{{86.124394508573005, 60.62214736492102}, 0},
                         {{53.091531867082722, 75.491862587112934}, 0},
                         {{42.881807870086668, 69.87637847148541}, 2.0430186810083129e-06},
                         {{21.051072928934317, 75.210648851693577}, 0.55623655704066721},
                         {{22.434596378519686, 58.714127963265341}, 0},
                         {{16.362806490101626, 47.488722111670661}, 0},
                         {{8.4275982201887061, 40.480322511677123}, 0.04060435411611607},
                         {{37.809923834234382, 30.286049567206089}, 0}},
                        /*closed=*/false, -15.168076048583782),
            1);
  // A flat arc trimmed to a tiny stretch, then extended backwards to a sharp corner: its
  // parameter, read along the stretch's chord, put the corner's arc off its circle by 0.01.
  EXPECT_EQ(checkOffset({{{63.974660501144228, 18.095627688138105}, -0.0068038848397973251},
                         {{64.618911166067264, 16.582432019792208}, -0.354440542457788},
                         {{38.69318046258411, 27.129050973674868}, -0.0042434367361753322},
                         {{22.127166526087315, 22.954575085923359}, 0},
                         {{30.753900024421601, 43.965507765436023}, 0},
                         {{25.887599558543691, 59.511402013575264}, 0},
                         {{26.677894710998562, 73.172726606860593}, 0},
                         {{47.795505544283877, 88.933319322116716}, 0},
                         {{84.564305401018231, 53.439809886376622}, 0}},
                        /*closed=*/true, 8.5545133644920188),
            1);
}

TEST(PolylineOffset, AlmostTangentJoinsKeepTheirOffset) {
  // An arc ending almost tangentially on a line, on the concave side: the offsets meet at a
  // crossing known only to 4e-4 along them, which lay just beyond the arc's end; a connector
  // and a dip of 1.2e-7 below the distance cut the offset there and lost it.
  EXPECT_EQ(checkOffset({{{76.696651501669052, 71.021102548880705}, 0},
                         {{64.476912484347679, 65.011314604427213}, 0},
                         {{44.861841031369629, 70.737096158780716}, 0.36299382287130422},
                         {{5.4188020230314891, 41.280198031568041}, -0.32950874468696045},
                         {{12.787525060126441, 25.67770880260851}, -0.50947790494180534},
                         {{36.021130408660106, 32.247488784387329}, 0},
                         {{50.332098105340165, 20.981786184380475}, -0.58560893040229756},
                         {{53.390226053337493, 17.963658850233251}, 0.22810589530865155}},
                        /*closed=*/true, 14.179658122041443),
            1);
  EXPECT_GE(checkOffset({{{99.790750328972791, 48.327297271036628}, -0.24596481807034365},
                         {{85.869171804031026, 33.3871256219266}, -0.43689465926481463},
                         {{88.490673230626101, 27.932177549519835}, -0.0075751881907539786},
                         {{64.932033163793719, 28.544507551599001}, 0},
                         {{44.021306681978487, 0.88916365817796361}, -0.36901605887661593},
                         {{40.261257505726789, 2.2314891634758922}, 0},
                         {{5.6262476029276058, 62.580421501440647}, 0},
                         {{22.880332891921913, 65.747449647575593}, 0},
                         {{27.311210000048401, 72.445552428910915}, 0},
                         {{39.853766546918791, 69.405462107037494}, 0}},
                        /*closed=*/false, -27.064177043527415),
            1);
}

TEST(PolylineOffset, CollapsedArcAtAConcaveCornerAndASelfTouchKeepTheOuterLoop) {
  // A clockwise outline grown outwards: an arc that collapses on that side, at a concave
  // corner, was joined round its vertex the long way, and bits of that circle stayed inside
  // as a loop; where the offset touches itself in a tiny loop the chain stopped there and the
  // outer loop was lost.
  EXPECT_EQ(checkOffset({{{83.787228798060809, 48.174671078750045}, 0},
                         {{67.209122949699264, 31.801070776915044}, 0.37817693573383104},
                         {{73.6593214683094, 20.506265943461603}, 0},
                         {{51.831496635760978, 12.169008358952084}, 0},
                         {{23.992616702182115, 39.556792020377507}, 0},
                         {{48.36001944553734, 79.915039591942772}, 0.25009411096065559},
                         {{92.770217328794914, 72.131983403635545}, 0},
                         {{94.236520149124701, 65.999654692260862}, -0.40232982118768401}},
                        /*closed=*/true, -17.435896019931828),
            2);
}

TEST(PolylineOffset, ThinSpikeWithACurvedSideKeepsItsOffset) {
  // At the spike's tip the offset of its curved side, seen from the other side, bulges out
  // past the round join for a short way: the whole offset was lost for want of that bit.
  EXPECT_EQ(checkOffset({{{82.7982222029094, 67.101402248446064}, 0.0030768483322241025},
                         {{24.992035015854395, 86.594879716518847}, -0.45499285273579015},
                         {{31.836065241143988, 71.152262776827058}, 0},
                         {{36.888456289020986, 27.053541343066694}, 0},
                         {{45.864605278212281, 22.923576482158804}, 0.59203827463818992},
                         {{51.452123275243153, 11.981872244867446}, 0.31322353386237733},
                         {{76.068907794029002, 47.78600556325825}, -0.18807946695650679},
                         {{97.562334471137532, 47.683867991351882}, 0.58771379523621514}},
                        /*closed=*/true, 28.252102226669262),
            1);
}

TEST(PolylineOffset, RectangleGrowsWithSharpCornersShrinksAndVanishes) {
  const std::vector<OffsetVertex> rect = {{{0, 0}}, {{10, 0}}, {{10, 5}}, {{0, 5}}};
  PolylineOffsetResult grown = offsetPolyline(rect, /*closed=*/true, 1.0);
  ASSERT_EQ(grown.pieces.size(), 1u);
  const std::vector<ZcGePoint2d> expected = {{-1, -1}, {11, -1}, {11, 6}, {-1, 6}};
  ASSERT_EQ(grown.pieces[0].vertices.size(), 4u);
  for (const OffsetVertex& v : grown.pieces[0].vertices) {
    EXPECT_EQ(v.bulge, 0.0);
    EXPECT_TRUE(std::any_of(expected.begin(), expected.end(), [&](const ZcGePoint2d& e) {
      return std::hypot(e.x - v.point.x, e.y - v.point.y) < 1e-12;
    }));
  }
  PolylineOffsetResult shrunk = offsetPolyline(rect, true, -1.0);
  ASSERT_EQ(shrunk.pieces.size(), 1u);
  EXPECT_NEAR(signedArea(shrunk.pieces[0]), 8.0 * 3.0, 1e-9);
  EXPECT_TRUE(offsetPolyline(rect, true, -2.6).pieces.empty());
  EXPECT_EQ(offsetPolyline(rect, true, -2.6).outcome, OffsetOutcome::kOffset);
}

// Where two round ends about corners nearer than twice the distance meet, the offset follows
// them into a shallow notch (or bump) of this area: two circle segments of radius 2 cut by a
// chord at distance 1 from the corners' midpoint... as the exact offset has it.
const double kNotch = 2.0 * (2.0 - (std::sqrt(3.0) / 2.0 + std::numbers::pi / 3.0));

TEST(PolylineOffset, DumbbellShrunkPastItsNeckGivesTwoLoops) {
  const std::vector<OffsetVertex> dumbbell = {{{0, 0}},  {{10, 0}}, {{10, 4}},  {{20, 4}},
                                              {{20, 0}}, {{30, 0}}, {{30, 10}}, {{20, 10}},
                                              {{20, 6}}, {{10, 6}}, {{10, 10}}, {{0, 10}}};
  const PolylineOffsetResult r = offsetPolyline(dumbbell, true, -2.0);
  ASSERT_EQ(r.pieces.size(), 2u);
  for (const OffsetPiece& piece : r.pieces) {
    EXPECT_TRUE(piece.closed);
    EXPECT_NEAR(signedArea(piece), 6.0 * 6.0 + kNotch, 1e-9);  // each bell shrunk by 2 on every side
  }
  // Grown instead, the neck's notches fill in and one loop remains.
  EXPECT_EQ(offsetPolyline(dumbbell, true, 2.0).pieces.size(), 1u);
}

TEST(PolylineOffset, SlotNarrowerThanTheDistanceIsBridged) {
  const std::vector<OffsetVertex> slotted = {{{0, 0}},  {{20, 0}}, {{20, 10}}, {{11, 10}},
                                             {{11, 2}}, {{9, 2}},  {{9, 10}},  {{0, 10}}};
  const PolylineOffsetResult r = offsetPolyline(slotted, true, 2.0);
  ASSERT_EQ(r.pieces.size(), 1u);
  EXPECT_NEAR(signedArea(r.pieces[0]), 24.0 * 14.0 - kNotch, 1e-9);
}

TEST(PolylineOffset, CircleOfTwoBulgesStaysTwoArcs) {
  const std::vector<OffsetVertex> circle = {{{0, 0}, 1.0}, {{10, 0}, 1.0}};
  const PolylineOffsetResult grown = offsetPolyline(circle, true, 1.0);
  ASSERT_EQ(grown.pieces.size(), 1u);
  ASSERT_EQ(grown.pieces[0].vertices.size(), 2u);
  for (const BulgeSegment& s : segmentsOf(grown.pieces[0].vertices, true)) {
    ASSERT_TRUE(s.isArc());
    EXPECT_NEAR(s.radius(), 6.0, 1e-12);
    EXPECT_NEAR(s.center().x, 5.0, 1e-12);
  }
  const PolylineOffsetResult shrunk = offsetPolyline(circle, true, -4.0);
  ASSERT_EQ(shrunk.pieces.size(), 1u);
  EXPECT_NEAR(signedArea(shrunk.pieces[0]), std::numbers::pi, 1e-9);
  EXPECT_TRUE(offsetPolyline(circle, true, -5.5).pieces.empty());
}

TEST(PolylineOffset, OpenZigZagLosesTheLoopsOfItsSharpTeeth) {
  // Teeth 2 wide and 10 high, offset into their gaps by more than half a gap.
  std::vector<OffsetVertex> zigzag;
  for (int k = 0; k < 5; ++k) {
    zigzag.push_back({{4.0 * k, 0}});
    zigzag.push_back({{4.0 * k + 2.0, 10}});
  }
  const PolylineOffsetResult r = offsetPolyline(zigzag, /*closed=*/false, 1.5);
  ASSERT_FALSE(r.pieces.empty());
  const std::vector<BulgeSegment> src = segmentsOf(zigzag, false);
  for (const OffsetPiece& piece : r.pieces) {
    EXPECT_FALSE(piece.closed);
    for (const OffsetVertex& v : piece.vertices) EXPECT_GE(distanceTo(v.point, src), 1.5 - 1e-9);
  }
}

TEST(PolylineOffset, BadInputGivesAnOutcomeNotNumbers) {
  const std::vector<OffsetVertex> line = {{{0, 0}}, {{10, 0}}};
  EXPECT_EQ(offsetPolyline(line, false, 0.0).outcome, OffsetOutcome::kInvalidDistance);
  EXPECT_EQ(offsetPolyline(line, false, std::nan("")).outcome, OffsetOutcome::kInvalidDistance);
  EXPECT_EQ(offsetPolyline({{{1, 1}}, {{1, 1}}}, false, 1.0).outcome, OffsetOutcome::kDegenerate);
  EXPECT_EQ(offsetPolyline({{{0, 0}, std::nan("")}, {{1, 1}}}, false, 1.0).outcome,
            OffsetOutcome::kInvalidInput);
  // A reversal (a closed polyline of two vertices) is rounded at both ends: a slot outline.
  const PolylineOffsetResult slot = offsetPolyline(line, true, 1.0);
  ASSERT_EQ(slot.pieces.size(), 1u);
  EXPECT_NEAR(signedArea(slot.pieces[0]), 20.0 + std::numbers::pi, 1e-9);
}

}  // namespace
}  // namespace vtcad::db
