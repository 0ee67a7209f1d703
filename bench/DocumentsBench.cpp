#include "DocumentsBench.h"

#include "DateTimeText.h"
#include "DocumentOutput.h"
#include "MonthStatement.h"
#include "PaySlipsDocument.h"
#include "StatementDocument.h"
#include "Timing.h"

#include <QBuffer>
#include <cstdio>

namespace kb::bench {

namespace {

// The PDF's size in kilobytes stands in the row count's place.
int writtenKilobytes(const documents::Document& document) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    documents::writePdf(document, buffer);
    return int(buffer.size() / 1024);
}

} // namespace

void benchDocuments(sql::Connection& connection, int runs) {
    const QDateTime april = sql::datetime::make(2013, 4, 1, 12, 32, 52);
    const Timing query = measure(runs, [&] { return int(documents::loadStatement(connection, april).size()); });
    const Timing statement =
        measure(runs, [&] { return writtenKilobytes(documents::StatementDocument::load(connection, april)); });
    const Timing slips =
        measure(runs, [&] { return writtenKilobytes(documents::PaySlipsDocument::load(connection, april)); });
    printRow("the statement's query alone", query, "");
    printRow("statement document, PDF", statement, "target < 1 s", "KiB");
    printRatio("statement document / its query", statement, query, "");
    printRow("pay slips of every employee, PDF", slips, "target < 2 s", "KiB");
    printRatio("pay slips / the statement's query", slips, query, "");
}

} // namespace kb::bench
