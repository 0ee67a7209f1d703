#include "JetFile.h"

#include "JetSignature.h"
#include "JetText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

// mdbtools.h includes glib inside extern "C"; glib must come first in C++.
#include <glib.h>
#include <mdbtools.h>

namespace kb::jet {

namespace {

constexpr int kOffsetMask = 0x1fff; // a row's offset in its page, without the flag bits
constexpr size_t kMemoChunk = 16384;

struct TableDefDeleter {
    void operator()(MdbTableDef* t) const { mdb_free_tabledef(t); }
};
using TableDefPtr = std::unique_ptr<MdbTableDef, TableDefDeleter>;

// libmdb prints its own English complaints about a damaged file on the standard error; the reader reports in
// Russian through its exceptions. While an object lives, the standard error goes nowhere.
class QuietStandardError {
public:
    QuietStandardError() : saved_((std::fflush(stderr), ::dup(STDERR_FILENO))) {
        const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (saved_ >= 0 && null >= 0)
            ::dup2(null, STDERR_FILENO);
        if (null >= 0)
            ::close(null);
    }
    ~QuietStandardError() {
        std::fflush(stderr);
        if (saved_ >= 0) {
            ::dup2(saved_, STDERR_FILENO);
            ::close(saved_);
        }
    }
    QuietStandardError(const QuietStandardError&) = delete;
    QuietStandardError& operator=(const QuietStandardError&) = delete;

private:
    int saved_;
};

[[noreturn]] void fail(const QString& message) {
    throw JetError(message.toStdString());
}

// A memo column's value is read through the column's bind buffer; the
// binding lasts only as long as this object, so that fetching rows never
// formats values into it.
class MemoBinding {
public:
    MemoBinding(MdbColumn* column, QByteArray& buffer) : column_(column) { column_->bind_ptr = buffer.data(); }
    ~MemoBinding() { column_->bind_ptr = nullptr; }
    MemoBinding(const MemoBinding&) = delete;
    MemoBinding& operator=(const MemoBinding&) = delete;

private:
    MdbColumn* column_;
};

} // namespace

struct JetFile::Handle {
    MdbHandle* mdb = nullptr;
    ~Handle() {
        if (mdb)
            mdb_close(mdb);
    }

