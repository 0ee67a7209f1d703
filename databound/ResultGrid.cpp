#include "ResultGrid.h"

#include "DataSet.h"
#include "ErrorReporting.h"
#include "ResultGridModel.h"

#include <QHeaderView>
#include <QPainter>
#include <stdexcept>

namespace kb::databound {

namespace {

// The row indicator: a narrow vertical header without text that draws a
// marker on the section of the grid's current row.
class RowIndicatorHeader : public QHeaderView {
public:
    explicit RowIndicatorHeader(QWidget* parent) : QHeaderView(Qt::Vertical, parent) {}

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override {
        // The style's header drawing can leave an empty clip region behind.
        painter->save();
        QHeaderView::paintSection(painter, rect, logicalIndex);
        painter->restore();
        const auto* view = qobject_cast<const QAbstractItemView*>(parentWidget());
        if (!view || view->currentIndex().row() != logicalIndex)
            return;
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(Qt::NoPen);
        painter->setBrush(palette().color(QPalette::ButtonText));
        const int h = qMin(rect.height() - 6, rect.width() - 4);
        const QPointF centre = QRectF(rect).center();
        const QPointF points[] = {{centre.x() - h / 4.0, centre.y() - h / 2.0},
                                  {centre.x() + h / 4.0, centre.y()},
                                  {centre.x() - h / 4.0, centre.y() + h / 2.0}};
        painter->drawPolygon(points, 3);
        painter->restore();
    }
};

constexpr int kIndicatorWidth = 12;
constexpr int kDefaultColumnWidth = 64;

} // namespace

ResultGrid::ResultGrid(QWidget* parent) : QTableView(parent), model_(new ResultGridModel(this)) {
    setVerticalHeader(new RowIndicatorHeader(this));
    setModel(model_);

    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setTabKeyNavigation(true);
    setShowGrid(true);
    setWordWrap(false);
    setCornerButtonEnabled(false);

    QHeaderView* titles = horizontalHeader();
    titles->setSectionResizeMode(QHeaderView::Interactive);
    titles->setSectionsMovable(true);
    titles->setStretchLastSection(false);
    titles->setHighlightSections(false);
    titles->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    titles->setDefaultSectionSize(kDefaultColumnWidth);

    QHeaderView* rows = verticalHeader();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setSectionsClickable(false);
    rows->setHighlightSections(false);
    rows->setFixedWidth(kIndicatorWidth);
    rows->setDefaultSectionSize(fontMetrics().height() + 5);

    connect(model_, &QAbstractItemModel::modelReset, this, &ResultGrid::afterReset);
    connect(model_, &ResultGridModel::dataSetRowChanged, this, &ResultGrid::followDataSetRow);
}

ResultGrid::~ResultGrid() = default;

void ResultGrid::setDataSource(dataset::DataSource* source) {
    model_->setDataSource(source);
    afterReset();
}

dataset::DataSource* ResultGrid::dataSource() const {
    return model_->dataSource();
}

dataset::DataSet* ResultGrid::dataSet() const {
    return model_->dataSet();
}

int ResultGrid::columnCount() const {
    return model_->columnCount();
}

void ResultGrid::requireColumn(int column) const {
    if (column < 0 || column >= model_->columnCount())
        throw std::out_of_range(
            QStringLiteral("В таблице результатов нет столбца с номером %1").arg(column).toStdString());
}

QString ResultGrid::columnTitle(int column) const {
    requireColumn(column);
    return model_->headerData(column, Qt::Horizontal).toString();
}

void ResultGrid::setColumnTitle(int column, const QString& title) {
    requireColumn(column);
    model_->setHeaderData(column, Qt::Horizontal, title);
}

void ResultGrid::setColumnWidth(int column, int width) {
    requireColumn(column);
    QTableView::setColumnWidth(column, width);
}

int ResultGrid::columnWidth(int column) const {
    requireColumn(column);
    return QTableView::columnWidth(column);
}

// Called by the view in the middle of a click or a key press: a row the data
// set refuses to leave (an edit that cannot be posted) is reported here and
// the grid goes back to the data set's row.
void ResultGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    verticalHeader()->viewport()->update();
    dataset::DataSet* followed = model_->dataSet();
    if (!followed || !current.isValid() || !followed->isActive() || model_->rowCount() == 0 ||
        current.row() == followed->currentRow())
        return;
    try {
        followed->moveTo(current.row());
    } catch (...) {
        ui::reportError(std::current_exception());
        if (model_->dataSet())
            setCurrentRowIndex(model_->dataSet()->currentRow());
    }
}

void ResultGrid::afterReset() {
    // Rows in the model are rows the data set has read: asking for its current row reads nothing.
    if (dataset::DataSet* followed = model_->dataSet(); followed && model_->rowCount() > 0)
        setCurrentRowIndex(followed->currentRow());
    verticalHeader()->viewport()->update();
}

void ResultGrid::followDataSetRow(int row) {
    if (currentIndex().row() != row)
        setCurrentRowIndex(row);
}

void ResultGrid::setCurrentRowIndex(int row) {
    if (row < 0 || row >= model_->rowCount() || model_->columnCount() == 0)
        return;
    const int column = currentIndex().isValid() ? currentIndex().column() : horizontalHeader()->logicalIndex(0);
    selectionModel()->setCurrentIndex(model_->index(row, column), QItemSelectionModel::ClearAndSelect);
}

} // namespace kb::databound
