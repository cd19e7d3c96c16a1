// Conventions shared by the refinement tools (knot insertion, refinement,
// removal, degree change, splitting and segments):
//
// - Input checks: a record whose sizes agree and whose knots never
//   decrease. Every index the algorithms form is derived from the knots,
//   so sorted knots are what keeps them inside the arrays.
// - Output records: a result goes either into a separate record by the
//   check-or-allocate protocol (ws_out), or, when the output record is the
//   input record, into fresh arrays from ws_in that replace the old ones
//   only once the result is complete (the old arrays are then released from
//   ws_in). A routine that fails leaves the input as it was and nothing of
//   its own in either workspace.
// - Lines: a curve's polygon is one line of points; a surface's net is a
//   set of lines along u (one per column) or along v (one per row). The
//   algorithms are written once for a line and run on every line, with
//   their blend ratios computed once from the knots.
#pragma once

#include <cmath>
#include <cstdint>

#include "arith/point_ops.hpp"
#include "core/internal.hpp"

namespace orvo::detail {

// ---- Input checks -----------------------------------------------------------
// A curve with non-null parts, 0 <= p <= MAXDEGREE, m = n+p+1, n >= p and
// non-decreasing knots (error 4 otherwise).
int16_t check_refine_curve(const CURVE *cur, const char *tag);
// The surface twin: r = n+p+1, s = m+q+1, n >= p, m >= q, both knot vectors
// non-decreasing.
int16_t check_refine_surface(const SURFACE *sur, const char *tag);

// A direction selector of a surface operation: 1 (u) or 2 (v), else 13.
inline int16_t check_direction(int dir, const char *tag) {
  return (dir == 1 || dir == 2) ? 0 : fail(kErrSelector, tag);
}

// ---- Workspace mark ---------------------------------------------------------
// Remembers the heads of a workspace's lists; rollback() releases every
// block recorded since, newest first. Only allocation may happen between
// the two (a list whose remembered head is no longer on it is left alone).
class WorkspaceMark {
 public:
  WorkspaceMark() = default;
  explicit WorkspaceMark(STACKS *ws) { set(ws); }
  void set(STACKS *ws);
  void rollback();

 private:
  STACKS *ws_ = nullptr;
  STACKNODE *head_[ORVO_NLISTS] = {};
};

// ---- Output records -----------------------------------------------------------
struct CurveSize {
  int32_t n;
  int16_t p;
  int32_t m;
};

struct SurfaceSize {
  int32_t n, m;
  int16_t p, q;
  int32_t r, s;
};

// The sizes of an existing record.
inline CurveSize size_of(const CURVE *c) { return CurveSize{c->pol->n, c->p, c->knt->m}; }
inline SurfaceSize size_of(const SURFACE *s) {
  return SurfaceSize{s->net->n, s->net->m, s->p, s->q, s->knu->m, s->knv->m};
}

template <class Rec>
struct RecordTraits;

template <>
struct RecordTraits<CURVE> {
  using Size = CurveSize;
  // The counts a check-or-allocate may redefine in a non-empty record.
  struct Counts {
    int32_t n = 0, m = 0;
  };
  static bool empty(const CURVE *c) { return U_iscurn(c) != 0; }
  static void init(CURVE *c) { U_inicur(c); }
  static int16_t alloc(CURVE *c, const Size &z, STACKS *ws) {
    return U_getcur(c, z.n, z.p, z.m, ws);
  }
  static int16_t check(CURVE *c, const Size &z, const char *tag, STACKS *ws) {
    return U_curchk(c, z.n, z.p, z.m, tag, ws);
  }
  static void kill(CURVE *c, STACKS *ws) { U_kilcur(c, ws); }
  static Counts counts(const CURVE *c) { return Counts{c->pol->n, c->knt->m}; }
  static void restore(CURVE *c, const Counts &k) {
    c->pol->n = k.n;
    c->knt->m = k.m;
  }
};

template <>
struct RecordTraits<SURFACE> {
  using Size = SurfaceSize;
  struct Counts {
    int32_t n = 0, m = 0, r = 0, s = 0;
  };
  static bool empty(const SURFACE *s) { return U_issurn(s) != 0; }
  static void init(SURFACE *s) { U_inisur(s); }
  static int16_t alloc(SURFACE *s, const Size &z, STACKS *ws) {
    return U_getsur(s, z.n, z.m, z.p, z.q, z.r, z.s, ws);
  }
  static int16_t check(SURFACE *s, const Size &z, const char *tag, STACKS *ws) {
    return U_surchk(s, z.n, z.m, z.p, z.q, z.r, z.s, tag, ws);
  }
  static void kill(SURFACE *s, STACKS *ws) { U_kilsur(s, ws); }
  static Counts counts(const SURFACE *s) {
    return Counts{s->net->n, s->net->m, s->knu->m, s->knv->m};
  }
  static void restore(SURFACE *s, const Counts &k) {
    s->net->n = k.n;
    s->net->m = k.m;
    s->knu->m = k.r;
    s->knv->m = k.s;
  }
};

// The output of one refinement tool. prepare() sizes it; rec() is the
// record to write the result into; commit() makes the result the output.
// Without commit() (a later step failed) the destructor undoes prepare():
// the output record gets back its fields and counts and every block
// prepare() recorded is released.
//
// In place (output record == input record) the result is written into a
// fresh record allocated from ws_in while the input's arrays are read;
// commit() installs the fresh parts in the record and releases the old
// ones from ws_in.
template <class Rec>
class Output {
  using Traits = RecordTraits<Rec>;

