#include "ApplicationTitle.h"

#include "ProgramFile.h"

namespace kb::app {

QString applicationTitleFor(const QString& programPath) {
    QString name = programPath.mid(programPath.lastIndexOf(u'/') + 1);
    if (const qsizetype dot = name.indexOf(u'.'); dot >= 0)
        name.truncate(dot);
    if (name.isEmpty())
        return name;
    return name.front() + name.mid(1).toLower();
}

QString applicationTitle() {
    static const QString title = applicationTitleFor(programFilePath());
    return title;
}

} // namespace kb::app
