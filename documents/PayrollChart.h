#pragma once

#include "Document.h"
#include "OrganisationDetails.h"

#include <QImage>
#include <QString>
#include <array>

class QDateTime;
class QPainter;

namespace kb::sql {
class Connection;
}

namespace kb::documents {

// The payroll of one month: the sums of the statement's "Нач. по окл." and
// "К выдаче" columns as printed (in kopecks), or why there are none.
struct MonthPayroll {
    bool hasData = false; // the month's statement has rows
    qint64 accrued = 0;   // "Нач. по окл."
    qint64 payable = 0;   // "К выдаче"
    QString refusal;      // the database's reason when it refused the month's statement
};

// The year's payroll month by month as a bar chart with the figures on the
// bars, and under it the same figures as a table. Months without data are
// drawn without bars and marked as such. Landscape A4, or a PNG picture of the chart.
class PayrollChart : public Document {
public:
    PayrollChart(int year, OrganisationDetails details, const std::array<MonthPayroll, 12>& months);
    // The twelve months' statements of the year, each bound as the month picker binds a month.
    static PayrollChart load(sql::Connection& connection, int year);

    QString title() const override;
    QPageLayout::Orientation orientation() const override { return QPageLayout::Landscape; }
    void paint(QPagedPaintDevice& device) const override;
    // The chart alone, with its title, as a picture.
    QImage image(const QSize& size) const;

    const std::array<MonthPayroll, 12>& months() const { return months_; }

private:
    void renderChart(QPainter& painter, const QRectF& target) const;

    int year_;
    OrganisationDetails details_;
    std::array<MonthPayroll, 12> months_;
};

} // namespace kb::documents
