// Reading an IGES file: the sections are split (iges_sections.cpp), then
// every directory entry is converted through the library's entity routines,
// the transformation matrices (and their chains) applied, and the trimmed
// surfaces given their loops in the parameter plane (iges_trim.cpp).
#include <algorithm>
#include <array>
#include <cmath>
#include <fstream>
#include <iterator>
#include <sstream>

#include "lib/iges_file.hpp"
#include "lib/iges_parse.hpp"
#include "lib/iges_trim.hpp"

namespace orvo::tools {

namespace {

using iges::Entry;
using iges::Malformed;
using iges::Sections;

// An entity that cannot be converted: the reason, listed, never fatal.
struct Skip {
  std::string why;
};

// The library refused: its error spelled out.
[[noreturn]] void refused() { throw Skip{library_error()}; }

void check(int16_t status) {
  if (status != 0) refused();
}

// A 3x4 affine matrix, rows (R | T).
using Affine = std::array<double, 12>;

Affine compose(const Affine &outer, const Affine &inner) {
  Affine r{};
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 4; ++j) {
      double s = j == 3 ? outer[4 * i + 3] : 0.0;
      for (int k = 0; k < 3; ++k) s += outer[4 * i + k] * inner[4 * k + j];
      r[4 * i + j] = s;
    }
  }
  return r;
}

bool is_curve_type(int t) {
  return t == 100 || t == 102 || t == 104 || t == 106 || t == 110 || t == 112 || t == 126;
}
bool is_surface_type(int t) {
  return t == 108 || t == 114 || t == 118 || t == 120 || t == 122 || t == 128;
}

// Box of the Euclidean control points of the curves, or false.
bool curves_box(const std::vector<const CURVE *> &curves, BOX &box) {
  bool any = false;
  for (const CURVE *c : curves) {
    BOX b;
    if (N_curbox(c, &b) != 0) {
      E_clrerr();
      return false;
    }
    if (!any) {
      box = b;
    } else {
      box.xmin = std::min(box.xmin, b.xmin), box.xmax = std::max(box.xmax, b.xmax);
      box.ymin = std::min(box.ymin, b.ymin), box.ymax = std::max(box.ymax, b.ymax);
      box.zmin = std::min(box.zmin, b.zmin), box.zmax = std::max(box.zmax, b.zmax);
    }
    any = true;
  }
  return any;
}

class Converter {
 public:
  Converter(const Sections &s, const IgesReadOptions &o, IgesModel &m)
      : s_(s), options_(o), model_(m), ws_(m.store.ws()), slots_(s.entries.size()) {}

  void run() {
    mark_references();
    for (size_t k = 0; k < slots_.size(); ++k) convert(static_cast<int>(k));
    for (size_t k = 0; k < slots_.size(); ++k) list(static_cast<int>(k));
  }

 private:
  enum class State { kTodo, kBusy, kDone, kFailed };
  struct Slot {
    State state = State::kTodo;
    CURVE *curve = nullptr;
    SURFACE *surface = nullptr;
    int trimmed = -1;
    bool matrix_done = false, matrix_busy = false;
    Affine matrix{};
    std::string why;   // for kFailed
    int used_by = -1;  // DE number of a converted entity that points here
  };

  const Entry &entry(int k) const { return s_.entries[static_cast<size_t>(k)]; }
  int pointer(const Entry &e, size_t i) const { return iges::pointer_field(s_, e, i); }
  static double real(const Entry &e, size_t i) { return iges::real_field(e, i); }
  static long integer(const Entry &e, size_t i) { return iges::integer_field(e, i); }
  static std::string de(int k) { return "D" + std::to_string(2 * k + 1); }

