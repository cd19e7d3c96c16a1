// IGES 5.3 files: the reader turns a file into the library's curves,
// surfaces and trimmed surfaces, the writer puts curves and surfaces into a
// file as entities 126 and 128. Every byte of a file is untrusted: sizes are
// bounded, numbers converted with checks, and a fault is reported with the
// line (section letter and sequence number) it was found on.
#pragma once

#include <string>
#include <vector>

#include "lib/store.hpp"

namespace orvo::tools {

// One directory entry of the file and what became of it.
struct IgesEntity {
  int type = 0, form = 0;
  int de = 0;         // sequence number of its first directory line (odd)
  std::string label;  // the entity label of the directory entry, trimmed
  // What it became: "curve", "surface", "trimmed surface",
  // "transformation", the same with ", used by D<n>" for a part of another
  // entity (not listed on its own), "curve on surface, used by D<n>" for a
  // 142, or "skipped: <why>" (an entity type not converted, or the
  // library's refusal spelled out, prefixed with the D number of the part
  // that failed).
  std::string result;
  int curve = -1, surface = -1, trimmed = -1;  // index into IgesModel's lists, or -1
};

// A surface with its trimming loops in its parameter plane: loops[0] the
// outer loop (empty: the surface's own boundary), loops[1..] the holes;
// each loop is a chain of 2-D curves (z marker DBL_MAX) of the parameter
// plane, head to tail, closed.
struct TrimmedSurface {
  SURFACE *surface = nullptr;
  std::vector<std::vector<CURVE *>> loops;
};

// What a file holds after conversion, the records owned by store. Curves
// and surfaces are those of the independent entities (marked independent
// in the directory and not used by another entity the reader converts);
// every trimmed surface (144) is listed. Entities 124 (and their chains)
// have been applied to the entities that point at them. A 142's
// parameter-space curve is used when the surface is a 128 (whose
// parameterisation the conversion keeps) or when it has no model-space
// curve; otherwise the model-space curve is mapped by point inversion. An
// outer loop that runs all round the domain's edges is left empty (the
// surface's own boundary). Planes (108) used by a 144 are sized to the box
// of its outer boundary's model-space curve.
struct IgesModel {
  Store store;
  std::vector<IgesEntity> entities;
  std::vector<CURVE *> curves;
  std::vector<SURFACE *> surfaces;
  std::vector<TrimmedSurface> trimmed;
  std::string product;  // the product name of the Global section
};

struct IgesReadOptions {
  // Chord tolerance for mapping model-space boundary curves (142 without a
  // parameter-space curve) into a surface's parameter plane, as a fraction
  // of the size (control-net box diagonal) of the trimmed surface; in (0, 1).
  double chord = 1e-3;
};

// Reads and converts path into model. False with error set to one line of
// text ("<path>: line P12: ...") when the file cannot be read or is
// malformed; entities that cannot be converted are not errors: they are
// listed with result "skipped: ..." and left out. Files above 256 MB are
// refused; the records of a file are bounded by its lines.
bool read_iges(const std::string &path, const IgesReadOptions &options, IgesModel &model,
               std::string &error);

// Writes the curves as entities 126 and the surfaces as entities 128 (all
// independent), with a Start, Global, Directory, Parameter and Terminate
// section. False with error set when the file cannot be written or a
// record is refused by the library's checks.
bool write_iges(const std::string &path, const std::vector<const CURVE *> &curves,
                const std::vector<const SURFACE *> &surfaces, std::string &error);

// The name of an entity type ("rational B-spline curve" for 126, "entity"
// for a type it does not know).
const char *iges_entity_name(int type);

}  // namespace orvo::tools
