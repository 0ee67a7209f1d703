#include "DocumentOutput.h"

#include "Document.h"

#include <QPdfWriter>
#include <QPrinter>

namespace kb::documents {

void writePdf(const Document& document, QIODevice& device) {
    QPdfWriter writer(&device);
    writer.setResolution(300);
    writer.setTitle(document.title());
    writer.setCreator(QStringLiteral("kultbuh"));
    writer.setPageLayout(pageLayout(document.orientation()));
    document.paint(writer);
}

void preparePrinter(const Document& document, QPrinter& printer) {
    printer.setDocName(document.title());
    printer.setPageLayout(pageLayout(document.orientation()));
}

} // namespace kb::documents
