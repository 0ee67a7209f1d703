#include "QtModalDialogs.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTranslator>

using namespace kb::ui;
using namespace Qt::StringLiterals;

namespace {

QStringList buttonTexts(const QList<QAbstractButton*>& buttons) {
    QStringList texts;
    for (const QAbstractButton* button : buttons)
        texts.append(button->text().remove(u'&'));
    texts.sort();
    return texts;
}

} // namespace

class TestQtModalDialogs : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        // Qt's own buttons speak Russian in the program.
        QVERIFY(translator_.load(u"qtbase_ru"_s, QLibraryInfo::path(QLibraryInfo::TranslationsPath)));
        QCoreApplication::installTranslator(&translator_);
    }

    void boxes_data() {
        QTest::addColumn<int>("icon");
        QTest::addColumn<QStringList>("buttons");
        QTest::newRow("plain message box") << int(QMessageBox::NoIcon) << QStringList{u"OK"_s};
        QTest::newRow("error box") << int(QMessageBox::Critical) << QStringList{u"OK"_s};
        QTest::newRow("confirmation") << int(QMessageBox::Question) << QStringList{u"OK"_s, u"Отмена"_s};
    }
    void boxes() {
        QFETCH(int, icon);
        QFETCH(QStringList, buttons);
        const QString text = u"<b>Иванов</b> & Ко.\r\nВторая строка.\r\n"_s;
        const auto box = icon == QMessageBox::NoIcon     ? makeMessageBox(u"Kultbuh"_s, text)
                         : icon == QMessageBox::Critical ? makeErrorBox(u"Kultbuh"_s, text)
                                                         : makeConfirmBox(u"Kultbuh"_s, text);
        QCOMPARE(box->windowTitle(), u"Kultbuh"_s);
        QCOMPARE(int(box->icon()), icon);
        QCOMPARE(buttonTexts(box->buttons()), buttons);
        // Shown as it is, never as markup; CR LF ends lines without stray carriage returns.
        QCOMPARE(box->textFormat(), Qt::PlainText);
        QCOMPARE(box->text(), u"<b>Иванов</b> & Ко.\nВторая строка.\n"_s);
        if (icon == QMessageBox::Question)
            QCOMPARE(box->escapeButton(), box->button(QMessageBox::Cancel));
    }

    void inputPrompt() {
        const auto dialog = makeInputPrompt(u"Расчётный лист"_s, u"Введите ФИО сотрудника"_s, u"Иванов"_s);
        QCOMPARE(dialog->windowTitle(), u"Расчётный лист"_s);
        QCOMPARE(dialog->findChild<QLabel*>()->text(), u"Введите ФИО сотрудника"_s);
        const QPoint offset = dialog->geometry().center() - QGuiApplication::primaryScreen()->geometry().center();
        QVERIFY(qAbs(offset.x()) <= 1 && qAbs(offset.y()) <= 1);
        auto* edit = dialog->findChild<QLineEdit*>(u"InputEdit"_s);
        QCOMPARE(edit->text(), u"Иванов"_s);
        edit->setText(QString(400, u'ж'));
        QCOMPARE(edit->text().size(), 255);
        // OK and Cancel end it with the results inputPrompt tells apart.
        const auto* box = dialog->findChild<QDialogButtonBox*>();
        QCOMPARE(buttonTexts(box->buttons()), (QStringList{u"OK"_s, u"Отмена"_s}));
        box->button(QDialogButtonBox::Ok)->click();
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
        box->button(QDialogButtonBox::Cancel)->click();
        QCOMPARE(dialog->result(), int(QDialog::Rejected));
    }

    void saveDialog() {
        // Without a title and a folder of its own: the toolkit's title, the
        // current folder (before any dialog has visited another one).
        const auto untitled = makeSaveDialog(nullptr, {u"txt"_s, u"*.txt"_s, {}, {}});
        QCOMPARE(untitled->windowTitle(), u"Сохранить как"_s);
        QCOMPARE(QDir(untitled->directory()).canonicalPath(), QDir::current().canonicalPath());
        const auto dialog = makeSaveDialog(nullptr, {u"txt"_s, u"*.txt (*.txt)"_s, u"Сохранить"_s, QDir::tempPath()});
        QCOMPARE(dialog->windowTitle(), u"Сохранить"_s);
        QCOMPARE(QDir(dialog->directory()).canonicalPath(), QDir(QDir::tempPath()).canonicalPath());
        QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
        QCOMPARE(dialog->defaultSuffix(), u"txt"_s);
        QCOMPARE(dialog->nameFilters(), QStringList{u"*.txt (*.txt)"_s});
        QVERIFY(dialog->testOption(QFileDialog::DontUseNativeDialog));
    }

private:
    QTranslator translator_;
};

QTEST_MAIN(TestQtModalDialogs)
#include "tst_qtmodaldialogs.moc"
