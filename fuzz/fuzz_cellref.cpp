// The spreadsheet server's A1 references, on any text:
//  - a cell reference it takes is within the sheet and is the text itself,
//    written in capitals (no other spelling is taken);
//  - a block it takes is in order, within the sheet, and its corners are
//    cells it takes on their own;
//  - anything else is refused with std::invalid_argument only.

#include "CellRef.h"
#include "FuzzCheck.h"

#include <stdexcept>

namespace {

using namespace kb;
using namespace kb::spreadsheet;

bool inSheet(CellRef cell) {
    return cell.row >= 0 && cell.row < kMaxRows && cell.column >= 0 && cell.column < kMaxColumns;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = fuzz::utf8(fuzz::bytes(data, size));
    try {
        const CellRef cell = parseCell(text);
        fuzz::check(inSheet(cell), "a cell is within the sheet", text);
        fuzz::check(cellName(cell) == text.toUpper(), "a cell's name is its text in capitals", text);
    } catch (const std::invalid_argument&) {
    }
    try {
        const Block block = parseBlock(text);
        fuzz::check(inSheet(block.first) && inSheet(block.last), "a block is within the sheet", text);
        fuzz::check(block.first.row <= block.last.row && block.first.column <= block.last.column, "a block is in order",
                    text);
        fuzz::check(parseCell(cellName(block.first)) == block.first && parseCell(cellName(block.last)) == block.last,
                    "a block's corners are cells", text);
    } catch (const std::invalid_argument&) {
    }
    return 0;
}
