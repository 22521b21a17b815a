#include "platform/process/UnderSanitizer.h"

#include <cstdlib>
#include <initializer_list>

namespace {

bool BuiltWithSanitizer() {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    return true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || \
    __has_feature(memory_sanitizer) || __has_feature(undefined_behavior_sanitizer)
    return true;
#else
    return false;
#endif
#else
    return false;
#endif
}

}  // namespace

bool UnderSanitizer() {
    if (BuiltWithSanitizer()) return true;
    for (const char* name :
         {"ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS", "TSAN_OPTIONS", "MSAN_OPTIONS"}) {
        if (std::getenv(name) != nullptr) return true;
    }
    return false;
}
