// Checks of programmer errors: a call before initialisation, an index that
// cannot be, a device used after it is gone. TESSALY_ASSERT(condition,
// advice) stops a checking build with the condition, where it failed and a
// sentence saying how to fix it; release builds compile the check away.
// Checking builds: debug builds (no NDEBUG), and builds with
// TESSALY_DEBUG_CHECKS defined (the sanitizer build).
//
// Never use it for bad input: damaged files and odd data get a clear error
// or a safe default, in every build.
#pragma once

namespace tessaly::base {

[[noreturn]] void assertFailed(const char* condition, const char* advice, const char* file, int line);

}  // namespace tessaly::base

#if !defined(NDEBUG) || defined(TESSALY_DEBUG_CHECKS)
#define TESSALY_CHECKS 1
#define TESSALY_ASSERT(condition, advice) \
    ((condition) ? (void)0 : ::tessaly::base::assertFailed(#condition, advice, __FILE__, __LINE__))
#else
#define TESSALY_CHECKS 0
#define TESSALY_ASSERT(condition, advice) ((void)0)
#endif
