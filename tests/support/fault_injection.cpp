#include "tests/support/fault_injection.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>

namespace testsupport {
namespace {

InjectedFaults g_faults;
int g_operations = 0;

int Fail(int err) {
    errno = err;
    return -1;
}

}  // namespace

FaultInjection::FaultInjection(InjectedFaults faults) {
    g_faults = faults;
    g_operations = 0;
}

int OperationsSeen() {
    return g_operations;
}

// True when the process counts as dead at this operation.
bool Killed() {
    if (g_faults.killAfter < 0) return false;
    return g_operations++ >= g_faults.killAfter;
}

FaultInjection::~FaultInjection() {
    g_faults = InjectedFaults{};
}

}  // namespace testsupport

// The definitions below take the place of the C library's for the whole test
// program.
extern "C" int ftruncate(int fd, off_t length) noexcept {
    if (testsupport::g_faults.truncateError)
        return testsupport::Fail(testsupport::g_faults.truncateError);
    return static_cast<int>(::syscall(SYS_ftruncate, fd, length));
}

extern "C" int fsync(int fd) {
    if (testsupport::Killed()) return testsupport::Fail(EIO);
    const testsupport::InjectedFaults& f = testsupport::g_faults;
    if (f.fileSyncError || f.folderSyncError || f.atFileSync) {
        struct stat st {};
        if (::fstat(fd, &st) == 0) {
            if (S_ISREG(st.st_mode) && f.atFileSync) f.atFileSync();
            if (S_ISDIR(st.st_mode) && f.folderSyncError)
                return testsupport::Fail(f.folderSyncError);
            if (S_ISREG(st.st_mode) && f.fileSyncError) return testsupport::Fail(f.fileSyncError);
        }
    }
    return static_cast<int>(::syscall(SYS_fsync, fd));
}

extern "C" ssize_t write(int fd, const void* buf, size_t count) {
    // The test's own output (standard streams) is never a file operation.
    if (fd > 2 && testsupport::Killed()) return testsupport::Fail(EIO);
    return ::syscall(SYS_write, fd, buf, count);
}

extern "C" int rename(const char* from, const char* to) noexcept {
    if (testsupport::Killed()) return testsupport::Fail(EIO);
    return static_cast<int>(::syscall(SYS_renameat, AT_FDCWD, from, AT_FDCWD, to));
}

extern "C" int renameat2(int fromDir, const char* from, int toDir, const char* to,
                         unsigned int flags) noexcept {
    if (testsupport::Killed()) return testsupport::Fail(EIO);
    return static_cast<int>(::syscall(SYS_renameat2, fromDir, from, toDir, to, flags));
}

extern "C" int unlink(const char* path) noexcept {
    if (testsupport::Killed()) return testsupport::Fail(EIO);
    return static_cast<int>(::syscall(SYS_unlinkat, AT_FDCWD, path, 0));
}

extern "C" int unlinkat(int dir, const char* path, int flags) noexcept {
    if (testsupport::Killed()) return testsupport::Fail(EIO);
    return static_cast<int>(::syscall(SYS_unlinkat, dir, path, flags));
}

extern "C" int open(const char* path, int flags, ...) {
    mode_t mode = 0;
    if (flags & (O_CREAT | O_TMPFILE)) {
        va_list args;
        va_start(args, flags);
        mode = static_cast<mode_t>(va_arg(args, int));
        va_end(args);
    }
    if (testsupport::g_faults.readOpenError && (flags & O_ACCMODE) == O_RDONLY &&
        !(flags & O_DIRECTORY)) {
        return testsupport::Fail(testsupport::g_faults.readOpenError);
    }
    return static_cast<int>(::syscall(SYS_openat, AT_FDCWD, path, flags, mode));
}
