// The spreadsheet server's A1 references on any text: what is taken lies within the sheet and reads back from its
// name; anything else is refused with std::invalid_argument only.

#include "CellRef.h"
#include "FuzzCheck.h"

#include <stdexcept>

using namespace kb;
using namespace kb::spreadsheet;

static bool inSheet(CellRef cell) {
    return cell.row >= 0 && cell.row < kMaxRows && cell.column >= 0 && cell.column < kMaxColumns;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = fuzz::utf8(fuzz::bytes(data, size));
    try {
        const CellRef cell = parseCell(text);
        fuzz::check(inSheet(cell), "a cell is within the sheet", text);
        fuzz::check(cellName(cell) == text.toUpper(), "a cell's name is its text in capitals", text);
    } catch (const std::invalid_argument&) {
    }
    try {
        const auto [first, last] = parseBlock(text);
        fuzz::check(inSheet(first) && inSheet(last), "a block is within the sheet", text);
        fuzz::check(first.row <= last.row && first.column <= last.column, "a block is in order", text);
        fuzz::check(parseCell(cellName(first)) == first && parseCell(cellName(last)) == last,
                    "a block's corners are cells", text);
    } catch (const std::invalid_argument&) {
    }
    return 0;
}
