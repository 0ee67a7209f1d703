// Draws the record navigator's ten button pictures, 16 x 16 with an alpha
// channel, in the buttons' order: first.png (a bar and a triangle pointing
// left), prior.png (a triangle left), next.png (a triangle right), last.png
// (a triangle right and a bar), insert.png (a green plus), delete.png (a red
// minus), edit.png (a pencil), post.png (a green check mark), cancel.png (a
// red cross), refresh.png (a blue circular arrow). The toolkit greys them
// itself for disabled buttons.
// Usage: make-navigator-art FOLDER

#include "ArtCanvas.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>
#include <functional>

namespace {

using art::Draw;
using art::roundPen;

const QColor kArrow(30, 60, 130);
const QColor kGreen(20, 130, 40);
const QColor kRed(200, 30, 30);

// A solid triangle whose tip is at x, pointing left (direction -1) or right (+1).
void triangle(QPainter& p, qreal tipX, int direction) {
    const qreal baseX = tipX - direction * 6.0;
    const QPointF points[] = {{tipX, 8.0}, {baseX, 2.5}, {baseX, 13.5}};
    p.setPen(roundPen(kArrow, 1.0));
    p.setBrush(kArrow);
    p.drawPolygon(points, 3);
}

void bar(QPainter& p, qreal x) {
    p.setPen(Qt::NoPen);
    p.setBrush(kArrow);
    p.drawRect(QRectF(x, 2.5, 2.0, 11.0));
}

void line(QPainter& p, const QColor& colour, qreal width, const QPointF& from, const QPointF& to) {
    p.setPen(roundPen(colour, width));
    p.drawLine(from, to);
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-navigator-art FOLDER\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    bool ok = true;
    ok &= art::save(folder, QStringLiteral("first.png"), 16, [](QPainter& p) {
        bar(p, 3.0);
        triangle(p, 6.5, -1);
    });
    ok &= art::save(folder, QStringLiteral("prior.png"), 16, [](QPainter& p) { triangle(p, 5.0, -1); });
    ok &= art::save(folder, QStringLiteral("next.png"), 16, [](QPainter& p) { triangle(p, 11.0, 1); });
    ok &= art::save(folder, QStringLiteral("last.png"), 16, [](QPainter& p) {
        triangle(p, 9.5, 1);
        bar(p, 11.0);
    });
    ok &= art::save(folder, QStringLiteral("insert.png"), 16, [](QPainter& p) {
        line(p, kGreen, 2.6, {8, 2.5}, {8, 13.5});
        line(p, kGreen, 2.6, {2.5, 8}, {13.5, 8});
    });
    ok &= art::save(folder, QStringLiteral("delete.png"), 16, [](QPainter& p) {
        line(p, kRed, 2.6, {2.5, 8}, {13.5, 8});
    });
    ok &= art::save(folder, QStringLiteral("edit.png"), 16, [](QPainter& p) {
        // A pencil lying from the lower left to the upper right: body, tip and lead.
        QPainterPath body;
        body.moveTo(4.5, 9.5);
        body.lineTo(11.0, 3.0);
        body.lineTo(13.0, 5.0);
        body.lineTo(6.5, 11.5);
        body.closeSubpath();
        p.setPen(roundPen(QColor(90, 60, 10), 0.8));
        p.setBrush(QColor(240, 190, 50));
        p.drawPath(body);
        QPainterPath tip;
        tip.moveTo(4.5, 9.5);
        tip.lineTo(6.5, 11.5);
        tip.lineTo(2.5, 13.5);
        tip.closeSubpath();
        p.setBrush(QColor(235, 210, 170));
        p.drawPath(tip);
        line(p, QColor(40, 40, 40), 1.4, {2.8, 13.2}, {3.4, 12.6});
    });
    ok &= art::save(folder, QStringLiteral("post.png"), 16, [](QPainter& p) {
        QPainterPath check;
        check.moveTo(2.5, 8.5);
        check.lineTo(6.0, 12.5);
        check.lineTo(13.5, 3.5);
        p.setPen(roundPen(kGreen, 2.6));
        p.setBrush(Qt::NoBrush);
        p.drawPath(check);
    });
    ok &= art::save(folder, QStringLiteral("cancel.png"), 16, [](QPainter& p) {
        line(p, kRed, 2.6, {3.5, 3.5}, {12.5, 12.5});
        line(p, kRed, 2.6, {12.5, 3.5}, {3.5, 12.5});
    });
    ok &= art::save(folder, QStringLiteral("refresh.png"), 16, [](QPainter& p) {
        // Three quarters of a circle, clockwise from the top, with an arrow head at its end.
        const QColor blue(30, 100, 200);
        p.setPen(roundPen(blue, 2.0));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(3, 3, 10, 10), 90 * 16, -270 * 16);
        const QPointF head[] = {{8.0, 0.8}, {8.0, 6.2}, {11.5, 3.0}};
        p.setPen(roundPen(blue, 0.8));
        p.setBrush(blue);
        p.drawPolygon(head, 3);
    });
    return ok ? 0 : 1;
}
