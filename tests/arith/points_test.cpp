// Point and control-point arithmetic: hand-computed values for every
// marker rule, conversions and their round trips, and results written over
// an input.
#include "arith/arith_test_util.hpp"

using namespace arith_test;

namespace {

// ---- Construction, extraction, conversion -----------------------------------

TEST(PointConstruction, StoresFieldsAsGiven) {
  CPOINT q;
  A_getcpt(1.0, 2.0, kZ2, kNR, &q);
  ExpectCpt(q, 1.0, 2.0, kZ2, kNR);
  A_poicpt(POINT{4.0, 5.0, 6.0}, &q);
  ExpectCpt(q, 4.0, 5.0, 6.0, kNR);
  A_setcpx(7.0, &q);
  A_setcpy(8.0, &q);
  A_setcpz(kZ2, &q);
  A_setcpw(0.5, &q);
  ExpectCpt(q, 7.0, 8.0, kZ2, 0.5);

  double x, y, z, w;
  A_extcpc(CPOINT{1.0, 2.0, kZ2, kNR}, &x, &y, &z, &w);
  EXPECT_EQ(z, kZ2);
  EXPECT_EQ(w, kNR);
  A_extwei(CPOINT{0, 0, 0, kNR}, &w);
  EXPECT_EQ(w, kNR);
  A_extpoc(POINT{1.0, 2.0, 3.0}, &x, &y, &z);
  EXPECT_EQ(x + 10 * y + 100 * z, 321.0);

  POINT p;
  A_getpoi(1.0, 2.0, 3.0, &p);
  POINT r;
  A_initpo(p, &r);
  ExpectXyz(r, 1.0, 2.0, 3.0);
  CPOINT c;
  A_initcp(CPOINT{1, 2, kZ2, kNR}, &c);
  ExpectCpt(c, 1, 2, kZ2, kNR);
}

TEST(PointConversion, WeightAndEuclid) {
  CPOINT q;
  A_weight(POINT{1.0, 2.0, 3.0}, kNR, &q);
  ExpectCpt(q, 1.0, 2.0, 3.0, kNR);
  A_weight(POINT{1.0, 2.0, 3.0}, 2.0, &q);
  ExpectCpt(q, 2.0, 4.0, 6.0, 2.0);

  POINT p;
  A_euclid(CPOINT{2.0, 4.0, kZ2, 2.0}, &p);
  ExpectXyz(p, 1.0, 2.0, 0.0);
  A_euclid(CPOINT{3.0, 4.0, kZ2, kNR}, &p);
  ExpectXyz(p, 3.0, 4.0, 0.0);
  A_euclid(CPOINT{3.0, 4.0, 5.0, kNR}, &p);
  ExpectXyz(p, 3.0, 4.0, 5.0);
  A_euclid(CPOINT{2.0, 4.0, 6.0, 0.5}, &p);
  ExpectXyz(p, 4.0, 8.0, 12.0);

  double w;
  A_mapcpt(CPOINT{2.0, 4.0, 6.0, 2.0}, &p, &w);
  ExpectXyz(p, 1.0, 2.0, 3.0);
  EXPECT_EQ(w, 2.0);
  A_mapcpt(CPOINT{2.0, 4.0, kZ2, kNR}, &p, &w);
  ExpectXyz(p, 2.0, 4.0, 0.0);
  EXPECT_EQ(w, kNR);
}

TEST(PointConversion, WeightThenEuclidRoundTrips) {
  const POINT pts[] = {{1.0, -2.0, 3.5}, {0.1, 0.2, 0.3}, {-7.25, 1e-3, 4e3}};
  const double weights[] = {0.01, 0.3, 1.0, 2.5, 10.0, kNR};
  for (const POINT &p : pts)
    for (double w : weights) {
      CPOINT q;
      POINT back;
      A_weight(p, w, &q);
      A_euclid(q, &back);
      EXPECT_DOUBLE_EQ(back.x, p.x);
      EXPECT_DOUBLE_EQ(back.y, p.y);
      EXPECT_DOUBLE_EQ(back.z, p.z);
    }
}

// ---- POINT arithmetic -------------------------------------------------------

TEST(PointArithmetic, ComponentWise) {
  const POINT a{1.0, 2.0, 3.0}, b{4.0, 5.0, 6.0};
  POINT r;
  A_sumpoi(a, b, &r);
  ExpectXyz(r, 5.0, 7.0, 9.0);
  A_difpoi(a, b, &r);
  ExpectXyz(r, -3.0, -3.0, -3.0);
  A_scapoi(2.0, a, &r);
  ExpectXyz(r, 2.0, 4.0, 6.0);
  r = POINT{1.0, 1.0, 1.0};
  A_updpoi(2.0, a, &r);
  ExpectXyz(r, 3.0, 5.0, 7.0);
  A_compoi(2.0, a, -1.0, b, &r);
  ExpectXyz(r, -2.0, -1.0, 0.0);
  A_vcopoi(VECTOR{1.0, 2.0, 3.0}, a, VECTOR{0.0, -1.0, 2.0}, b, &r);
  ExpectXyz(r, 1.0, -1.0, 21.0);
  A_bilpoi(1.0, a, 2.0, b, 3.0, POINT{1, 1, 1}, 4.0, POINT{0, 0, 1}, &r);
  ExpectXyz(r, 12.0, 15.0, 22.0);
  A_cirpoi(a, 2.0, POINT{1, 0, 0}, 3.0, POINT{0, 1, 0}, &r);
  ExpectXyz(r, 3.0, 5.0, 3.0);
  double s;
  A_dotpoi(a, b, &s);
  EXPECT_EQ(s, 32.0);
  A_magpoi(POINT{3.0, 4.0, 12.0}, &s);
  EXPECT_EQ(s, 13.0);
}

// ---- CPOINT sums and differences ------------------------------------------

TEST(CpointSum, MarkerRules) {
  CPOINT r;
  A_sumcpt(CPOINT{1, 2, 3, 4}, CPOINT{10, 20, 30, 40}, &r);
  ExpectCpt(r, 11, 22, 33, 44);
  // a 2-D and a 3-D point: the 3-D point's z, in either order
  A_sumcpt(CPOINT{1, 2, kZ2, 4}, CPOINT{10, 20, 30, 40}, &r);
  ExpectCpt(r, 11, 22, 30, 44);
  A_sumcpt(CPOINT{1, 2, 3, 4}, CPOINT{10, 20, kZ2, 40}, &r);
  ExpectCpt(r, 11, 22, 3, 44);
  A_sumcpt(CPOINT{1, 2, kZ2, 4}, CPOINT{10, 20, kZ2, 40}, &r);
  ExpectCpt(r, 11, 22, kZ2, 44);
  // a weight marker in either point gives the marker
  A_sumcpt(CPOINT{1, 2, 3, kNR}, CPOINT{10, 20, 30, 40}, &r);
  ExpectCpt(r, 11, 22, 33, kNR);
  A_sumcpt(CPOINT{1, 2, 3, 4}, CPOINT{10, 20, 30, kNR}, &r);
  ExpectCpt(r, 11, 22, 33, kNR);
}

TEST(CpointDifference, MarkerRules) {
  CPOINT r;
  A_difcpt(CPOINT{1, 2, 3, 4}, CPOINT{10, 20, 30, 40}, &r);
  ExpectCpt(r, -9, -18, -27, -36);
  A_difcpt(CPOINT{1, 2, kZ2, 4}, CPOINT{10, 20, 30, 40}, &r);  // only z2: -z2
  ExpectCpt(r, -9, -18, -30, -36);
  A_difcpt(CPOINT{1, 2, 3, 4}, CPOINT{10, 20, kZ2, 40}, &r);  // only z1: z1
  ExpectCpt(r, -9, -18, 3, -36);
  A_difcpt(CPOINT{1, 2, kZ2, kNR}, CPOINT{10, 20, kZ2, 40}, &r);
  ExpectCpt(r, -9, -18, kZ2, kNR);
}

TEST(CpointWithPoint, KeepsMarkersAndWeight) {
  CPOINT r;
  A_sumpcp(CPOINT{1, 2, 3, kNR}, POINT{1, 1, 1}, &r);
  ExpectCpt(r, 2, 3, 4, kNR);
  A_sumpcp(CPOINT{1, 2, kZ2, 5}, POINT{1, 1, 1}, &r);
  ExpectCpt(r, 2, 3, kZ2, 5);
  A_difpcp(CPOINT{1, 2, 3, 5}, POINT{1, 1, 1}, &r);
  ExpectCpt(r, 0, 1, 2, 5);
  A_difpcp(CPOINT{1, 2, kZ2, kNR}, POINT{1, 1, 1}, &r);
  ExpectCpt(r, 0, 1, kZ2, kNR);
}

// ---- Scaling, accumulation and blends ---------------------------------------

TEST(CpointScale, WeightScaledOrNot) {
  CPOINT r;
  A_scacpt(2.0, CPOINT{1, 2, 3, 4}, &r);
  ExpectCpt(r, 2, 4, 6, 8);
  A_scacpt(2.0, CPOINT{1, 2, kZ2, kNR}, &r);
  ExpectCpt(r, 2, 4, kZ2, kNR);
  A_scacpo(2.0, CPOINT{1, 2, 3, 4}, &r);
  ExpectCpt(r, 2, 4, 6, 4);
  A_scacpo(-1.0, CPOINT{1, 2, kZ2, kNR}, &r);
  ExpectCpt(r, -1, -2, kZ2, kNR);
}

TEST(CpointAccumulate, MarkerRules) {
  CPOINT r{1, 1, 1, 1};
  A_updcpt(2.0, CPOINT{1, 2, 3, 4}, &r);
  ExpectCpt(r, 3, 5, 7, 9);
  A_updcpt(1.0, CPOINT{1, 1, kZ2, 1}, &r);  // a 2-D term makes z the marker
  ExpectCpt(r, 4, 6, kZ2, 10);
  A_updcpt(1.0, CPOINT{1, 1, 1, kNR}, &r);  // a non-rational term: w marker
  ExpectCpt(r, 5, 7, kZ2, kNR);
  // a marker already accumulated stays: it never becomes a sum
  A_updcpt(1e300, CPOINT{0, 0, 1e300, 1e300}, &r);
  ExpectCpt(r, 5, 7, kZ2, kNR);
}

TEST(CpointAccumulate, SumOfTermsMatchesBlend) {
  const CPOINT q1{1, 2, 3, 0.5}, q2{-4, 0.25, 8, 2};
  CPOINT acc{0, 0, 0, 0}, blend;
  A_updcpt(0.75, q1, &acc);
  A_updcpt(0.25, q2, &acc);
  A_comcpt(0.75, q1, 0.25, q2, &blend);
  ExpectCpt(acc, blend.x, blend.y, blend.z, blend.w);
}

TEST(CpointCombine, MarkerRules) {
  CPOINT r;
  A_comcpt(2.0, CPOINT{1, 2, 3, 4}, 3.0, CPOINT{1, 1, 1, 1}, &r);
  ExpectCpt(r, 5, 7, 9, 11);
  A_comcpt(2.0, CPOINT{1, 2, 3, 4}, 3.0, CPOINT{1, 1, 1, kNR}, &r);
  ExpectCpt(r, 5, 7, 9, kNR);
  A_comcpt(2.0, CPOINT{1, 2, 3, 4}, 3.0, CPOINT{1, 1, kZ2, 1}, &r);
  ExpectCpt(r, 5, 7, 6, 11);
  A_comcpt(2.0, CPOINT{1, 2, kZ2, 4}, 3.0, CPOINT{1, 1, 1, 1}, &r);
  ExpectCpt(r, 5, 7, 3, 11);
  A_comcpt(2.0, CPOINT{1, 2, kZ2, kNR}, 3.0, CPOINT{1, 1, kZ2, kNR}, &r);
  ExpectCpt(r, 5, 7, kZ2, kNR);
}

TEST(CpointCombine, PerAxisFactorsKeepFirstWeight) {
  const VECTOR A{1, 2, 3}, B{2, 2, 2};
  CPOINT r;
  A_vcocpt(A, CPOINT{1, 1, 1, 4}, B, CPOINT{1, 2, 3, 5}, &r);
  ExpectCpt(r, 3, 6, 9, 4);
  A_vcocpt(A, CPOINT{1, 1, kZ2, 4}, B, CPOINT{1, 2, 3, 5}, &r);
  ExpectCpt(r, 3, 6, 6, 4);
  A_vcocpt(A, CPOINT{1, 1, 1, 4}, B, CPOINT{1, 2, kZ2, kNR}, &r);
  ExpectCpt(r, 3, 6, 3, kNR);
  A_vcocpt(A, CPOINT{1, 1, kZ2, kNR}, B, CPOINT{1, 2, kZ2, 5}, &r);
  ExpectCpt(r, 3, 6, kZ2, kNR);
}

TEST(CpointBlend, BilinearNeedsAllFour) {
  const CPOINT one{1, 1, 1, 1};
  CPOINT r;
  A_bilcpt(1, one, 2, one, 3, one, 4, CPOINT{1, 1, 1, 1}, &r);
  ExpectCpt(r, 10, 10, 10, 10);
  A_bilcpt(1, one, 2, one, 3, CPOINT{1, 1, kZ2, 1}, 4, one, &r);
  ExpectCpt(r, 10, 10, kZ2, 10);
  A_bilcpt(1, CPOINT{1, 1, 1, kNR}, 2, one, 3, one, 4, one, &r);
  ExpectCpt(r, 10, 10, 10, kNR);
}

TEST(CpointBlend, CirclePointNeedsAllThree) {
  const CPOINT C{1, 1, 1, 1}, X{1, 0, 0, 1}, Y{0, 1, 0, 1};
  CPOINT r;
  A_circpt(C, 2.0, X, 3.0, Y, &r);
  ExpectCpt(r, 3, 4, 1, 6);
  A_circpt(C, 2.0, CPOINT{1, 0, kZ2, 1}, 3.0, Y, &r);
  ExpectCpt(r, 3, 4, kZ2, 6);
  A_circpt(CPOINT{1, 1, 1, kNR}, 2.0, X, 3.0, Y, &r);
  ExpectCpt(r, 3, 4, 1, kNR);
  A_circpt(C, 2.0, X, 3.0, CPOINT{0, 1, 0, kNR}, &r);
  ExpectCpt(r, 3, 4, 1, kNR);
}

// ---- Cross product, scaling about a centre, translation ---------------------

TEST(CpointCross, MarkersCountAsZeroAndOne) {
  CPOINT r;
  A_crocpo(CPOINT{1, 2, kZ2, kNR}, CPOINT{3, 4, kZ2, kNR}, &r);
  ExpectCpt(r, 0, 0, -2, kNR);
  A_crocpo(CPOINT{1, 2, 3, kNR}, CPOINT{4, 5, 6, kNR}, &r);
  ExpectCpt(r, -3, 6, -3, kNR);
  A_crocpo(CPOINT{1, 0, 0, 2}, CPOINT{0, 1, 0, kNR}, &r);
  ExpectCpt(r, 0, 0, 1, 2);
  A_crocpo(CPOINT{1, 0, 0, kNR}, CPOINT{0, 1, kZ2, 3}, &r);
  ExpectCpt(r, 0, 0, 1, 3);
  A_crocpo(CPOINT{1, 0, kZ2, 2}, CPOINT{0, 0, 1, 3}, &r);
  ExpectCpt(r, 0, -1, 0, 6);
}

TEST(CpointScaleAbout, RationalAndNonRational) {
  // (2,4,6,2) is the Euclidean (1,2,3); scaled about (1,1,1) by (2,3,4) it
  // becomes (1,4,9), weighted again by 2.
  CPOINT r;
  A_sclcpt(CPOINT{2, 4, 6, 2}, POINT{1, 1, 1}, VECTOR{2, 3, 4}, &r);
  ExpectCpt(r, 2, 8, 18, 2);
  A_sclcpt(CPOINT{1, 2, kZ2, kNR}, POINT{1, 1, 1}, VECTOR{2, 3, 4}, &r);
  ExpectCpt(r, 1, 4, kZ2, kNR);
}

TEST(CpointTranslate, RationalNonRationalAndZeroWeight) {
  CPOINT r;
  A_trlcpt(CPOINT{2, 4, 6, 2}, VECTOR{1, 1, 1}, &r);
  ExpectCpt(r, 4, 6, 8, 2);
  A_trlcpt(CPOINT{1, 2, kZ2, kNR}, VECTOR{1, 1, 1}, &r);
  ExpectCpt(r, 2, 3, kZ2, kNR);
  // a point at infinity (weight 0) is not moved, and nothing is divided by 0
  A_trlcpt(CPOINT{1, 2, 3, 0}, VECTOR{5, 5, 5}, &r);
  ExpectCpt(r, 1, 2, 3, 0);
  // translating the Euclidean point agrees with the homogeneous form
  const CPOINT q{0.3, -1.1, 2.7, 0.7};
  A_trlcpt(q, VECTOR{0.5, 1.5, -2.5}, &r);
  POINT e;
  A_euclid(r, &e);
  ExpectNearXyz(e, 0.3 / 0.7 + 0.5, -1.1 / 0.7 + 1.5, 2.7 / 0.7 - 2.5, 1e-14);
  EXPECT_EQ(r.w, 0.7);
}

// ---- Scalars ------------------------------------------------------------------

TEST(CpointScalars, DotProducts) {
  double s, w;
  A_dotcpt(CPOINT{1, 2, 3, kNR}, CPOINT{4, 5, 6, kNR}, &s);
  EXPECT_EQ(s, 32.0);
  A_dotcpt(CPOINT{1, 2, 3, 2}, CPOINT{4, 5, 6, kNR}, &s);
  EXPECT_EQ(s, 34.0);
  A_dotcpt(CPOINT{1, 2, 3, kNR}, CPOINT{4, 5, 6, 3}, &s);
  EXPECT_EQ(s, 35.0);
  A_dotcpt(CPOINT{1, 2, 3, 2}, CPOINT{4, 5, 6, 3}, &s);
  EXPECT_EQ(s, 38.0);
  A_dotcpt(CPOINT{1, 2, kZ2, kNR}, CPOINT{4, 5, 6, kNR}, &s);
  EXPECT_EQ(s, 14.0);

  A_dotcpo(CPOINT{1, 2, 3, 2}, CPOINT{4, 5, 6, 3}, &s, &w);
  EXPECT_EQ(s, 32.0);
  EXPECT_EQ(w, 6.0);
  A_dotcpo(CPOINT{1, 2, 3, 2}, CPOINT{4, 5, 6, kNR}, &s, &w);
  EXPECT_EQ(w, 2.0);
  A_dotcpo(CPOINT{1, 2, 3, kNR}, CPOINT{4, 5, 6, 3}, &s, &w);
  EXPECT_EQ(w, 3.0);
  A_dotcpo(CPOINT{1, 2, kZ2, kNR}, CPOINT{4, 5, kZ2, kNR}, &s, &w);
  EXPECT_EQ(s, 14.0);
  EXPECT_EQ(w, kNR);
}

TEST(CpointScalars, Magnitude) {
  double s;
  A_magcpt(CPOINT{2, 3, 6, kNR}, &s);
  EXPECT_EQ(s, 7.0);
  A_magcpt(CPOINT{1, 2, 2, 4}, &s);  // 4-D length of a rational point
  EXPECT_EQ(s, 5.0);
  A_magcpt(CPOINT{3, 4, kZ2, kNR}, &s);
  EXPECT_EQ(s, 5.0);
}

TEST(CpointDerivative, RationalTwoDAndNonRational) {
  CPOINT r;
  A_ratder(CPOINT{2, 4, 6, 2}, VECTOR{1, 1, 1}, 3.0, &r);
  ExpectCpt(r, 5, 8, 11, 3);
  A_ratder(CPOINT{2, 4, kZ2, 2}, VECTOR{1, 1, 1}, 3.0, &r);
  ExpectCpt(r, 5, 8, kZ2, 3);
  // a non-rational point counts with weight 1: the marker never multiplies
  A_ratder(CPOINT{1, 2, 3, kNR}, VECTOR{1, 1, 1}, 3.0, &r);
  ExpectCpt(r, 4, 7, 10, 3);
}

// ---- Results written over an input ------------------------------------------

TEST(PointAliasing, ResultMayBeAnInput) {
  CPOINT q{1, 2, 3, 4};
  A_sumcpt(q, CPOINT{10, 20, 30, 40}, &q);
  ExpectCpt(q, 11, 22, 33, 44);
  q = CPOINT{1, 2, 3, 4};
  A_comcpt(2.0, q, 3.0, q, &q);
  ExpectCpt(q, 5, 10, 15, 20);
  q = CPOINT{1, 2, 3, kNR};
  A_crocpo(q, CPOINT{4, 5, 6, kNR}, &q);
  ExpectCpt(q, -3, 6, -3, kNR);
  q = CPOINT{1, 2, 3, 4};
  A_updcpt(1.0, q, &q);
  ExpectCpt(q, 2, 4, 6, 8);
  q = CPOINT{2, 4, 6, 2};
  A_sclcpt(q, POINT{1, 1, 1}, VECTOR{2, 3, 4}, &q);
  ExpectCpt(q, 2, 8, 18, 2);
  q = CPOINT{1, 1, 1, 1};
  A_bilcpt(1, q, 2, q, 3, q, 4, q, &q);
  ExpectCpt(q, 10, 10, 10, 10);

  POINT p{1, 2, 3};
  A_difpoi(p, POINT{1, 1, 1}, &p);
  ExpectXyz(p, 0, 1, 2);
  A_updpoi(2.0, p, &p);
  ExpectXyz(p, 0, 3, 6);
}

}  // namespace
