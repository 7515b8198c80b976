#pragma once
// File access as an unprivileged user, for tests of folders and devices the
// user may not read or write. A test run by root would otherwise find every
// file accessible whatever its permissions say.
//
// Linux checks file access against the file-system user id; setting it to
// "nobody" also drops root's file capabilities. It applies to the calling
// thread only, until the object goes out of scope. access(2) is not fooled:
// it asks about the real user.

#include <sys/fsuid.h>
#include <unistd.h>

class FileAccessAsNobody {
public:
    static constexpr unsigned kNobody = 65534;

    FileAccessAsNobody()
        : uid_(::geteuid()), gid_(::getegid())
    {
        if (uid_ == 0) {
            ::setfsgid(kNobody);
            ::setfsuid(kNobody);
        }
    }
    ~FileAccessAsNobody()
    {
        if (uid_ == 0) {
            ::setfsuid(uid_);
            ::setfsgid(gid_);
        }
    }
    FileAccessAsNobody(const FileAccessAsNobody &) = delete;
    FileAccessAsNobody &operator=(const FileAccessAsNobody &) = delete;

private:
    uid_t uid_;
    gid_t gid_;
};
