#include "PendingEdits.h"

#include "DataModule.h"
#include "ErrorReporting.h"
#include "MsgDlg.h"
#include "Table.h"

#include <utility>

namespace kb::app {

bool settlePendingEdits(dataset::TDataM& dataModule) {
    // In the order of the "База данных" menu, named as there.
    const std::pair<dataset::Table*, const char*> tables[] = {
        {dataModule.staffTable, "Сотрудники"},
        {dataModule.positionTable, "Должности"},
        {dataModule.salaryRateTable, "Оклад"},
        {dataModule.bonusTable, "Премия"},
        {dataModule.daysWorkedTable, "Отработанные дни"},
    };
    for (const auto& [table, name] : tables) {
        if (!table || !table->isEditing())
            continue;
        const QString question = QStringLiteral("В таблице «%1» есть несохранённые изменения.\n"
                                                "Сохранить их перед выходом из программы?")
                                     .arg(QString::fromUtf8(name));
        switch (ui::ShowMsgDlg(question, ui::MsgQuestion, ui::BtnYes | ui::BtnNo | ui::BtnCancel)) {
        case ui::IdYes:
            try {
                table->post();
            } catch (...) {
                ui::reportError(std::current_exception());
                return false;
            }
            break;
        case ui::IdNo:
            table->cancel();
            break;
        default:
            return false;
        }
    }
    return true;
}

} // namespace kb::app
