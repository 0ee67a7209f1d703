#include "OldDatabase.h"

namespace kb::jet {

QString typeName(ColumnType type) {
    switch (type) {
    case ColumnType::Boolean:
        return QStringLiteral("логический");
    case ColumnType::Byte:
        return QStringLiteral("байт");
    case ColumnType::Int:
        return QStringLiteral("целое");
    case ColumnType::LongInt:
        return QStringLiteral("длинное целое");
    case ColumnType::Money:
        return QStringLiteral("денежный");
    case ColumnType::Single:
        return QStringLiteral("одинарное с плавающей точкой");
    case ColumnType::Double:
        return QStringLiteral("двойное с плавающей точкой");
    case ColumnType::DateTime:
        return QStringLiteral("дата/время");
    case ColumnType::Text:
        return QStringLiteral("текстовый");
    case ColumnType::Memo:
        return QStringLiteral("поле MEMO");
    case ColumnType::Binary:
    case ColumnType::Ole:
    case ColumnType::ReplicationId:
    case ColumnType::Numeric:
    case ColumnType::Complex:
        break;
    }
    return QStringLiteral("тип %1").arg(int(type));
}

} // namespace kb::jet
