#pragma once

class QIODevice;
class QPrinter;

namespace kb::documents {

class Document;

// Writes the document as PDF to the open device, A4 in the document's orientation.
void writePdf(const Document& document, QIODevice& device);
// Gives the printer the document's page layout, so the preview and the print start from it.
void preparePrinter(const Document& document, QPrinter& printer);

} // namespace kb::documents
