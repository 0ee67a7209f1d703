#include "AppearanceSetup.h"

#include <QApplication>
#include <QFile>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QLocale>
#include <QStyleFactory>
#include <QTranslator>

namespace kb::app {

namespace {

// fonts-wine installs Tahoma where fontconfig does not look.
constexpr const char* kTahomaFiles[] = {"/usr/share/wine/fonts/tahoma.ttf", "/usr/share/wine/fonts/tahomabd.ttf"};

QString& chosenFamily() {
    static QString family;
    return family;
}

bool registerTahoma() {
    // Registering twice would only add duplicate faces.
    static bool registered = false;
    if (registered)
        return true;
    for (const char* file : kTahomaFiles) {
        const QString path = QString::fromLatin1(file);
        if (!QFile::exists(path))
            continue;
        const int id = QFontDatabase::addApplicationFont(path);
        if (id >= 0 && QFontDatabase::applicationFontFamilies(id).contains(QStringLiteral("Tahoma")))
            registered = true;
    }
    return registered;
}

QString fallbackFamily() {
    const QStringList cyrillic = QFontDatabase::families(QFontDatabase::Cyrillic);
    for (const char* preferred : {"DejaVu Sans", "Liberation Sans", "Noto Sans", "FreeSans"}) {
        if (cyrillic.contains(QString::fromLatin1(preferred)))
            return QString::fromLatin1(preferred);
    }
    for (const QString& family : cyrillic) {
        if (!QFontDatabase::isFixedPitch(family) && !family.contains(QLatin1String("Serif")) &&
            !family.contains(QLatin1String("Mono")))
            return family;
    }
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
}

void installTranslation(QApplication& application) {
    // Owned by the application, so it lives exactly as long.
    auto* translator = new QTranslator(&application);
    if (translator->load(QLocale(QLocale::Russian, QLocale::Russia), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

} // namespace

void setupAppearance(QApplication& application) {
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion")))
        QApplication::setStyle(fusion);
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    installTranslation(application);
    chosenFamily() = registerTahoma() ? QStringLiteral("Tahoma") : fallbackFamily();
    QApplication::setFont(uiFont(11));
}

QString uiFontFamily() {
    if (chosenFamily().isEmpty())
        return QStringLiteral("Tahoma");
    return chosenFamily();
}

QFont uiFont(int pixelSize, bool bold) {
    QFont font(uiFontFamily());
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

} // namespace kb::app
