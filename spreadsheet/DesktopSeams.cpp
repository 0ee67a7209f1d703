#include "DesktopSeams.h"

#include "WorkbookFolder.h"

#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QStandardPaths>

namespace kb::spreadsheet {

std::unique_ptr<QPrinter> SystemDesktop::defaultPrinter() {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return nullptr;
    return std::make_unique<QPrinter>(info, QPrinter::HighResolution);
}

bool SystemDesktop::openWorkbook(const QString& path) {
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    return !opener.isEmpty() && QProcess::startDetached(opener, {path});
}

QString SystemDesktop::workbookFolder() {
    const QString folder = exportFolderPath();
    makePrivateFolder(folder);
    removeOldWorkbooks(folder, kWorkbookRetention);
    return folder;
}

} // namespace kb::spreadsheet
