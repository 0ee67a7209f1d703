#pragma once

#include "DataModule.h"
#include "ResultGrid.h"
#include "SampleStaff.h"
#include "ScriptedModalDialogs.h"
#include "TFormMain.h"
#include "TextEditor.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <functional>

namespace kbtest {

// The sample staff, the data module on them and the main window bound to it, shown; the modal dialogs scripted and the
// text editor recorded (the paths it was asked to open), for the tests of the main window's commands.
struct MainWindowProgram {
    struct RecordedEditor : kb::reports::TextEditorLauncher {
        QStringList* opened;
        explicit RecordedEditor(QStringList* list) : opened(list) {}
        void open(const QString& path) override { *opened << path; }
    };

    TempDatabase db;
    std::unique_ptr<kb::dataset::TDataM> dataModule;
    kb::app::TFormMain window;
    ScopedScriptedDialogs dialogs;
    QStringList opened;
    std::unique_ptr<kb::reports::TextEditorLauncher> previous =
        kb::reports::installTextEditorLauncher(std::make_unique<RecordedEditor>(&opened));
    bool shown = false;

    explicit MainWindowProgram(const std::function<void(TempDatabase&)>& setup = {}) {
        addSampleStaff(db);
        if (setup)
            setup(db);
        dataModule = std::make_unique<kb::dataset::TDataM>(nullptr, db.path());
        window.bindData(*dataModule);
        window.show();
        shown = QTest::qWaitForWindowActive(&window);
    }
    ~MainWindowProgram() { kb::reports::installTextEditorLauncher(std::move(previous)); }
    Q_DISABLE_COPY(MainWindowProgram)

    // One column of the grid, top to bottom.
    QStringList column(int column) const {
        QStringList cells;
        for (int row = 0; row < window.resultGrid->model()->rowCount(); ++row)
            cells << window.resultGrid->model()->index(row, column).data().toString();
        return cells;
    }
    // "1" or "0" for each export command: Button4, Excel1, N11.
    QString exportCommands() const {
        return QString::number(window.exportButton->isEnabled()) + QString::number(window.exportAction->isEnabled()) +
               QString::number(window.printAction->isEnabled());
    }
    // Runs a command as the user does: a click on the panel's button with that caption, or "Menu/Item" on the menu.
    void run(const QString& command) {
        for (QPushButton* button : window.controlPanel->findChildren<QPushButton*>())
            if (button->text() == command)
                QTest::mouseClick(button, Qt::LeftButton);
        for (QAction* item : window.findChildren<QAction*>())
            if (const auto* menu = qobject_cast<QMenu*>(item->parent());
                menu && menu->title() + u'/' + item->text() == command)
                item->trigger();
    }
};

} // namespace kbtest
