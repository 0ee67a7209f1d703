#include "JetRowAppender.h"

#include <QFile>
#include <QtEndian>
#include <glib.h>
#include <mdbtools.h>
#include <memory>
#include <stdexcept>

namespace kbtest {

namespace {

using kb::jet::Cell;

[[noreturn]] void fail(const QString& what) {
    throw std::runtime_error(what.toStdString());
}

template <typename T> QByteArray littleEndian(T value) {
    QByteArray bytes(sizeof(T), Qt::Uninitialized);
    qToLittleEndian(value, bytes.data());
    return bytes;
}

// The cell as stored; the sample's only integer column is a long integer.
QByteArray bytesOf(const Cell& cell) {
    QByteArray bytes;
    if (cell.kind == Cell::Kind::Integer)
        return littleEndian(qint32(cell.integer));
    if (cell.kind == Cell::Kind::Double || cell.kind == Cell::Kind::DateTime)
        return littleEndian(cell.number);
    for (const QChar c : cell.text) // UTF-16 little-endian
        bytes.append(char(c.unicode() & 0xff)).append(char(c.unicode() >> 8));
    return bytes;
}

// Raises the row count that the table definition page keeps.
void addToRowCount(const QString& fileName, qint64 offset, int added) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadWrite) || !file.seek(offset))
        fail(QStringLiteral("cannot open %1").arg(fileName));
    QByteArray count = file.read(4);
    qToLittleEndian(qFromLittleEndian<quint32>(count.constData()) + quint32(added), count.data());
    if (!file.seek(offset) || file.write(count) != 4)
        fail(QStringLiteral("cannot write %1").arg(fileName));
}

} // namespace

void appendJetRows(const QString& fileName, const QString& table, const std::vector<kb::jet::Row>& rows) {
    qint64 rowCountOffset = 0;
    {
        std::unique_ptr<MdbHandle, decltype(&mdb_close)> mdb(
            mdb_open(QFile::encodeName(fileName).constData(), MDB_WRITABLE), &mdb_close);
        if (!mdb || !mdb_read_catalog(mdb.get(), MDB_TABLE))
            fail(QStringLiteral("cannot open %1").arg(fileName));
        MdbCatalogEntry* entry = mdb_get_catalogentry_by_name(mdb.get(), table.toUtf8().constData());
        std::unique_ptr<MdbTableDef, decltype(&mdb_free_tabledef)> def(entry ? mdb_read_table(entry) : nullptr,
                                                                       &mdb_free_tabledef);
        if (!def || !mdb_read_columns(def.get()))
            fail(QStringLiteral("no table %1").arg(table));
        def->num_idxs = 0; // mdb_insert_row then leaves the index pages alone
        rowCountOffset = qint64(entry->table_pg) * mdb->fmt->pg_size + mdb->fmt->tab_num_rows_offset;
        for (const kb::jet::Row& row : rows) {
            if (row.size() != def->num_cols)
                fail(QStringLiteral("%1 cells for %2 columns").arg(row.size()).arg(def->num_cols));
            std::vector<QByteArray> storage(row.size());
            std::vector<MdbField> fields(row.size());
            for (size_t i = 0; i < row.size(); ++i) {
                const auto* column = static_cast<MdbColumn*>(g_ptr_array_index(def->columns, guint(i)));
                storage[i] = bytesOf(row[i]);
                // A boolean is kept in the null mask: a set bit (not null) is true.
                const bool isNull =
                    row[i].kind == Cell::Kind::Boolean ? row[i].integer == 0 : row[i].kind == Cell::Kind::Null;
                mdb_fill_temp_field(&fields[i], storage[i].data(), int(storage[i].size()), column->is_fixed, isNull, 0,
                                    int(i));
            }
            if (!mdb_insert_row(def.get(), int(fields.size()), fields.data()))
                fail(QStringLiteral("mdb_insert_row failed on %1").arg(table));
        }
    }
    addToRowCount(fileName, rowCountOffset, int(rows.size()));
}

} // namespace kbtest
