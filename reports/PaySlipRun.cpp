#include "PaySlipRun.h"

#include "Dialect.h"
#include "FileReplace.h"
#include "ModalDialogs.h"
#include "PaySlip.h"
#include "Query.h"
#include "Statements.h"
#include "TextEditor.h"
#include "Windows1251.h"

#include <optional>

namespace kb::reports {

namespace {

constexpr int kNameColumn = 0;

// The first row of the statement whose name equals the one asked for.
std::optional<int> slipRow(const dataset::Query& statement, const QString& name) {
    for (int row = 0; row < statement.recordCount(); ++row) {
        if (dialect::equalText(statement.value(row, kNameColumn).text(), name))
            return row;
    }
    return std::nullopt;
}

QByteArray slipBytes(const dataset::Query& statement, int row, const QString& name) {
    const auto columns = PaySlipColumns::ofStatementRow([&](int column) { return statement.value(row, column); });
    return toWindows1251(paySlipText(name, paySlipFigures(columns)));
}

} // namespace

void runPaySlip(dataset::Query& query, const QDateTime& pickerValue, const PaySlipWindow& window) {
    ui::ModalDialogs& dialogs = ui::dialogs();
    const QString name = dialogs.inputPrompt(QStringLiteral("Формирование расчётного листа"),
                                             QStringLiteral("Укажите фамилию сотрудника: "), QString());

    dataset::openRequest(paySlipCheck(name), query);
    if (query.recordCount() <= 0) {
        dialogs.messageBox(window.messageCaption,
                           QStringLiteral("Сотрудника ") + name + QStringLiteral(" не найдено!"));
        return;
    }

    dataset::openRequest(salaryStatement(pickerValue), query);
    const std::optional<int> row = slipRow(query, name);
    if (!row) {
        dialogs.messageBox(window.messageCaption, QStringLiteral("Нет данных для расчётного листа сотрудника %1 за %2.")
                                                      .arg(name, pickerValue.toString(QStringLiteral("MM.yyyy"))));
        return;
    }
    const QByteArray bytes = slipBytes(query, *row, name);

    const std::optional<QString> path = dialogs.saveFileName(window.owner, window.saveDialog);
    if (!path)
        return;
    replaceFile(*path, bytes);
    textEditorLauncher().open(*path);
}

} // namespace kb::reports
