#pragma once

#include <QByteArray>
#include <QTemporaryFile>

namespace kbtest {

// Sends the process's standard error to a temporary file while it lives, or until text() is read.
class CapturedStandardError {
public:
    CapturedStandardError();
    ~CapturedStandardError() { restore(); }
    CapturedStandardError(const CapturedStandardError&) = delete;
    CapturedStandardError& operator=(const CapturedStandardError&) = delete;

    // Ends the capture and gives what was written.
    QByteArray text();

private:
    void restore();

    QTemporaryFile file_;
    int saved_ = -1;
};

} // namespace kbtest
