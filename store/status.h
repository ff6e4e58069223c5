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

private:
    std::optional<StoreError> error_;
};

}  // namespace store
