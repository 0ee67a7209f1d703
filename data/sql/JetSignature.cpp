#include "JetSignature.h"

#include <QFile>

namespace kb::sql {

namespace {

// Page 0 of a Jet file: a 4-byte page header, the format's name, and at
// offset 0x14 the version byte (0 Jet 3, 1 Jet 4, 2 and up Access 2007 and later).
constexpr qsizetype kNameOffset = 4;
constexpr qsizetype kVersionOffset = 0x14;
const QByteArray kJetName("Standard Jet DB", 16);
const QByteArray kAceName("Standard ACE DB", 16);

} // namespace

std::optional<JetFormat> jetFormat(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray head = file.read(kVersionOffset + 1);
    if (head.size() <= kVersionOffset)
        return std::nullopt;
    const QByteArray name = head.mid(kNameOffset, kJetName.size());
    if (name == kAceName)
        return JetFormat::Ace;
    if (name != kJetName)
        return std::nullopt;
    switch (head.at(kVersionOffset)) {
    case 0:
        return JetFormat::Jet3;
    case 1:
        return JetFormat::Jet4;
    default:
        return JetFormat::Ace;
    }
}

QString jetFileRefusal(const QString& shownPath) {
    return QStringLiteral("Файл %1 - база данных старой программы (Microsoft Jet, Access). Программа не открывает "
                          "такой файл и не изменяет его; перенесите данные в новый файл командой:\n"
                          "kultbuh-db import \"%1\" НОВЫЙ_ФАЙЛ")
        .arg(shownPath);
}

} // namespace kb::sql
