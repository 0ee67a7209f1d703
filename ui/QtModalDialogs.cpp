#include "QtModalDialogs.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace kb::ui {

namespace {

constexpr int kMaxEntryLength = 255;

// Texts may carry CR LF line ends; a label shows a bare CR as a stray glyph.
QString displayText(const QString& text) {
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(u'\r', u'\n');
    return shown;
}

std::unique_ptr<QMessageBox> makeBox(QMessageBox::Icon icon, const QString& caption, const QString& text,
                                     QMessageBox::StandardButtons buttons) {
    auto box = std::make_unique<QMessageBox>(icon, caption, displayText(text), buttons);
    // Messages are never markup: a "<" in a name must show as it is.
    box->setTextFormat(Qt::PlainText);
    return box;
}

void centreOnScreen(QWidget& window) {
    window.adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(0, 0), window.size());
        frame.moveCenter(screen->geometry().center());
        window.move(frame.topLeft());
    }
}

} // namespace

std::unique_ptr<QDialog> makeInputPrompt(const QString& caption, const QString& prompt, const QString& initial) {
    auto dialog = std::make_unique<QDialog>();
    dialog->setWindowTitle(caption);
    dialog->setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto* label = new QLabel(prompt, dialog.get());
    label->setTextFormat(Qt::PlainText);
    auto* edit = new QLineEdit(dialog.get());
    edit->setObjectName(QStringLiteral("InputEdit"));
    edit->setMaxLength(kMaxEntryLength);
    edit->setText(initial);
    edit->selectAll();
    edit->setMinimumWidth(300);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog.get());
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog.get(), &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog.get(), &QDialog::reject);

    auto* layout = new QVBoxLayout(dialog.get());
    layout->addWidget(label);
    layout->addWidget(edit);
    layout->addWidget(buttons);
    label->setBuddy(edit);
    edit->setFocus();
    centreOnScreen(*dialog);
    return dialog;
}

std::unique_ptr<QMessageBox> makeMessageBox(const QString& caption, const QString& text) {
    return makeBox(QMessageBox::NoIcon, caption, text, QMessageBox::Ok);
}

std::unique_ptr<QMessageBox> makeErrorBox(const QString& caption, const QString& text) {
    return makeBox(QMessageBox::Critical, caption, text, QMessageBox::Ok);
}

std::unique_ptr<QMessageBox> makeConfirmBox(const QString& caption, const QString& text) {
    auto box = makeBox(QMessageBox::Question, caption, text, QMessageBox::Ok | QMessageBox::Cancel);
    // The question and its answers are the same words in every language the
    // program runs in, so the buttons do not follow the toolkit's translation.
    box->button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
    box->button(QMessageBox::Cancel)->setText(QStringLiteral("Cancel"));
    box->setDefaultButton(QMessageBox::Ok);
    box->setEscapeButton(QMessageBox::Cancel);
    return box;
}

std::unique_ptr<QFileDialog> makeSaveDialog(QWidget* parent, const SaveDialogSettings& settings) {
    auto dialog = std::make_unique<QFileDialog>(parent);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    if (!settings.title.isEmpty())
        dialog->setWindowTitle(settings.title);
    if (!settings.directory.isEmpty())
        dialog->setDirectory(settings.directory);
    if (!settings.filter.isEmpty())
        dialog->setNameFilter(settings.filter);
    dialog->setDefaultSuffix(settings.defaultSuffix);
    return dialog;
}

int QtModalDialogs::execDialog(QDialog& dialog) {
    return dialog.exec();
}

QString QtModalDialogs::inputPrompt(const QString& caption, const QString& prompt, const QString& initial) {
    const auto dialog = makeInputPrompt(caption, prompt, initial);
    if (dialog->exec() != QDialog::Accepted)
        return initial;
    return dialog->findChild<QLineEdit*>(QStringLiteral("InputEdit"))->text();
}

void QtModalDialogs::messageBox(const QString& caption, const QString& text) {
    makeMessageBox(caption, text)->exec();
}

void QtModalDialogs::errorBox(const QString& caption, const QString& text) {
    makeErrorBox(caption, text)->exec();
}

bool QtModalDialogs::confirm(const QString& caption, const QString& text) {
    return makeConfirmBox(caption, text)->exec() != QMessageBox::Cancel;
}

std::optional<QString> QtModalDialogs::saveFileName(QWidget* parent, const SaveDialogSettings& settings) {
    const auto dialog = makeSaveDialog(parent, settings);
    if (dialog->exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList chosen = dialog->selectedFiles();
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen.front();
}

} // namespace kb::ui
