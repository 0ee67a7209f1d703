#include "Sheet.h"

#include <algorithm>
#include <stdexcept>

namespace kb::spreadsheet {

using automation::AutoValue;

namespace {

[[noreturn]] void badConstant(const char* what, int value) {
    throw std::invalid_argument(
        QStringLiteral("Недопустимое значение %1: %2").arg(QLatin1String(what)).arg(value).toStdString());
}

// The automation constants of a border's weight: hairline 1, thin 2, medium
// 3 (and -4138), thick 4.
CellFormat::Line lineOfWeight(int weight) {
    switch (weight) {
    case 1:
        return CellFormat::Line::Hair;
    case 2:
        return CellFormat::Line::Thin;
    case 3:
    case -4138:
        return CellFormat::Line::Medium;
    case 4:
        return CellFormat::Line::Thick;
    default:
        badConstant("толщины линии", weight);
    }
}

// Line styles: continuous 1, none -4142 (and 0).
constexpr int kNoLine = -4142;

} // namespace

void Sheet::setValue(CellRef cell, const AutoValue& value) {
    const bool clears = value.type() == AutoValue::Type::Null || value.type() == AutoValue::Type::Empty;
    if (size_t(cell.row) >= rows_.size()) {
        if (clears)
            return;
        rows_.resize(size_t(cell.row) + 1);
    }
    auto& row = rows_[size_t(cell.row)];
    if (size_t(cell.column) >= row.size()) {
        if (clears)
            return;
        row.resize(size_t(cell.column) + 1);
    }
    row[size_t(cell.column)] = clears ? AutoValue() : value;
}

const AutoValue* Sheet::value(int row, int column) const {
    if (row < 0 || size_t(row) >= rows_.size() || column < 0 || size_t(column) >= rows_[size_t(row)].size())
        return nullptr;
    const AutoValue& v = rows_[size_t(row)][size_t(column)];
    return v.type() == AutoValue::Type::Empty ? nullptr : &v;
}

void Sheet::setLineStyle(const Block& block, int style) {
    if (style != 1 && style != 0 && style != kNoLine)
        badConstant("типа линии", style);
    formats_.push_back({block, style == 1 ? 1 : kNoLine, {}, {}});
}

void Sheet::setLineWeight(const Block& block, int weight) {
    lineOfWeight(weight);
    formats_.push_back({block, {}, weight, {}});
}

// Alignment: general 1, left 2 (-4131), centre 3 (-4108), right 4 (-4152).
void Sheet::setAlignment(const Block& block, int align) {
    CellFormat::Align a;
    switch (align) {
    case 1:
        a = CellFormat::Align::General;
        break;
    case 2:
    case -4131:
        a = CellFormat::Align::Left;
        break;
    case 3:
    case -4108:
        a = CellFormat::Align::Centre;
        break;
    case 4:
    case -4152:
        a = CellFormat::Align::Right;
        break;
    default:
        badConstant("выравнивания", align);
    }
    formats_.push_back({block, {}, {}, a});
}

// A weight set without a line style shows a continuous line, as a style set
// without a weight shows a thin one.
CellFormat Sheet::format(int row, int column) const {
    std::optional<int> style, weight;
    CellFormat result;
    for (const BlockFormat& f : formats_) {
        if (!f.block.contains(row, column))
            continue;
        if (f.lineStyle)
            style = f.lineStyle;
        if (f.weight) {
            weight = f.weight;
            if (!style || *style == kNoLine)
                style = 1;
        }
        if (f.align)
            result.align = *f.align;
    }
    if (style && *style != kNoLine)
        result.border = lineOfWeight(weight.value_or(2));
    return result;
}

void Sheet::setColumnWidth(int column, double width) {
    if (width < 0 || width > 255)
        throw std::invalid_argument(QStringLiteral("Недопустимая ширина столбца: %1").arg(width).toStdString());
    widths_[column] = width;
}

double Sheet::columnWidth(int column) const {
    const auto found = widths_.find(column);
    return found == widths_.end() ? kDefaultWidth : found->second;
}

void Sheet::setOrientation(int orientation) {
    if (orientation != 1 && orientation != 2)
        badConstant("ориентации страницы", orientation);
    landscape_ = orientation == 2;
}

std::optional<Block> Sheet::usedBlock() const {
    int lastRow = -1, lastColumn = -1;
    for (size_t r = 0; r < rows_.size(); ++r)
        for (size_t c = 0; c < rows_[r].size(); ++c)
            if (rows_[r][c].type() != AutoValue::Type::Empty) {
                lastRow = int(r);
                lastColumn = std::max(lastColumn, int(c));
            }
    for (const BlockFormat& f : formats_) {
        lastRow = std::max(lastRow, f.block.last.row);
        lastColumn = std::max(lastColumn, f.block.last.column);
    }
    if (lastRow < 0)
        return std::nullopt;
    return Block{{0, 0}, {lastRow, lastColumn}};
}

} // namespace kb::spreadsheet
