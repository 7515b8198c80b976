#pragma once
// Runs part of a test in a forked child the test can kill, limit or give up on; the
// child has only the forking thread, exits with the body's result and calls ready()
// where the test waits (right before the operation to be killed, say).

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

// The address sanitizer reserves terabytes up front: no memory limit under it.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kMemoryLimitPossible = false;
#elif defined(__has_feature)
inline constexpr bool kMemoryLimitPossible = !__has_feature(address_sanitizer);
#else
inline constexpr bool kMemoryLimitPossible = true;
#endif

struct ChildLimits {
    // RLIMIT_FSIZE; SIGXFSZ is ignored, so a write past it fails like one to a full disk.
    std::optional<rlim_t> maxFileSize;
    // RLIMIT_DATA beyond the heap held at start; ignored without kMemoryLimitPossible.
    std::optional<rlim_t> maxExtraData;
};

class ChildProcess {
public:
    using Body = std::function<int(const std::function<void()> &ready)>;

    // The pipe carries the ready byte, then ends when the child exits: both poll()-able.
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

    // True once the child has called ready(); false when it ended or time ran out first.
    bool waitReady(std::chrono::milliseconds timeout) { return readByte(timeout) == 1; }

    // SIGKILL, and the child is reaped.
    void kill()
    {
        if (running()) {
            ::kill(pid_, SIGKILL);
            reap();
        }
    }

    // Exit code or minus the signal; empty (and the child killed) when it did not end in time.
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
