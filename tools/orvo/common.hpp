// Pieces shared by the subcommands of the orvo command: the kinds of file
// it reads, loading them into records that live in one workspace, the two
// ways a command ends early (a failure, exit status 1, or a usage error,
// exit status 2), number parsing and printing.
#pragma once

#include <CLI/CLI.hpp>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "lib/iges_file.hpp"
#include "lib/store.hpp"

namespace orvo::cli {

// A failure the message explains: "<file>: <what>" (exit status 1).
struct Failure : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// A command line that parsed but asks for something impossible (exit 2).
struct Usage : std::runtime_error {
  using std::runtime_error::runtime_error;
};

[[noreturn]] void fail(const std::string &file, const std::string &what);
[[noreturn]] void usage(const std::string &what);

// Throws a Failure naming file, what was being done and the library's
// error state when status is not 0.
void check(int16_t status, const std::string &file, const std::string &what);

enum class FileKind { curve, curves, surface, iges, mesh, points, unknown };

// The kind a file name's extension names (case-insensitive): .crv, .cua,
// .sur, .igs/.iges, .obj/.stl/.ply, .pts/.csv/.xyz/.txt.
FileKind kind_of(const std::string &path);
const char *kind_name(FileKind kind);

// Curves and surfaces read from files, their records owned here and their
// arrays in the store's workspace.
struct Geometry {
  tools::Store store;
  std::deque<CURVE> curve_records;
  std::deque<SURFACE> surface_records;
  std::vector<CURVE *> curves;
  std::vector<SURFACE *> surfaces;
  std::vector<tools::TrimmedSurface> trimmed;  // from IGES files only
  std::unique_ptr<tools::IgesModel> iges;      // the model of the last IGES file read

  CURVE *new_curve();
  SURFACE *new_surface();
};

// Reads a .crv, .cua, .sur or IGES file into g (validated records); a
// file of another kind, or one that cannot be read, is a Failure.
void load(const std::string &path, Geometry &g, double chord = 1e-3);

// The evaluation domain of a curve [U[p], U[m-p]] and of a surface.
void curve_domain(const CURVE *cur, double &a, double &b);
void surface_domain(const SURFACE *sur, double &u0, double &u1, double &v0, double &v1);

// Splits a chain of trimming curves into closed loops (a loop ends where
// a curve returns to the start of its first one); 3-D curves are made 2-D.
std::vector<std::vector<CURVE *>> split_loops(const std::vector<CURVE *> &curves,
                                              const std::string &path);

// A number written back exactly, in its shortest form.
std::string num(double x);

// Strict conversions of command-line text: the whole text must be one
// finite number (a Usage error names the option otherwise).
double to_double(const std::string &text, const std::string &option);
long to_long(const std::string &text, const std::string &option);
// "a,b,c" (sep ',') or "a:b" (sep ':') into numbers.
std::vector<double> to_doubles(const std::string &text, char sep, const std::string &option);

// One subcommand: its CLI11 app and what it does once parsed.
struct Command {
  CLI::App *app = nullptr;
  std::function<void()> run;
};

Command add_info(CLI::App &app);
Command add_eval(CLI::App &app);
Command add_fit(CLI::App &app);
Command add_fitsurf(CLI::App &app);
Command add_edit(CLI::App &app);
Command add_tess(CLI::App &app);
Command add_plot(CLI::App &app);
Command add_iges(CLI::App &app);
Command add_export(CLI::App &app);

}  // namespace orvo::cli
