#pragma once

// What the picture generators (make-*-art.cpp) share: drawing one square,
// transparent, antialiased picture into a PNG file, and round pens.

#include <QImage>
#include <QPainter>
#include <QString>
#include <cstdio>
#include <functional>

namespace art {

using Draw = std::function<void(QPainter&)>;

// Draws a size x size picture into folder/name; false (and a message on
// stderr) when the file cannot be written.
inline bool save(const QString& folder, const QString& name, int size, const Draw& draw) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p);
    p.end();
    const QString path = folder + QLatin1Char('/') + name;
    if (!image.convertToFormat(QImage::Format_ARGB32).save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

inline QPen roundPen(const QColor& colour, qreal width) {
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

} // namespace art