  // The pointer fields of the entities this reader converts: which
  // entries are parts of others (and so not listed on their own).
  void mark_references() {
    for (size_t k = 0; k < slots_.size(); ++k) {
      const Entry &e = entry(static_cast<int>(k));
      std::vector<size_t> fields;
      switch (e.type) {
        case 102: {
          const long n = count(e, 1, 2);
          for (long i = 0; i < n; ++i) fields.push_back(2 + static_cast<size_t>(i));
          break;
        }
        case 108:
          if (e.form != 0) fields = {5};
          break;
        case 118:
        case 120:
          fields = {1, 2};
          break;
        case 122:
          fields = {1};
          break;
        case 142:
          fields = {2, 3, 4};
          break;
        case 144: {
          const long n = count(e, 3, 5);
          fields = {1, 4};
          for (long i = 0; i < n; ++i) fields.push_back(5 + static_cast<size_t>(i));
          break;
        }
        default:
          break;
      }
      for (size_t f : fields) {
        const int target = pointer(e, f);
        if (target >= 0 && slots_[static_cast<size_t>(target)].used_by < 0)
          slots_[static_cast<size_t>(target)].used_by = e.de;
      }
    }
  }

  // A count field i, non-negative, with the data holding `after` more
  // fields per unit behind it (checked by need_fields).
  static long count(const Entry &e, size_t i, size_t first) {
    const long n = integer(e, i);
    if (n < 0)
      throw Malformed(iges::field_line(e, i) + ": negative count " + std::to_string(n) +
                      " in entity " + std::to_string(e.type) + " (D" + std::to_string(e.de) + ")");
    iges::need_fields(e, first + static_cast<size_t>(n));
    return n;
  }

  void convert(int k) {
    const Entry &e = entry(k);
    Slot &slot = slots_[static_cast<size_t>(k)];
    try {
      if (e.type == 124) {
        matrix(k);
      } else if (is_curve_type(e.type)) {
        curve(k);
      } else if (e.type == 108 && e.form == 0 && slot.used_by > 0) {
        slot.state = State::kDone;  // unbounded: sized by each trimmed surface using it
      } else if (is_surface_type(e.type)) {
        surface(k, nullptr);
      } else if (e.type == 144) {
        trimmed(k);
      }
    } catch (const Skip &skip) {
      if (slot.state != State::kFailed) slot.why = skip.why;
      slot.state = State::kFailed;
    }
  }

  void list(int k) {
    const Entry &e = entry(k);
    Slot &slot = slots_[static_cast<size_t>(k)];
    IgesEntity out;
    out.type = e.type;
    out.form = e.form;
    out.de = e.de;
    out.label = e.label;
    const std::string used =
        slot.used_by > 0 ? ", used by D" + std::to_string(slot.used_by) : ", dependent";
    const bool listed = slot.used_by < 0 && (e.subordinate == 0 || e.type == 144);
    if (slot.state == State::kFailed) {
      out.result = "skipped: " + slot.why;
    } else if (e.type == 124) {
      out.result = "transformation";
    } else if (e.type == 108 && !slot.surface && slot.used_by > 0) {
      out.result = "surface" + used;
    } else if (e.type == 142) {
      out.result = slot.used_by > 0 ? "curve on surface" + used
                                    : "skipped: curve on surface without a trimmed surface";
    } else if (slot.curve) {
      out.result = "curve";
      if (listed) {
        out.curve = static_cast<int>(model_.curves.size());
        model_.curves.push_back(slot.curve);
      } else {
        out.result += used;
      }
    } else if (slot.surface) {
      out.result = "surface";
      if (listed) {
        out.surface = static_cast<int>(model_.surfaces.size());
        model_.surfaces.push_back(slot.surface);
      } else {
        out.result += used;
      }
    } else if (slot.trimmed >= 0) {
      out.result = "trimmed surface";
      out.trimmed = slot.trimmed;
    } else {
      out.result = std::string("skipped: ") + iges_entity_name(e.type) + " (type " +
                   std::to_string(e.type) + ") is not converted";
    }
    model_.entities.push_back(std::move(out));
  }

