#include "DbTool.h"
#include "DocumentCommands.h"

#include <QApplication>
#include <QCoreApplication>
#include <iostream>
#include <memory>

int main(int argc, char* argv[]) {
    // The documents need fonts and the chart's widgets, so their commands get the graphical toolkit; without a
    // display it draws offscreen. The other commands start as lightly as before.
    const bool documents = argc > 1 && kb::tools::isDocumentCommand(QString::fromLocal8Bit(argv[1]));
    if (documents && qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::unique_ptr<QCoreApplication> app =
        documents ? std::make_unique<QApplication>(argc, argv) : std::make_unique<QCoreApplication>(argc, argv);
    return kb::tools::run(QCoreApplication::arguments().mid(1), std::cout, std::cerr);
}
