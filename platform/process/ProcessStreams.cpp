#include "platform/process/ProcessStreams.h"

#include <unistd.h>

#include <csignal>

bool StandardErrorIsTerminal() {
    return isatty(STDERR_FILENO) == 1;
}

void IgnoreClosedPipes() {
    std::signal(SIGPIPE, SIG_IGN);
}