  // Bounds the nesting of entities inside entities (composites of
  // composites, chains of transformations), which the conversion follows
  // by recursion.
  class Nesting {
   public:
    explicit Nesting(int &depth) : depth_(depth) {
      if (++depth_ > kMaxNesting) {
        --depth_;
        throw Skip{"entities nested more than " + std::to_string(kMaxNesting) + " deep"};
      }
    }
    ~Nesting() { --depth_; }
    Nesting(const Nesting &) = delete;
    Nesting &operator=(const Nesting &) = delete;

   private:
    int &depth_;
  };
  static constexpr int kMaxNesting = 64;

  // Guards a recursive conversion of entry k against cycles; false when
  // it is already done (or failed: the reason thrown again).
  bool begin(int k) {
    Slot &slot = slots_[static_cast<size_t>(k)];
    if (slot.state == State::kDone) return false;
    if (slot.state == State::kFailed) throw Skip{slot.why};
    if (slot.state == State::kBusy) throw Skip{"entity " + de(k) + " refers to itself"};
    slot.state = State::kBusy;
    return true;
  }

  // Runs make() for entry k as part of a bigger entity: its failure is
  // recorded for k and thrown with k's name for the caller.
  template <class Make>
  void part(int k, Make make) {
    Slot &slot = slots_[static_cast<size_t>(k)];
    try {
      const Nesting nest(depth_);
      make();
      slot.state = State::kDone;
    } catch (const Skip &skip) {
      slot.state = State::kFailed;
      slot.why = skip.why;
      throw Skip{de(k) + ": " + skip.why};
    }
  }

  // ---- transformations ----------------------------------------------------

  // The matrix of entity 124 at k composed with the chain it points to.
  const Affine &matrix(int k) {
    Slot &slot = slots_[static_cast<size_t>(k)];
    const Entry &e = entry(k);
    if (slot.matrix_done) return slot.matrix;
    if (e.type != 124)
      throw Skip{"transformation pointer to " + de(k) + ", a type " + std::to_string(e.type) +
                 " entity"};
    if (slot.state == State::kFailed) throw Skip{slot.why};
    if (slot.matrix_busy) throw Skip{"transformation " + de(k) + " refers to itself"};
    slot.matrix_busy = true;
    try {
      const Nesting nest(depth_);
      Affine own{};
      for (size_t i = 0; i < 12; ++i) own[i] = real(e, 1 + i);
      // Check the matrix as the library takes it.
      Store tmp;
      RMATRIX M{-1, -1, nullptr, ORVO_FULL, 0};
      const double R[9] = {own[0], own[1], own[2], own[4], own[5], own[6], own[8], own[9], own[10]};
      check(N_igs124(R, own[3], own[7], own[11], &M, tmp.ws()));
      slot.matrix = e.transform ? compose(matrix((e.transform - 1) / 2), own) : own;
    } catch (const Skip &skip) {
      slot.state = State::kFailed;
      slot.why = skip.why;
      throw;
    }
    slot.matrix_busy = false;
    slot.matrix_done = true;
    slot.state = State::kDone;
    return slot.matrix;
  }

  // Applies the transformation of entry k (if any) to a record of k.
  template <class Record, class Apply>
  void place(int k, Record *rec, Apply apply) {
    const Entry &e = entry(k);
    if (!e.transform) return;
    const Affine T = matrix((e.transform - 1) / 2);
    const double R[9] = {T[0], T[1], T[2], T[4], T[5], T[6], T[8], T[9], T[10]};
    Store tmp;
    RMATRIX M{-1, -1, nullptr, ORVO_FULL, 0};
    check(N_igs124(R, T[3], T[7], T[11], &M, tmp.ws()));
    E_clrerr();
    apply(rec, &M);
    const char *routine = " ";
    int32_t code = 0;
    E_GetOrvoError(&routine, &code);
    if (code != 0) refused();
  }

  CURVE *new_curve() {
    CURVE *c = S_getcus(ws_);
    if (!c) refused();
    return c;
  }
  SURFACE *new_surface() {
    SURFACE *s = S_getsus(ws_);
    if (!s) refused();
    return s;
  }

