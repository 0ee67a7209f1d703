#pragma once

#include "DataModule.h"
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

// The main window: the result grid over the upper part, the panel of
// controls along the bottom edge and the menu bar. The window only wires its
// controls to the modules that do the work.
//
// Start-up: construct it hidden, call FormCreate() (the splash screen), create
// the data module and hand it to bindData(), then show the window.
// Closing it ends the program once no table holds an unposted change, after
// asking about each one that does.
class TFormMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TFormMain(QWidget* parent = nullptr);
    ~TFormMain() override;

    // The window's creation handler: shows the splash screen modally.
    void FormCreate();
    // Binds the result grid to the data module's shared query and makes the
    // module the one the handlers work on.
    void bindData(TDataM& dataModule);

    // The size of the window in its normal state: a client area of 794 × 568
    // under the menu bar.
    QSize designedSize() const;

    // Controls, named as the program names them (also their object names).
    kb::databound::ResultGrid* DBGrid1;
    QFrame* Panel1;
    QDateTimeEdit* DateTimePicker1;
    QPushButton* Button1;
    QPushButton* Button5;
    QPushButton* Button4;
    QLineEdit* Edit1;
    QPushButton* Button2;
    QLineEdit* Edit2;
    QPushButton* Button3;

    QMenu* N1;
    QAction* N11;
    QAction* Excel1;
    QAction* N2;
    QMenu* N3;
    QAction* N4;
    QAction* N5;
    QAction* N6;
    QAction* N7;
    QAction* N12;
    QMenu* N9;
    QAction* N10;
    QAction* N8;

    // The file-save dialog of the pay slip: "*.txt" files.
    const kb::ui::SaveDialogSettings SaveDialog;

public slots:
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void N10Click();
    void Button4Click();
    void Button5Click();
    void Excel1Click();
    void N11Click();
    void N2Click();
    void N4Click();
    void N5Click();
    void N6Click();
    void N7Click();
    void N12Click();
    void N8Click();

public:
    // Copies the grid's result into a new spreadsheet workbook and, with
    // Print, prints it and closes the spreadsheet (reports/ExportToExcel.h).
    void ExportToExcel(bool Print);

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
    TDataM& loadedDataModule() const; // throws while no data module is bound
    template <typename Form> void showEditor();
    void runOnGrid(const kb::reports::GridRequest& request);
    void enableExportCommands();
    bool inNormalState() const;
    void keepDesignedSize();

    QPointer<TDataM> dataModule_;
    bool sizeRestorePending_ = false;
    bool placed_ = false;
};
