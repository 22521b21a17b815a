#pragma once

#include <string>

// Starts a program as a separate process and does not wait for it.
class ProgramStarter {
public:
    virtual ~ProgramStarter() = default;

    // pathName is the program itself, without arguments. windowStyle 1 asks for a normal window
    // that takes the focus. False when the program could not be started.
    virtual bool Shell(const std::string& pathName, int windowStyle) = 0;
};

// Starts the program detached (QProcess::startDetached), so it outlives Quillix. Windows-style
// paths are placed as the output path is (platform/DrivePath.h). The window style is left to the
// window manager, which gives a newly started program's window the focus.
class DetachedProgramStarter : public ProgramStarter {
public:
    bool Shell(const std::string& pathName, int windowStyle) override;
};