  // ---- curves -------------------------------------------------------------

  CURVE *curve(int k) {
    const Entry &e = entry(k);
    Slot &slot = slots_[static_cast<size_t>(k)];
    if (!is_curve_type(e.type))
      throw Skip{de(k) + " is a type " + std::to_string(e.type) + " entity, not a curve"};
    if (!begin(k)) return slot.curve;
    part(k, [&] {
      CURVE *c = make_curve(e);
      place(k, c, N_curtra);
      slot.curve = c;
    });
    return slot.curve;
  }

  CURVE *make_curve(const Entry &e) {
    CURVE *c = new_curve();
    switch (e.type) {
      case 100: {
        iges::need_fields(e, 8);
        double v[7];
        double scale = 1.0;
        for (size_t i = 0; i < 7; ++i) scale = std::max(scale, std::fabs(v[i] = real(e, 1 + i)));
        check(N_igs100(v[0], v[1], v[2], v[3], v[4], v[5], v[6], 2, 1e-9 * scale, c, ws_));
        break;
      }
      case 102: {
        const long n = count(e, 1, 2);
        if (n < 1) throw Skip{"composite curve without members"};
        Store tmp;
        std::vector<CURVE> members(static_cast<size_t>(n));
        for (long i = 0; i < n; ++i) {
          const int m = pointer(e, 2 + static_cast<size_t>(i));
          if (m < 0) throw Skip{"composite curve with a null member"};
          const CURVE *src = curve(m);
          U_inicur(&members[static_cast<size_t>(i)]);
          check(U_curcop(src, &members[static_cast<size_t>(i)], tmp.ws()));
        }
        check(N_igs102(static_cast<int32_t>(n - 1), members.data(), 6, 0.0, c, tmp.ws(), ws_));
        break;
      }
      case 104: {
        iges::need_fields(e, 12);
        double v[11];
        for (size_t i = 0; i < 11; ++i) v[i] = real(e, 1 + i);
        check(
            N_igs104(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[10], 2, c, ws_));
        break;
      }
      case 106: {
        if (!(e.form >= 1 && e.form <= 3) && !(e.form >= 11 && e.form <= 13) && e.form != 63)
          throw Skip{"copious data of form " + std::to_string(e.form) + " is not a curve"};
        const long ip = integer(e, 1);
        const size_t stride = ip == 1 ? 2 : ip == 2 ? 3 : ip == 3 ? 6 : 0;
        if (!stride) throw Skip{"copious data with IP " + std::to_string(ip)};
        const size_t first = ip == 1 ? 4 : 3;
        const long n = integer(e, 2);
        if (n < 2) throw Skip{"copious data with fewer than two points"};
        iges::need_fields(e, first + stride * static_cast<size_t>(n));
        std::vector<POINT> pts(static_cast<size_t>(n));
        const double zt = ip == 1 ? real(e, 3) : 0.0;
        for (size_t i = 0; i < pts.size(); ++i) {
          const size_t f = first + stride * i;
          pts[i] = POINT{real(e, f), real(e, f + 1), ip == 1 ? zt : real(e, f + 2)};
        }
        check(N_igs106(pts.data(), static_cast<int32_t>(n - 1), 0, c, ws_));
        break;
      }
      case 110: {
        iges::need_fields(e, 7);
        check(N_igs110(POINT{real(e, 1), real(e, 2), real(e, 3)},
                       POINT{real(e, 4), real(e, 5), real(e, 6)}, c, ws_));
        break;
      }
      case 112: {
        const long n = integer(e, 4);
        if (n < 1) throw Skip{"parametric spline with no segment"};
        const size_t N = static_cast<size_t>(n);
        iges::need_fields(e, 5 + (N + 1) + 12 * N);
        std::vector<double> T(N + 1), a(12 * N);
        std::vector<double *> coords(3 * N);
        std::vector<double *const *> segs(N);
        for (size_t i = 0; i <= N; ++i) T[i] = real(e, 5 + i);
        for (size_t i = 0; i < 12 * N; ++i) a[i] = real(e, 6 + N + i);
        for (size_t i = 0; i < N; ++i) {
          for (size_t c3 = 0; c3 < 3; ++c3) coords[3 * i + c3] = &a[12 * i + 4 * c3];
          segs[i] = &coords[3 * i];
        }
        check(N_igs112(static_cast<int32_t>(n), T.data(), segs.data(), c, ws_));
        break;
      }
      case 126: {
        iges::need_fields(e, 7);
        const long K = integer(e, 1), M = integer(e, 2);
        if (K < 0 || M < 1 || M > MAXDEGREE)
          throw Skip{"rational B-spline curve with K = " + std::to_string(K) + ", degree " +
                     std::to_string(M)};
        const size_t nk = static_cast<size_t>(K + M + 2), np = static_cast<size_t>(K + 1);
        iges::need_fields(e, 7 + nk + 4 * np + 2);
        std::vector<double> T(nk), W(np);
        std::vector<POINT> P(np);
        size_t f = 7;
        for (double &t : T) t = real(e, f++);
        for (double &w : W) w = real(e, f++);
        for (POINT &p : P) p = POINT{real(e, f), real(e, f + 1), real(e, f + 2)}, f += 3;
        const double V[2] = {real(e, f), real(e, f + 1)};
        check(N_igs126(static_cast<int32_t>(K), static_cast<int16_t>(M), T.data(), W.data(),
                       P.data(), V, c, ws_));
        break;
      }
      default:
        throw Skip{"not a curve"};
    }
    return c;
  }

