// Shared pieces of the command-line tools: a workspace that owns the
// records a tool reads or makes, and the text of a library error.
#pragma once

#include <string>

#include "orvo/orvo.h"

namespace orvo::tools {

// A workspace released when the store goes: every record a reader or a
// routine puts in it lives as long as the store.
class Store {
 public:
  Store() { N_inurbs(&ws_); }
  ~Store() { N_enurbs(&ws_); }
  Store(const Store &) = delete;
  Store &operator=(const Store &) = delete;
  STACKS *ws() { return &ws_; }

 private:
  STACKS ws_;
};

// The library's error state spelled out, e.g. "N_CUREVN: error 6
// (parameter outside the knot vector's range)", and cleared.
std::string library_error();

}  // namespace orvo::tools
