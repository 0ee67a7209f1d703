#include "DebugFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace kb::app {

namespace {

QString reasonText(int error) {
    switch (error) {
    case EACCES:
    case EPERM:
        return QStringLiteral("Отказано в доступе");
    case EISDIR:
        return QStringLiteral("Это имя занято папкой");
    case ENOENT:
        return QStringLiteral("Папка не существует");
    case ENOTDIR:
        return QStringLiteral("Часть пути не является папкой");
    case EROFS:
        return QStringLiteral("Файловая система доступна только для чтения");
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("Нет места на диске");
    case ENAMETOOLONG:
        return QStringLiteral("Слишком длинное имя файла");
    default:
        return QStringLiteral("Системная ошибка %1 (%2)").arg(error).arg(QString::fromLocal8Bit(std::strerror(error)));
    }
}

[[noreturn]] void fail(const char* action, const QString& fileName, int error) {
    const QString message =
        QStringLiteral("Не удаётся %1 файл \"%2\". %3").arg(QString::fromUtf8(action), fileName, reasonText(error));
    throw FileError(message.toStdString());
}

} // namespace

QString debugFileName(const QString& programPath) {
    const qsizetype nameStart = programPath.lastIndexOf(u'/') + 1;
    const qsizetype dot = programPath.lastIndexOf(u'.');
    const qsizetype stemEnd = dot >= nameStart ? dot : programPath.size();
    return programPath.left(stemEnd) + QStringLiteral(".debug");
}

void CreateDebugFile(const QString& fileName) {
    const QByteArray path = QFile::encodeName(fileName);
    // Non-blocking, so a pipe of that name fails instead of waiting for a reader.
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NONBLOCK, 0666);
    if (fd < 0)
        fail("создать", fileName, errno);
    if (::close(fd) != 0)
        fail("закрыть", fileName, errno);
}

QString stateDebugFolder() {
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (!QDir::isAbsolutePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/kultbuh");
}

int folderAccessError(const QString& folder) {
    return ::access(QFile::encodeName(folder).constData(), W_OK) == 0 ? 0 : errno;
}

QString createDebugFileFor(const QString& programPath, const QString& stateFolder,
                           int (*accessError)(const QString& folder)) {
    const QString beside = debugFileName(programPath);
    const QFileInfo besideInfo(beside);
    const int besideError = accessError(besideInfo.absolutePath());
    if (besideError == 0) {
        CreateDebugFile(beside);
        return beside;
    }
    const QString inState = stateFolder + u'/' + besideInfo.fileName();
    if (QDir().mkpath(stateFolder)) {
        try {
            CreateDebugFile(inState);
            return inState;
        } catch (const FileError&) {
            // Reported below, as the failure of the file's own place.
        }
    }
    fail("создать", beside, besideError);
}

} // namespace kb::app
