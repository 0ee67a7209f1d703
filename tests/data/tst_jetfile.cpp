// The Jet 4.0 reader on real files: Monitor.mdb of Debian's mrtg-contrib, and copies of it with a row appended through
// libmdb (Cyrillic text, dates before 1900, times of day, nulls).
#include "DateTimeText.h"
#include "JetFile.h"
#include "JetText.h"
#include "TestRows.h"
#include "TestSupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>
#include <glib.h>
#include <mdbtools.h>
#include <memory>

using namespace Qt::StringLiterals;
using kb::jet::Cell;
using kb::jet::ColumnType;
using kb::jet::Row;

Q_DECLARE_METATYPE(kb::jet::Row)

namespace {

const QString kSample = QStringLiteral(KULTBUH_JET_SAMPLE);
const QString kTable = u"Monitor_Authenticate"_s;
// Every column but the two NUMERIC ones, which the reader does not read.
const QStringList kColumns = {"ID",          "LinePassword", "EMail_Address", "Graph_Day", "Graph_Week",
                              "Graph_Month", "Graph_Year",   "Graph_EMail",   "LastVisit", "Comment"};

// Each cell's kind, integer, number (exactly) and text.
QString shown(const Row& row) {
    QStringList cells;
    for (const Cell& c : row)
        cells << u"%1 %2 %3 '%4'"_s.arg(int(c.kind)).arg(c.integer).arg(c.number, 0, 'g', 17).arg(c.text);
    return cells.join(u" | "_s);
}

template <typename T> QByteArray littleEndian(T value) {
    QByteArray bytes(sizeof value, Qt::Uninitialized);
    qToLittleEndian(value, bytes.data());
    return bytes;
}

// Appends the row (the NUMERIC columns left null) with libmdb's mdb_insert_row and raises the table's row count as Jet
// does. The indexes are left as they were: the reader scans the table.
bool append(const QString& fileName, Row row) {
    row.insert(row.begin() + 1, Cell::null()); // LineNumber
    row.insert(row.begin() + 3, Cell::null()); // LineSpeed
    qint64 rowCountAt = 0;
    {
        std::unique_ptr<MdbHandle, decltype(&mdb_close)> mdb(
            mdb_open(QFile::encodeName(fileName).constData(), MDB_WRITABLE), &mdb_close);
        MdbCatalogEntry* entry = mdb && mdb_read_catalog(mdb.get(), MDB_TABLE)
                                     ? mdb_get_catalogentry_by_name(mdb.get(), kTable.toUtf8().constData())
                                     : nullptr;
        std::unique_ptr<MdbTableDef, decltype(&mdb_free_tabledef)> def(entry ? mdb_read_table(entry) : nullptr,
                                                                       &mdb_free_tabledef);
        if (!def || !mdb_read_columns(def.get()) || def->num_cols != row.size())
            return false;
        def->num_idxs = 0; // mdb_insert_row then leaves the index pages alone
        rowCountAt = qint64(entry->table_pg) * mdb->fmt->pg_size + mdb->fmt->tab_num_rows_offset;
        std::vector<QByteArray> bytes(row.size());
        std::vector<MdbField> fields(row.size());
        for (size_t i = 0; i < row.size(); ++i) {
            const Cell& c = row[i];
            if (c.kind == Cell::Kind::Integer) // the sample's only integer column is a long integer
                bytes[i] = littleEndian(qint32(c.integer));
            else if (c.kind == Cell::Kind::DateTime)
                bytes[i] = littleEndian(c.number);
            else if (!c.text.isEmpty()) { // UTF-16 little-endian
                bytes[i] = QByteArray(c.text.size() * 2, '\0');
                qToLittleEndian<quint16>(c.text.utf16(), c.text.size(), bytes[i].data());
            }
            // A boolean is kept in the null mask: a set bit (not null) is true.
            const bool isNull = c.kind == Cell::Kind::Boolean ? c.integer == 0 : c.kind == Cell::Kind::Null;
            const auto* column = static_cast<MdbColumn*>(g_ptr_array_index(def->columns, guint(i)));
            mdb_fill_temp_field(&fields[i], bytes[i].data(), int(bytes[i].size()), column->is_fixed, isNull, 0, int(i));
        }
        if (!mdb_insert_row(def.get(), int(fields.size()), fields.data()))
            return false;
    }
    QByteArray file = kbtest::fileBytes(fileName);
    if (file.size() < rowCountAt + 4)
        return false;
    qToLittleEndian(qFromLittleEndian<quint32>(file.constData() + rowCountAt) + 1, file.data() + rowCountAt);
    return kbtest::writeFile(fileName, file);
}

} // namespace

