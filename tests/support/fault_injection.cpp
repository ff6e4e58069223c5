#include "tests/support/fault_injection.h"

#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>

namespace testsupport {
namespace {

InjectedFaults g_faults;

int Fail(int err) {
    errno = err;
    return -1;
}

}  // namespace

FaultInjection::FaultInjection(InjectedFaults faults) {
    g_faults = faults;
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
