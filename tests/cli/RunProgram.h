#pragma once

// Runs a program the way a shell would, for tests of a command-line contract: with extra
// environment variables, every signal at its default action, stdout and stderr captured, and
// optionally stderr on a terminal.

#include <fcntl.h>
#include <pty.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <map>
#include <string>
#include <vector>

#include "tests/TempFolder.h"

extern char** environ;

struct ProgramResult {
    int exitCode = -1;  // -1 when it did not exit normally (a crash)
    std::string out;
    std::string err;
};

// Whether this system can give a program a terminal (a pseudo-terminal) to write to.
inline bool TerminalAvailable() {
    int master = -1;
    int slave = -1;
    if (openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) return false;
    close(master);
    close(slave);
    return true;
}

// Starts program with args, env's variables added to this process's environment and every
// signal at its default action (as a shell starts it, whatever this process ignores), its files
// set up by actions; returns its process id, or -1.
inline pid_t SpawnProgram(const std::string& program, const std::vector<std::string>& args,
                          const std::map<std::string, std::string>& env,
                          const posix_spawn_file_actions_t* actions) {
    std::vector<std::string> environment;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry = *e;
        if (env.count(entry.substr(0, entry.find('='))) == 0) environment.push_back(entry);
    }
    for (const auto& [name, value] : env) environment.push_back(name + "=" + value);
    std::vector<char*> envp;
    for (std::string& entry : environment) envp.push_back(entry.data());
    envp.push_back(nullptr);

    std::vector<std::string> argStrings{program};
    argStrings.insert(argStrings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : argStrings) argv.push_back(arg.data());
    argv.push_back(nullptr);

    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t all;
    sigfillset(&all);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
    pid_t pid = -1;
    const int spawned =
        posix_spawn(&pid, program.c_str(), actions, &attributes, argv.data(), envp.data());
    posix_spawnattr_destroy(&attributes);
    return spawned == 0 ? pid : -1;
}

// SpawnProgram with no input and its output thrown away.
inline pid_t StartProgram(const std::string& program, const std::vector<std::string>& args,
                          const std::map<std::string, std::string>& env) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    for (int fd : {0, 1, 2}) posix_spawn_file_actions_addopen(&actions, fd, "/dev/null", O_RDWR, 0);
    const pid_t pid = SpawnProgram(program, args, env, &actions);
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

// The wait status of a started program, once it has ended.
inline int WaitForProgram(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return status;
}

inline ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                                const std::map<std::string, std::string>& env,
                                bool errOnTerminal = false) {
    TempFolder capture;
    const std::string outPath = capture / "out";
    const std::string errPath = capture / "err";

    int master = -1;
    int slave = -1;
    if (errOnTerminal && openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) return {};

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    if (errOnTerminal) {
        posix_spawn_file_actions_adddup2(&actions, slave, 2);
        posix_spawn_file_actions_addclose(&actions, master);
    } else {
        posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0600);
    }
    const pid_t pid = SpawnProgram(program, args, env, &actions);
    posix_spawn_file_actions_destroy(&actions);
    if (errOnTerminal) close(slave);

    ProgramResult result;
    if (pid < 0) return result;
    if (errOnTerminal) {
        // Read until the child closes the terminal, so that it never blocks on a full buffer.
        char buffer[4096];
        for (;;) {
            const ssize_t got = read(master, buffer, sizeof buffer);
            if (got > 0) {
                result.err.append(buffer, static_cast<std::size_t>(got));
            } else if (got < 0 && errno == EINTR) {
                continue;
            } else {
                break;  // EIO once the child is gone
            }
        }
        close(master);
    }
    const int status = WaitForProgram(pid);
    if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
    result.out = ReadFileBytes(outPath);
    if (!errOnTerminal) result.err = ReadFileBytes(errPath);
    return result;
}
