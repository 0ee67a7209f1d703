#pragma once

#include "Value.h"

#include <QString>
#include <cstdint>

// The figures and the text of an employee's pay slip.
namespace kb::reports {

// The values of the salary statement's row that the figures come from, as
// the database returns them: the rate (column 1), the income tax (column 4),
// the pension tax (column 5) and the bonus (column 8).
struct PaySlipColumns {
    sql::Value rate;
    sql::Value incomeTax;
    sql::Value pensionTax;
    sql::Value bonus;

    // Those four of a statement's row, valueAt(column) giving a column's value.
    template <typename ValueAt> static PaySlipColumns ofStatementRow(ValueAt valueAt) {
        return {valueAt(1), valueAt(4), valueAt(5), valueAt(8)};
    }
};

// The six whole figures of the slip.
struct PaySlipFigures {
    std::int32_t salary;
    std::int32_t bonus;
    std::int32_t gross;
    std::int32_t incomeTax;
    std::int32_t pensionTax;
    std::int32_t net;
};

// Each figure is formed from the unrounded values (gross = rate + bonus; net =
// gross less the income tax, less the pension tax) and rounded once at the
// end, halves to the even neighbour. Throws std::runtime_error naming the
// first figure, in the slip's order, that has no value (a column that is not a
// number) or falls outside the 32-bit range.
PaySlipFigures paySlipFigures(const PaySlipColumns& columns);

// The slip's seven lines, each ending in CR LF: the name as given, then the
// labelled figures.
QString paySlipText(const QString& name, const PaySlipFigures& figures);

} // namespace kb::reports