  // ---- surfaces -----------------------------------------------------------

  // The surface of entry k; a plane (108) is sized to cover, when given,
  // or else to its own bounding curve or display size.
  SURFACE *surface(int k, const BOX *cover) {
    const Entry &e = entry(k);
    Slot &slot = slots_[static_cast<size_t>(k)];
    if (!is_surface_type(e.type))
      throw Skip{de(k) + " is a type " + std::to_string(e.type) + " entity, not a surface"};
    if (cover && e.type == 108) {
      // A plane sized for one trimmed surface: its own record each time.
      SURFACE *s = new_surface();
      try {
        plane(e, *cover, s);
        place(k, s, N_surtra);
      } catch (const Skip &skip) {
        throw Skip{de(k) + ": " + skip.why};
      }
      return s;
    }
    if (!begin(k)) return slot.surface;
    part(k, [&] {
      SURFACE *s = make_surface(e);
      place(k, s, N_surtra);
      slot.surface = s;
    });
    return slot.surface;
  }

  void plane(const Entry &e, const BOX &box, SURFACE *s) {
    iges::need_fields(e, 5);
    check(N_igs108(real(e, 1), real(e, 2), real(e, 3), real(e, 4), box, s, ws_));
  }

  SURFACE *make_surface(const Entry &e) {
    SURFACE *s = new_surface();
    switch (e.type) {
      case 108: {
        iges::need_fields(e, 5);
        BOX box{};
        const int bound = e.form != 0 ? pointer(e, 5) : -1;
        if (bound >= 0) {
          if (!curves_box({curve(bound)}, box)) refused();
        } else {
          const double size = real(e, 9);
          if (!(size > 0.0)) throw Skip{"unbounded plane outside a trimmed surface"};
          const double x = real(e, 6), y = real(e, 7), z = real(e, 8), h = size / 2;
          box = BOX{x - h, x + h, y - h, y + h, z - h, z + h};
        }
        plane(e, box, s);
        break;
      }
      case 114: {
        const long m = integer(e, 3), n = integer(e, 4);
        if (m < 1 || n < 1) throw Skip{"parametric spline surface without patches"};
        const size_t M = static_cast<size_t>(m), N = static_cast<size_t>(n);
        const size_t first = 5 + (M + 1) + (N + 1);
        iges::need_fields(e, first + 48 * M * N);
        // Writers give the patches row by row, j fastest, often with an
        // extra (unused) patch closing each row and the last row.
        const size_t stride = e.fields.size() >= first + 48 * (M + 1) * (N + 1) ? N + 1 : N;
        std::vector<double> TU(M + 1), TV(N + 1), a(48 * M * N);
        for (size_t i = 0; i <= M; ++i) TU[i] = real(e, 5 + i);
        for (size_t j = 0; j <= N; ++j) TV[j] = real(e, 6 + M + j);
        std::vector<double *> cells(M * N);
        std::vector<double *const *> rows(M);
        for (size_t i = 0; i < M; ++i) {
          for (size_t j = 0; j < N; ++j) {
            const size_t f = first + 48 * (i * stride + j);
            for (size_t c = 0; c < 48; ++c) a[48 * (i * N + j) + c] = real(e, f + c);
            cells[i * N + j] = &a[48 * (i * N + j)];
          }
          rows[i] = &cells[i * N];
        }
        check(N_igs114(static_cast<int32_t>(m), static_cast<int32_t>(n), TU.data(), TV.data(),
                       rows.data(), s, ws_));
        break;
      }
      case 118: {
        iges::need_fields(e, 3);
        const int a = pointer(e, 1), b = pointer(e, 2);
        if (a < 0 || b < 0) throw Skip{"ruled surface without its two curves"};
        const CURVE *c1 = curve(a);
        CURVE *c2 = curve(b);
        if (integer(e, 3) == 1) {
          CURVE *r = new_curve();
          check(N_currev(c2, r, ws_));
          c2 = r;
        }
        check(N_igs118(c1, c2, s, ws_));
        break;
      }
      case 120: {
        iges::need_fields(e, 5);
        const int axis = pointer(e, 1), gen = pointer(e, 2);
        if (axis < 0 || gen < 0) throw Skip{"surface of revolution without axis or generatrix"};
        const CURVE *line = curve(axis);
        double a = 0.0, b = 0.0;
        POINT L1, L2;
        U_curpar(line, &a, &b);
        check(N_curevn(line, a, 1, &L1));
        check(N_curevn(line, b, 2, &L2));
        constexpr double kDegrees = 180.0 / 3.14159265358979323846;
        check(N_igs120(L1, L2, curve(gen), real(e, 3) * kDegrees, real(e, 4) * kDegrees, s, ws_));
        break;
      }
      case 122: {
        iges::need_fields(e, 5);
        const int dir = pointer(e, 1);
        if (dir < 0) throw Skip{"tabulated cylinder without directrix"};
        check(N_igs122(curve(dir), POINT{real(e, 2), real(e, 3), real(e, 4)}, s, ws_));
        break;
      }
      case 128: {
        iges::need_fields(e, 10);
        const long K1 = integer(e, 1), K2 = integer(e, 2), M1 = integer(e, 3), M2 = integer(e, 4);
        if (K1 < 0 || K2 < 0 || M1 < 1 || M2 < 1 || M1 > MAXDEGREE || M2 > MAXDEGREE)
          throw Skip{"rational B-spline surface with K1 = " + std::to_string(K1) +
                     ", K2 = " + std::to_string(K2) + ", degrees " + std::to_string(M1) + ", " +
                     std::to_string(M2)};
        const size_t n1 = static_cast<size_t>(K1 + 1), n2 = static_cast<size_t>(K2 + 1);
        const size_t ns = static_cast<size_t>(K1 + M1 + 2), nt = static_cast<size_t>(K2 + M2 + 2);
        if (n1 * n2 > (size_t{1} << 26)) throw Skip{"surface net too large"};
        iges::need_fields(e, 10 + ns + nt + 4 * n1 * n2 + 4);
        std::vector<double> S(ns), T(nt), W(n1 * n2);
        std::vector<POINT> P(n1 * n2);
        std::vector<double *> wrows(n1);
        std::vector<POINT *> prows(n1);
        size_t f = 10;
        for (double &x : S) x = real(e, f++);
        for (double &x : T) x = real(e, f++);
        // The entity lists weights and points with the u index fastest.
        for (size_t j = 0; j < n2; ++j)
          for (size_t i = 0; i < n1; ++i) W[i * n2 + j] = real(e, f++);
        for (size_t j = 0; j < n2; ++j)
          for (size_t i = 0; i < n1; ++i, f += 3)
            P[i * n2 + j] = POINT{real(e, f), real(e, f + 1), real(e, f + 2)};
        for (size_t i = 0; i < n1; ++i) wrows[i] = &W[i * n2], prows[i] = &P[i * n2];
        const double U[2] = {real(e, f), real(e, f + 1)}, V[2] = {real(e, f + 2), real(e, f + 3)};
        check(N_igs128(static_cast<int32_t>(K1), static_cast<int32_t>(K2), static_cast<int16_t>(M1),
                       static_cast<int16_t>(M2), S.data(), T.data(), wrows.data(), prows.data(), U,
                       V, s, ws_));
        break;
      }
      default:
        throw Skip{"not a surface"};
    }
    return s;
  }

