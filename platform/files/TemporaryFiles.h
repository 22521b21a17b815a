#pragma once

// The temporary files this process has made and not yet put in place or removed, recorded so that
// a signal handler can remove them before the process ends. Recording and forgetting take no lock
// and are safe from any thread; RemoveRecordedTemporaryFiles is async-signal-safe (it neither
// allocates nor locks). Up to kTemporaryFileSlots paths shorter than PATH_MAX are recorded at
// once; a further one is not recorded.

inline constexpr int kTemporaryFileSlots = 16;

// Records path (copied) before the file is made; returns a ticket for ForgetTemporaryFile, or -1
// when it cannot be recorded.
int RecordTemporaryFile(const char* path) noexcept;

// Once the file is renamed or removed; a ticket of -1 is ignored.
void ForgetTemporaryFile(int ticket) noexcept;

// Removes every recorded file. For a handler of a signal that ends the process.
void RemoveRecordedTemporaryFiles() noexcept;
