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

#include <QFile>
#include <QTextStream>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <functional>
#include <optional>

#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
#define SIGNOVAT_TEST_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SIGNOVAT_TEST_ASAN 1
#endif
#endif

// The sanitizer reserves terabytes of address space up front; a memory limit
// cannot be set under it.
#ifdef SIGNOVAT_TEST_ASAN
inline constexpr bool kMemoryLimitPossible = false;
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

    explicit ChildProcess(const Body &body, const ChildLimits &limits = {})
    {
        int fds[2];
        if (::pipe(fds) != 0)
            return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(fds[0]);
            applyLimits(limits);
            const int writeEnd = fds[1];
            const int result = body([writeEnd] {
                const char byte = 'r';
                (void)!::write(writeEnd, &byte, 1);
            });
            ::_exit(result & 0xff);
        }
        ::close(fds[1]);
        // The read end sees the ready byte, then the end of the pipe once
        // the child has exited: both can be waited for with poll().
        readEnd_ = fds[0];
        if (pid_ < 0) {
            ::close(readEnd_);
            readEnd_ = -1;
        }
    }

    ~ChildProcess()
    {
        if (running())
            kill();
        if (readEnd_ >= 0)
            ::close(readEnd_);
    }

    ChildProcess(const ChildProcess &) = delete;
    ChildProcess &operator=(const ChildProcess &) = delete;

    bool started() const { return pid_ > 0; }
    bool running() const { return pid_ > 0 && !status_; }

    // True once the child has called ready(); false when it ended or the
    // time ran out first.
    bool waitReady(std::chrono::milliseconds timeout)
    {
        char byte;
        return waitReadable(timeout) && ::read(readEnd_, &byte, 1) == 1;
    }

    // SIGKILL, and the child is reaped.
    void kill()
    {
        if (!running())
            return;
        ::kill(pid_, SIGKILL);
        reap();
    }

    // The exit code, or minus the signal that ended the child. Empty when the
    // child did not end in time; it is then killed.
    std::optional<int> waitExit(std::chrono::milliseconds timeout)
    {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        char byte;
        while (running()) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0 || !waitReadable(left)) {
                kill();
                return std::nullopt;
            }
            if (::read(readEnd_, &byte, 1) == 0)
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
            const rlim_t limit = dataSegmentBytes() + *limits.maxExtraData;
            const rlimit r{limit, limit};
            ::setrlimit(RLIMIT_DATA, &r);
        }
    }

    // What counts against RLIMIT_DATA now ("VmData" of /proc/self/status).
    static rlim_t dataSegmentBytes()
    {
        QFile status(QStringLiteral("/proc/self/status"));
        if (!status.open(QIODevice::ReadOnly))
            return 0;
        QTextStream in(&status);
        for (QString line = in.readLine(); !line.isNull(); line = in.readLine())
            if (line.startsWith(QLatin1String("VmData:")))
                return rlim_t(line.mid(7).trimmed().split(QLatin1Char(' ')).value(0).toULongLong()) * 1024;
        return 0;
    }

    bool waitReadable(std::chrono::milliseconds timeout)
    {
        pollfd p{readEnd_, POLLIN, 0};
        return readEnd_ >= 0 && ::poll(&p, 1, int(timeout.count())) == 1;
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
