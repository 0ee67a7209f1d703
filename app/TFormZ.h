#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace kb::app {

// The splash screen: a frameless white window with the picture, the
// system's name and "Начать работу", centred on the screen. Pressing the
// button closes it with the result QDialog::Accepted (1).
//
//   object name  member      what it does
//   Image1       picture     the splash picture, 290 × 380
//   Label1       titleLabel  the system's name
//   Button1      startButton "Начать работу": closes the splash screen
class TFormZ : public QDialog {
    Q_OBJECT
public:
    explicit TFormZ(QWidget* parent = nullptr);

    QLabel* picture;
    QLabel* titleLabel;
    QPushButton* startButton;

    static constexpr int kClientWidth = 295;
    static constexpr int kClientHeight = 478;
};

// Shows the splash screen modally and destroys it when the showing ends;
// however it was closed, the caller goes on. A non-empty note is the
// window's tooltip (which database the program opens).
void runSplashScreen(const QString& note = QString());

} // namespace kb::app
