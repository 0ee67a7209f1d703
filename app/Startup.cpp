#include "Startup.h"

#include "AppearanceSetup.h"
#include "ClassRegistry.h"
#include "DataModule.h"
#include "DatabaseChoice.h"
#include "DebugFile.h"
#include "ErrorReporting.h"
#include "KultbuhApplication.h"
#include "LastChanceReport.h"
#include "ModalDialogs.h"
#include "ProgramFile.h"
#include "SpreadsheetServer.h"
#include "TFormMain.h"
#include "Utf8Locale.h"

#include <exception>
#include <memory>

namespace kb::app {

namespace {

// The spreadsheet server's desktop: the system's, telling the user in the
// program's plain message box.
class ProgramDesktop : public spreadsheet::SystemDesktop {
public:
    void tell(const QString& message) override { ui::dialogs().messageBox(ui::errorCaption(), message); }
};

} // namespace

QString createProgramDebugFile() {
    return createDebugFileFor(programFilePath(), stateDebugFolder());
}

int runMainWindow(QApplication& application) {
    spreadsheet::registerSpreadsheetServer(automation::classRegistry(), std::make_shared<ProgramDesktop>());
    auto mainWindow = std::make_unique<TFormMain>();
    const QString database = dataset::chosenDatabase();
    const QString note = QStringLiteral("База данных: %1").arg(dataset::shownDatabaseName(database));
    mainWindow->showSplash(note);
    auto dataModule = std::make_unique<dataset::TDataM>(nullptr, database);
    mainWindow->showDatabaseNote(note);
    mainWindow->bindData(*dataModule);
    mainWindow->show();
    const int exitCode = application.exec();
    dataModule.reset();
    mainWindow.reset();
    return exitCode;
}

int startApplication(QApplication& application) noexcept {
    try {
        return runMainWindow(application);
    } catch (...) {
        return reportLastChance(std::current_exception());
    }
}

int runProgram(char* programArgument) {
    try {
        createProgramDebugFile();
    } catch (...) {
        return reportLastChance(std::current_exception());
    }
    // Qt sees only the program's own name: no option of the command line
    // changes what the program does.
    static char fallbackName[] = "kultbuh";
    int argc = 1;
    char* argv[] = {programArgument != nullptr ? programArgument : fallbackName, nullptr};
    useUtf8CharacterType();
    KultbuhApplication application(argc, argv);
    setupAppearance(application);
    return startApplication(application);
}

} // namespace kb::app
