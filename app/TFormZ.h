#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The splash screen: a frameless white window with the picture, the
// system's name and "Начать работу", centred on the screen. Pressing the
// button closes it with the result QDialog::Accepted (1).
class TFormZ : public QDialog {
    Q_OBJECT
public:
    explicit TFormZ(QWidget* parent = nullptr);

    QLabel* Image1;
    QLabel* Label1;
    QPushButton* Button1;

    static constexpr int kClientWidth = 295;
    static constexpr int kClientHeight = 478;
};

// Shows the splash screen modally and destroys it when the showing ends;
// however it was closed, the caller goes on.
void ShowSplash();
