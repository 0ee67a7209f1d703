#include "EditorOpening.h"

#include "Connection.h"
#include "DataModule.h"
#include "Schema.h"
#include "TFormDolznost.h"
#include "TFormOtrChas.h"
#include "TFormPremia.h"
#include "TFormSotr.h"
#include "TFormStavka.h"
#include "Table.h"
#include "Timing.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <cstdio>
#include <malloc.h>
#include <memory>
#include <unistd.h>

namespace kb::bench {

namespace {

// A form shown is slower to free and fills the event queue: fewer runs.
constexpr int kFormRuns = 3;

template <typename Form> std::unique_ptr<QDialog> makeForm(dataset::TDataM& module) {
    return std::make_unique<Form>(module, nullptr);
}

struct Editor {
    const char* form;
    const char* table;
    const char* lookupTable; // empty: no combo box
    const char* lookupField;
    std::unique_ptr<QDialog> (*make)(dataset::TDataM&);
};

const Editor kEditors[] = {
    {"TFormDolznost", "Dolznost", "", "", makeForm<editors::TFormDolznost>},
    {"TFormSotr", "Sotr", "Dolznost", "Nazvanie", makeForm<editors::TFormSotr>},
    {"TFormStavka", "Stavka", "Sotr", "FIO", makeForm<editors::TFormStavka>},
    {"TFormPremia", "Premia", "Sotr", "FIO", makeForm<editors::TFormPremia>},
    {"TFormOtrChas", "OtrChas", "Sotr", "FIO", makeForm<editors::TFormOtrChas>},
};

// A table object opened as a data source bound to a form opens it.
std::unique_ptr<dataset::Table> openFollowed(sql::Connection& connection, const QString& name) {
    auto table = std::make_unique<dataset::Table>(connection, dataset::schema::table(name));
    QObject::connect(table.get(), &dataset::DataSet::currentRowChanged, table.get(), [](int) {});
    table->open();
    return table;
}

// The editor's table objects, its first row read and its lookup list built.
struct OpenEditor {
    std::unique_ptr<dataset::Table> table;
    std::unique_ptr<dataset::Table> lookup;

