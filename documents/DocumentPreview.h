#pragma once

#include <memory>

class QPrintPreviewDialog;
class QPrinter;
class QWidget;

namespace kb::documents {

class Document;

// The print preview of a document: the toolkit's preview window (zoom, pages,
// page set-up, print on a printer of the system) with one more command,
// "Сохранить в PDF…", that asks for a file through the modal helpers and writes
// the document there. The printer and the dialog live as long as the object.
class DocumentPreview {
public:
    DocumentPreview(std::shared_ptr<const Document> document, QWidget* parent);
    ~DocumentPreview();
    DocumentPreview(const DocumentPreview&) = delete;
    DocumentPreview& operator=(const DocumentPreview&) = delete;

    // Shows the preview through the modal helpers (ui::dialogs().execDialog).
    void exec();
    QPrintPreviewDialog& dialog() { return *dialog_; }
    // The "Сохранить в PDF…" command: asks for a name and writes the file, replacing it only once it is complete.
    void saveAsPdf();

private:
    std::shared_ptr<const Document> document_;
    std::unique_ptr<QPrinter> printer_;
    std::unique_ptr<QPrintPreviewDialog> dialog_;
};

// The preview of a document, shown modally over parent.
void previewDocument(std::shared_ptr<const Document> document, QWidget* parent);

} // namespace kb::documents
