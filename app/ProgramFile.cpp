#include "ProgramFile.h"

#include <QFileInfo>
#include <filesystem>
#include <system_error>

namespace kb::app {

QString programFilePath() {
    std::error_code error;
    const std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error || path.empty())
        return QStringLiteral("kultbuh");
    return QString::fromStdString(path.string());
}

QString programFileName() {
    return QFileInfo(programFilePath()).fileName();
}

} // namespace kb::app
