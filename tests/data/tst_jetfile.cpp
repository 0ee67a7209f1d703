// The Jet 4.0 reader on real files: Monitor.mdb of Debian's mrtg-contrib, and copies of it with rows appended through
// libmdb (Cyrillic text, dates before 1900, times of day, nulls).

#include "DateTimeText.h"
#include "JetFile.h"
#include "JetRowAppender.h"
#include "JetText.h"
#include "TestRows.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using kb::jet::Cell;
using kb::jet::ColumnType;
using kb::jet::Row;

Q_DECLARE_METATYPE(kb::jet::Row)

namespace kb::jet {
bool operator==(const Cell& a, const Cell& b) {
    return a.kind == b.kind && a.integer == b.integer && a.text == b.text &&
           std::memcmp(&a.number, &b.number, sizeof a.number) == 0;
}
char* toString(const Cell& c) {
    return qstrdup(QStringLiteral("kind %1 integer %2 number %3 text \"%4\"")
                       .arg(int(c.kind))
                       .arg(c.integer)
                       .arg(c.number, 0, 'g', 17)
                       .arg(c.text)
                       .toUtf8());
}
} // namespace kb::jet

namespace {

const QString kSample = QStringLiteral(KULTBUH_JET_SAMPLE);
const QString kTable = QStringLiteral("Monitor_Authenticate");
// Every column but the two NUMERIC ones, which the reader does not read.
const QStringList kColumns = {"ID",          "LinePassword", "EMail_Address", "Graph_Day", "Graph_Week",
                              "Graph_Month", "Graph_Year",   "Graph_EMail",   "LastVisit", "Comment"};

double dayNumber(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    return kb::datetime::toDayNumber(kb::datetime::make(y, mo, d, h, mi, s));
}

std::vector<Row> readAll(const kb::jet::JetFile& file) {
    std::vector<Row> rows;
    file.readRows(kTable, kColumns, [&](const Row& r) { rows.push_back(r); });
    return rows;
}

// The appended row's cells for all twelve columns of the table, the NUMERIC ones null.
Row fullRow(const Row& cells) {
    Row row = cells;
    row.insert(row.begin() + 1, Cell::null()); // LineNumber
    row.insert(row.begin() + 3, Cell::null()); // LineSpeed
    return row;
}

} // namespace

class TestJetFile : public QObject {
    Q_OBJECT
private slots:
    // The package's file as it is: one table, its columns' types and auto-number flag, and its one row.
    void readsTheSampleFile() {
        const kb::jet::JetFile file(kSample);
        QCOMPARE(file.tables(), QStringList{kTable});
        const auto columns = file.columns(kTable);
        QCOMPARE(columns.size(), size_t(12));
        QCOMPARE(columns[0].name, QStringLiteral("ID"));
        QVERIFY(columns[0].type == ColumnType::LongInt && columns[0].autoNumber);
        QVERIFY(columns[1].type == ColumnType::Numeric && !columns[1].autoNumber);
        QVERIFY(columns[5].type == ColumnType::Boolean && columns[10].type == ColumnType::DateTime);
        QVERIFY(columns[11].type == ColumnType::Text && columns[11].size == 510);

        const std::vector<Row> rows = readAll(file);
        QCOMPARE(rows.size(), size_t(1));
        const Cell yes = Cell::ofBoolean(true);
        const Row expected = {Cell::ofInteger(1),
                              Cell::ofText("12345678"),
                              Cell::ofText("nobody@sunnyline.co.za"),
                              yes,
                              yes,
                              yes,
                              yes,
                              Cell::ofBoolean(false),
                              Cell::ofDayNumber(36694.858611111114),
                              Cell::ofText("Example Circuit Added For Monitor Example To Potential New Clients")};
        QCOMPARE(rows.front(), expected);
        QCOMPARE(kb::datetime::fromDayNumber(rows.front()[8].number), kb::datetime::make(2000, 6, 17, 20, 36, 24));
    }

