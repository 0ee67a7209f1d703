#include "ServerDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kb::launcher {

ServerDialog::ServerDialog(std::function<QString(const ServerLogin&)> check, QWidget* parent)
    : QDialog(parent), check_(std::move(check)), host_(new QLineEdit),
      database_(new QLineEdit(QStringLiteral("kultbuh"))), user_(new QLineEdit(qEnvironmentVariable("USER"))),
      password_(new QLineEdit), remember_(new QCheckBox(QStringLiteral("Запомнить пароль"))), answer_(new QLabel) {
    setWindowTitle(QStringLiteral("Подключение к общей базе на сервере"));
    password_->setEchoMode(QLineEdit::Password);
    host_->setPlaceholderText(QStringLiteral("имя или адрес, при необходимости с :порт"));
    answer_->setWordWrap(true);
    answer_->setTextFormat(Qt::PlainText);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Сервер:"), host_);
    form->addRow(QStringLiteral("База данных:"), database_);
    form->addRow(QStringLiteral("Пользователь:"), user_);
    form->addRow(QStringLiteral("Пароль:"), password_);
    form->addRow(QString(), remember_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    QPushButton* checkButton =
        buttons->addButton(QStringLiteral("Проверить подключение"), QDialogButtonBox::ActionRole);
    connect(checkButton, &QPushButton::clicked, this, &ServerDialog::runCheck);
    // Without a database's name nothing names the server's database in the settings.
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    connect(database_, &QLineEdit::textChanged, ok,
            [ok](const QString& text) { ok->setEnabled(!text.trimmed().isEmpty()); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(answer_);
    layout->addWidget(buttons);
    resize(480, sizeHint().height());
}

ServerLogin ServerDialog::login() const {
    return {host_->text(), database_->text(), user_->text(), password_->text(), remember_->isChecked()};
}

void ServerDialog::runCheck() {
    answer_->setText(QStringLiteral("Проверка подключения..."));
    QApplication::setOverrideCursor(Qt::WaitCursor);
    answer_->repaint();
    const QString problem = check_(login());
    QApplication::restoreOverrideCursor();
    answer_->setText(problem.isEmpty() ? QStringLiteral("Подключение работает.")
                                       : QStringLiteral("Подключиться не удалось:\n") + problem);
}

} // namespace kb::launcher
