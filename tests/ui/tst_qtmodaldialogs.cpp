#include "QtModalDialogs.h"
#include "TestRows.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTranslator>

using namespace kbtest;
using namespace kb::ui;
using namespace Qt::StringLiterals;

class TestQtModalDialogs : public QObject {
    Q_OBJECT
private slots:
    // Each box shows its text as it is, never as markup, CR LF or CR ending a line without a stray glyph; the
    // confirmation keeps its words "OK" and "Cancel" under the toolkit's Russian translation, OK the default.
    void boxes_data() {
        columns<int, QString>("icon", "buttons");
        row("error box", int(QMessageBox::Critical), u"OK"_s);
        row("confirmation", int(QMessageBox::Question), u"OK Cancel"_s);
    }
    void boxes() {
        const auto [icon, buttons] = fetch<int, QString>("icon", "buttons");
        QTranslator russian;
        QVERIFY(russian.load(QLocale(QLocale::Russian, QLocale::Russia), u"qtbase"_s, u"_"_s,
                             QLibraryInfo::path(QLibraryInfo::TranslationsPath)));
        QCoreApplication::installTranslator(&russian);
        const QString text = u"<b>Иванов</b> & Ко.\r\nВторая\rстрока.\r\n"_s;
        const auto box =
            icon == QMessageBox::Critical ? makeErrorBox(u"Kultbuh"_s, text) : makeConfirmBox(u"Kultbuh"_s, text);
        QCoreApplication::removeTranslator(&russian);
        QStringList words;
        for (const QAbstractButton* button : box->buttons())
            words << button->text();
        QCOMPARE(box->windowTitle() + u' ' + QString::number(box->icon()), u"Kultbuh "_s + QString::number(icon));
        QCOMPARE(words.join(u' '), buttons);
        QVERIFY(icon != QMessageBox::Question || (box->defaultButton() == box->button(QMessageBox::Ok) &&
                                                  box->escapeButton() == box->button(QMessageBox::Cancel)));
        QCOMPARE(box->textFormat(), Qt::PlainText);
        QCOMPARE(box->text(), u"<b>Иванов</b> & Ко.\nВторая\nстрока.\n"_s);
    }

    // The prompt's text and initial value; OK and Cancel end it with the results inputPrompt tells apart.
    void inputPrompt() {
        const auto dialog = makeInputPrompt(u"Расчётный лист"_s, u"Введите ФИО сотрудника"_s, u"Иванов"_s);
        auto* edit = dialog->findChild<QLineEdit*>(u"InputEdit"_s);
        QCOMPARE(dialog->findChild<QLabel*>()->text() + u'|' + edit->text(), u"Введите ФИО сотрудника|Иванов"_s);
        const auto* box = dialog->findChild<QDialogButtonBox*>();
        box->button(QDialogButtonBox::Ok)->click();
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
        box->button(QDialogButtonBox::Cancel)->click();
        QCOMPARE(dialog->result(), int(QDialog::Rejected));
    }

    // The pay slip's save dialog, without a title and a folder of its own: the toolkit's title, the current folder
    // (before any dialog has visited another one), ".txt" added to a name without it.
    void saveDialog() {
        const auto dialog = makeSaveDialog(nullptr, {u"txt"_s, u"*.txt (*.txt)"_s, {}, {}});
        QCOMPARE(dialog->windowTitle() + u' ' + dialog->defaultSuffix(), u"Save As txt"_s);
        QCOMPARE(QDir(dialog->directory()).canonicalPath(), QDir::current().canonicalPath());
    }
};

QTEST_MAIN(TestQtModalDialogs)
#include "tst_qtmodaldialogs.moc"
