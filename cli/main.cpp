// quillix-convert: the window's conversion, from the command line.
#include <QCoreApplication>
#include <iostream>
#include <string>
#include <vector>

#include "cli/RunConverter.h"
#include "platform/process/FileSignals.h"
#include "platform/process/ProcessStreams.h"

int main(int argc, char** argv) {
    // The remaining pictures are still converted when whoever reads the output goes away.
    IgnoreClosedPipes();
    // A file size limit fails one picture's write, and an interrupted batch leaves no temporary
    // file.
    GuardFilesAgainstSignals();
    std::vector<std::string> args(argv + 1, argv + argc);
    QCoreApplication app(argc, argv);  // for the image format plugins
    return RunConverter(args, std::cout, std::cerr, StandardErrorIsTerminal());
}
