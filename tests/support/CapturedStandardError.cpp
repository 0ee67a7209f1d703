#include "CapturedStandardError.h"

#include <cstdio>
#include <unistd.h>

namespace kbtest {

CapturedStandardError::CapturedStandardError() {
    if (!file_.open())
        return;
    std::fflush(stderr);
    saved_ = ::dup(STDERR_FILENO);
    if (saved_ >= 0 && ::dup2(file_.handle(), STDERR_FILENO) < 0) {
        ::close(saved_);
        saved_ = -1;
    }
}

CapturedStandardError::~CapturedStandardError() {
    restore();
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
