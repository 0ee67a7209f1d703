#include "DesktopLauncher.h"

#include "ServerCheck.h"
#include "ServerDialog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <stdexcept>

namespace kb::launcher {

namespace {

const QString kCaption = QStringLiteral("Бухгалтер отдела культуры");

QString programPath(const QString& name) {
    const QFileInfo beside(QDir(QCoreApplication::applicationDirPath()).filePath(name));
    return beside.isExecutable() ? beside.filePath() : name;
}

} // namespace

LauncherQuestions::Start DialogQuestions::howToStart(const QString& dataFolder) {
    QMessageBox box(QMessageBox::Question, kCaption,
                    QStringLiteral("В папке %1 ещё нет базы данных BAZA.mdb.\n\nПеренести базу данных старой "
                                   "программы, начать работу с пустой базой или подключиться к общей базе отдела на "
                                   "сервере?")
                        .arg(dataFolder));
    QPushButton* old = box.addButton(QStringLiteral("Перенести старую базу..."), QMessageBox::AcceptRole);
    QPushButton* empty = box.addButton(QStringLiteral("Начать с пустой базы"), QMessageBox::AcceptRole);
    QPushButton* server =
        box.addButton(QStringLiteral("Подключиться к общей базе на сервере…"), QMessageBox::AcceptRole);
    box.addButton(QStringLiteral("Отмена"), QMessageBox::RejectRole);
    box.setDefaultButton(old);
    box.exec();
    if (box.clickedButton() == old)
        return Start::OldDatabase;
    if (box.clickedButton() == empty)
        return Start::EmptyDatabase;
    if (box.clickedButton() == server)
        return Start::Server;
    return Start::Cancel;
}

std::optional<ServerLogin> DialogQuestions::serverLogin() {
    ServerDialog dialog(connectionProblem);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.login();
}

std::optional<QString> DialogQuestions::oldDatabase() {
    const QString path = QFileDialog::getOpenFileName(nullptr, QStringLiteral("База данных старой программы"),
                                                      QDir::homePath(), QStringLiteral("BAZA.mdb (*.mdb)"));
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

void DialogQuestions::report(const QString& text) {
    QMessageBox box(QMessageBox::Warning, kCaption, text);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void ProcessActions::runDbTool(const QStringList& arguments) {
    QProcess tool;
    tool.start(programPath(QStringLiteral("kultbuh-db")), arguments);
    if (!tool.waitForFinished(-1) || tool.exitStatus() != QProcess::NormalExit || tool.exitCode() != 0) {
        QString message = QString::fromUtf8(tool.readAllStandardError()).trimmed();
        if (message.isEmpty())
            message = tool.errorString();
        throw std::runtime_error(QStringLiteral("kultbuh-db %1: %2").arg(arguments.value(0), message).toStdString());
    }
}

void ProcessActions::startProgram(const QString& folder) {
    if (!QProcess::startDetached(programPath(QStringLiteral("kultbuh")), {}, folder))
        throw std::runtime_error(QStringLiteral("Не удалось запустить программу kultbuh").toStdString());
}

} // namespace kb::launcher