  // ---- trimmed surfaces ---------------------------------------------------

  // The curve of a 142 at k that the loop is made from, in model space
  // (CPTR), or null.
  const CURVE *model_curve(int k) {
    const Entry &e = entry(k);
    if (e.type != 142)
      throw Skip{"boundary " + de(k) + " is a type " + std::to_string(e.type) +
                 " entity, not a curve on surface (142)"};
    iges::need_fields(e, 5);
    const int c = pointer(e, 4);
    return c >= 0 ? curve(c) : nullptr;
  }

  // One loop of the trimmed surface in sur's parameter plane: the 142's
  // parameter-space curve when the conversion kept the surface's own
  // parameterisation (entity 128) or nothing else is given, else its
  // model-space curve mapped by point inversion.
  // An outer loop that is the whole domain's boundary is left empty.
  std::vector<CURVE *> loop(int k, const SURFACE *sur, bool own_parameters, double chord,
                            bool outer) {
    const Entry &e = entry(k);
    model_curve(k);  // checks the type
    std::vector<CURVE *> out;
    part(k, [&] {
      const int bptr = pointer(e, 3), cptr = pointer(e, 4);
      if (bptr >= 0 && (own_parameters || cptr < 0)) {
        CURVE *c = new_curve();
        check(U_curcop(curve(bptr), c, ws_));
        if (U_iscur3(c)) U_cur3t2(c);
        out.push_back(c);
      } else if (cptr >= 0) {
        CURVE *c = new_curve();
        std::string why;
        bool whole = false;
        if (!iges::invert_loop(sur, curve(cptr), chord, c, ws_, samples_, why,
                               outer ? &whole : nullptr))
          throw Skip{why};
        if (!whole) out.push_back(c);
      } else {
        throw Skip{"curve on surface without a curve"};
      }
    });
    return out;
  }

