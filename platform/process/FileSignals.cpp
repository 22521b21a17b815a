#include "platform/process/FileSignals.h"

#include <signal.h>

#include <cerrno>

#include "platform/files/TemporaryFiles.h"

namespace {

constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP};

void RemoveTemporaryFilesAndEnd(int signal) {
    const int savedErrno = errno;
    RemoveRecordedTemporaryFiles();
    struct sigaction byDefault {};
    byDefault.sa_handler = SIG_DFL;
    sigemptyset(&byDefault.sa_mask);
    sigaction(signal, &byDefault, nullptr);
    // The signal is blocked while this handler runs: it ends the process as it returns.
    raise(signal);
    errno = savedErrno;
}

}  // namespace

void GuardFilesAgainstSignals() {
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGXFSZ, &ignore, nullptr);

    struct sigaction handler {};
    handler.sa_handler = RemoveTemporaryFilesAndEnd;
    handler.sa_flags = SA_RESTART;
    sigemptyset(&handler.sa_mask);
    for (const int signal : kEndingSignals) sigaddset(&handler.sa_mask, signal);
    for (const int signal : kEndingSignals) {
        struct sigaction current {};
        if (sigaction(signal, nullptr, &current) == 0 && current.sa_handler != SIG_IGN) {
            sigaction(signal, &handler, nullptr);
        }
    }
}
