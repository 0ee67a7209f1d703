#pragma once

#include "Document.h"
#include "MonthStatement.h"
#include "OrganisationDetails.h"
#include "PaySlip.h"

#include <QDate>
#include <vector>

namespace kb::documents {

// Every employee's pay slip for the month, ten to a portrait A4 page in two
// columns with cut lines between them, no slip split across pages. A slip
// carries the organisation, the month, the name and the six figures of the
// pay slip file, formed the same way (reports/PaySlip.h). An employee whose
// figures cannot be made is listed with the reason on a last page; the others
// still print.
class PaySlipsDocument : public Document {
public:
    struct Slip {
        QString name;
        reports::PaySlipFigures figures;
    };
    struct Refusal {
        QString name;
        QString reason;
    };

    // One slip per statement row, in the statement's order.
    PaySlipsDocument(const QDate& month, OrganisationDetails details, const std::vector<StatementPart>& parts);
    // The picker's month from the database: the statement in one run, or, when the database refuses it, one run per
    // bonus row of the month so that only the refused employees are missing.
    static PaySlipsDocument load(sql::Connection& connection, const QDateTime& pickerValue);

    QString title() const override;
    QPageLayout::Orientation orientation() const override { return QPageLayout::Portrait; }
    void paint(QPagedPaintDevice& device) const override;

    const std::vector<Slip>& slips() const { return slips_; }
    const std::vector<Refusal>& refusals() const { return refusals_; }

private:
    void paintSlip(class PageCanvas& canvas, const QRectF& box, const Slip& slip) const;

    QDate month_;
    OrganisationDetails details_;
    std::vector<Slip> slips_;
    std::vector<Refusal> refusals_;
};

} // namespace kb::documents
