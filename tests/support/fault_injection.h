#pragma once

// Failures of the system calls that make a write safe, injected for one scope:
// a disk that stays full or fails cannot be cut back (ftruncate), and the
// fsync of a file or of a folder can fail after the bytes were written. The
// calls are replaced in the test program itself; outside a scope they pass
// straight to the kernel.
#include <functional>

namespace testsupport {

struct InjectedFaults {
    int truncateError = 0;    // every ftruncate fails with this errno
    int fileSyncError = 0;    // every fsync of a regular file fails with it
    int folderSyncError = 0;  // every fsync of a folder fails with it
    // Runs at every fsync of a regular file, before it passes or fails: what
    // the folder holds at that moment.
    std::function<void()> atFileSync = nullptr;
    // A kill: after this many operations (write, fsync, rename, unlink) every
    // further one fails, as if the process had died there; -1: never.
    int killAfter = -1;
    int readOpenError = 0;  // every open of a file for reading fails with it
};

// Operations counted since the scope began (for a sweep over every point).
int OperationsSeen();

class FaultInjection {
public:
    explicit FaultInjection(InjectedFaults faults);
    ~FaultInjection();
    FaultInjection(const FaultInjection&) = delete;
    FaultInjection& operator=(const FaultInjection&) = delete;
};

}  // namespace testsupport