  void trimmed(int k) {
    const Entry &e = entry(k);
    Slot &slot = slots_[static_cast<size_t>(k)];
    if (!begin(k)) return;
    part(k, [&] {
      const long holes = count(e, 3, 5);
      const int pts = pointer(e, 1);
      if (pts < 0) throw Skip{"trimmed surface without a surface"};
      const int outer = integer(e, 2) != 0 ? pointer(e, 4) : -1;
      std::vector<int> inner;
      for (long i = 0; i < holes; ++i) {
        const int h = pointer(e, 5 + static_cast<size_t>(i));
        if (h >= 0) inner.push_back(h);
      }
      const Entry &base = entry(pts);
      SURFACE *sur = nullptr;
      if (base.type == 108 && outer >= 0) {
        // Cover the plane with the box of its outer boundary.
        const CURVE *c = model_curve(outer);
        BOX box;
        if (!c || !curves_box({c}, box))
          throw Skip{"plane whose outer boundary has no model-space curve"};
        sur = surface(pts, &box);
      } else {
        sur = surface(pts, nullptr);
      }
      BOX sbox;
      check(N_surbox(sur, &sbox));
      const double size =
          std::hypot(sbox.xmax - sbox.xmin, sbox.ymax - sbox.ymin, sbox.zmax - sbox.zmin);
      const double chord = options_.chord * size;
      TrimmedSurface t;
      t.surface = sur;
      const bool own = base.type == 128;
      t.loops.push_back(outer >= 0 ? loop(outer, sur, own, chord, true) : std::vector<CURVE *>{});
      for (int h : inner) t.loops.push_back(loop(h, sur, own, chord, false));
      if (e.transform) {
        SURFACE *placed = new_surface();
        check(U_surcop(sur, placed, ws_));
        place(k, placed, N_surtra);
        t.surface = placed;
      }
      slot.trimmed = static_cast<int>(model_.trimmed.size());
      model_.trimmed.push_back(std::move(t));
    });
  }

