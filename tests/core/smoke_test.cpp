#include <gtest/gtest.h>
#include "orvo/orvo.h"
TEST(Smoke, Loads) { STACKS ws; N_inurbs(&ws); N_enurbs(&ws); }
