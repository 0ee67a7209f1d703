// kultbuh-launcher: what the desktop entry runs. Prepares ~/kultbuh (the
// database, its daily backup) and starts kultbuh there.
#include "DesktopLauncher.h"
#include "Launcher.h"

#include <QApplication>
#include <QDir>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    kb::launcher::DialogQuestions questions;
    kb::launcher::ProcessActions actions;
    try {
        return kb::launcher::launch(kb::launcher::dataFolder(QDir::homePath()), questions, actions,
                                    QDateTime::currentDateTime());
    } catch (const std::exception& error) {
        questions.report(QString::fromUtf8(error.what()));
        return 1;
    }
}
