#include "DocumentsMenu.h"

#include "DocumentPreview.h"
#include "ErrorReporting.h"
#include "OrganisationDetailsForm.h"
#include "PaySlipsDocument.h"
#include "PayrollChart.h"
#include "StatementDocument.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace kb::documents {

namespace {

QAction* addItem(QMenu* menu, const char* name, const QString& caption, std::function<void()> work) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    // An error of the database or of the file is shown like every handler's, and the window goes on.
    QObject::connect(action, &QAction::triggered, menu, [work = std::move(work)] {
        try {
            work();
        } catch (...) {
            ui::reportError(std::current_exception());
        }
    });
    return action;
}

} // namespace

DocumentsMenu addDocumentsMenu(QMenuBar& bar, QWidget* window, std::function<sql::Connection&()> connection,
                               std::function<QDateTime()> pickerValue) {
    DocumentsMenu m{};
    m.menu = bar.addMenu(QStringLiteral("Документы"));
    m.menu->setObjectName(QStringLiteral("Documents1"));
    m.statementAction = addItem(m.menu, "StatementDoc1", QStringLiteral("Ведомость за месяц…"), [=] {
        previewDocument(std::make_shared<StatementDocument>(StatementDocument::load(connection(), pickerValue())),
                        window);
    });
    m.paySlipsAction = addItem(m.menu, "PaySlipsDoc1", QStringLiteral("Расчётные листы за месяц…"), [=] {
        previewDocument(std::make_shared<PaySlipsDocument>(PaySlipsDocument::load(connection(), pickerValue())),
                        window);
    });
    m.chartAction = addItem(m.menu, "PayrollChart1", QStringLiteral("Фонд оплаты труда за год…"), [=] {
        previewDocument(std::make_shared<PayrollChart>(PayrollChart::load(connection(), pickerValue().date().year())),
                        window);
    });
    m.detailsAction = addItem(m.menu, "OrgDetails1", QStringLiteral("Реквизиты организации…"),
                              [=] { editOrganisationDetails(connection(), window); });
    return m;
}

} // namespace kb::documents
