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

Q_DECLARE_METATYPE(QMessageBox::Icon)

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
    void initTestCase();
    void boxes_data();
    void boxes();
    void boxShowsMarkupAsPlainText();
    void inputPromptEntry();
    void inputPromptIsCentredOnTheScreen();
    void saveDialogSettings();

private:
    QTranslator translator_;
};

void TestQtModalDialogs::initTestCase() {
    // Qt's own buttons speak Russian in the program.
    QVERIFY(translator_.load(QStringLiteral("qtbase_ru"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)));
    QCoreApplication::installTranslator(&translator_);
}

void TestQtModalDialogs::boxes_data() {
    QTest::addColumn<QString>("which");
    QTest::addColumn<QMessageBox::Icon>("icon");
    QTest::addColumn<QStringList>("buttons");

    QTest::newRow("plain message box") << QStringLiteral("message") << QMessageBox::NoIcon
                                       << QStringList{QStringLiteral("OK")};
    QTest::newRow("error box") << QStringLiteral("error") << QMessageBox::Critical << QStringList{QStringLiteral("OK")};
    QTest::newRow("confirmation") << QStringLiteral("confirm") << QMessageBox::Question
                                  << QStringList{QStringLiteral("OK"), QStringLiteral("Отмена")};
}

void TestQtModalDialogs::boxes() {
    QFETCH(QString, which);
    QFETCH(QMessageBox::Icon, icon);
    QFETCH(QStringList, buttons);

    const QString caption = QStringLiteral("Kultbuh");
    const QString text = QStringLiteral("Первая строка.\r\nВторая строка.\r\n");
    std::unique_ptr<QMessageBox> box = which == u"message" ? makeMessageBox(caption, text)
                                       : which == u"error" ? makeErrorBox(caption, text)
                                                           : makeConfirmBox(caption, text);
    QCOMPARE(box->windowTitle(), caption);
    QCOMPARE(box->icon(), icon);
    QCOMPARE(buttonTexts(box->buttons()), buttons);
    // CR LF line ends show as line breaks, without stray carriage returns.
    QCOMPARE(box->text(), QStringLiteral("Первая строка.\nВторая строка.\n"));
}

void TestQtModalDialogs::boxShowsMarkupAsPlainText() {
    const auto box = makeErrorBox(QStringLiteral("Kultbuh"), QStringLiteral("<b>Иванов</b> & <i>Ко</i>"));
    QCOMPARE(box->textFormat(), Qt::PlainText);
}

void TestQtModalDialogs::inputPromptEntry() {
    const auto dialog = makeInputPrompt(QStringLiteral("Расчётный лист"), QStringLiteral("Введите ФИО сотрудника"),
                                        QStringLiteral("Иванов"));
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Расчётный лист"));
    auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("InputEdit"));
    QVERIFY(edit != nullptr);
    QCOMPARE(edit->text(), QStringLiteral("Иванов"));
    QCOMPARE(edit->maxLength(), 255);
    edit->setText(QString(400, u'ж'));
    QCOMPARE(edit->text().size(), 255);

    bool promptShown = false;
    for (const QLabel* label : dialog->findChildren<QLabel*>())
        promptShown = promptShown || label->text() == u"Введите ФИО сотрудника";
    QVERIFY(promptShown);
    const auto* box = dialog->findChild<QDialogButtonBox*>();
    QVERIFY(box != nullptr);
    QCOMPARE(buttonTexts(box->buttons()), (QStringList{QStringLiteral("OK"), QStringLiteral("Отмена")}));

    // OK and Cancel end the dialog with the results inputPrompt tells apart.
    box->button(QDialogButtonBox::Ok)->click();
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
    box->button(QDialogButtonBox::Cancel)->click();
    QCOMPARE(dialog->result(), int(QDialog::Rejected));
}

void TestQtModalDialogs::inputPromptIsCentredOnTheScreen() {
    const auto dialog = makeInputPrompt(QStringLiteral("Ввод"), QStringLiteral("Текст"), QString());
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QRect placed(dialog->pos(), dialog->size());
    QVERIFY2(qAbs(placed.center().x() - screen.center().x()) <= 1, qPrintable(QString::number(placed.center().x())));
    QVERIFY2(qAbs(placed.center().y() - screen.center().y()) <= 1, qPrintable(QString::number(placed.center().y())));
}

void TestQtModalDialogs::saveDialogSettings() {
    // No title and no folder of its own: the toolkit's title, the current
    // folder (before any dialog has visited another one).
    const auto untitled = makeSaveDialog(nullptr, {QStringLiteral("txt"), QStringLiteral("*.txt"), {}, {}});
    QCOMPARE(untitled->windowTitle(), QStringLiteral("Сохранить как"));
    QCOMPARE(QDir(untitled->directory()).canonicalPath(), QDir::current().canonicalPath());
    QCOMPARE(untitled->nameFilters(), QStringList{QStringLiteral("*.txt")});

    const QString folder = QDir::tempPath();
    const auto dialog = makeSaveDialog(
        nullptr, {QStringLiteral("txt"), QStringLiteral("*.txt (*.txt)"), QStringLiteral("Сохранить"), folder});
    QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
    QCOMPARE(dialog->defaultSuffix(), QStringLiteral("txt"));
    QCOMPARE(dialog->nameFilters(), QStringList{QStringLiteral("*.txt (*.txt)")});
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Сохранить"));
    QCOMPARE(QDir(dialog->directory()).canonicalPath(), QDir(folder).canonicalPath());
    QVERIFY(dialog->testOption(QFileDialog::DontUseNativeDialog));
}

QTEST_MAIN(TestQtModalDialogs)
#include "tst_qtmodaldialogs.moc"
