#include "CapturedStandardError.h"

#include <cstdio>
#include <unistd.h>

namespace kbtest {

CapturedStandardError::CapturedStandardError() {
    std::fflush(stderr);
    if (file_.open() && (saved_ = ::dup(STDERR_FILENO)) >= 0 && ::dup2(file_.handle(), STDERR_FILENO) < 0) {
        ::close(saved_);
        saved_ = -1;
    }
}

QByteArray CapturedStandardError::text() {
    restore();
    file_.seek(0);
    return file_.readAll();
}

void CapturedStandardError::restore() {
    if (saved_ < 0)
        return;
    std::fflush(stderr);
    ::dup2(saved_, STDERR_FILENO);
    ::close(saved_);
    saved_ = -1;
}

} // namespace kbtest
