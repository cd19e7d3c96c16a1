// orvo edit FILE -o OUT [operations]: the refinement tools on a curve or
// surface, applied in the order the options are given. A split makes two
// pieces of every piece; the later operations apply to each, and several
// pieces are written as OUT_1, OUT_2, ...
#include <cmath>
#include <cstdio>
#include <map>

#include "common.hpp"

namespace orvo::cli {

namespace {

struct Piece {
  CURVE *cur = nullptr;
  SURFACE *sur = nullptr;
};

struct EditOptions {
  std::string file, out, dir = "u";
  std::map<const CLI::Option *, std::string> ops;  // option -> operation name
};

struct Editor {
  Geometry g;
  std::string file;
  std::vector<int16_t> dirs;  // 1 u, 2 v
  std::vector<Piece> pieces;
  std::string piece;  // " (piece K)" while there are several

  STACKS *ws() { return g.store.ws(); }
  void apply(const std::string &op, const std::string &value);
  void curve_op(const std::string &op, const std::string &value, CURVE *c, std::vector<Piece> &out);
  void surface_op(const std::string &op, const std::string &value, SURFACE *s,
                  std::vector<Piece> &out);
};

int32_t whole(double x, const std::string &option) {
  if (x != std::floor(x) || std::fabs(x) > 1e6)
    usage(option + ": '" + num(x) + "' is not a whole number");
  return static_cast<int32_t>(x);
}

// U[:R] of --insert.
std::pair<double, int32_t> knot_and_count(const std::string &value) {
  const std::vector<double> v = to_doubles(value, ':', "--insert");
  if (v.size() > 2) usage("--insert: give U or U:R, not '" + value + "'");
  return {v[0], v.size() == 2 ? whole(v[1], "--insert") : 1};
}

double tolerance(const std::string &value, const std::string &option) {
  const double tol = to_double(value, option);
  if (tol < 0) usage(option + ": the tolerance must not be negative");
  return tol;
}

void Editor::curve_op(const std::string &op, const std::string &value, CURVE *c,
                      std::vector<Piece> &out) {
  const std::string what = "cannot " + op + " " + value + piece;
  if (op == "insert") {
    const auto [u, r] = knot_and_count(value);
    check(N_toocki(c, u, r, c, ws(), ws()), file, what);
  } else if (op == "refine") {
    std::vector<double> x = to_doubles(value, ',', "--refine");
    KNOTVECTOR X{static_cast<int32_t>(x.size()) - 1, x.data()};
    check(N_toocrf(c, &X, c, ws(), ws()), file, what);
  } else if (op == "remove") {
    check(N_toocra(c, tolerance(value, "--remove"), c, ws()), file, what);
  } else if (op == "elevate") {
    check(N_toocde(c, whole(to_double(value, "--elevate"), "--elevate"), c, ws(), ws()), file,
          what);
  } else if (op == "reduce") {
    check(N_toocda(c, tolerance(value, "--reduce"), c, ws(), ws()), file, what);
  } else if (op == "split") {
    CURVE *left = g.new_curve(), *right = g.new_curve();
    check(N_toocsp(c, to_double(value, "--split"), left, right, ws()), file, what);
    out.push_back({left, nullptr});
    c = right;
  } else if (op == "segment") {
    const std::vector<double> ab = to_doubles(value, ':', "--segment");
    if (ab.size() != 2) usage("--segment: give A:B, not '" + value + "'");
    check(N_toocsg(c, ab[0], ab[1], c, ws(), ws()), file, what);
  } else {
    check(N_currev(c, c, ws()), file, what);
  }
  out.push_back({c, nullptr});
}

// Lowers one degree of a surface while the summed error stays within tol.
void reduce_one_direction(SURFACE *s, double tol, int16_t dir, STACKS *ws,
                          const std::string &file) {
  double spent = 0.0;
  for (;;) {
    int16_t reduced = 0;
    double err = 0.0;
    check(N_toosdr(s, tol - spent, dir, &reduced, s, &err, ws, ws), file,
          "cannot reduce the degree");
    if (!reduced) return;
    spent += err;
  }
}

void Editor::surface_op(const std::string &op, const std::string &value, SURFACE *s,
                        std::vector<Piece> &out) {
  const std::string what = "cannot " + op + " " + value + piece;
  const bool both = dirs.size() == 2;
  if (op == "remove") {
    check(N_toosra(s, tolerance(value, "--remove"), both ? 3 : dirs[0], s, ws()), file, what);
  } else if (op == "reduce" && both) {
    check(N_toosda(s, tolerance(value, "--reduce"), s, ws(), ws()), file, what);
  } else if (op == "segment") {
    std::vector<double> r = to_doubles(value, ':', "--segment");
    double u0, u1, v0, v1;
    surface_domain(s, u0, u1, v0, v1);
    if (r.size() == 2 && both)
      r = {r[0], r[1], r[0], r[1]};
    else if (r.size() == 2)
      r = dirs[0] == 1 ? std::vector<double>{r[0], r[1], v0, v1}
                       : std::vector<double>{u0, u1, r[0], r[1]};
    if (r.size() != 4) usage("--segment: give A:B or U0:U1:V0:V1, not '" + value + "'");
    check(N_toossg(s, r[0], r[1], r[2], r[3], s, ws(), ws()), file, what);
  } else if (op == "split") {
    std::vector<SURFACE *> parts{s};
    for (int16_t d : dirs) {
      std::vector<SURFACE *> next;
      for (SURFACE *part : parts) {
        SURFACE *first = g.new_surface(), *second = g.new_surface();
        check(N_toossp(part, to_double(value, "--split"), d, first, second, ws()), file, what);
        next.push_back(first);
        next.push_back(second);
      }
      parts = next;
    }
    for (SURFACE *part : parts) out.push_back({nullptr, part});
    return;
  } else {
    for (int16_t d : dirs) {
      if (op == "insert") {
        const auto [t, r] = knot_and_count(value);
        check(N_tooski(s, t, r, d, s, ws(), ws()), file, what);
      } else if (op == "refine") {
        std::vector<double> x = to_doubles(value, ',', "--refine");
        KNOTVECTOR X{static_cast<int32_t>(x.size()) - 1, x.data()};
        check(N_toosrf(s, &X, d, s, ws(), ws()), file, what);
      } else if (op == "elevate") {
        check(N_toosde(s, whole(to_double(value, "--elevate"), "--elevate"), d, s, ws(), ws()),
              file, what);
      } else if (op == "reduce") {
        reduce_one_direction(s, tolerance(value, "--reduce"), d, ws(), file);
      } else {
        check(N_surrev(s, d, s, ws()), file, what);
      }
    }
  }
  out.push_back({nullptr, s});
}

void Editor::apply(const std::string &op, const std::string &value) {
  std::vector<Piece> next;
  for (size_t k = 0; k < pieces.size(); ++k) {
    piece = pieces.size() > 1 ? " (piece " + std::to_string(k + 1) + ")" : "";
    if (pieces[k].cur)
      curve_op(op, value, pieces[k].cur, next);
    else
      surface_op(op, value, pieces[k].sur, next);
  }
  const std::string done = value.empty() ? op : op + " " + value;
  pieces = next;
  for (const Piece &piece : pieces) {
    if (piece.cur)
      std::printf("%s: degree %d, %ld control points\n", done.c_str(), piece.cur->p,
                  static_cast<long>(piece.cur->pol->n) + 1);
    else
      std::printf("%s: degrees %d, %d, %ld x %ld control points\n", done.c_str(), piece.sur->p,
                  piece.sur->q, static_cast<long>(piece.sur->net->n) + 1,
                  static_cast<long>(piece.sur->net->m) + 1);
  }
}

// OUT for one piece; stem_k.ext for piece k of several.
std::string piece_path(const std::string &out, size_t k, size_t count) {
  if (count == 1) return out;
  const auto dot = out.find_last_of('.');
  const auto slash = out.find_last_of('/');
  const bool ext = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  const std::string suffix = "_" + std::to_string(k + 1);
  return ext ? out.substr(0, dot) + suffix + out.substr(dot) : out + suffix;
}

void run_edit(const EditOptions &o, CLI::App *sub) {
  Editor e;
  e.file = o.file;
  const FileKind kind = kind_of(o.file);
  if (kind != FileKind::curve && kind != FileKind::surface)
    fail(o.file, "not a curve (.crv) or surface (.sur) file");
  load(o.file, e.g);
  e.pieces.push_back(kind == FileKind::curve ? Piece{e.g.curves[0], nullptr}
                                             : Piece{nullptr, e.g.surfaces[0]});
  e.dirs = o.dir == "u"   ? std::vector<int16_t>{1}
           : o.dir == "v" ? std::vector<int16_t>{2}
                          : std::vector<int16_t>{1, 2};
  std::map<const CLI::Option *, size_t> seen;
  for (const CLI::Option *opt : sub->parse_order()) {
    const auto op = o.ops.find(opt);
    if (op == o.ops.end()) continue;
    const size_t k = seen[opt]++;
    const std::string value = opt->get_expected_min() == 0 ? "" : opt->results().at(k);
    e.apply(op->second, value);
  }
  for (size_t k = 0; k < e.pieces.size(); ++k) {
    const std::string path = piece_path(o.out, k, e.pieces.size());
    if (e.pieces[k].cur)
      check(U_outcur(e.pieces[k].cur, path.c_str()), path, "cannot write the curve");
    else
      check(U_outsur(e.pieces[k].sur, path.c_str()), path, "cannot write the surface");
    std::printf("wrote %s\n", path.c_str());
  }
}

}  // namespace

Command add_edit(CLI::App &app) {
  auto o = std::make_shared<EditOptions>();
  CLI::App *sub = app.add_subcommand(
      "edit",
      "Refine, remove knots, change the degree, split, cut or reverse a curve or surface "
      "(operations in the order given)");
  sub->add_option("FILE", o->file, "the curve (.crv) or surface (.sur)")->required();
  sub->add_option("-o,--output", o->out, "the result (several pieces: OUT_1, OUT_2, ...)")
      ->required();
  sub->add_option("--dir", o->dir, "surface direction of the operations: u (default), v or both")
      ->check(CLI::IsMember({"u", "v", "both"}));
  static const struct {
    const char *name, *op, *type, *help;
  } table[] = {
      {"--insert", "insert", "U[:R]", "insert knot U, R times (U[:R], R default 1)"},
      {"--refine", "refine", "U,U,...", "insert the knots U,U,... in one pass"},
      {"--remove", "remove", "TOL", "remove every knot that can go within the tolerance TOL"},
      {"--elevate", "elevate", "T", "raise the degree by T"},
      {"--reduce", "reduce", "TOL", "lower the degree while the change stays within TOL"},
      {"--split", "split", "U", "split at U into two pieces"},
      {"--segment", "segment", "A:B",
       "keep the piece over A:B (surface: A:B along --dir, or U0:U1:V0:V1)"},
  };
  for (const auto &t : table) {
    CLI::Option *opt = sub->add_option(t.name)
                           ->description(t.help)
                           ->type_name(t.type)
                           ->expected(1)
                           ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    o->ops[opt] = t.op;
  }
  o->ops[sub->add_flag("--reverse", "reverse the parameter direction (both: u and v)")] = "reverse";
  return {sub, [o, sub] { run_edit(*o, sub); }};
}

}  // namespace orvo::cli