 public:
  Output(const Rec *in, Rec *out, STACKS *ws_in, STACKS *ws_out, const char *tag)
      : out_(out), ws_in_(ws_in), ws_out_(ws_out), tag_(tag), in_place_(in == out) {}
  ~Output() {
    if (prepared_ && !committed_) undo();
  }
  Output(const Output &) = delete;
  Output &operator=(const Output &) = delete;

  bool in_place() const { return in_place_; }

  int16_t prepare(const typename Traits::Size &z) {
    if (!out_ || !(in_place_ ? ws_in_ : ws_out_)) return fail(kErrInconsistent, tag_);
    if (in_place_) {
      mark_.set(ws_in_);
      Traits::init(&fresh_);
      prepared_ = true;
      if (Traits::alloc(&fresh_, z, ws_in_)) return 1;
      return 0;
    }
    saved_ = *out_;
    was_empty_ = Traits::empty(out_);
    if (!was_empty_) counts_ = Traits::counts(out_);
    mark_.set(ws_out_);
    prepared_ = true;
    return Traits::check(out_, z, tag_, ws_out_);
  }

  Rec *rec() { return in_place_ ? &fresh_ : out_; }

  void commit() {
    if (in_place_) {
      Rec old = *out_;
      *out_ = fresh_;
      Traits::kill(&old, ws_in_);
    }
    committed_ = true;
  }

 private:
  void undo() {
    if (!in_place_) {
      if (!was_empty_) Traits::restore(out_, counts_);
      *out_ = saved_;
    }
    mark_.rollback();
  }

