#include "PayrollChart.h"

#include "DbError.h"
#include "MonthStatement.h"
#include "PageCanvas.h"
#include "RussianFormat.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QCoreApplication>
#include <QGraphicsScene>
#include <QPagedPaintDevice>
#include <QValueAxis>
#include <cmath>

namespace kb::documents {

namespace {

constexpr int kAccruedColumn = 3;
constexpr int kPayableColumn = 9;

qint64 printed(const sql::Value& value) {
    return value.kind() == sql::Value::Kind::Integer || value.kind() == sql::Value::Kind::Float
               ? kopecks(value.toDouble())
               : 0;
}

QString shortMonth(int month) {
    static const char* const names[] = {"янв.", "февр.", "март",  "апр.", "май",   "июнь",
                                        "июль", "авг.",  "сент.", "окт.", "нояб.", "дек."};
    return QString::fromUtf8(names[month - 1]);
}

} // namespace

PayrollChart::PayrollChart(int year, OrganisationDetails details, const std::array<MonthPayroll, 12>& months)
    : year_(year), details_(std::move(details)), months_(months) {}

PayrollChart PayrollChart::load(sql::Connection& connection, int year) {
    std::array<MonthPayroll, 12> months;
    for (int m = 1; m <= 12; ++m) {
        MonthPayroll& month = months[size_t(m - 1)];
        try {
            const auto rows = loadStatement(connection, QDateTime(QDate(year, m, 1), QTime(12, 0), Qt::UTC));
            month.hasData = !rows.empty();
            for (const StatementRow& row : rows) {
                month.accrued += printed(row.at(kAccruedColumn));
                month.payable += printed(row.at(kPayableColumn));
            }
        } catch (const sql::DbError& e) {
            month.refusal = QString::fromUtf8(e.what());
        }
    }
    return PayrollChart(year, loadDetails(connection), months);
}

QString PayrollChart::title() const {
    return QStringLiteral("Фонд оплаты труда за %1 год").arg(year_);
}

void PayrollChart::renderChart(QPainter& painter, const QRectF& target) const {
    QGraphicsScene scene;
    auto* chart = new QChart;
    scene.addItem(chart);
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->setBackgroundRoundness(0);
    auto* accrued = new QBarSet(QStringLiteral("Нач. по окл."));
    auto* payable = new QBarSet(QStringLiteral("К выдаче"));
    for (QBarSet* set : {accrued, payable}) {
        set->setLabelColor(Qt::black);
        QFont labels = set->labelFont();
        labels.setPixelSize(11);
        set->setLabelFont(labels);
    }
    QStringList categories;
    double top = 0;
    for (int m = 1; m <= 12; ++m) {
        const MonthPayroll& month = months_[size_t(m - 1)];
        // Whole roubles on the bars: kopecks would crowd them out.
        const double a = std::round(double(month.accrued) / 100), p = std::round(double(month.payable) / 100);
        *accrued << a;
        *payable << p;
        top = std::max({top, a, p});
        categories << (month.hasData ? shortMonth(m)
                                     : shortMonth(m) + (month.refusal.isEmpty() ? QStringLiteral(" (нет данных)")
                                                                                : QStringLiteral(" (ошибка)")));
    }
    auto* series = new QBarSeries;
    series->append(accrued);
    series->append(payable);
    series->setLabelsVisible(true);
    series->setLabelsPosition(QAbstractBarSeries::LabelsOutsideEnd);
    series->setLabelsAngle(-90);
    series->setLabelsFormat(QStringLiteral("@value"));
    series->setLabelsPrecision(12);
    chart->addSeries(series);
    auto* months = new QBarCategoryAxis;
    months->append(categories);
    months->setLabelsAngle(-45);
    chart->addAxis(months, Qt::AlignBottom);
    series->attachAxis(months);
    auto* amounts = new QValueAxis;
    amounts->setRange(0, top > 0 ? top * 1.25 : 1);
    amounts->setLabelFormat(QStringLiteral("%.0f"));
    amounts->setTitleText(QStringLiteral("руб."));
    chart->addAxis(amounts, Qt::AlignLeft);
    series->attachAxis(amounts);
    chart->setTitle(title());
    chart->legend()->setAlignment(Qt::AlignBottom);
    amounts->applyNiceNumbers();
    // The chart is laid out at a size of its own, in the target's proportions, and scaled onto it.
    const QRectF source(0, 0, 1000, 1000 * target.height() / target.width());
    chart->setGeometry(source);
    scene.setSceneRect(source);
    QCoreApplication::sendPostedEvents(); // the bars' labels are placed by posted layout requests
    scene.render(&painter, target, source, Qt::IgnoreAspectRatio);
}

void PayrollChart::paint(QPagedPaintDevice& device) const {
    PageCanvas canvas(device);
    const QRectF area = canvas.area();
    canvas.text(QRectF(0, 0, area.width(), 16), details_.name, PageCanvas::font(10, true));
    // The figures as a table under the chart: months across, the two sums down; under it, the months refused.
    int refused = 0;
    for (const MonthPayroll& month : months_)
        refused += month.refusal.isEmpty() ? 0 : 1;
    const double row = 12, chartHeight = area.height() - 18 - 8 - 3 * row - 8 - refused * 11 - 18;
    renderChart(canvas.painter(), QRectF(0, 18, area.width(), chartHeight));
    const double tableTop = 18 + chartHeight + 8;
    const double label = 90, cell = (area.width() - label) / 13;
    const QFont body = PageCanvas::font(7), bold = PageCanvas::font(7, true);
    canvas.painter().setPen(QPen(Qt::black, 0.5));
    const auto cellRect = [&](int column, int line) {
        return QRectF(column < 0 ? 0 : label + column * cell, tableTop + line * row, column < 0 ? label : cell, row);
    };
    qint64 yearAccrued = 0, yearPayable = 0;
    canvas.text(cellRect(-1, 0).adjusted(2, 0, -2, 0), QStringLiteral("Месяц"), bold);
    canvas.text(cellRect(-1, 1).adjusted(2, 0, -2, 0), QStringLiteral("Нач. по окл."), bold);
    canvas.text(cellRect(-1, 2).adjusted(2, 0, -2, 0), QStringLiteral("К выдаче"), bold);
    for (int m = 1; m <= 13; ++m) {
        const bool year = m == 13;
        const MonthPayroll& month = months_[size_t(std::min(m, 12) - 1)];
        const QString none = month.refusal.isEmpty() ? QStringLiteral("нет данных") : QStringLiteral("ошибка");
        yearAccrued += year ? 0 : month.accrued;
        yearPayable += year ? 0 : month.payable;
        canvas.text(cellRect(m - 1, 0).adjusted(2, 0, -2, 0), year ? QStringLiteral("За год") : shortMonth(m), bold,
                    Qt::AlignRight);
        canvas.text(cellRect(m - 1, 1).adjusted(2, 0, -2, 0),
                    year            ? formatKopecks(yearAccrued)
                    : month.hasData ? formatKopecks(month.accrued)
                                    : none,
                    body, Qt::AlignRight);
        canvas.text(cellRect(m - 1, 2).adjusted(2, 0, -2, 0),
                    year            ? formatKopecks(yearPayable)
                    : month.hasData ? formatKopecks(month.payable)
                                    : none,
                    body, Qt::AlignRight);
    }
    for (int line = 0; line < 3; ++line)
        for (int c = -1; c < 13; ++c)
            canvas.painter().drawRect(cellRect(c, line));
    double y = tableTop + 3 * row + 8;
    for (int m = 1; m <= 12; ++m) {
        const QString& refusal = months_[size_t(m - 1)].refusal;
        if (refusal.isEmpty())
            continue;
        canvas.text(QRectF(0, y, area.width(), 11), monthName(m) + QStringLiteral(": ") + refusal, body);
        y += 11;
    }
    canvas.pageNumber(1, 1);
}

QImage PayrollChart::image(const QSize& size) const {
    QImage picture(size, QImage::Format_ARGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    renderChart(painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return picture;
}

} // namespace kb::documents
