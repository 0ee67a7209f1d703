#pragma once

#include <QPageLayout>
#include <QString>

class QPagedPaintDevice;

// A printed document: what the print preview shows, the printer prints and a
// PDF file holds, all painted by the same code.
namespace kb::documents {

class Document {
public:
    virtual ~Document() = default;
    // The preview window's title and the name a saved file is offered under.
    virtual QString title() const = 0;
    virtual QPageLayout::Orientation orientation() const = 0;
    // Paints every page on the device, whose page size and orientation are set.
    virtual void paint(QPagedPaintDevice& device) const = 0;
};

// The page layout every document starts with: A4 in the document's orientation, margins of 15 mm.
QPageLayout pageLayout(QPageLayout::Orientation orientation);

} // namespace kb::documents
