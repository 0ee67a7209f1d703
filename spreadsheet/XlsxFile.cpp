#include "XlsxFile.h"

#include "Sheet.h"

#include <QFile>
#include <QRegularExpression>
#include <map>
#include <memory>
#include <stdexcept>
#include <tuple>
#include <xlsxwriter.h>

namespace kb::spreadsheet {

using automation::AutoValue;

namespace {

// The user reads why in Russian; the library's own English text is kept for the rare rest.
QString reason(lxw_error error) {
    switch (error) {
    case LXW_ERROR_MEMORY_MALLOC_FAILED:
        return QStringLiteral("не хватило памяти");
    case LXW_ERROR_CREATING_XLSX_FILE:
        return QStringLiteral("файл не удалось создать");
    case LXW_ERROR_CREATING_TMPFILE:
    case LXW_ERROR_READING_TMPFILE:
        return QStringLiteral("не удалось записать временный файл");
    case LXW_ERROR_ZIP_FILE_OPERATION:
    case LXW_ERROR_ZIP_FILE_ADD:
    case LXW_ERROR_ZIP_CLOSE:
        return QStringLiteral("ошибка записи файла");
    case LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED:
        return QStringLiteral("текст длиннее 32767 символов, больше, чем вмещает ячейка");
    default:
        return QString::fromUtf8(lxw_strerror(error));
    }
}

[[noreturn]] void fail(const QString& path, lxw_error error, const QString& cell = {}) {
    throw std::runtime_error(
        QStringLiteral("Не удалось записать книгу \"%1\": %2%3")
            .arg(path, cell.isEmpty() ? QString() : QStringLiteral("ячейка %1: ").arg(cell), reason(error))
            .toStdString());
}

struct WorkbookCloser {
    void operator()(lxw_workbook* workbook) const { workbook_close(workbook); }
};

enum class NumberFormat { None, Date, DateTime };

// One format object per distinct look, made on first use and reused.
class Formats {
public:
    explicit Formats(lxw_workbook* workbook) : workbook_(workbook) {}

    lxw_format* get(const CellFormat& cell, NumberFormat number) {
        if (cell == CellFormat{} && number == NumberFormat::None)
            return nullptr;
        const auto key = std::make_tuple(int(cell.border), int(cell.align), int(number));
        auto found = cache_.find(key);
        if (found == cache_.end())
            found = cache_.emplace(key, make(cell, number)).first;
        return found->second;
    }

private:
    lxw_format* make(const CellFormat& cell, NumberFormat number) {
        lxw_format* f = workbook_add_format(workbook_);
        static const uint8_t borders[] = {LXW_BORDER_NONE, LXW_BORDER_HAIR, LXW_BORDER_THIN, LXW_BORDER_MEDIUM,
                                          LXW_BORDER_THICK};
        if (cell.border != CellFormat::Line::None)
            format_set_border(f, borders[int(cell.border)]);
        static const uint8_t aligns[] = {LXW_ALIGN_NONE, LXW_ALIGN_LEFT, LXW_ALIGN_CENTER, LXW_ALIGN_RIGHT};
        if (cell.align != CellFormat::Align::General)
            format_set_align(f, aligns[int(cell.align)]);
        if (number == NumberFormat::Date)
            format_set_num_format(f, "dd.mm.yyyy");
        else if (number == NumberFormat::DateTime)
            format_set_num_format(f, "dd.mm.yyyy hh:mm:ss");
        return f;
    }

    lxw_workbook* workbook_;
    std::map<std::tuple<int, int, int>, lxw_format*> cache_;
};

// The text as the file must hold it to be read back unchanged. A spreadsheet
// program reads "_xHHHH_" in a text as the character of that code, and the
// library writes control characters so but leaves such a sequence typed by
// the user as it is; its underscore is written as "_x005F_", as Excel does.
// A zero character, which would end the library's C string, is written as
// its code too.
QString storedText(QString text) {
    static const QRegularExpression codeLike(QStringLiteral("_(x[0-9A-Fa-f]{4}_)"));
    text.replace(codeLike, QStringLiteral("_x005F_\\1"));
    return text.replace(QChar(u'\0'), QStringLiteral("_x0000_"));
}

lxw_error writeCell(lxw_worksheet* sheet, lxw_row_t row, lxw_col_t col, const AutoValue* value, const CellFormat& look,
                    Formats& formats) {
    if (!value)
        return look == CellFormat{} ? LXW_NO_ERROR : worksheet_write_blank(sheet, row, col, formats.get(look, {}));
    switch (value->type()) {
    case AutoValue::Type::Text: {
        const QByteArray utf8 = storedText(value->text()).toUtf8();
        return worksheet_write_string(sheet, row, col, utf8.constData(), formats.get(look, {}));
    }
    case AutoValue::Type::Int32:
        return worksheet_write_number(sheet, row, col, value->int32(), formats.get(look, {}));
    case AutoValue::Type::Double:
        return worksheet_write_number(sheet, row, col, value->number(), formats.get(look, {}));
    case AutoValue::Type::Bool:
        return worksheet_write_boolean(sheet, row, col, value->boolean(), formats.get(look, {}));
    case AutoValue::Type::DateTime: {
        const QDateTime& dt = value->dateTime();
        const QTime t = dt.time();
        lxw_datetime when{dt.date().year(), dt.date().month(), dt.date().day(),
                          t.hour(),         t.minute(),        t.second() + t.msec() / 1000.0};
        const bool midnight = t == QTime(0, 0);
        return worksheet_write_datetime(sheet, row, col, &when,
                                        formats.get(look, midnight ? NumberFormat::Date : NumberFormat::DateTime));
    }
    default:
        return worksheet_write_blank(sheet, row, col, formats.get(look, {}));
    }
}

} // namespace

void writeXlsx(const Sheet& sheet, const QString& path) {
    const QByteArray file = QFile::encodeName(path);
    std::unique_ptr<lxw_workbook, WorkbookCloser> workbook(workbook_new(file.constData()));
    if (!workbook)
        fail(path, LXW_ERROR_CREATING_XLSX_FILE);
    lxw_worksheet* ws = workbook_add_worksheet(workbook.get(), "Лист1");
    Formats formats(workbook.get());
    if (const auto used = sheet.usedBlock()) {
        for (int r = 0; r <= used->last.row; ++r)
            for (int c = 0; c <= used->last.column; ++c)
                if (const lxw_error e =
                        writeCell(ws, lxw_row_t(r), lxw_col_t(c), sheet.value(r, c), sheet.format(r, c), formats))
                    fail(path, e, cellName({r, c}));
    }
    for (const auto& [column, width] : sheet.columnWidths())
        worksheet_set_column(ws, lxw_col_t(column), lxw_col_t(column), width, nullptr);
    const Block& s = sheet.selection();
    worksheet_set_selection(ws, lxw_row_t(s.first.row), lxw_col_t(s.first.column), lxw_row_t(s.last.row),
                            lxw_col_t(s.last.column));
    if (sheet.landscape())
        worksheet_set_landscape(ws);
    if (const lxw_error e = workbook_close(workbook.release()))
        fail(path, e);
}

} // namespace kb::spreadsheet