    OpenEditor(sql::Connection& connection, const Editor& editor) : table(openFollowed(connection, editor.table)) {
        for (int c = 0; c < table->fieldCount(); ++c)
            table->currentValue(c);
        if (*editor.lookupTable == 0)
            return;
        lookup = openFollowed(connection, editor.lookupTable);
        const int key = lookup->fieldByName(QStringLiteral("ID")).column();
        const int shown = lookup->fieldByName(QString::fromLatin1(editor.lookupField)).column();
        for (int row = 0; row < lookup->recordCount(); ++row) {
            lookup->value(row, key);
            lookup->value(row, shown);
        }
    }
};

// The same rows as plain SELECTs: the whole table and the lookup list.
int selectSameRows(sql::Connection& connection, const Editor& editor) {
    int rows = runNative(connection, QStringLiteral("SELECT * FROM %1").arg(QLatin1String(editor.table)));
    if (*editor.lookupTable != 0)
        rows += runNative(connection, QStringLiteral("SELECT ID, %1 FROM %2")
                                          .arg(QLatin1String(editor.lookupField), QLatin1String(editor.lookupTable)));
    return rows;
}

double residentMiB() {
    malloc_trim(0); // what was freed before goes back, so that only what is held counts
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> pages = statm.readAll().split(' ');
    return pages.size() < 2 ? 0 : double(pages[1].toLongLong()) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

void memoryOfBonusEditor(sql::Connection& connection) {
    const Editor& premia = kEditors[3];
    double before = residentMiB();
    double ours = 0;
    {
        const OpenEditor editor(connection, premia);
        ours = residentMiB() - before;
    }
    before = residentMiB();
    double native = 0;
    {
        sql::Statement all = connection.prepareNative(QStringLiteral("SELECT * FROM Premia"));
        const auto rows = all.fetchAll();
        sql::Statement names = connection.prepareNative(QStringLiteral("SELECT ID, FIO FROM Sotr"));
        const auto lookup = names.fetchAll();
        native = residentMiB() - before;
    }
    std::printf("  %-44s %9.1f MiB                                            %s\n", "memory added by the bonus editor",
                ours, "target < 30 MiB");
    std::printf("  %-44s %9.1f MiB\n", "memory of SELECT of the same rows, held", native);
    std::printf("  %-44s %9.2f\n", "memory ratio", native > 0 ? ours / native : 0.0);
}

// What the user waits for: the data module loaded as at start-up (untimed),
// then the form created with its widgets, shown and its events processed, so
// that its controls have read what they show.
void benchForm(const QString& file, const Editor& editor, bool large, const QByteArray& label) {
    std::unique_ptr<dataset::TDataM> module;
    std::unique_ptr<QDialog> form;
    const auto reload = [&] {
        form.reset();
        module.reset();
        module = std::make_unique<dataset::TDataM>(nullptr, file);
    };
    reload();
    const Timing shown = measure(
        kFormRuns,
        [&] {
            form = editor.make(*module);
            form->show();
            QApplication::processEvents();
            return 1;
        },
        reload);
    form.reset();
    module.reset();
    const bool premia = QByteArray(editor.table) == "Premia";
    printRow(("showing " + label + " with its widgets").constData(), shown, large && premia ? "target < 200 ms" : "",
             "forms");
}

// Opening the editor and moving to its last record, each against plain SELECTs.
void benchEditor(sql::Connection& connection, const Editor& editor, int runs, bool large, const QByteArray& label) {
    std::unique_ptr<OpenEditor> open;
    const auto close = [&] { open.reset(); };
    const Timing ours = measure(
        runs,
        [&] {
            open = std::make_unique<OpenEditor>(connection, editor);
            return open->table->recordCount();
        },
        close);
    const Timing native = measure(runs, [&] { return selectSameRows(connection, editor); });
    printRow(("opening " + label + " (table, row 1, lookup)").constData(), ours, large ? "target < 30 ms" : "");
    printRow("SELECT of the same rows, SQLite alone", native, "");
    printRatio("editor opening cost ratio", ours, native, "");

    // Each move starts from an editor just opened, untimed, on its first row.
    open = std::make_unique<OpenEditor>(connection, editor);
    const auto toLast = [&] {
        dataset::Table& table = *open->table;
        table.last();
        for (int c = 0; c < table.fieldCount(); ++c)
            table.currentValue(c);
        return 1;
    };
    const Timing last = measure(runs, toLast, [&] { open = std::make_unique<OpenEditor>(connection, editor); });
    const Timing lastNative = measure(runs, [&] {
        return runNative(connection,
                         QStringLiteral("SELECT * FROM %1 ORDER BY ID DESC LIMIT 1").arg(QLatin1String(editor.table)));
    });
    open.reset();
    printRow(("moving to the last record of " + QByteArray(editor.table)).constData(), last,
             large ? "target < 10 ms" : "");
    printRatio("ratio to SELECT of that row", last, lastNative, "");
}

void runSql(sql::Connection& connection, const char* sql) {
    sql::Statement statement = connection.prepareNative(QString::fromLatin1(sql));
    statement.step();
}

void benchAll(const QString& file, int runs, bool large) {
    sql::Connection connection(file);
    for (const Editor& editor : kEditors) {
        benchEditor(connection, editor, runs, large, editor.form);
        benchForm(file, editor, large, editor.form);
    }
    memoryOfBonusEditor(connection);
}

} // namespace

void benchEditors(const QString& file, int runs, bool large) {
    std::printf("  record editors, as generated (IDs without gaps)\n");
    benchAll(file, runs, large);
    // A copy with a row deleted from the middle of each table and one more
    // bonus: every table then has gaps in its IDs.
    const QString gaps = file + QStringLiteral(".gaps");
    QFile::remove(gaps);
    if (!QFile::copy(file, gaps)) {
        std::printf("  no copy of the database could be made for the gaps\n");
        return;
    }
    {
        sql::Connection connection(gaps);
        for (const Editor& editor : kEditors)
            runSql(connection, QStringLiteral("DELETE FROM %1 WHERE ID = (SELECT (min(ID) + max(ID)) / 2 FROM %1)")
                                   .arg(QLatin1String(editor.table))
                                   .toLatin1()
                                   .constData());
        runSql(connection, "DELETE FROM Premia WHERE ID = (SELECT max(ID) / 3 FROM Premia)");
    }
    std::printf("  record editors, one row of each table deleted and one more bonus\n");
    benchAll(gaps, runs, large);
    QFile::remove(gaps);
}

} // namespace kb::bench
