#pragma once

#include "AutoValue.h"
#include "CellRef.h"

#include <map>
#include <optional>
#include <vector>

namespace kb::spreadsheet {

// How a cell looks: the weight of the line on each of its edges (none when
// no border is drawn) and its horizontal alignment.
struct CellFormat {
    enum class Line { None, Hair, Thin, Medium, Thick };
    enum class Align { General, Left, Centre, Right };
    Line border = Line::None;
    Align align = Align::General;
    friend bool operator==(const CellFormat&, const CellFormat&) = default;
};

// The one worksheet of a workbook held in memory: typed cell values, the
// formatting given to blocks, column widths in characters, the selection and
// the page orientation. Null clears a cell.
class Sheet {
public:
    static constexpr double kDefaultWidth = 8.43;

    void setValue(CellRef cell, const automation::AutoValue& value);
    // Nullptr for an empty cell.
    const automation::AutoValue* value(int row, int column) const;

    // The border line style and weight and the alignment as the automation
    // constants give them; values outside the known ones are refused with
    // std::invalid_argument.
    void setLineStyle(const Block& block, int style);
    void setLineWeight(const Block& block, int weight);
    void setAlignment(const Block& block, int align);
    CellFormat format(int row, int column) const;

    void setColumnWidth(int column, double width);
    double columnWidth(int column) const;
    const std::map<int, double>& columnWidths() const { return widths_; }

    void select(const Block& block) { selection_ = block; }
    const Block& selection() const { return selection_; }
    void setOrientation(int orientation); // 1 portrait, 2 landscape
    bool landscape() const { return landscape_; }

    // The smallest block from A1 that holds every value and every formatted
    // cell; empty while the sheet has neither.
    std::optional<Block> usedBlock() const;

private:
    struct BlockFormat {
        Block block;
        std::optional<int> lineStyle;
        std::optional<int> weight;
        std::optional<CellFormat::Align> align;
    };

    std::vector<std::vector<automation::AutoValue>> rows_;
    std::vector<BlockFormat> formats_;
    std::map<int, double> widths_;
    Block selection_;
    bool landscape_ = false;
};

} // namespace kb::spreadsheet
