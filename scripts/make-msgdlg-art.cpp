// Draws the message dialog's pictures, each with an alpha channel:
//   icon-warning.png, icon-error.png, icon-information.png, icon-question.png
//     (48 x 48: a yellow triangle with a white exclamation mark, and red, blue
//     and green round buttons with a white bar, a white i and a white
//     question mark);
//   picture-0.png ... picture-4.png (16 x 16, the answer buttons' pictures
//     by index: a small smiling face no button uses, a blue check mark, a red
//     cross, a red no-entry disc, a yellow warning triangle with a black
//     exclamation mark).
// Usage: make-msgdlg-art FOLDER

#include "ArtCanvas.h"

#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cstdio>
#include <functional>

namespace {

using art::Draw;
using art::roundPen;

// A glossy round button: a soft shadow, a radial body with a darker rim and
// a highlight over its upper half.
void drawRoundButton(QPainter& p, const QColor& light, const QColor& base, const QColor& rim) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 45));
    p.drawEllipse(QPointF(24.8, 25.6), 22.2, 22.2);

    QRadialGradient body(QPointF(19, 16), 30);
    body.setColorAt(0.0, light);
    body.setColorAt(0.55, base);
    body.setColorAt(1.0, rim);
    p.setBrush(body);
    p.setPen(QPen(rim.darker(130), 1.2));
    p.drawEllipse(QPointF(24, 24), 21.6, 21.6);

    QLinearGradient gloss(0, 4, 0, 24);
    gloss.setColorAt(0.0, QColor(255, 255, 255, 150));
    gloss.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(gloss);
    p.drawEllipse(QRectF(9, 4.5, 30, 20));
}

// White marks get a faint dark edge so they read on any body colour.
void drawWhiteMark(QPainter& p, const QPainterPath& filled, const QPainterPath& stroked, qreal strokeWidth) {
    const QColor edge(0, 0, 0, 70);
    p.setBrush(Qt::NoBrush);
    p.setPen(roundPen(edge, strokeWidth + 1.6));
    p.drawPath(stroked);
    p.setPen(QPen(edge, 1.6));
    p.drawPath(filled);
    p.setPen(roundPen(Qt::white, strokeWidth));
    p.drawPath(stroked);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(filled);
}

void drawQuestion(QPainter& p) {
    drawRoundButton(p, QColor(0x9c, 0xf0, 0x8a), QColor(0x2f, 0xb3, 0x2a), QColor(0x16, 0x6e, 0x14));
    QPainterPath hook;
    hook.moveTo(17.2, 18.0);
    hook.arcTo(QRectF(17.2, 10.8, 13.6, 13.6), 180, -225);
    hook.lineTo(24.0, 26.6);
    hook.lineTo(24.0, 28.6);
    QPainterPath dot;
    dot.addEllipse(QPointF(24.0, 35.4), 2.9, 2.9);
    drawWhiteMark(p, dot, hook, 4.6);
}

void drawInformation(QPainter& p) {
    drawRoundButton(p, QColor(0x9c, 0xc8, 0xff), QColor(0x22, 0x6c, 0xe0), QColor(0x10, 0x38, 0x8c));
    QPainterPath letter;
    letter.addEllipse(QPointF(24.0, 13.2), 3.3, 3.3);
    letter.addRoundedRect(QRectF(20.8, 19.5, 6.4, 17.5), 1.6, 1.6);
    drawWhiteMark(p, letter, QPainterPath(), 0);
}

void drawError(QPainter& p) {
    drawRoundButton(p, QColor(0xff, 0xa0, 0x96), QColor(0xdc, 0x22, 0x1c), QColor(0x80, 0x0c, 0x0a));
    QPainterPath bar;
    bar.addRoundedRect(QRectF(11.5, 20.3, 25.0, 7.4), 2.0, 2.0);
    drawWhiteMark(p, bar, QPainterPath(), 0);
}

void drawWarning(QPainter& p) {
    QPainterPath triangle;
    triangle.moveTo(24.0, 4.5);
    triangle.lineTo(44.5, 41.5);
    triangle.lineTo(3.5, 41.5);
    triangle.closeSubpath();
    p.setPen(roundPen(QColor(0, 0, 0, 45), 5.0));
    p.setBrush(QColor(0, 0, 0, 45));
    p.drawPath(triangle.translated(0.8, 1.4));

    QLinearGradient body(0, 4, 0, 43);
    body.setColorAt(0.0, QColor(0xff, 0xf0, 0x7a));
    body.setColorAt(0.5, QColor(0xff, 0xd4, 0x1c));
    body.setColorAt(1.0, QColor(0xf0, 0xaa, 0x00));
    // A wide round-joined outline under the fill rounds the corners.
    p.setPen(roundPen(QColor(0xa8, 0x74, 0x00), 5.2));
    p.setBrush(body);
    p.drawPath(triangle);
    p.setPen(roundPen(QColor(0xff, 0xdc, 0x3a), 2.8));
    p.drawPath(triangle);

    QPainterPath mark;
    mark.moveTo(20.8, 15.0);
    mark.lineTo(27.2, 15.0);
    mark.lineTo(25.6, 30.5);
    mark.lineTo(22.4, 30.5);
    mark.closeSubpath();
    mark.addEllipse(QPointF(24.0, 35.6), 3.0, 3.0);
    p.setPen(QPen(QColor(0x7a, 0x52, 0x00, 150), 1.8));
    p.setBrush(Qt::NoBrush);
    p.drawPath(mark);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(mark);
}