  const Sections &s_;
  const IgesReadOptions &options_;
  IgesModel &model_;
  STACKS *ws_;
  std::vector<Slot> slots_;
  int depth_ = 0;
  size_t samples_ = size_t{1} << 22;  // points all loop inversions may take
};

}  // namespace

const char *iges_entity_name(int type) {
  switch (type) {
    case 0:
      return "null entity";
    case 100:
      return "circular arc";
    case 102:
      return "composite curve";
    case 104:
      return "conic arc";
    case 106:
      return "copious data";
    case 108:
      return "plane";
    case 110:
      return "line";
    case 112:
      return "parametric spline curve";
    case 114:
      return "parametric spline surface";
    case 116:
      return "point";
    case 118:
      return "ruled surface";
    case 120:
      return "surface of revolution";
    case 122:
      return "tabulated cylinder";
    case 123:
      return "direction";
    case 124:
      return "transformation matrix";
    case 126:
      return "rational B-spline curve";
    case 128:
      return "rational B-spline surface";
    case 130:
      return "offset curve";
    case 140:
      return "offset surface";
    case 141:
      return "boundary";
    case 142:
      return "curve on a parametric surface";
    case 143:
      return "bounded surface";
    case 144:
      return "trimmed surface";
    case 186:
      return "manifold solid";
    case 308:
      return "subfigure definition";
    case 314:
      return "color definition";
    case 402:
      return "associativity";
    case 406:
      return "property";
    case 408:
      return "subfigure instance";
    case 502:
      return "vertex list";
    case 504:
      return "edge list";
    case 508:
      return "loop";
    case 510:
      return "face";
    case 514:
      return "shell";
    default:
      return "entity";
  }
}

bool read_iges(const std::string &path, const IgesReadOptions &options, IgesModel &model,
               std::string &error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = path + ": cannot be opened";
    return false;
  }
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  if (size < 0 || static_cast<unsigned long long>(size) > iges::kMaxFileBytes) {
    error = path + ": not a readable file of at most 256 MB";
    return false;
  }
  in.seekg(0, std::ios::beg);
  std::string bytes(static_cast<size_t>(size), '\0');
  if (!in.read(&bytes[0], size)) {
    error = path + ": cannot be read";
    return false;
  }
  if (!(options.chord > 0.0) || !(options.chord < 1.0)) {
    error = path + ": chord tolerance must lie in (0, 1)";
    return false;
  }
  try {
    Sections sections;
    iges::parse_sections(bytes, sections);
    if (!sections.global.empty() && sections.global[0].is_string)
      model.product = sections.global[0].text;
    Converter(sections, options, model).run();
  } catch (const Malformed &m) {
    error = path + ": " + m.what();
    return false;
  } catch (const std::bad_alloc &) {
    error = path + ": out of memory";
    return false;
  }
  E_clrerr();
  return true;
}

}  // namespace orvo::tools
