#include "PaySlipsDocument.h"

#include "DbError.h"
#include "PageCanvas.h"
#include "RussianFormat.h"

#include <QPagedPaintDevice>
#include <stdexcept>

namespace kb::documents {

namespace {

constexpr int kSlipColumns = 2;
constexpr int kSlipRows = 5;
constexpr double kFooterHeight = 18;
constexpr double kInset = 12;
constexpr double kLine = 13;
constexpr double kRefusalsTop = 26;
constexpr double kRefusalHeight = 30;

reports::PaySlipColumns columnsOf(const StatementRow& row) {
    return reports::PaySlipColumns::ofStatementRow([&](int column) { return row.at(size_t(column)); });
}

} // namespace

PaySlipsDocument::PaySlipsDocument(const QDate& month, OrganisationDetails details,
                                   const std::vector<StatementPart>& parts)
    : month_(month), details_(std::move(details)) {
    for (const StatementPart& part : parts) {
        if (!part.refusal.isEmpty())
            refusals_.push_back({part.name, part.refusal});
        for (const StatementRow& row : part.rows) {
            try {
                slips_.push_back({row.at(0).text(), reports::paySlipFigures(columnsOf(row))});
            } catch (const std::runtime_error& e) {
                refusals_.push_back({row.at(0).text(), QString::fromUtf8(e.what())});
            }
        }
    }
}

PaySlipsDocument PaySlipsDocument::load(sql::Connection& connection, const QDateTime& pickerValue) {
    std::vector<StatementPart> parts;
    try {
        parts.push_back({QString(), loadStatement(connection, pickerValue), QString()});
    } catch (const sql::DbError&) {
        parts = loadStatementByBonus(connection, pickerValue);
    }
    return PaySlipsDocument(pickerValue.date(), loadDetails(connection), parts);
}

QString PaySlipsDocument::title() const {
    return QStringLiteral("Расчётные листы за ") + monthOfYear(month_);
}

void PaySlipsDocument::paintSlip(PageCanvas& canvas, const QRectF& box, const Slip& slip) const {
    const QRectF inner = box.adjusted(kInset, kInset, -kInset, -kInset);
    const QFont body = PageCanvas::font(9), bold = PageCanvas::font(9, true);
    double y = inner.top();
    const auto line = [&](const QString& label, const QString& figure, const QFont& font, double indent = 0) {
        canvas.text(QRectF(inner.left() + indent, y, inner.width() - indent, kLine), label, font);
        if (!figure.isEmpty())
            canvas.text(QRectF(inner.left(), y, inner.width(), kLine), figure, font, Qt::AlignRight);
        y += kLine;
    };
    line(details_.name, {}, PageCanvas::font(8));
    line(QStringLiteral("Расчётный лист за ") + monthOfYear(month_), {}, bold);
    line(slip.name, {}, bold);
    y += 4;
    const reports::PaySlipFigures& f = slip.figures;
    line(QStringLiteral("Оклад"), formatWhole(f.salary), body);
    line(QStringLiteral("Премия"), formatWhole(f.bonus), body);
    line(QStringLiteral("Итого"), formatWhole(f.gross), body);
    line(QStringLiteral("Вычтено: подоходный налог"), formatWhole(f.incomeTax), body);
    line(QStringLiteral("пенсионный налог"), formatWhole(f.pensionTax), body, 48);
    line(QStringLiteral("Итого к выдаче"), formatWhole(f.net), bold);
}

void PaySlipsDocument::paint(QPagedPaintDevice& device) const {
    PageCanvas canvas(device);
    const QRectF area = canvas.area();
    const int perPage = kSlipColumns * kSlipRows;
    const int slipPages = std::max(1, int((slips_.size() + perPage - 1) / perPage));
    const int refusalsPerPage = std::max(1, int((area.height() - kFooterHeight - kRefusalsTop) / kRefusalHeight));
    const int refusalPages = int((refusals_.size() + refusalsPerPage - 1) / refusalsPerPage);
    const int pages = slipPages + refusalPages;
    const double width = area.width() / kSlipColumns, height = (area.height() - kFooterHeight) / kSlipRows;
    QPainter& p = canvas.painter();
    for (int page = 0; page < slipPages; ++page) {
        if (page > 0)
            canvas.newPage();
        const int first = page * perPage;
        const int count = std::min(perPage, int(slips_.size()) - first);
        if (count <= 0)
            canvas.text(QRectF(0, 0, area.width(), 16),
                        title() + QStringLiteral(": в ведомости за этот месяц нет ни одного сотрудника."),
                        PageCanvas::font(10));
        for (int i = 0; i < count; ++i)
            paintSlip(canvas, QRectF((i % kSlipColumns) * width, (i / kSlipColumns) * height, width, height),
                      slips_[size_t(first + i)]);
        // Cut lines between the slips of the page.
        p.setPen(QPen(Qt::black, 0.5, Qt::DashLine));
        const int rows = (count + kSlipColumns - 1) / kSlipColumns;
        if (count > 1)
            p.drawLine(QPointF(width, 0), QPointF(width, rows * height));
        for (int r = 1; r < rows; ++r)
            p.drawLine(QPointF(0, r * height), QPointF(area.width(), r * height));
        p.setPen(QPen(Qt::black));
        canvas.pageNumber(page + 1, pages);
    }
    for (int page = 0; page < refusalPages; ++page) {
        canvas.newPage();
        canvas.text(QRectF(0, 0, area.width(), 18),
                    QStringLiteral("Не составлены расчётные листы за ") + monthOfYear(month_),
                    PageCanvas::font(11, true));
        const int first = page * refusalsPerPage;
        const int count = std::min(refusalsPerPage, int(refusals_.size()) - first);
        for (int i = 0; i < count; ++i) {
            const Refusal& refusal = refusals_[size_t(first + i)];
            const double y = kRefusalsTop + i * kRefusalHeight;
            canvas.text(QRectF(0, y, area.width(), 13), refusal.name, PageCanvas::font(9, true));
            canvas.text(QRectF(12, y + 13, area.width() - 12, 13), refusal.reason, PageCanvas::font(8));
        }
        canvas.pageNumber(slipPages + page + 1, pages);
    }
}

} // namespace kb::documents
