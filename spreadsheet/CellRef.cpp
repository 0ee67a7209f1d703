#include "CellRef.h"

#include <algorithm>
#include <stdexcept>

namespace kb::spreadsheet {

namespace {

[[noreturn]] void badReference(QStringView text) {
    throw std::invalid_argument(QStringLiteral("Неверная ссылка на ячейку: \"%1\"").arg(text).toStdString());
}

bool isLetter(QChar ch) {
    return (ch >= u'A' && ch <= u'Z') || (ch >= u'a' && ch <= u'z');
}

} // namespace

CellRef parseCell(QStringView text) {
    qsizetype i = 0;
    int column = 0;
    while (i < text.size() && isLetter(text[i]) && i < 3) {
        column = column * 26 + (text[i].toUpper().unicode() - u'A' + 1);
        ++i;
    }
    if (i == 0 || column > kMaxColumns || i == text.size() || text[i] == u'0')
        badReference(text);
    int row = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < u'0' || text[i] > u'9' || row > kMaxRows)
            badReference(text);
        row = row * 10 + (text[i].unicode() - u'0');
    }
    if (row > kMaxRows)
        badReference(text);
    return {row - 1, column - 1};
}

Block parseBlock(QStringView text) {
    const qsizetype colon = text.indexOf(u':');
    if (colon < 0) {
        const CellRef cell = parseCell(text);
        return {cell, cell};
    }
    const CellRef a = parseCell(text.left(colon));
    const CellRef b = parseCell(text.mid(colon + 1));
    return {{std::min(a.row, b.row), std::min(a.column, b.column)},
            {std::max(a.row, b.row), std::max(a.column, b.column)}};
}

QString cellName(CellRef cell) {
    QString letters;
    for (int n = cell.column + 1; n > 0; n = (n - 1) / 26)
        letters.prepend(QChar(u'A' + (n - 1) % 26));
    return letters + QString::number(cell.row + 1);
}

} // namespace kb::spreadsheet
