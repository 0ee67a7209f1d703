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
    void boxes_data() {
        columns<int, int>("icon", "buttons");
        row("plain message box", int(QMessageBox::NoIcon), int(QMessageBox::Ok));
        row("error box", int(QMessageBox::Critical), int(QMessageBox::Ok));
        row("confirmation", int(QMessageBox::Question), int(QMessageBox::Ok | QMessageBox::Cancel));
    }
    void boxes() {
        const auto [icon, buttons] = fetch<int, int>("icon", "buttons");
        const QString text = u"<b>Иванов</b> & Ко.\r\nВторая\rстрока.\r\n"_s;
        const auto box = icon == QMessageBox::NoIcon     ? makeMessageBox(u"Kultbuh"_s, text)
                         : icon == QMessageBox::Critical ? makeErrorBox(u"Kultbuh"_s, text)
                                                         : makeConfirmBox(u"Kultbuh"_s, text);
        QCOMPARE(box->windowTitle(), u"Kultbuh"_s);
        QCOMPARE(int(box->icon()), icon);
        QCOMPARE(int(box->standardButtons()), buttons);
        // Shown as it is, never as markup; CR LF or CR ends a line, without a stray glyph.
        QCOMPARE(box->textFormat(), Qt::PlainText);
        QCOMPARE(box->text(), u"<b>Иванов</b> & Ко.\nВторая\nстрока.\n"_s);
    }

    void confirmationKeepsItsWordsUnderTranslation() {
        QTranslator russian;
        QVERIFY(russian.load(QLocale(QLocale::Russian, QLocale::Russia), u"qtbase"_s, u"_"_s,
                             QLibraryInfo::path(QLibraryInfo::TranslationsPath)));
        QCoreApplication::installTranslator(&russian);
        const auto box = makeConfirmBox(u"Confirm"_s, u"Delete record?"_s);
        QCoreApplication::removeTranslator(&russian);
        QCOMPARE(box->button(QMessageBox::Ok)->text(), u"OK"_s);
        QCOMPARE(box->button(QMessageBox::Cancel)->text(), u"Cancel"_s);
        QCOMPARE(box->defaultButton(), box->button(QMessageBox::Ok));
        QCOMPARE(box->escapeButton(), box->button(QMessageBox::Cancel));
    }

    void inputPrompt() {
        const auto dialog = makeInputPrompt(u"Расчётный лист"_s, u"Введите ФИО сотрудника"_s, u"Иванов"_s);
        QCOMPARE(dialog->findChild<QLabel*>()->text(), u"Введите ФИО сотрудника"_s);
        auto* edit = dialog->findChild<QLineEdit*>(u"InputEdit"_s);
        QCOMPARE(edit->text(), u"Иванов"_s);
        edit->setText(QString(400, u'ж'));
        QCOMPARE(edit->text().size(), 255);
        // OK and Cancel end it with the results inputPrompt tells apart.
        const auto* box = dialog->findChild<QDialogButtonBox*>();
        QCOMPARE(box->standardButtons(), QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        box->button(QDialogButtonBox::Ok)->click();
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
        box->button(QDialogButtonBox::Cancel)->click();
        QCOMPARE(dialog->result(), int(QDialog::Rejected));
    }

    void saveDialog() {
        // Without a title and a folder of its own: the toolkit's title, the current folder (before any dialog has
        // visited another one).
        const auto untitled = makeSaveDialog(nullptr, {u"txt"_s, u"*.txt"_s, {}, {}});
        QCOMPARE(untitled->windowTitle(), u"Save As"_s);
        QCOMPARE(QDir(untitled->directory()).canonicalPath(), QDir::current().canonicalPath());
        const auto dialog = makeSaveDialog(nullptr, {u"txt"_s, u"*.txt (*.txt)"_s, u"Сохранить"_s, QDir::tempPath()});
        QCOMPARE(dialog->windowTitle(), u"Сохранить"_s);
        QCOMPARE(QDir(dialog->directory()).canonicalPath(), QDir(QDir::tempPath()).canonicalPath());
        QCOMPARE(dialog->defaultSuffix(), u"txt"_s);
    }
};

QTEST_MAIN(TestQtModalDialogs)
#include "tst_qtmodaldialogs.moc"