  Rec *out_;
  STACKS *ws_in_, *ws_out_;
  const char *tag_;
  bool in_place_;
  bool prepared_ = false, committed_ = false, was_empty_ = true;
  Rec fresh_{};
  Rec saved_{};
  typename Traits::Counts counts_{};
  WorkspaceMark mark_;
};

// ---- Lines of control points ------------------------------------------------
// One line of a curve's polygon or of a surface's net: point i of the line.
struct Line {
  CPOINT *poly;
  CPOINT *const *net;
  bool along_u;
  int32_t index;
  CPOINT &operator()(int32_t i) const {
    if (poly) return poly[i];
    return along_u ? net[i][index] : net[index][i];
  }
};

// The lines of a record: one for a curve; for a surface net with dir 1 one
// line along u per column (count m+1), with dir 2 one along v per row
// (count n+1).
struct Lines {
  CPOINT *poly = nullptr;
  CPOINT *const *net = nullptr;
  bool along_u = true;
  int32_t count = 1;
  Line operator[](int32_t k) const { return Line{poly, net, along_u, k}; }
};

inline Lines curve_lines(CPOINT *Pw) {
  Lines L;
  L.poly = Pw;
  return L;
}

inline Lines net_lines(CPOINT *const *Pw, int dir, int32_t n, int32_t m) {
  Lines L;
  L.net = Pw;
  L.along_u = dir == 1;
  L.count = dir == 1 ? m + 1 : n + 1;
  return L;
}

// The knot vector, degree and highest point index along the lines of a
// surface in direction dir.
struct SurfaceAxis {
  KNOTVECTOR *knt;
  int p;
  int32_t n;
};

inline SurfaceAxis surface_axis(const SURFACE *s, int dir) {
  return dir == 1 ? SurfaceAxis{s->knu, s->p, s->net->n} : SurfaceAxis{s->knv, s->q, s->net->m};
}

// ---- Knot sites -------------------------------------------------------------
// Span k (U[k] <= u < U[k+1]) and multiplicity s of u (the knots equal to
// u at and below k; p+1 at the end of the domain U[m-p]).
struct KnotSite {
  int32_t k;
  int32_t s;
};

// The site of u in U[0..m] for degree p; u must lie in the domain
// [U[p], U[m-p]] (error 6 under tag otherwise).
int16_t locate(const KNOTVECTOR *knt, int p, double u, const char *tag, KnotSite &site);

// ---- Knot insertion ---------------------------------------------------------
// Inserting u r times at a site of multiplicity at.s must leave it at most
// p (error 6 otherwise); compared without forming at.s + r, which a huge r
// would overflow.
inline int16_t check_insertion_count(int32_t r, const KnotSite &at, int p, const char *tag) {
  return (r >= 0 && r <= p - at.s) ? 0 : fail(kErrParameter, tag);
}

// Inserting u r times at site (k, s) of degree-p knots U: the blend ratio
// of pass j = 1..r and point i = 0..p-j-s is alpha(j, i).
struct Insertion {
  const double *U;
  int p;
  KnotSite at;
  int32_t r;
  double u;
  double *ratios;  // r rows of p+1
  double alpha(int32_t j, int32_t i) const { return ratios[(j - 1) * (p + 1) + i]; }
};

// Computes the ratios into ws (false on allocation failure).
bool plan_insertion(const double *U, int p, KnotSite at, int32_t r, double u, STACKS *ws,
                    Insertion &ins);

// Scratch for one line: p+1 control points.
inline CPOINT *line_scratch(int p, STACKS *ws) { return S_getc1d(p, ws); }

// The n+r+1 points of one line of highest index n after the insertion.
void insert_line(const Insertion &ins, int32_t n, const Line &P, const Line &Q, CPOINT *R);

// The m+r+1 knots after the insertion.
void insert_knots(const Insertion &ins, int32_t m, double *UQ);

// The two halves of one line cut at u (inserted p-s times), with highest
// indices k-s (left) and n-k+p (right); they share the point at u.
void split_line(const Insertion &ins, int32_t n, const Line &P, const Line &left, const Line &right,
                CPOINT *R);

// Knots of the two halves: U[0..k-s] then u p+1 times; u p+1 times then
// U[k+1..m].
void split_knots(const Insertion &ins, int32_t m, double *UL, double *UR);

// ---- Segments ---------------------------------------------------------------
// The piece of a line over [lo, hi] (lo < hi, both within the domain):
// points P[k1-p .. k2-s2] after inserting lo at its left end p-s1 times and
// hi at its right end p-s2 times.
struct Segment {
  const double *U;
  int p;
  double lo, hi;
  KnotSite a, b;  // sites of lo and hi; b.k is the last index with U[k] <= hi
  int32_t nq;     // highest point index of the piece
  double *lo_ratios, *hi_ratios;
  int32_t size_lo() const { return a.s < p ? p - a.s : 0; }
  int32_t size_hi() const { return b.s < p ? p - b.s : 0; }
  double alpha_lo(int32_t j, int32_t i) const { return lo_ratios[(j - 1) * (p + 1) + i]; }
  double alpha_hi(int32_t j, int32_t i) const { return hi_ratios[(j - 1) * (p + 1) + i]; }
};

// Checks lo < hi (error 14) and that both lie in the domain (error 6),
// finds both sites and computes the ratios into ws.
int16_t plan_segment(const KNOTVECTOR *knt, int p, double lo, double hi, STACKS *ws,
                     const char *tag, Segment &seg);

// The nq+1 points of the piece of one line into Q.
void segment_line(const Segment &seg, const Line &P, const Line &Q);

// Its knots: lo p+1 times, the knots strictly between lo and hi, hi p+1
// times (nq+p+2 knots).
void segment_knots(const Segment &seg, double *UQ);

// The piece of a checked curve over [u_lo, u_hi], or of a checked surface
// over [u_lo, u_hi] x [v_lo, v_hi], into out (in place when out is the
// input) by the conventions above; errors under tag.
int16_t segment_curve(CURVE *c, double u_lo, double u_hi, CURVE *out, STACKS *ws_in, STACKS *ws_out,
                      const char *tag);
int16_t segment_surface(SURFACE *s, double u_lo, double u_hi, double v_lo, double v_hi,
                        SURFACE *out, STACKS *ws_in, STACKS *ws_out, const char *tag);

// ---- Segment sweeps of the degree changes -----------------------------------
// Degree elevation and reduction walk a knot vector one Bezier segment at a
// time: each segment is cut out of every line by knot insertion, changed,
// and written out.

// A knot ratio num / den of the sweeps: false (no blend) for a zero
// denominator or a non-finite quotient (coincident or non-finite knots).
inline bool knot_ratio(double num, double den, double &q) {
  q = num / den;
  return den != 0.0 && std::isfinite(q);
}

// The current segment of every line and the points a cut leaves for the
// next one (p+1 each per line), with the cut's ratios.
struct SegmentSweep {
  int p = 0;
  int32_t lines = 0;
  CPOINT *bpts = nullptr, *next = nullptr;
  double *alphas = nullptr;
  CPOINT *bez(int32_t l) const { return bpts + static_cast<int64_t>(l) * (p + 1); }
  CPOINT *nxt(int32_t l) const { return next + static_cast<int64_t>(l) * (p + 1); }

  // Allocates the segments in ws (false on failure).
  bool make(int degree, int32_t count, STACKS *ws);
  // The first segment of every line of P; Q's lines start with P's first
  // points.
  void start(const Lines &P, const Lines &Q);
  // Cuts [U[a], U[b]] out of every segment by inserting U[b] r times (U[b]
  // has multiplicity mult); false on a refused ratio.
  bool cut(const double *U, int32_t a, int32_t b, int32_t mult, int32_t r);
  // The next segment: the cut's leftovers, then the points b-p+r .. b of P.
  void advance(const Lines &P, int32_t r, int32_t b);
};

// Points lo..hi of every line's changed segment seg(l) written to the lines
// Q from index at on.
template <class Seg>
void write_segments(const Lines &Q, int32_t lines, Seg seg, int32_t lo, int32_t hi, int32_t at) {
  for (int32_t l = 0; l < lines; ++l) {
    const Line q = Q[l];
    const CPOINT *e = seg(l);
    for (int32_t j = lo; j <= hi; ++j) q(at + j - lo) = e[j];
  }
}

}  // namespace orvo::detail
