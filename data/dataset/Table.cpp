#include "Table.h"

#include "Connection.h"
#include "DataSetErrors.h"
#include "DbError.h"
#include "SqlName.h"
#include "TextMemo.h"
#include "Transaction.h"
#include "ValueText.h"

#include <QDir>
#include <QMetaMethod>
#include <algorithm>
#include <limits>

namespace kb {

namespace {

// Reads the rows of a statement over a table's fields. Each value is held in
// its field's type even where the file's column would give it otherwise (a
// whole number in a REAL field, a date stored as text); a text that reads as a
// date in a column declared as a date becomes a date-time too. A reader of
// many rows remembers the values of repeated texts. With Rows::ManyAfterRowid
// the statement's first column is the rowid, read as a whole number.
class RowReader {
public:
    enum class Rows { One, Many, ManyAfterRowid };

    RowReader(const Statement& statement, const std::vector<schema::FieldDef>& fields, Rows rows)
        : statement_(statement) {
        if (rows == Rows::ManyAfterRowid)
            types_.push_back(FieldType::Integer);
        for (const schema::FieldDef& f : fields)
            types_.push_back(f.type);
        if (rows != Rows::One)
            memos_.resize(types_.size());
    }

    std::vector<Value> read() { return statement_.row(types_, memos_); }

private:
    const Statement& statement_;
    std::vector<FieldType> types_; // the fields' types, in column order
    std::vector<TextMemo> memos_;  // one per column
};

} // namespace

Table::Table(Connection& connection, const schema::TableDef& def, QObject* parent)
    : DataSet(parent), connection_(connection), def_(def) {
    QStringList all;
    QStringList written;
    QStringList marks;
    for (size_t i = 0; i < def_.fields.size(); ++i) {
        const schema::FieldDef& f = def_.fields[i];
        fields_.push_back(std::make_unique<Field>(*this, f, int(i)));
        all.append(sql::quoteName(f.name));
        if (f.readOnly)
            continue;
        writable_.push_back(int(i));
        written.append(sql::quoteName(f.name));
        marks.append(QStringLiteral("?"));
    }
    const auto key = std::find_if(def_.fields.begin(), def_.fields.end(), [](const auto& f) { return f.readOnly; });
    keyColumn_ = key == def_.fields.end() ? 0 : int(key - def_.fields.begin());

    const QString table = sql::quoteName(def_.name);
    const QString columns = all.join(QStringLiteral(", "));
    const QString keyName =
        def_.fields.empty() ? QStringLiteral("rowid") : sql::quoteName(def_.fields[size_t(keyColumn_)].name);
    // In rowid order the engine walks the table itself: through an index the
    // rowids would come in that index's order and need sorting here, which
    // costs more than the index's fewer pages save.
    rowidsSql_ = QStringLiteral("SELECT rowid FROM %1 ORDER BY rowid").arg(table);
    // One statement, so one read of the file: the count walks the pages
    // without their rows, the least and the greatest rowid are one lookup each.
    boundsSql_ = QStringLiteral("SELECT (SELECT count(*) FROM %1), (SELECT min(rowid) FROM %1), "
                                "(SELECT max(rowid) FROM %1)")
                     .arg(table);
    selectPageSql_ = QStringLiteral("SELECT rowid, %1 FROM %2 WHERE rowid IN (%3)").arg(columns, table);
    selectRangeSql_ = QStringLiteral("SELECT rowid, %1 FROM %2 WHERE rowid BETWEEN ? AND ?").arg(columns, table);
    selectByKeySql_ = QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?").arg(columns, table, keyName);
    selectByRowidSql_ = QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?").arg(columns, table);
    insertSql_ = written.isEmpty()
                     ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(table)
                     : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                           .arg(table, written.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
    updatePrefix_ = QStringLiteral("UPDATE %1 SET ").arg(table);
    byKeySuffix_ = QStringLiteral(" WHERE %1 = ?").arg(keyName);
    deleteSql_ = QStringLiteral("DELETE FROM %1 WHERE %2 = ?").arg(table, keyName);
}

Table::~Table() = default;

// ---------------------------------------------------------------- opening and reading

void Table::open() {
    if (isActive())
        return;
    const ColumnTypes& types = connection_.columnTypes();
    const QString file = QDir::toNativeSeparators(connection_.fileName());
    if (!types.hasTable(def_.name))
        throw DbError(QStringLiteral("Таблица '%1' не найдена в базе данных %2").arg(def_.name, file));
    for (const schema::FieldDef& f : def_.fields) {
        if (!types.hasColumn(def_.name, f.name))
            throw DbError(
                QStringLiteral("Поле '%1' не найдено в таблице '%2' базы данных %3").arg(f.name, def_.name, file));
    }
    // The snapshot is read on first use (see snapshot()); something that
    // follows the current row must be told the first one, so it is read now,
    // before anything changes: a failed read leaves the table closed.
    static const QMetaMethod rowSignal = QMetaMethod::fromSignal(&DataSet::currentRowChanged);
    rowsRead_ = false;
    rowids_ = RowidSnapshot();
    pages_.clear();
    if (isSignalConnected(rowSignal))
        readSnapshot();
    state_ = State::Browse;
    emit dataReset();
    setCursorToFirstRow();
    emit activeChanged(true);
    emit stateChanged(state_);
}

void Table::close() {
    if (!isActive())
        return;
    pending_.clear();
    insertRow_ = -1;
    rowids_ = RowidSnapshot();
    pages_.clear();
    rowsRead_ = false;
    state_ = State::Inactive;
    emit dataReset();
    setCursor(-1, true, true);
    emit activeChanged(false);
    emit stateChanged(state_);
}

void Table::readSnapshot() const {
    RowidSnapshot rowids = readRowids();
    std::vector<Page> pages;
    if (!rowids.empty())
        pages.push_back(readPage(rowids, 0));
    rowids_ = std::move(rowids);
    pages_ = std::move(pages);
    rowsRead_ = true;
}

// A table with as many rows as numbers from its least rowid to its greatest
// has them all, and its snapshot needs no row read; otherwise every rowid is.
RowidSnapshot Table::readRowids() const {
    try {
        qint64 count = 0;
        {
            Statement bounds = connection_.prepareNative(boundsSql_);
            if (bounds.step()) {
                count = bounds.column(0, FieldType::Integer).toInt();
                const qint64 least = bounds.column(1, FieldType::Integer).toInt();
                const qint64 greatest = bounds.column(2, FieldType::Integer).toInt();
                if (count == 0 || (count <= std::numeric_limits<int>::max() && greatest - least + 1 == count))
                    return RowidSnapshot::consecutive(least, int(count));
            }
        }
        std::vector<qint64> rowids;
        // Another user's rows since the count only make it a guess.
        rowids.reserve(size_t(std::max<qint64>(count, 0)));
        Statement statement = connection_.prepareNative(rowidsSql_);
        while (statement.step())
            rowids.push_back(statement.column(0, FieldType::Integer).toInt());
        return RowidSnapshot::of(rowids);
    } catch (const DbError& e) {
        readFailed(e);
    }
}

// One statement for the page: the range from its first rowid to its last when
// they are in order (as they are unless rows were inserted here), its rowids
// listed otherwise. The rows come back in whatever order the engine gives,
// rows outside the snapshot among them; each takes the position of its rowid.
Table::Page Table::readPage(const RowidSnapshot& snapshot, int first) const {
    const int count = std::min(kPageRows, snapshot.size() - first);
    const std::vector<qint64> rowids = snapshot.slice(first, count);
    const auto begin = rowids.begin();
    const bool inOrder = std::is_sorted(begin, begin + count);
    QStringList marks;
    for (int i = 0; !inOrder && i < count; ++i)
        marks.append(QStringLiteral("?"));
    std::vector<std::pair<qint64, Row>> found;
    try {
        Statement statement =
            connection_.prepareNative(inOrder ? selectRangeSql_ : selectPageSql_.arg(marks.join(QLatin1Char(','))));
        if (inOrder) {
            statement.bind(1, Value(*begin));
            statement.bind(2, Value(*(begin + count - 1)));
        }
        for (int i = 0; !inOrder && i < count; ++i)
            statement.bind(i + 1, Value(rowids[size_t(i)]));
        RowReader reader(statement, def_.fields, RowReader::Rows::ManyAfterRowid);
        while (statement.step()) {
            Row values = reader.read();
            const qint64 rowid = values.front().toInt();
            values.erase(values.begin());
            found.emplace_back(rowid, std::move(values));
        }
    } catch (const DbError& e) {
        readFailed(e);
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    Page page{first, {}};
    page.rows.reserve(size_t(count));
    for (int i = 0; i < count; ++i) {
        const qint64 rowid = rowids[size_t(i)];
        const auto at = std::lower_bound(found.begin(), found.end(), rowid,
                                         [](const auto& entry, qint64 id) { return entry.first < id; });
        if (at != found.end() && at->first == rowid) {
            page.rows.push_back(std::move(at->second));
            continue;
        }
        // Deleted by another user since the snapshot: its ID (the rowid) and no values.
        Row gone(fields_.size());
        if (!gone.empty())
            gone[size_t(keyColumn_)] = Value(rowid);
        page.rows.push_back(std::move(gone));
    }
    return page;
}

void Table::readFailed(const DbError& e) const {
    // Named with the table, as the read may come long after opening; the engine's words follow.
    const QString engine = QString::fromUtf8(e.what());
    if (e.isBusy())
        throw DbError(QStringLiteral("Таблицу '%1' прочитать не удалось: база данных %2 занята другим "
                                     "пользователем или программой (%3). Повторите действие позже")
                          .arg(def_.name, QDir::toNativeSeparators(connection_.fileName()), engine),
                      e.sqliteCode());
    if (e.isDamaged())
        throw DbError(QStringLiteral("Таблицу '%1' прочитать не удалось: файл базы данных %2 повреждён (%3)")
                          .arg(def_.name, QDir::toNativeSeparators(connection_.fileName()), engine),
                      e.sqliteCode());
    throw DbError(QStringLiteral("Таблицу '%1' прочитать не удалось: %2").arg(def_.name, engine), e.sqliteCode());
}

const RowidSnapshot& Table::snapshot() const {
    if (!rowsRead_)
        readSnapshot(); // a failed read leaves the snapshot unread, to be read at the next use
    return rowids_;
}

const Table::Row& Table::storedRow(int row) const {
    const RowidSnapshot& rowids = snapshot();
    auto kept = std::find_if(pages_.begin(), pages_.end(), [row](const Page& p) { return p.holds(row); });
    if (kept == pages_.end()) {
        Page page = readPage(rowids, row / kPageRows * kPageRows);
        if (pages_.size() >= kKeptPages)
            pages_.erase(pages_.begin());
        pages_.push_back(std::move(page));
    } else {
        std::rotate(kept, kept + 1, pages_.end()); // the last used goes last
    }
    const Page& page = pages_.back();
    return page.rows[size_t(row - page.first)];
}

void Table::storeInPages(int row, const Row& stored) {
    for (Page& page : pages_) {
        if (page.holds(row))
            page.rows[size_t(row - page.first)] = stored;
    }
}

void Table::insertInPages(int row, const Row& stored) {
    for (Page& page : pages_) {
        if (row < page.first)
            ++page.first;
        else if (row <= page.first + int(page.rows.size()))
            page.rows.insert(page.rows.begin() + (row - page.first), stored);
    }
}

void Table::removeFromPages(int row) {
    for (Page& page : pages_) {
        if (row < page.first)
            --page.first;
        else if (page.holds(row))
            page.rows.erase(page.rows.begin() + (row - page.first));
    }
    std::erase_if(pages_, [](const Page& p) { return p.rows.empty(); });
}

void Table::requireRows() const {
    throwIfInactive();
    snapshot();
    settleCursor();
}

Table::Row Table::readRow(const QString& sql, const Value& key) const {
    Statement statement = connection_.prepareNative(sql);
    statement.bind(1, key);
    if (!statement.step())
        return {};
    return RowReader(statement, def_.fields, RowReader::Rows::One).read();
}

void Table::checkColumn(int column) const {
    if (column < 0 || column >= fieldCount())
        throw errors::noTableField(column, def_.name);
}

QString Table::fieldName(int column) const {
    checkColumn(column);
    return def_.fields[size_t(column)].name;
}

int Table::recordCount() const {
    throwIfInactive();
    return int(snapshot().size()) + (state_ == State::Insert ? 1 : 0);
}

Value Table::value(int row, int column) const {
    throwIfInactive();
    if (row < 0 || row >= recordCount())
        throw DbError(QStringLiteral("Записи с номером %1 нет в таблице '%2'").arg(row + 1).arg(def_.name));
    checkColumn(column);
    // The pending row by its own position: rowInserted is told before the cursor moves onto it.
    if ((state_ == State::Insert && row == insertRow_) || (state_ == State::Edit && row == currentRow()))
        return pending_[size_t(column)];
    const int stored = state_ == State::Insert && row > insertRow_ ? row - 1 : row;
    return storedRow(stored)[size_t(column)];
}

Field* Table::findField(const QString& name) {
    for (const auto& f : fields_) {
        if (f->name().compare(name, Qt::CaseInsensitive) == 0)
            return f.get();
    }
    return nullptr;
}

Field& Table::fieldByName(const QString& name) {
    if (Field* f = findField(name))
        return *f;
    throw DbError(QStringLiteral("Поле '%1' не найдено в таблице '%2'").arg(name, def_.name));
}

// ---------------------------------------------------------------- states

void Table::setState(State state) {
    if (state_ == state)
        return;
    state_ = state;
    emit stateChanged(state);
}

void Table::postIfEditing() {
    if (isEditing())
        post();
}

void Table::edit() {
    requireRows();
    if (isEditing())
        return;
    if (rowids_.empty()) {
        insert();
        return;
    }
    pending_ = storedRow(currentRow());
    original_ = pending_;
    setState(State::Edit);
}

void Table::insert() {
    beginInsert(false);
}

void Table::append() {
    beginInsert(true);
}

void Table::beginInsert(bool atEnd) {
    requireRows();
    postIfEditing();
    savedRow_ = currentRow();
    savedBof_ = bof();
    savedEof_ = eof();
    const int at = atEnd ? rowids_.size() : std::max(currentRow(), 0);
    pending_.assign(fields_.size(), Value());
    insertRow_ = at;
    state_ = State::Insert;
    emit rowInserted(at);
    setCursor(at, false, atEnd, true);
    emit stateChanged(state_);
}

void Table::addPendingWriter(PendingWriter* writer) {
    if (std::find(writers_.begin(), writers_.end(), writer) == writers_.end())
        writers_.push_back(writer);
}

void Table::removePendingWriter(PendingWriter* writer) {
    std::erase(writers_, writer);
}

void Table::post() {
    requireRows();
    if (isEditing()) {
        // A copy: a writer may unregister itself or another while it writes.
        const std::vector<PendingWriter*> writers = writers_;
        for (PendingWriter* writer : writers)
            writer->writePending();
    }
    if (state_ == State::Edit)
        postEdit();
    else if (state_ == State::Insert)
        postInsert();
}

// The pending values stay untouched until the transaction has committed, so a
// failure leaves the row in its edit or insert state with nothing lost. The
// transaction holds the write lock from its start, so the row read in it
// cannot change before the UPDATE: comparing the changed fields there, as the
// table object reads them (a date kept as text reads as a date), spares the
// false conflicts a comparison of the file's raw values would give.
void Table::postEdit() {
    const int row = currentRow();
    std::vector<int> changed;
    for (int c : writable_) {
        if (!(pending_[size_t(c)] == original_[size_t(c)]))
            changed.push_back(c);
    }
    if (changed.empty()) { // nothing to write
        pending_.clear();
        setState(State::Browse);
        return;
    }
    const Value key = original_[size_t(keyColumn_)];
    Row stored;
    {
        Transaction transaction(connection_);
        const Row current = readRow(selectByKeySql_, key);
        if (current.empty())
            rowVanished(key, QStringLiteral("изменения не сохранены"));
        QStringList assignments;
        QStringList conflicts;
        for (int c : changed) {
            const QString& name = def_.fields[size_t(c)].name;
            assignments.append(sql::quoteName(name) + QStringLiteral(" = ?"));
            if (!(current[size_t(c)] == original_[size_t(c)]))
                conflicts.append(name);
        }
        if (!conflicts.isEmpty()) {
            storeInPages(row, current); // what cancel() shows
            rowChangedMeanwhile(key, conflicts);
        }
        {
            Statement statement =
                connection_.prepareNative(updatePrefix_ + assignments.join(QStringLiteral(", ")) + byKeySuffix_);
            int index = 1;
            for (int c : changed)
                statement.bind(index++, pending_[size_t(c)]);
            statement.bind(index, key);
            statement.step();
        }
        stored = readRow(selectByKeySql_, key);
        transaction.commit();
    }
    storeInPages(row, stored.empty() ? pending_ : stored);
    pending_.clear();
    original_.clear();
    setState(State::Browse);
    emit rowChanged(row);
}

void Table::postInsert() {
    Row stored;
    qint64 rowid = 0;
    {
        Transaction transaction(connection_);
        {
            Statement statement = connection_.prepareNative(insertSql_);
            int index = 1;
            for (int c : writable_)
                statement.bind(index++, pending_[size_t(c)]);
            statement.step();
        }
        rowid = connection_.lastInsertRowId();
        stored = readRow(selectByRowidSql_, Value(rowid));
        if (stored.empty()) {
            stored = pending_;
            stored[size_t(keyColumn_)] = Value(rowid);
        }
        transaction.commit();
    }
    const int row = insertRow_;
    rowids_.insert(row, rowid);
    insertInPages(row, stored);
    pending_.clear();
    insertRow_ = -1;
    setState(State::Browse);
    emit rowChanged(row);
}

void Table::cancel() {
    if (!isEditing())
        return;
    if (state_ == State::Edit) {
        pending_.clear();
        setState(State::Browse);
        emit rowChanged(currentRow());
        return;
    }
    const int at = insertRow_;
    pending_.clear();
    insertRow_ = -1;
    state_ = State::Browse;
    emit rowRemoved(at);
    setCursor(savedRow_, savedBof_, savedEof_, true);
    emit stateChanged(state_);
}

void Table::remove() {
    requireRows();
    if (state_ == State::Insert) { // the new row is not in the file yet
        cancel();
        return;
    }
    if (rowids_.empty())
        throw DbError(QStringLiteral("Таблица '%1' пуста: удалять нечего").arg(def_.name));
    const int row = currentRow();
    const Value key = storedRow(row)[size_t(keyColumn_)];
    {
        Transaction transaction(connection_);
        {
            Statement statement = connection_.prepareNative(deleteSql_);
            statement.bind(1, key);
            statement.step();
        }
        if (connection_.changes() != 1)
            rowVanished(key, QStringLiteral("удалить её нельзя"));
        transaction.commit();
    }
    const bool wasEditing = state_ == State::Edit;
    pending_.clear();
    state_ = State::Browse;
    rowids_.erase(row);
    removeFromPages(row);
    emit rowRemoved(row);
    const int count = rowids_.size();
    if (count == 0)
        setCursor(-1, true, true, true);
    else
        setCursor(std::min(row, count - 1), false, false, true);
    if (wasEditing)
        emit stateChanged(state_);
}

void Table::refresh() {
    const bool wasRead = rowsRead_;
    requireRows(); // rows never read before are read now: that is the refresh
    postIfEditing();
    const int oldRow = currentRow();
    const std::optional<qint64> kept = oldRow >= 0 ? std::optional(rowids_.at(oldRow)) : std::nullopt;
    if (wasRead)
        readSnapshot();
    const int count = rowids_.size();
    int row = kept ? rowids_.positionOf(*kept).value_or(-1) : -1;
    emit dataReset();
    if (count == 0) {
        setCursor(-1, true, true, true);
        return;
    }
    if (row < 0)
        row = std::clamp(oldRow, 0, count - 1);
    setCursor(row, bof() && row == 0, eof() && row == count - 1, true);
}

void Table::rowChangedMeanwhile(const Value& key, const QStringList& fields) const {
    QStringList quoted;
    for (const QString& f : fields)
        quoted.append(QLatin1Char('\'') + f + QLatin1Char('\''));
    const QString which = fields.size() == 1 ? QStringLiteral("поле") : QStringLiteral("поля");
    throw DbError(QStringLiteral("Запись с %1 = %2 в таблице '%3' изменил другой пользователь, пока она "
                                 "редактировалась (%4 %5): изменения не сохранены. Отмените правку, чтобы увидеть "
                                 "новые значения")
                      .arg(def_.fields[size_t(keyColumn_)].name, text::display(key), def_.name, which,
                           quoted.join(QStringLiteral(", "))));
}

void Table::rowVanished(const Value& key, const QString& consequence) const {
    throw DbError(QStringLiteral("Запись с %1 = %2 не найдена в таблице '%3': возможно, её удалил другой "
                                 "пользователь; %4. Обновите данные таблицы")
                      .arg(def_.fields[size_t(keyColumn_)].name, text::display(key), def_.name, consequence));
}

// ---------------------------------------------------------------- navigation

void Table::first() {
    requireRows();
    postIfEditing();
    DataSet::first();
}

void Table::last() {
    requireRows();
    postIfEditing();
    DataSet::last();
}

void Table::next() {
    requireRows();
    postIfEditing();
    DataSet::next();
}

void Table::prior() {
    requireRows();
    postIfEditing();
    DataSet::prior();
}

void Table::moveTo(int row) {
    requireRows();
    if (row == currentRow())
        return;
    postIfEditing();
    DataSet::moveTo(row);
}

// ---------------------------------------------------------------- pending values

Value Table::pendingValue(int column) const {
    throwIfInactive();
    if (!isEditing())
        throw DbError(QStringLiteral("Таблица '%1' не в режиме редактирования или вставки").arg(def_.name));
    checkColumn(column);
    return pending_[size_t(column)];
}

void Table::checkWritable(int column) const {
    const schema::FieldDef& f = def_.fields[size_t(column)];
    if (f.readOnly)
        throw errors::readOnlyField(f.name);
    if (!isEditing())
        throw errors::notEditing(def_.name, f.name);
}

void Table::setPendingValue(int column, const Value& value) {
    throwIfInactive();
    checkColumn(column);
    checkWritable(column);
    if (pending_[size_t(column)] == value)
        return;
    pending_[size_t(column)] = value;
    emit fieldChanged(column);
}

} // namespace kb
