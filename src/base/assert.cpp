#include "base/assert.h"

#include <cstdio>
#include <cstdlib>

namespace tessaly::base {

void assertFailed(const char* condition, const char* advice, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: check failed: %s\n  %s\n", file, line, condition, advice);
    std::fflush(stderr);
    std::abort();
}

}  // namespace tessaly::base
