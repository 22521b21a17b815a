#include "platform/files/TemporaryFiles.h"

#include <limits.h>
#include <unistd.h>

#include <atomic>
#include <cstring>

namespace {

enum SlotState : int { kFree, kFilling, kRecorded };

// Fixed storage, so that the handler walks it without allocating.
struct Slot {
    std::atomic<int> state{kFree};
    char path[PATH_MAX];
};
static_assert(std::atomic<int>::is_always_lock_free, "a signal handler reads the states");

Slot slots[kTemporaryFileSlots];

}  // namespace

int RecordTemporaryFile(const char* path) noexcept {
    const std::size_t length = std::strlen(path);
    if (length >= PATH_MAX) return -1;
    for (int ticket = 0; ticket < kTemporaryFileSlots; ++ticket) {
        int expected = kFree;
        if (!slots[ticket].state.compare_exchange_strong(expected, kFilling)) continue;
        std::memcpy(slots[ticket].path, path, length + 1);
        slots[ticket].state.store(kRecorded, std::memory_order_release);
        return ticket;
    }
    return -1;
}

void ForgetTemporaryFile(int ticket) noexcept {
    if (ticket >= 0 && ticket < kTemporaryFileSlots) slots[ticket].state.store(kFree);
}

void RemoveRecordedTemporaryFiles() noexcept {
    for (Slot& slot : slots) {
        if (slot.state.load(std::memory_order_acquire) == kRecorded) ::unlink(slot.path);
    }
}
