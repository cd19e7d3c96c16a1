// Helpers shared by the test suites.
#pragma once

#include <gtest/gtest.h>

#include <cfloat>
#include <cstring>
#include <string>

#include "orvo/orvo.h"

namespace orvo_test {

// A workspace released at the end of the test.
struct Workspace {
  STACKS ws;
  Workspace() { N_inurbs(&ws); }
  ~Workspace() { N_enurbs(&ws); }
  STACKS *operator&() { return &ws; }
  operator STACKS *() { return &ws; }
};

inline size_t list_size(const STACKS &ws, int list) {
  size_t count = 0;
  for (const STACKNODE *node = ws.head[list]; node; node = node->next) ++count;
  return count;
}

inline size_t total_blocks(const STACKS &ws) {
  size_t count = 0;
  for (int list = 0; list < ORVO_NLISTS; ++list) count += list_size(ws, list);
  return count;
}

inline bool on_list(const STACKS &ws, int list, const void *block) {
  for (const STACKNODE *node = ws.head[list]; node; node = node->next)
    if (node->block == block) return true;
  return false;
}

// The error state holds code under tag.
inline ::testing::AssertionResult HasError(int32_t code, const char *tag) {
  const char *routine = nullptr;
  int32_t got = -1;
  E_GetOrvoError(&routine, &got);
  if (got == code && routine && std::strcmp(routine, tag) == 0)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "error state is " << got << " \"" << (routine ? routine : "(null)") << "\", expected "
         << code << " \"" << tag << "\"";
}

// Expects the error state to hold code under tag, then clears it.
inline void expect_error(int32_t code, const char *tag) {
  EXPECT_TRUE(HasError(code, tag));
  E_clrerr();
}

constexpr double kZ2D = DBL_MAX;
constexpr double kWNR = -DBL_MAX;

}  // namespace orvo_test
