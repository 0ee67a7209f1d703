#include "DocumentPreview.h"

#include "Document.h"
#include "DocumentOutput.h"
#include "ErrorReporting.h"
#include "ModalDialogs.h"

#include <QAction>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QSaveFile>
#include <QToolBar>
#include <stdexcept>

namespace kb::documents {

DocumentPreview::DocumentPreview(std::shared_ptr<const Document> document, QWidget* parent)
    : document_(std::move(document)), printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    preparePrinter(*document_, *printer_);
    dialog_ = std::make_unique<QPrintPreviewDialog>(printer_.get(), parent);
    dialog_->setObjectName(QStringLiteral("DocumentPreview"));
    dialog_->setWindowTitle(document_->title());
    dialog_->resize(1000, 760);
    QObject::connect(dialog_.get(), &QPrintPreviewDialog::paintRequested, dialog_.get(),
                     [this](QPrinter* printer) { document_->paint(*printer); });
    if (auto* tools = dialog_->findChild<QToolBar*>()) {
        tools->addSeparator();
        QAction* save = tools->addAction(QStringLiteral("Сохранить в PDF…"));
        save->setObjectName(QStringLiteral("SavePdfAction"));
        save->setToolTip(save->text());
        QObject::connect(save, &QAction::triggered, dialog_.get(), [this] {
            try {
                saveAsPdf();
            } catch (...) {
                ui::reportError(std::current_exception());
            }
        });
    }
}

DocumentPreview::~DocumentPreview() = default;

void DocumentPreview::exec() {
    ui::dialogs().execDialog(*dialog_);
}

void DocumentPreview::saveAsPdf() {
    const ui::SaveDialogSettings settings{QStringLiteral("pdf"), QStringLiteral("PDF (*.pdf)"),
                                          QStringLiteral("Сохранить в PDF"), QString()};
    const std::optional<QString> path = ui::dialogs().saveFileName(dialog_.get(), settings);
    if (!path)
        return;
    QSaveFile file(*path);
    if (!file.open(QIODevice::WriteOnly))
        throw std::runtime_error(
            QStringLiteral("Не удаётся создать файл %1: %2").arg(*path, file.errorString()).toStdString());
    writePdf(*document_, file);
    if (!file.commit())
        throw std::runtime_error(
            QStringLiteral("Не удаётся записать файл %1: %2").arg(*path, file.errorString()).toStdString());
}

void previewDocument(std::shared_ptr<const Document> document, QWidget* parent) {
    DocumentPreview preview(std::move(document), parent);
    preview.exec();
}

} // namespace kb::documents
