#pragma once

#include "Document.h"
#include "MonthStatement.h"
#include "OrganisationDetails.h"

#include <QDate>
#include <QStringList>
#include <vector>

namespace kb::documents {

// The month's salary statement on paper: the organisation, the title, the ten
// columns with the title row on every page, an "Итого" row, "Лист N из M" and
// the signatures of the head and of the chief accountant. Landscape A4.
//
// Amounts are printed rounded to kopecks (see kopecks()) and the totals are the
// sums of the printed amounts, so the printed columns add up.
class StatementDocument : public Document {
public:
    // Throws std::runtime_error naming the employee and the column when an amount is not a number.
    StatementDocument(const QDate& month, OrganisationDetails details, const std::vector<StatementRow>& rows);
    // The statement of the picker's month read from the database with the stored details.
    static StatementDocument load(sql::Connection& connection, const QDateTime& pickerValue);

    QString title() const override;
    QPageLayout::Orientation orientation() const override { return QPageLayout::Landscape; }
    void paint(QPagedPaintDevice& device) const override;

    // The printed cells of each row and of the "Итого" row.
    const std::vector<QStringList>& cells() const { return cells_; }
    const QStringList& totals() const { return totals_; }

private:
    struct Page {
        int first, count;
    };
    std::vector<Page> paginate(double height) const;

    QDate month_;
    OrganisationDetails details_;
    std::vector<QStringList> cells_;
    QStringList totals_;
};

} // namespace kb::documents
