#pragma once

#include <QString>
#include <optional>
#include <utility>

namespace store {

// What went wrong with one file: which file, which line (0 when the fault is not
// about a line) and why, in words the user can act on.
struct StoreError {
    QString file;
    int line = 0;
    QString reason;
    // The new bytes are in the file; only making them safe on the disk failed.
    // The change stands: memory keeps it, as the file holds it.
    bool written = false;

    // One Japanese sentence for an error box: the file, the line, the reason.
    QString message() const;
};

// Success, or the error that stopped an operation. Must be looked at.
class [[nodiscard]] Status {
public:
    Status() = default;
    Status(StoreError error) : error_(std::move(error)) {}
    static Status ok() { return {}; }

    bool isOk() const { return !error_.has_value(); }
    explicit operator bool() const { return isOk(); }
    const StoreError& error() const { return *error_; }
    // True when the change is in the file: success, or an error that came
    // only after the new bytes were in place.
    bool isWritten() const { return !error_ || error_->written; }

private:
    std::optional<StoreError> error_;
};

// The system's reason for an errno in Japanese; the system's own text for the
// rare ones.
QString SystemReason(int err);

}  // namespace store
