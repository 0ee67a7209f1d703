#include "Table.h"

#include "Connection.h"
#include "DataSetErrors.h"
#include "DbError.h"
#include "TextMemo.h"
#include "Transaction.h"
#include "ValueText.h"

#include <QDir>
#include <QMetaMethod>
#include <algorithm>
#include <limits>

namespace kb::dataset {

Table::Table(sql::Connection& connection, const schema::TableDef& def, QObject* parent)
    : DataSet(parent), connection_(connection), def_(def), statements_(def_), save_(connection, statements_, def_) {
    for (size_t i = 0; i < def_.fields.size(); ++i)
        fields_.push_back(std::make_unique<Field>(*this, def_.fields[i], int(i)));
}

Table::~Table() = default;

// ---------------------------------------------------------------- opening and reading

void Table::open() {
    if (isActive())
        return;
    const sql::ColumnTypes& types = connection_.columnTypes();
    const QString file = QDir::toNativeSeparators(connection_.fileName());
    if (!types.hasTable(def_.name))
        throw sql::DbError(QStringLiteral("Таблица '%1' не найдена в базе данных %2").arg(def_.name, file));
    for (const schema::FieldDef& f : def_.fields) {
        if (!types.hasColumn(def_.name, f.name))
            throw sql::DbError(
                QStringLiteral("Поле '%1' не найдено в таблице '%2' базы данных %3").arg(f.name, def_.name, file));
    }
    // The snapshot is read on first use (see keys()); something that
    // follows the current row must be told the first one, so it is read now,
    // before anything changes: a failed read leaves the table closed.
    static const QMetaMethod rowSignal = QMetaMethod::fromSignal(&DataSet::currentRowChanged);
    rowsRead_ = false;
    keys_ = KeySnapshot();
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
    keys_ = KeySnapshot();
    pages_.clear();
    rowsRead_ = false;
    state_ = State::Inactive;
    emit dataReset();
    setCursor(-1, true, true);
    emit activeChanged(false);
    emit stateChanged(state_);
}

void Table::readSnapshot() const {
    try {
        sql::Statement bounds = connection_.prepareNative(statements_.bounds());
        qint64 count = 0;
        qint64 least = 0;
        qint64 greatest = 0;
        if (bounds.step()) {
            count = bounds.column(0, sql::FieldType::Integer).toInt();
            least = bounds.column(1, sql::FieldType::Integer).toInt();
            greatest = bounds.column(2, sql::FieldType::Integer).toInt();
        }
        keys_ = KeySnapshot::counted(int(std::min<qint64>(count, std::numeric_limits<int>::max())), least, greatest);
    } catch (const sql::DbError& e) {
        readFailed(e);
    }
    pages_.clear();
    rowsRead_ = true;
    try {
        if (!keys_.empty())
            pages_.keep(readPage(0));
    } catch (const sql::DbError&) {
        rowsRead_ = false;
        throw;
    }
}

// Each read fills a gap from the end nearer to the positions asked for, with
// at least kKeyChunk IDs, so that moving row by row reads IDs seldom.
void Table::readKeys(int from, int to) const {
    while (const std::optional<KeySnapshot::Gap> gap = keys_.firstGapIn(from, to)) {
        const int end = gap->first + gap->count;
        const int fromFront = std::min(to, end) - gap->first;
        const int fromBack = end - std::max(from, gap->first);
        const bool forward = fromFront <= fromBack;
        const int limit = std::min(gap->count, std::max(forward ? fromFront : fromBack, kKeyChunk));
        std::vector<qint64> ids;
        ids.reserve(size_t(limit));
        try {
            sql::Statement statement =
                connection_.prepareNative(forward ? statements_.keysAscending() : statements_.keysDescending());
            statement.bind(1, sql::Value(gap->after));
            statement.bind(2, sql::Value(gap->upTo));
            statement.bind(3, sql::Value(qint64(limit)));
            while (statement.step())
                ids.push_back(statement.column(0, sql::FieldType::Integer).toInt());
        } catch (const sql::DbError& e) {
            readFailed(e);
        }
        const bool exhausted = int(ids.size()) < limit;
        if (forward)
            keys_.fillFront(gap->first, ids, exhausted);
        else
            keys_.fillBack(gap->first, ids, exhausted);
    }
}

// One statement for the page: the range from its least ID to its greatest
// when its IDs ascend (as they do unless rows were inserted here), its IDs
// listed otherwise. Rows come back in whatever order the engine gives, rows
// outside the snapshot among them; each takes the position of its ID.
PageCache::Page Table::readPage(int first) const {
    const int count = std::min(kPageRows, keys_.size() - first);
    readKeys(first, first + count);
    std::vector<qint64> ids;
    ids.reserve(size_t(count));
    for (int i = 0; i < count; ++i) {
        if (const qint64 id = keys_.at(first + i); id != KeySnapshot::kNoKey)
            ids.push_back(id);
    }
    const bool inOrder = std::is_sorted(ids.begin(), ids.end());
    std::vector<std::pair<qint64, Row>> found;
    try {
        if (!ids.empty()) {
            sql::Statement statement = connection_.prepareNative(inOrder ? statements_.rowsBetween()
                                                                         : statements_.rowsListed(int(ids.size())));
            if (inOrder) {
                statement.bind(1, sql::Value(ids.front()));
                statement.bind(2, sql::Value(ids.back()));
            }
            for (size_t i = 0; !inOrder && i < ids.size(); ++i)
                statement.bind(int(i) + 1, sql::Value(ids[i]));
            std::vector<sql::TextMemo> memos(statements_.fieldCount());
            const size_t key = size_t(statements_.keyColumn());
            while (statement.step()) {
                Row values = statements_.read(statement, memos);
                const qint64 id = values[key].toInt();
                found.emplace_back(id, std::move(values));
            }
        }
    } catch (const sql::DbError& e) {
        readFailed(e);
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    PageCache::Page page{first, {}};
    page.rows.reserve(size_t(count));
    for (int i = 0; i < count; ++i) {
        const qint64 id = keys_.at(first + i);
        const auto at = std::lower_bound(found.begin(), found.end(), id,
                                         [](const auto& entry, qint64 wanted) { return entry.first < wanted; });
        if (id != KeySnapshot::kNoKey && at != found.end() && at->first == id) {
            page.rows.push_back(std::move(at->second));
            continue;
        }
        // Deleted by another user since the snapshot: its ID, if it was read, and no values.
        Row gone(fields_.size());
        if (!gone.empty() && id != KeySnapshot::kNoKey)
            gone[size_t(statements_.keyColumn())] = sql::Value(id);
        page.rows.push_back(std::move(gone));
    }
    return page;
}

void Table::readFailed(const sql::DbError& e) const {
    // Named with the table, as the read may come long after opening; the engine's words follow.
    const QString engine = QString::fromUtf8(e.what());
    if (e.isBusy())
        throw sql::DbError(QStringLiteral("Таблицу '%1' прочитать не удалось: база данных %2 занята другим "
                                          "пользователем или программой (%3). Повторите действие позже")
                               .arg(def_.name, QDir::toNativeSeparators(connection_.fileName()), engine),
                           e.sqliteCode());
    if (e.isDamaged())
        throw sql::DbError(QStringLiteral("Таблицу '%1' прочитать не удалось: файл базы данных %2 повреждён (%3)")
                               .arg(def_.name, QDir::toNativeSeparators(connection_.fileName()), engine),
                           e.sqliteCode());
    throw sql::DbError(QStringLiteral("Таблицу '%1' прочитать не удалось: %2").arg(def_.name, engine), e.sqliteCode());
}

const KeySnapshot& Table::keys() const {
    if (!rowsRead_)
        readSnapshot(); // a failed read leaves the snapshot unread, to be read at the next use
    return keys_;
}

const Table::Row& Table::storedRow(int row) const {
    keys();
    if (const Row* kept = pages_.find(row))
        return *kept;
    pages_.keep(readPage(row / kPageRows * kPageRows));
    return *pages_.find(row);
}

sql::Value Table::keyAt(int row) const {
    readKeys(row, row + 1);
    const qint64 id = keys_.at(row);
    return id == KeySnapshot::kNoKey ? sql::Value() : sql::Value(id);
}

// A refresh finds the current row's ID in the new snapshot: in a gap, the IDs
// below it in the gap give its position.
std::optional<int> Table::positionOf(qint64 id) const {
    const KeySnapshot::Found found = keys_.find(id);
    if (found.position || !found.gap)
        return found.position;
    const KeySnapshot::Gap gap = *found.gap;
    qint64 below = 0;
    bool present = false;
    try {
        sql::Statement statement = connection_.prepareNative(statements_.keysBelow());
        statement.bind(1, sql::Value(gap.after));
        statement.bind(2, sql::Value(id));
        statement.bind(3, sql::Value(id));
        if (statement.step()) {
            below = statement.column(0, sql::FieldType::Integer).toInt();
            present = statement.column(1, sql::FieldType::Integer).toInt() > 0;
        }
    } catch (const sql::DbError& e) {
        readFailed(e);
    }
    if (!present || below >= gap.count)
        return std::nullopt;
    keys_.place(gap.first + int(below), id);
    return gap.first + int(below);
}

void Table::requireRows() const {
    throwIfInactive();
    keys();
    settleCursor();
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
    return keys().size() + (state_ == State::Insert ? 1 : 0);
}

sql::Value Table::value(int row, int column) const {
    throwIfInactive();
    if (row < 0 || row >= recordCount())
        throw sql::DbError(QStringLiteral("Записи с номером %1 нет в таблице '%2'").arg(row + 1).arg(def_.name));
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
    throw sql::DbError(QStringLiteral("Поле '%1' не найдено в таблице '%2'").arg(name, def_.name));
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
    if (keys_.empty()) {
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
    const int at = atEnd ? keys_.size() : std::max(currentRow(), 0);
    if (at < keys_.size())
        keyAt(at); // the new row goes before a row whose ID is known
    pending_.assign(fields_.size(), sql::Value());
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
// failure leaves the row in its edit or insert state with nothing lost.
void Table::postEdit() {
    const int row = currentRow();
    const sql::Value key = original_[size_t(statements_.keyColumn())];
    OptimisticSave::Outcome outcome = save_.save(original_, pending_);
    using Kind = OptimisticSave::Outcome::Kind;
    if (outcome.kind == Kind::Vanished)
        rowVanished(key, QStringLiteral("изменения не сохранены"));
    if (outcome.kind == Kind::ChangedMeanwhile) {
        pages_.store(row, outcome.row); // what cancel() shows
        rowChangedMeanwhile(key, outcome.conflicts);
    }
    if (outcome.kind == Kind::Saved)
        pages_.store(row, outcome.row);
    pending_.clear();
    original_.clear();
    setState(State::Browse);
    if (outcome.kind == Kind::Saved)
        emit rowChanged(row);
}

void Table::postInsert() {
    Row stored;
    {
        sql::Transaction transaction(connection_);
        {
            sql::Statement statement = connection_.prepareNative(statements_.insert());
            int index = 1;
            for (int c : statements_.writable())
                statement.bind(index++, pending_[size_t(c)]);
            if (!statement.step())
                throw sql::DbError(QStringLiteral("Запись в таблицу '%1' не добавлена").arg(def_.name));
            stored = statements_.read(statement);
        }
        transaction.commit();
    }
    const int row = insertRow_;
    keys_.insert(row, stored[size_t(statements_.keyColumn())].toInt());
    pages_.insert(row, stored);
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
    if (keys_.empty())
        throw sql::DbError(QStringLiteral("Таблица '%1' пуста: удалять нечего").arg(def_.name));
    const int row = currentRow();
    const sql::Value key = keyAt(row);
    {
        sql::Transaction transaction(connection_);
        bool removed = false;
        {
            sql::Statement statement = connection_.prepareNative(statements_.remove());
            statement.bind(1, key);
            removed = statement.step();
        }
        if (!removed)
            rowVanished(key, QStringLiteral("удалить её нельзя"));
        transaction.commit();
    }
    const bool wasEditing = state_ == State::Edit;
    pending_.clear();
    state_ = State::Browse;
    keys_.erase(row);
    pages_.remove(row);
    emit rowRemoved(row);
    const int count = keys_.size();
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
    const sql::Value kept = oldRow >= 0 ? keyAt(oldRow) : sql::Value();
    if (wasRead)
        readSnapshot();
    const int count = keys_.size();
    int row = kept.isNull() ? -1 : positionOf(kept.toInt()).value_or(-1);
    emit dataReset();
    if (count == 0) {
        setCursor(-1, true, true, true);
        return;
    }
    if (row < 0)
        row = std::clamp(oldRow, 0, count - 1);
    setCursor(row, bof() && row == 0, eof() && row == count - 1, true);
}

void Table::rowChangedMeanwhile(const sql::Value& key, const QStringList& fields) const {
    QStringList quoted;
    for (const QString& f : fields)
        quoted.append(QLatin1Char('\'') + f + QLatin1Char('\''));
    const QString which = fields.size() == 1 ? QStringLiteral("поле") : QStringLiteral("поля");
    throw sql::DbError(QStringLiteral("Запись с %1 = %2 в таблице '%3' изменил другой пользователь, пока она "
                                      "редактировалась (%4 %5): изменения не сохранены. Отмените правку, чтобы увидеть "
                                      "новые значения")
                           .arg(def_.fields[size_t(statements_.keyColumn())].name, text::display(key), def_.name, which,
                                quoted.join(QStringLiteral(", "))));
}

void Table::rowVanished(const sql::Value& key, const QString& consequence) const {
    throw sql::DbError(
        QStringLiteral("Запись с %1 = %2 не найдена в таблице '%3': возможно, её удалил другой "
                       "пользователь; %4. Обновите данные таблицы")
            .arg(def_.fields[size_t(statements_.keyColumn())].name, text::display(key), def_.name, consequence));
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

sql::Value Table::pendingValue(int column) const {
    throwIfInactive();
    if (!isEditing())
        throw sql::DbError(QStringLiteral("Таблица '%1' не в режиме редактирования или вставки").arg(def_.name));
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

void Table::setPendingValue(int column, const sql::Value& value) {
    throwIfInactive();
    checkColumn(column);
    checkWritable(column);
    if (pending_[size_t(column)] == value)
        return;
    pending_[size_t(column)] = value;
    emit fieldChanged(column);
}

} // namespace kb::dataset