// A line drawn twice, dark and wide under light and narrow, for a crisp edge.
void drawOutlinedStroke(QPainter& p, const QPainterPath& path, const QColor& edge, const QColor& fill) {
    p.setBrush(Qt::NoBrush);
    p.setPen(roundPen(edge, 3.6));
    p.drawPath(path);
    p.setPen(roundPen(fill, 2.0));
    p.drawPath(path);
}

void drawSmile(QPainter& p) {
    p.setPen(QPen(QColor(0x6a, 0x4a, 0x00), 1.0));
    QRadialGradient face(QPointF(6, 5.5), 9);
    face.setColorAt(0.0, QColor(0xff, 0xf4, 0x9a));
    face.setColorAt(1.0, QColor(0xf5, 0xc2, 0x00));
    p.setBrush(face);
    p.drawEllipse(QPointF(8, 8), 6.5, 6.5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x30, 0x20, 0x00));
    p.drawEllipse(QPointF(5.9, 6.4), 1.0, 1.3);
    p.drawEllipse(QPointF(10.1, 6.4), 1.0, 1.3);
    p.setPen(roundPen(QColor(0x30, 0x20, 0x00), 1.1));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(4.6, 5.4, 6.8, 5.6), 200 * 16, 140 * 16);
}

void drawCheck(QPainter& p) {
    QPainterPath check;
    check.moveTo(3.0, 8.6);
    check.lineTo(6.6, 12.2);
    check.lineTo(13.2, 4.2);
    drawOutlinedStroke(p, check, QColor(0x0c, 0x34, 0x8c), QColor(0x3c, 0x84, 0xf4));
}

void drawCross(QPainter& p) {
    QPainterPath cross;
    cross.moveTo(4.0, 4.0);
    cross.lineTo(12.0, 12.0);
    cross.moveTo(12.0, 4.0);
    cross.lineTo(4.0, 12.0);
    drawOutlinedStroke(p, cross, QColor(0x84, 0x00, 0x00), QColor(0xf0, 0x2c, 0x24));
}

void drawNoEntry(QPainter& p) {
    QRadialGradient disc(QPointF(6, 5.5), 9);
    disc.setColorAt(0.0, QColor(0xff, 0x6c, 0x60));
    disc.setColorAt(1.0, QColor(0xc4, 0x08, 0x04));
    p.setPen(QPen(QColor(0x74, 0x00, 0x00), 1.0));
    p.setBrush(disc);
    p.drawEllipse(QPointF(8, 8), 6.6, 6.6);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(3.5, 6.5, 9.0, 3.0));
}

void drawSmallWarning(QPainter& p) {
    QPainterPath triangle;
    triangle.moveTo(8.0, 1.5);
    triangle.lineTo(14.8, 14.0);
    triangle.lineTo(1.2, 14.0);
    triangle.closeSubpath();
    QLinearGradient body(0, 1, 0, 14);
    body.setColorAt(0.0, QColor(0xff, 0xee, 0x70));
    body.setColorAt(1.0, QColor(0xf4, 0xb8, 0x00));
    p.setPen(roundPen(QColor(0x94, 0x66, 0x00), 1.2));
    p.setBrush(body);
    p.drawPath(triangle);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawRect(QRectF(7.2, 5.0, 1.6, 5.0));
    p.drawRect(QRectF(7.2, 11.0, 1.6, 1.6));
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    QGuiApplication application(argc, argv);
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const struct {
        const char* name;
        int size;
        Draw draw;
    } pictures[] = {
        {"icon-warning.png", 48, drawWarning},
        {"icon-error.png", 48, drawError},
        {"icon-information.png", 48, drawInformation},
        {"icon-question.png", 48, drawQuestion},
        {"picture-0.png", 16, drawSmile},
        {"picture-1.png", 16, drawCheck},
        {"picture-2.png", 16, drawCross},
        {"picture-3.png", 16, drawNoEntry},
        {"picture-4.png", 16, drawSmallWarning},
    };
    for (const auto& picture : pictures) {
        if (!art::save(folder, QString::fromLatin1(picture.name), picture.size, picture.draw))
            return 1;
    }
    return 0;
}
