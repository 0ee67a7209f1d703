#pragma once

#include <QByteArray>
#include <QString>
#include <stdexcept>

namespace kb::reports {

// A file that could not be created or written.
class InOutError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Writes the bytes to the path, replacing any file of that name at once: the
// bytes go to a temporary file beside it, which then takes the name. A link
// of that name is itself replaced, never written through. Throws
// InOutError with the path and the reason when a step fails; an earlier file
// of that name is then left as it was.
void replaceFile(const QString& path, const QByteArray& bytes);

} // namespace kb::reports
