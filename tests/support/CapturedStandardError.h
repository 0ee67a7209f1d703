#pragma once

#include <QTemporaryFile>
#include <cstdio>
#include <unistd.h>

namespace kbtest {

// Sends the process's standard error to a temporary file while it lives, or until text() ends the capture.
class CapturedStandardError {
public:
    CapturedStandardError() {
        std::fflush(stderr);
        if (file_.open() && (saved_ = ::dup(STDERR_FILENO)) >= 0 && ::dup2(file_.handle(), STDERR_FILENO) < 0)
            restore();
    }
    ~CapturedStandardError() { restore(); }
    Q_DISABLE_COPY(CapturedStandardError)

    QByteArray text() {
        restore();
        file_.seek(0);
        return file_.readAll();
    }

private:
    void restore() {
        if (saved_ < 0)
            return;
        std::fflush(stderr);
        ::dup2(saved_, STDERR_FILENO);
        ::close(saved_);
        saved_ = -1;
    }

    QTemporaryFile file_;
    int saved_ = -1;
};

} // namespace kbtest
