#include "DatabaseChoice.h"

#include "DataModule.h"
#include "DatabaseName.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <stdexcept>

namespace kb::dataset {

namespace {

const QString kSettingKey = QStringLiteral("Database/database");

} // namespace

QString settingsFilePath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/kultbuh/kultbuh.conf");
}

QString chosenDatabase() {
    const QString fromEnvironment = qEnvironmentVariable("KULTBUH_DATABASE");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    // An unquoted value with commas is read as a list: it is one name all the same.
    const QString setting =
        QSettings(settingsFilePath(), QSettings::IniFormat).value(kSettingKey).toStringList().join(u',');
    if (!setting.isEmpty())
        return setting;
    return QString::fromLatin1(TDataM::kDatabaseFile);
}

void saveDatabaseSetting(const QString& name) {
    const QString path = settingsFilePath();
    const auto failed = [&] {
        return std::runtime_error(QStringLiteral("Не удалось записать файл настроек %1").arg(path).toStdString());
    };
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        throw failed();
    QSettings settings(path, QSettings::IniFormat);
    settings.setValue(kSettingKey, name);
    settings.sync();
    if (settings.status() != QSettings::NoError)
        throw failed();
}

QString shownDatabaseName(const QString& name) {
    if (!sql::isServerName(name))
        return QDir::toNativeSeparators(QFileInfo(name).absoluteFilePath());
    return sql::withoutPassword(name);
}

} // namespace kb::dataset
