#include "FileReplace.h"

#include <QSaveFile>

namespace kb::reports {

namespace {

[[noreturn]] void failed(const QString& path, const QSaveFile& file) {
    throw InOutError(QStringLiteral("Ошибка ввода-вывода: не удалось записать файл %1: %2")
                         .arg(path, file.errorString())
                         .toStdString());
}

} // namespace

void replaceFile(const QString& path, const QByteArray& bytes) {
    // The temporary file is removed by the destructor unless it was committed.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        failed(path, file);
    // QSaveFile::commit() does not look at the outcome of writing out its
    // buffer: a full disk would give an empty file. The buffer is written
    // out here, where the failure is seen.
    if (file.write(bytes) != bytes.size() || !file.flush())
        failed(path, file);
    if (!file.commit())
        failed(path, file);
}

} // namespace kb::reports
