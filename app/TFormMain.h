#pragma once

#include "DataModule.h"
#include "DocumentsMenu.h"
#include "ModalDialogs.h"

#include <QMainWindow>
#include <QPointer>
#include <QSize>

class QAction;
class QDateTimeEdit;
class QFrame;
class QLineEdit;
class QMenu;
class QPushButton;

namespace kb::reports {
struct GridRequest;
}
namespace kb::databound {
class ResultGrid;
}

namespace kb::app {

// The main window: the result grid over the upper part, the panel of
// controls along the bottom edge and the menu bar. The window only wires its
// controls to the modules that do the work.
//
//   object name      member                what it does
//   DBGrid1          resultGrid            shows the shared query's result
//   Panel1           controlPanel          the strip of controls at the bottom
//   DateTimePicker1  monthPicker           the month of statement and pay slip
//   Button1          statementButton       showSalaryStatement()
//   Button5          paySlipButton         writePaySlip()
//   Button4          exportButton          exportToSpreadsheet()
//   Edit1            nameEdit              part of a name to search for
//   Button2          nameSearchButton      searchByName()
//   Edit2            positionEdit          a whole position name to search for
//   Button3          positionSearchButton  searchByPosition()
//   MainMenu1        (the menu bar)
//   N1               commandMenu           "Меню"
//   N11              printAction           printResult()
//   Excel1           exportAction          exportToSpreadsheet()
//   N2               exitAction            exitProgram()
//   N3               databaseMenu          "База данных"
//   N4               staffEditorAction     openStaffEditor()
//   N5               positionEditorAction  openPositionEditor()
//   N6               salaryEditorAction    openSalaryRateEditor()
//   N7               bonusEditorAction     openBonusEditor()
//   N12              daysEditorAction      openDaysWorkedEditor()
//   N9               referenceMenu         "Справочник"
//   N10              staffListAction       listAllStaff()
//   N8               helpAction            showHelp()
//   Documents1       documentsMenu         "Документы" with the printed documents (documents/DocumentsMenu.h)
//
// Start-up: construct it hidden, call showSplash(), create the data module
// and hand it to bindData(), then show the window. Closing it ends the
// program once no table holds an unposted change, after asking about each
// one that does.
class TFormMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TFormMain(QWidget* parent = nullptr);
    ~TFormMain() override;

    // The window's creation step: shows the splash screen modally, with the
    // note as its tooltip.
    void showSplash(const QString& note = QString());
    // The tooltip of the panel of controls (which database the program works on).
    void showDatabaseNote(const QString& note);
    // Binds the result grid to the data module's shared query and makes the
    // module the one the handlers work on.
    void bindData(dataset::TDataM& dataModule);

    // The size of the window in its normal state: a client area of 794 × 568
    // under the menu bar.
    QSize designedSize() const;

    databound::ResultGrid* resultGrid;
    QFrame* controlPanel;
    QDateTimeEdit* monthPicker;
    QPushButton* statementButton;
    QPushButton* paySlipButton;
    QPushButton* exportButton;
    QLineEdit* nameEdit;
    QPushButton* nameSearchButton;
    QLineEdit* positionEdit;
    QPushButton* positionSearchButton;

    QMenu* commandMenu;
    QAction* printAction;
    QAction* exportAction;
    QAction* exitAction;
    QMenu* databaseMenu;
    QAction* staffEditorAction;
    QAction* positionEditorAction;
    QAction* salaryEditorAction;
    QAction* bonusEditorAction;
    QAction* daysEditorAction;
    QMenu* referenceMenu;
    QAction* staffListAction;
    QAction* helpAction;
    documents::DocumentsMenu documentsMenu;

    // The file-save dialog of the pay slip: "*.txt" files.
    const ui::SaveDialogSettings paySlipSaveDialog;

public slots:
    void showSalaryStatement();
    void searchByName();
    void searchByPosition();
    void listAllStaff();
    void writePaySlip();
    void exportToSpreadsheet();
    void printResult();
    void openStaffEditor();
    void openPositionEditor();
    void openSalaryRateEditor();
    void openBonusEditor();
    void openDaysWorkedEditor();
    void showHelp();
    void exitProgram();

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildMenu();
    void buildClientArea();
    void buildTabOrder();
    void centreOnScreen();
    dataset::TDataM& loadedDataModule() const; // throws while no data module is bound
    template <typename Form> void showEditor();
    void runOnGrid(const reports::GridRequest& request);
    // Copies the grid's result into a new spreadsheet workbook and, with
    // print, prints it and closes the spreadsheet (reports/ExportToExcel.h).
    void exportGrid(bool print);
    void enableExportCommands();
    bool inNormalState() const;
    void keepDesignedSize();

    QPointer<dataset::TDataM> dataModule_;
    bool sizeRestorePending_ = false;
    bool placed_ = false;
};

} // namespace kb::app
