#pragma once

#include <QFont>
#include <QString>

class QApplication;

namespace kb::app {

// The program's look and language: the Fusion style, the Tahoma font
// registered when installed, Russian number and date formats, Qt's own
// dialogs in Russian. Run once, right after the application object exists.
void setupAppearance(QApplication& application);

// The family every window uses: "Tahoma" when it could be registered,
// otherwise DejaVu Sans or another installed sans font with Cyrillic letters.
QString uiFontFamily();

// The program's font with its character height in pixels.
QFont uiFont(int pixelSize, bool bold = false);

} // namespace kb::app