    void appendedRowsReadBack_data() {
        kbtest::columns<Row>("row");
        const auto appended = [](const char* name, qint64 id, Cell password, Cell mail, bool day, Cell visit,
                                 Cell comment) {
            const Cell flag = Cell::ofBoolean(day), other = Cell::ofBoolean(!day);
            kbtest::row(name, Row{Cell::ofInteger(id), password, mail, flag, other, Cell::ofBoolean(false),
                                  Cell::ofBoolean(true), flag, visit, comment});
        };
        appended("cyrillic, time of day", 2, Cell::ofText("Пётр"), Cell::ofText("ёлка@пример.рф"), true,
                 Cell::ofDayNumber(dayNumber(2013, 4, 15, 9, 30, 15)), Cell::ofText("Ёлкина Ольга"));
        appended("before 1900", 3, Cell::ofText("x"), Cell::ofText(""), false,
                 Cell::ofDayNumber(dayNumber(1850, 2, 28, 18, 45)), Cell::ofText("Ёжик в тумане, «кавычки» и €"));
        appended("nulls, ID beyond 16 bits", 40000, Cell::null(), Cell::null(), false, Cell::null(), Cell::null());
    }
    // A row appended to a copy comes back cell for cell after the package's row.
    void appendedRowsReadBack() {
        const auto [row] = kbtest::fetch<Row>("row");
        QTemporaryDir dir;
        const QString copy = dir.filePath("copy.mdb");
        QVERIFY(QFile::copy(kSample, copy));
        QVERIFY(QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner));
        kbtest::appendJetRows(copy, kTable, {fullRow(row)});

        const std::vector<Row> rows = readAll(kb::jet::JetFile(copy));
        QCOMPARE(rows.size(), size_t(2));
        QCOMPARE(rows.back(), row);
    }

    // Jet 4's compressed text: single bytes and UTF-16 by turns, cut by zero bytes.
    void compressedText() {
        const unsigned char bytes[] = {0xff, 0xfe, 'A', 'b', 0x00, 0x01, 0x04, 0x1f, 0x04, 0x00, '!'};
        QCOMPARE(kb::jet::decodeText(bytes, int(sizeof bytes)), QStringLiteral("AbЁП!"));
    }

    void refusals_data() {
        kbtest::columns<QByteArray, QString>("content", "message"); // content empty: no file at all
        QFile sample(kSample);
        QVERIFY(sample.open(QIODevice::ReadOnly));
        const QByteArray jet4 = sample.readAll();
        QByteArray jet3 = jet4, ace = jet4, damaged = jet4.left(2 * 4096);
        jet3[0x14] = 0;
        ace[0x14] = 2;
        using kbtest::row;
        row("missing", QByteArray(), QStringLiteral("не найден"));
        row("not Jet", QByteArray("SQLite format 3\0 and more bytes", 32),
            QStringLiteral("не является базой данных Microsoft Jet"));
        row("Jet 3", jet3, QStringLiteral("Jet 3 (Access 97)"));
        row("Access 2007", ace, QStringLiteral("Access 2007 или новее"));
        row("damaged", damaged, QStringLiteral("повреждён"));
    }
    // Files that are not Jet 4.0, or cannot be read, are refused with a message that names them.
    void refusals() {
        const auto [content, message] = kbtest::fetch<QByteArray, QString>("content", "message");
        QTemporaryDir dir;
        const QString name = dir.filePath("old.mdb");
        if (!content.isEmpty()) {
            QFile file(name);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
        }
        try {
            const kb::jet::JetFile file(name);
            file.readRows(kTable, kColumns, [](const Row&) {});
            QFAIL("no error");
        } catch (const kb::jet::JetError& e) {
            const QString text = QString::fromUtf8(e.what());
            QVERIFY2(text.contains(message) && text.contains(name), qPrintable(text));
        }
    }
};

QTEST_GUILESS_MAIN(TestJetFile)
#include "tst_jetfile.moc"
