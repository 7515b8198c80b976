#pragma once
// Runs part of a test in a forked child process, so that the test can kill
// it at any moment (SIGKILL in the middle of a save), restrict it (a file
// size limit standing in for a full disk, a memory limit) or give up on it
// when it blocks.
//
// The child runs the body and exits with its result at once, without
// returning into the test framework. It starts with the one thread that
// called fork(): the body must not rely on threads of the test process.
// The body calls ready() at the point the test waits for (right before the
// operation to be killed, say).

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fstream>
#include <functional>
#include <optional>
#include <string>

#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

// The sanitizer reserves terabytes of address space up front; a memory limit
// cannot be set under it.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kMemoryLimitPossible = false;
#elif defined(__has_feature)
inline constexpr bool kMemoryLimitPossible = !__has_feature(address_sanitizer);
#else
inline constexpr bool kMemoryLimitPossible = true;
#endif

struct ChildLimits {
    // RLIMIT_FSIZE in bytes. SIGXFSZ is ignored, so a write past the limit
    // fails with EFBIG as a write to a full disk fails with ENOSPC.
    std::optional<rlim_t> maxFileSize;
    // Heap the child may allocate beyond what it holds when it starts
    // (RLIMIT_DATA). Ignored where kMemoryLimitPossible is false.
    std::optional<rlim_t> maxExtraData;
};

class ChildProcess {
public:
    using Body = std::function<int(const std::function<void()> &ready)>;

    // The read end of the pipe sees the ready byte, then its end once the
    // child has exited: both can be waited for with poll().
    explicit ChildProcess(const Body &body, const ChildLimits &limits = {})
    {
        int fds[2];
        if (::pipe(fds) != 0)
            return;
        pid_ = ::fork();
        if (pid_ == 0) {
            applyLimits(limits);
            const int writeEnd = fds[1];
            ::_exit(body([writeEnd] { (void)!::write(writeEnd, "r", 1); }) & 0xff);
        }
        ::close(fds[1]);
        readEnd_ = fds[0];
    }

    ~ChildProcess()
    {
        kill();
        ::close(readEnd_);
    }

    ChildProcess(const ChildProcess &) = delete;
    ChildProcess &operator=(const ChildProcess &) = delete;

    bool running() const { return pid_ > 0 && !status_; }

    // True once the child has called ready(); false when it ended or the
    // time ran out first.
    bool waitReady(std::chrono::milliseconds timeout) { return readByte(timeout) == 1; }

    // SIGKILL, and the child is reaped.
    void kill()
    {
        if (running()) {
            ::kill(pid_, SIGKILL);
            reap();
        }
    }

    // The exit code, or minus the signal that ended the child. Empty when the
    // child did not end in time (or never started); it is then killed.
    std::optional<int> waitExit(std::chrono::milliseconds timeout)
    {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (running()) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            const int got = left.count() > 0 ? readByte(left) : -1;
            if (got < 0) {
                kill();
                return std::nullopt;
            }
            if (got == 0)
                reap();  // the pipe has ended: the child is gone
        }
        return status_;
    }

private:
    static void applyLimits(const ChildLimits &limits)
    {
        if (limits.maxFileSize) {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit r{*limits.maxFileSize, *limits.maxFileSize};
            ::setrlimit(RLIMIT_FSIZE, &r);
        }
        if (limits.maxExtraData && kMemoryLimitPossible) {
            // What counts against RLIMIT_DATA now: "VmData" of /proc/self/status, in kB.
            std::ifstream status("/proc/self/status");
            rlim_t limit = *limits.maxExtraData;
            for (std::string line; std::getline(status, line);)
                if (line.rfind("VmData:", 0) == 0)
                    limit += rlim_t(std::stoull(line.substr(7))) * 1024;
            const rlimit r{limit, limit};
            ::setrlimit(RLIMIT_DATA, &r);
        }
    }

    // 1 for a byte, 0 for the end of the pipe, -1 when nothing came in time.
    int readByte(std::chrono::milliseconds timeout)
    {
        pollfd p{readEnd_, POLLIN, 0};
        char byte;
        return readEnd_ >= 0 && ::poll(&p, 1, int(timeout.count())) == 1 ? int(::read(readEnd_, &byte, 1)) : -1;
    }

    void reap()
    {
        int status = 0;
        while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
        }
        status_ = WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
    }

    pid_t pid_ = -1;
    int readEnd_ = -1;
    std::optional<int> status_;
};