    MdbCatalogEntry* entry(const QString& table) const {
        for (guint i = 0; i < mdb->num_catalog; ++i) {
            auto* e = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
            if (e->object_type == MDB_TABLE && !mdb_is_system_table(e) &&
                QString::fromUtf8(e->object_name).compare(table, Qt::CaseInsensitive) == 0)
                return e;
        }
        return nullptr;
    }
};

JetFile::JetFile(const QString& fileName)
    : handle_(std::make_unique<Handle>()), shown_(QDir::toNativeSeparators(QFileInfo(fileName).absoluteFilePath())) {
    const QFileInfo info(fileName);
    if (!info.isFile())
        fail(QStringLiteral("Файл базы данных старой программы не найден: %1").arg(shown_));
    if (!info.isReadable())
        fail(QStringLiteral("Нет доступа к файлу %1: чтение запрещено").arg(shown_));
    const auto format = sql::jetFormat(fileName);
    if (!format)
        fail(QStringLiteral("Файл %1 не является базой данных Microsoft Jet (Access)").arg(shown_));
    if (*format == sql::JetFormat::Jet3)
        fail(QStringLiteral("Файл %1 - база данных Jet 3 (Access 97); переносятся только файлы Jet 4.0 "
                            "(Access 2000-2003)")
                 .arg(shown_));
    if (*format == sql::JetFormat::Ace)
        fail(QStringLiteral("Файл %1 - база данных Access 2007 или новее; переносятся только файлы Jet 4.0 "
                            "(Access 2000-2003)")
                 .arg(shown_));
    const QuietStandardError quiet;
    handle_->mdb = mdb_open(QFile::encodeName(info.absoluteFilePath()).constData(), MDB_NOFLAGS);
    if (!handle_->mdb || !mdb_read_catalog(handle_->mdb, MDB_TABLE))
        fail(QStringLiteral("Файл %1 повреждён: не удаётся прочитать список его таблиц").arg(shown_));
}

JetFile::~JetFile() = default;

QStringList JetFile::tables() const {
    QStringList names;
    MdbHandle* mdb = handle_->mdb;
    for (guint i = 0; i < mdb->num_catalog; ++i) {
        auto* e = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
        if (e->object_type == MDB_TABLE && !mdb_is_system_table(e))
            names << QString::fromUtf8(e->object_name);
    }
    return names;
}

namespace {

TableDefPtr openTable(MdbCatalogEntry* entry, const QString& table, const QString& shown) {
    if (!entry)
        fail(QStringLiteral("В файле %1 нет таблицы %2").arg(shown, table));
    TableDefPtr def(mdb_read_table(entry));
    if (!def || !mdb_read_columns(def.get()))
        fail(QStringLiteral("Файл %1 повреждён: не удаётся прочитать описание таблицы %2").arg(shown, table));
    return def;
}

MdbColumn* columnAt(MdbTableDef* def, guint i) {
    return static_cast<MdbColumn*>(g_ptr_array_index(def->columns, i));
}

QString memoText(MdbHandle* mdb, MdbColumn* column, int start, int size) {
    if (size < MDB_MEMO_OVERHEAD)
        return {};
    unsigned char header[MDB_MEMO_OVERHEAD];
    memcpy(header, mdb->pg_buf + start, MDB_MEMO_OVERHEAD);
    QByteArray chunk(kMemoChunk, Qt::Uninitialized);
    QByteArray bytes;
    MemoBinding binding(column, chunk);
    size_t n = mdb_ole_read(mdb, column, header, kMemoChunk);
    while (n > 0) {
        bytes.append(chunk.constData(), qsizetype(n));
        n = mdb_ole_read_next(mdb, column, header);
    }
    return decodeText(reinterpret_cast<const unsigned char*>(bytes.constData()), int(bytes.size()));
}

Cell cell(MdbHandle* mdb, MdbColumn* column, const MdbField& field) {
    const auto type = ColumnType(column->col_type);
    if (type == ColumnType::Boolean) // kept in the null mask: a set bit is true
        return Cell::ofBoolean(!field.is_null);
    if (field.is_null)
        return Cell::null();
    unsigned char* page = mdb->pg_buf;
    const int start = field.start;
    switch (type) {
    case ColumnType::Byte:
        return Cell::ofInteger(mdb_get_byte(page, start));
    case ColumnType::Int:
        return Cell::ofInteger(qint16(mdb_get_int16(page, start)));
    case ColumnType::LongInt:
        return Cell::ofInteger(qint32(mdb_get_int32(page, start)));
    case ColumnType::Single:
        return Cell::ofDouble(double(mdb_get_single(page, start)));
    case ColumnType::Double:
        return Cell::ofDouble(mdb_get_double(page, start));
    case ColumnType::DateTime:
        return Cell::ofDayNumber(mdb_get_double(page, start));
    case ColumnType::Text:
        return Cell::ofText(decodeText(page + start, field.siz));
    case ColumnType::Memo:
        return Cell::ofText(memoText(mdb, column, start, field.siz));
    default:
        break;
    }
    return Cell::null(); // never reached: readRows refuses these types beforehand
}

bool readable(ColumnType type) {
    switch (type) {
    case ColumnType::Boolean:
    case ColumnType::Byte:
    case ColumnType::Int:
    case ColumnType::LongInt:
    case ColumnType::Single:
    case ColumnType::Double:
    case ColumnType::DateTime:
    case ColumnType::Text:
    case ColumnType::Memo:
        return true;
    default:
        return false;
    }
}

} // namespace

std::vector<Column> JetFile::columns(const QString& table) const {
    const QuietStandardError quiet;
    const TableDefPtr def = openTable(handle_->entry(table), table, shown_);
    std::vector<Column> result;
    for (guint i = 0; i < def->num_cols; ++i) {
        const MdbColumn* c = columnAt(def.get(), i);
        result.push_back({QString::fromUtf8(c->name), ColumnType(c->col_type), c->is_long_auto != 0, c->col_size});
    }
    return result;
}

void JetFile::readRows(const QString& table, const QStringList& columnNames,
                       const std::function<void(const Row&)>& each) const {
    const QuietStandardError quiet;
    MdbHandle* mdb = handle_->mdb;
    const TableDefPtr def = openTable(handle_->entry(table), table, shown_);
    // Where each wanted column stands in the table's columns.
    std::vector<int> wanted;
    for (const QString& name : columnNames) {
        int found = -1;
        for (guint i = 0; i < def->num_cols && found < 0; ++i) {
            if (QString::fromUtf8(columnAt(def.get(), i)->name).compare(name, Qt::CaseInsensitive) == 0)
                found = int(i);
        }
        if (found < 0)
            fail(QStringLiteral("В таблице %1 файла %2 нет поля %3").arg(table, shown_, name));
        const auto type = ColumnType(columnAt(def.get(), guint(found))->col_type);
        if (!readable(type))
            fail(QStringLiteral("Поле %1.%2 файла %3 имеет тип \"%4\", который не читается")
                     .arg(table, name, shown_, typeName(type)));
        wanted.push_back(found);
    }

    std::vector<MdbField> fields(def->num_cols);
    std::vector<int> fieldOfColumn(def->num_cols, -1);
    Row row(wanted.size());
    unsigned count = 0;
    mdb_rewind_table(def.get());
    while (mdb_fetch_row(def.get())) {
        // The row just fetched is cracked again for its raw bytes and null flags.
        int start = 0;
        size_t size = 0;
        const int cracked = mdb_find_row(mdb, int(def->cur_row) - 1, &start, &size) == 0
                                ? mdb_crack_row(def.get(), start & kOffsetMask, size, fields.data())
                                : -1;
        if (cracked < int(def->num_cols))
            fail(QStringLiteral("Файл %1 повреждён: не читается строка таблицы %2").arg(shown_, table));
        for (int f = 0; f < cracked; ++f)
            fieldOfColumn[size_t(fields[size_t(f)].colnum)] = f;
        for (size_t k = 0; k < wanted.size(); ++k) {
            const int f = fieldOfColumn[size_t(wanted[k])];
            row[k] = cell(mdb, columnAt(def.get(), guint(wanted[k])), fields[size_t(f)]);
        }
        each(row);
        ++count;
    }
    if (count != def->num_rows)
        fail(QStringLiteral("Файл %1 повреждён: в таблице %2 записано строк: %3, прочитано: %4")
                 .arg(shown_)
                 .arg(table)
                 .arg(def->num_rows)
                 .arg(count));
}

} // namespace kb::jet
