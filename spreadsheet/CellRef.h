#pragma once

#include <QString>
#include <QStringView>

namespace kb::spreadsheet {

// The sheet's size limits: columns A to XFD, rows 1 to 1048576.
inline constexpr int kMaxColumns = 16384;
inline constexpr int kMaxRows = 1048576;

// A cell by zero-based row and column.
struct CellRef {
    int row = 0;
    int column = 0;
    friend bool operator==(const CellRef&, const CellRef&) = default;
};

// A rectangular block of cells, first at the top left, last at the bottom right.
struct Block {
    CellRef first;
    CellRef last;
    bool contains(int row, int column) const {
        return row >= first.row && row <= last.row && column >= first.column && column <= last.column;
    }
    friend bool operator==(const Block&, const Block&) = default;
};

// An A1 reference: column letters (any case) and a row number, "B7", "AA10".
// Throws std::invalid_argument with a Russian message quoting the text.
CellRef parseCell(QStringView text);
// A single cell ("C3") or a block of two corners ("A1:J13", any two
// opposite corners); the block is put in order.
Block parseBlock(QStringView text);
// The A1 name of a cell: cellName({0, 0}) is "A1".
QString cellName(CellRef cell);

} // namespace kb::spreadsheet
