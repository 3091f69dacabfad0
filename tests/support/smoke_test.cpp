#include <gtest/gtest.h>

#include "fx/random.h"

TEST(Skeleton, Builds) { SUCCEED(); }