class TestJetFile : public QObject {
    Q_OBJECT
private slots:
    // The package's file: its table, column types and row; a row appended to a copy comes back cell for cell.
    void rows_data() {
        kbtest::columns<Row>("appended"); // none when empty
        kbtest::row("the package's file as it is", Row{});
        const auto appended = [](const char* name, qint64 id, Cell password, Cell mail, bool day, Cell visit,
                                 Cell comment) {
            const Cell flag = Cell::ofBoolean(day), other = Cell::ofBoolean(!day);
            kbtest::row(name, Row{Cell::ofInteger(id), password, mail, flag, other, Cell::ofBoolean(false),
                                  Cell::ofBoolean(true), flag, visit, comment});
        };
        const auto day = [](int y, int mo, int d, int h, int mi, int s) {
            return Cell::ofDayNumber(kb::sql::datetime::toDayNumber(kb::sql::datetime::make(y, mo, d, h, mi, s)));
        };
        appended("cyrillic, time of day", 2, Cell::ofText("Пётр"), Cell::ofText("ёлка@пример.рф"), true,
                 day(2013, 4, 15, 9, 30, 15), Cell::ofText("Ёлкина Ольга"));
        appended("before 1900", 3, Cell::ofText("x"), Cell::ofText(""), false, day(1850, 2, 28, 18, 45, 0),
                 Cell::ofText("Ёжик в тумане, «кавычки» и €"));
        appended("nulls, ID beyond 16 bits", 40000, Cell::null(), Cell::null(), false, Cell::null(), Cell::null());
    }
    void rows() {
        const auto [appended] = kbtest::fetch<Row>("appended");
        QTemporaryDir dir;
        const QString copy = dir.filePath("copy.mdb");
        QVERIFY(QFile::copy(kSample, copy));
        QVERIFY(QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner));
        QVERIFY(appended.empty() || append(copy, appended));
        const kb::jet::JetFile file(copy);
        QCOMPARE(file.tables(), QStringList{kTable});
        const auto columns = file.columns(kTable);
        QCOMPARE(columns.size(), size_t(12));
        QVERIFY(columns[0].name == u"ID"_s && columns[0].type == ColumnType::LongInt && columns[0].autoNumber &&
                columns[1].type == ColumnType::Numeric && !columns[1].autoNumber &&
                columns[5].type == ColumnType::Boolean && columns[10].type == ColumnType::DateTime &&
                columns[11].type == ColumnType::Text && columns[11].size == 510);
        std::vector<Row> rows;
        file.readRows(kTable, kColumns, [&](const Row& r) { rows.push_back(r); });
        QCOMPARE(rows.size(), appended.empty() ? size_t(1) : size_t(2));
        const Cell yes = Cell::ofBoolean(true);
        QCOMPARE(shown(rows.front()),
                 shown({Cell::ofInteger(1), Cell::ofText("12345678"), Cell::ofText("nobody@sunnyline.co.za"), yes, yes,
                        yes, yes, Cell::ofBoolean(false), Cell::ofDayNumber(36694.858611111114),
                        Cell::ofText("Example Circuit Added For Monitor Example To Potential New Clients")}));
        if (!appended.empty())
            QCOMPARE(shown(rows.back()), shown(appended));
    }

    // Jet 4's compressed text: single bytes and UTF-16 by turns, cut by zero bytes.
    void compressedText() {
        const unsigned char bytes[] = {0xff, 0xfe, 'A', 'b', 0x00, 0x01, 0x04, 0x1f, 0x04, 0x00, '!'};
        QCOMPARE(kb::jet::decodeText(bytes, int(sizeof bytes)), u"AbЁП!"_s);
    }

    // Files that are not Jet 4.0, or cannot be read, are refused with a message that names them.
    void refusals_data() {
        kbtest::columns<QByteArray, QString>("content", "message"); // content empty: no file at all
        QFile sample(kSample);
        QVERIFY(sample.open(QIODevice::ReadOnly));
        const QByteArray jet4 = sample.readAll();
        QByteArray jet3 = jet4, ace = jet4;
        jet3[0x14] = 0;
        ace[0x14] = 2;
        using kbtest::row;
        row("missing", QByteArray(), u"не найден"_s);
        row("not Jet", QByteArray("SQLite format 3\0 and more bytes", 32), u"не является базой данных Microsoft Jet"_s);
        row("Jet 3", jet3, u"Jet 3 (Access 97)"_s);
        row("Access 2007", ace, u"Access 2007 или новее"_s);
        row("damaged", jet4.left(2 * 4096), u"повреждён"_s);
    }
    void refusals() {
        const auto [content, message] = kbtest::fetch<QByteArray, QString>("content", "message");
        QTemporaryDir dir;
        const QString name = dir.filePath("old.mdb");
        QVERIFY(content.isEmpty() || kbtest::writeFile(name, content));
        QString text;
        try {
            kb::jet::JetFile(name).readRows(kTable, kColumns, [](const Row&) {});
        } catch (const kb::jet::JetError& e) {
            text = QString::fromUtf8(e.what());
        }
        QVERIFY2(text.contains(message) && text.contains(name), qPrintable(text));
    }
};

QTEST_GUILESS_MAIN(TestJetFile)
#include "tst_jetfile.moc"
