#pragma once

#include "Launcher.h"

namespace kb::launcher {

// The questions as message boxes, a file dialog and the server's dialog.
class DialogQuestions : public LauncherQuestions {
public:
    Start howToStart(const QString& dataFolder) override;
    std::optional<QString> oldDatabase() override;
    std::optional<ServerLogin> serverLogin() override;
    void report(const QString& text) override;
};

// kultbuh-db and kultbuh from the launcher's own folder when they are there
// (an installation's bin/), otherwise from PATH.
class ProcessActions : public LauncherActions {
public:
    void runDbTool(const QStringList& arguments) override;
    void startProgram(const QString& folder) override;
};

} // namespace kb::launcher
