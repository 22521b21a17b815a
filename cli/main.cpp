// quillix-convert: the window's conversion, from the command line.
#include <unistd.h>

#include <QCoreApplication>
#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "cli/RunConverter.h"

int main(int argc, char** argv) {
    // A closed pipe on stdout must not end the run before the remaining pictures are converted.
    std::signal(SIGPIPE, SIG_IGN);
    std::vector<std::string> args(argv + 1, argv + argc);
    QCoreApplication app(argc, argv);  // for the image format plugins
    return RunConverter(args, std::cout, std::cerr, isatty(STDERR_FILENO) == 1);
}
