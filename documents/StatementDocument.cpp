#include "StatementDocument.h"

#include "PageCanvas.h"
#include "RussianFormat.h"

#include <QPagedPaintDevice>
#include <array>
#include <cmath>
#include <stdexcept>

namespace kb::documents {

namespace {

constexpr int kColumns = 10;
constexpr int kDaysColumn = 2;
// Relative widths: the name gets the most room, the days the least.
constexpr std::array<double, kColumns> kWidths = {160, 68, 40, 68, 68, 68, 68, 68, 68, 68};
constexpr double kHeadHeight = 44; // the organisation and the title, on the first page
constexpr double kTitleRowHeight = 18;
constexpr double kRowHeight = 12;
constexpr double kFooterHeight = 18;
constexpr double kTailHeight = kRowHeight + 78; // the "Итого" row, the note of an empty month and the signatures
constexpr double kPadding = 3;

bool isAmount(int column) {
    return column >= 1 && column != kDaysColumn;
}

std::array<double, kColumns> columnWidths(double total) {
    double sum = 0;
    for (const double w : kWidths)
        sum += w;
    std::array<double, kColumns> widths{};
    for (int c = 0; c < kColumns; ++c)
        widths[size_t(c)] = kWidths[size_t(c)] * total / sum;
    return widths;
}

// The cells of one row across the columns, with lines around them.
void tableRow(PageCanvas& canvas, double y, double height, const QStringList& cells, const QFont& font) {
    const std::array<double, kColumns> widths = columnWidths(canvas.area().width());
    QPainter& p = canvas.painter();
    double x = 0;
    for (int c = 0; c < kColumns; ++c) {
        const QRectF cell(x, y, widths[size_t(c)], height);
        p.drawRect(cell);
        canvas.text(cell.adjusted(kPadding, 0, -kPadding, 0), cells.value(c), font,
                    c == 0 ? Qt::AlignLeft : Qt::AlignRight);
        x += widths[size_t(c)];
    }
}

QString signature(const QString& role, const QString& name) {
    return role + QStringLiteral("   ______________________   ") +
           (name.isEmpty() ? QStringLiteral("/") + QString(30, u' ') + QStringLiteral("/") : name);
}

} // namespace

StatementDocument::StatementDocument(const QDate& month, OrganisationDetails details,
                                     const std::vector<StatementRow>& rows)
    : month_(month), details_(std::move(details)) {
    std::array<qint64, kColumns> sums{};
    cells_.reserve(rows.size());
    for (const StatementRow& row : rows) {
        QStringList cells;
        const QString name = row.at(0).text();
        cells << name;
        for (int c = 1; c < kColumns; ++c) {
            const sql::Value& value = row.at(size_t(c));
            if (value.isNull()) {
                cells << QString();
            } else if (value.kind() != sql::Value::Kind::Integer && value.kind() != sql::Value::Kind::Float) {
                throw std::runtime_error(QStringLiteral("Ведомость не составлена: у сотрудника %1 в графе «%2» не "
                                                        "число: %3")
                                             .arg(name, statementTitles().at(c), value.text())
                                             .toStdString());
            } else if (!isAmount(c)) {
                cells << formatWhole(value.kind() == sql::Value::Kind::Integer ? value.toInt()
                                                                               : std::llround(value.toDouble()));
            } else {
                const qint64 printed = kopecks(value.toDouble());
                sums[size_t(c)] += printed;
                cells << formatKopecks(printed);
            }
        }
        cells_.push_back(cells);
    }
    totals_ << QStringLiteral("Итого");
    for (int c = 1; c < kColumns; ++c)
        totals_ << (isAmount(c) ? formatKopecks(sums[size_t(c)]) : QString());
}

StatementDocument StatementDocument::load(sql::Connection& connection, const QDateTime& pickerValue) {
    return StatementDocument(pickerValue.date(), loadDetails(connection), loadStatement(connection, pickerValue));
}

QString StatementDocument::title() const {
    return QStringLiteral("Расчётная ведомость за ") + monthOfYear(month_);
}

std::vector<StatementDocument::Page> StatementDocument::paginate(double height) const {
    std::vector<Page> pages;
    const int rows = int(cells_.size());
    int next = 0;
    do {
        const double room = height - kFooterHeight - kTitleRowHeight - (pages.empty() ? kHeadHeight : 0);
        const int fit = std::max(1, int(room / kRowHeight));
        const int count = std::min(fit, rows - next);
        pages.push_back({next, count});
        next += count;
    } while (next < rows);
    // The totals and the signatures stay together under the last rows; without room, on a page of their own.
    const Page& last = pages.back();
    const double used = (pages.size() == 1 ? kHeadHeight : 0) + kTitleRowHeight + last.count * kRowHeight;
    if (used + kTailHeight > height - kFooterHeight)
        pages.push_back({rows, 0});
    return pages;
}

void StatementDocument::paint(QPagedPaintDevice& device) const {
    PageCanvas canvas(device);
    const QRectF area = canvas.area();
    const std::vector<Page> pages = paginate(area.height());
    const QFont body = PageCanvas::font(8), bold = PageCanvas::font(8, true), titles = PageCanvas::font(7, true);
    canvas.painter().setPen(QPen(Qt::black, 0.5));
    for (size_t i = 0; i < pages.size(); ++i) {
        if (i > 0)
            canvas.newPage();
        double y = 0;
        if (i == 0) {
            canvas.text(QRectF(0, 0, area.width(), 16), details_.name, PageCanvas::font(10, true), Qt::AlignLeft);
            canvas.text(QRectF(0, 18, area.width(), 20), title(), PageCanvas::font(13, true), Qt::AlignHCenter);
            y = kHeadHeight;
        }
        tableRow(canvas, y, kTitleRowHeight, statementTitles(), titles);
        y += kTitleRowHeight;
        for (int r = pages[i].first; r < pages[i].first + pages[i].count; ++r, y += kRowHeight)
            tableRow(canvas, y, kRowHeight, cells_[size_t(r)], body);
        if (i + 1 == pages.size()) {
            tableRow(canvas, y, kRowHeight, totals_, bold);
            y += kRowHeight + 6;
            if (cells_.empty())
                canvas.text(QRectF(0, y, area.width(), 12), QStringLiteral("За этот месяц в ведомости нет строк."),
                            body);
            y += 24;
            canvas.text(QRectF(0, y, area.width(), 14), signature(QStringLiteral("Руководитель"), details_.head),
                        PageCanvas::font(9));
            canvas.text(QRectF(0, y + 24, area.width(), 14),
                        signature(QStringLiteral("Главный бухгалтер"), details_.chiefAccountant), PageCanvas::font(9));
        }
        canvas.pageNumber(int(i) + 1, int(pages.size()));
    }
}

} // namespace kb::documents
