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

// fonts-wine installs Tahoma where fontconfig does not look. Only the regular
// face is registered: Wine's tahomabd.ttf has its bold letters only as bitmap
// strikes at 11 to 16 pixels, while its outlines, which an antialiased
// rendering uses, are the regular ones under bold advances. With that face
// registered every bold text came out regular and spaced out; without it the
// font engine emboldens the regular outlines, at every size.
constexpr const char* kTahomaFile = "/usr/share/wine/fonts/tahoma.ttf";

QString& chosenFamily() {
    static QString family;
    return family;
}

bool registerTahoma() {
    // Registering twice would only add a duplicate face.
    static const bool registered = [] {
        const QString path = QString::fromLatin1(kTahomaFile);
        if (!QFile::exists(path))
            return false;
        const int id = QFontDatabase::addApplicationFont(path);
        return id >= 0 && QFontDatabase::applicationFontFamilies(id).contains(QStringLiteral("Tahoma"));
    }();
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
