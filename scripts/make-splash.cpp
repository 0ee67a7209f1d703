// Draws the splash screen's picture: a theatre curtain over an accountant's
// desk with an open ledger, a Russian abacus and the two theatre masks.
// Usage: make-splash OUTPUT.png  (writes a 290 x 380 picture, 24 bits per pixel)

#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>
#include <cmath>
#include <cstdio>

namespace {

constexpr int kWidth = 290;
constexpr int kHeight = 380;

void drawBackground(QPainter& p) {
    QLinearGradient wall(0, 0, 0, kHeight);
    wall.setColorAt(0.0, QColor(0xf6, 0xee, 0xdf));
    wall.setColorAt(0.62, QColor(0xf3, 0xe9, 0xd6));
    wall.setColorAt(0.625, QColor(0xd9, 0xc4, 0xa3));
    wall.setColorAt(1.0, QColor(0xc8, 0xae, 0x88));
    p.fillRect(0, 0, kWidth, kHeight, wall);

    // Soft light on the stage behind the desk.
    QRadialGradient light(kWidth / 2.0, 150, 170);
    light.setColorAt(0.0, QColor(255, 250, 235, 200));
    light.setColorAt(1.0, QColor(255, 250, 235, 0));
    p.fillRect(0, 0, kWidth, 240, light);

    // The desk's front edge and the grain of its top.
    QLinearGradient edge(0, 236, 0, 246);
    edge.setColorAt(0, QColor(0xa8, 0x86, 0x5c));
    edge.setColorAt(1, QColor(0xd9, 0xc4, 0xa3));
    p.fillRect(QRectF(0, 238, kWidth, 8), edge);
    p.setPen(QPen(QColor(0xb8, 0x9c, 0x74, 70), 1));
    for (int y = 246; y < kHeight; y += 7)
        p.drawLine(QPointF(0, y), QPointF(kWidth, y + 3));
}

void drawCurtain(QPainter& p) {
    const QColor deep(0x8e, 0x2c, 0x36);
    const QColor soft(0xb8, 0x4a, 0x52);
    for (int side = 0; side < 2; ++side) {
        p.save();
        if (side == 1) {
            p.translate(kWidth, 0);
            p.scale(-1, 1);
        }
        // Gathered at the tie-back, flaring out again down to the desk.
        QPainterPath drape;
        drape.moveTo(0, 0);
        drape.lineTo(98, 0);
        drape.cubicTo(86, 70, 44, 130, 30, 168);
        drape.cubicTo(36, 196, 52, 220, 58, 240);
        drape.lineTo(0, 240);
        drape.closeSubpath();
        QLinearGradient folds(0, 0, 98, 0);
        for (int i = 0; i <= 8; ++i)
            folds.setColorAt(i / 8.0, i % 2 ? soft : deep);
        p.fillPath(drape, folds);
        // Shade where the cloth is gathered.
        QRadialGradient gather(30, 168, 60);
        gather.setColorAt(0, QColor(0x40, 0x0c, 0x14, 150));
        gather.setColorAt(1, QColor(0x40, 0x0c, 0x14, 0));
        p.fillPath(drape, gather);
        // Gold tie-back.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xd6, 0xa8, 0x4a));
        p.drawRoundedRect(QRectF(18, 163, 22, 9), 4, 4);
        p.restore();
    }
    // Valance with a gold fringe.
    QPainterPath valance;
    valance.moveTo(0, 0);
    valance.lineTo(kWidth, 0);
    valance.lineTo(kWidth, 26);
    for (int i = 5; i >= 0; --i) {
        const double x0 = kWidth * (i + 1) / 6.0;
        const double x1 = kWidth * i / 6.0;
        valance.quadTo((x0 + x1) / 2, 44, x1, 26);
    }
    valance.closeSubpath();
    QLinearGradient velvet(0, 0, 0, 44);
    velvet.setColorAt(0, QColor(0x72, 0x1f, 0x2a));
    velvet.setColorAt(1, deep);
    p.fillPath(valance, velvet);
    p.setPen(QPen(QColor(0xe0, 0xb6, 0x5a), 2.2));
    p.setBrush(Qt::NoBrush);
    QPainterPath fringe;
    fringe.moveTo(kWidth, 26);
    for (int i = 5; i >= 0; --i) {
        const double x0 = kWidth * (i + 1) / 6.0;
        const double x1 = kWidth * i / 6.0;
        fringe.quadTo((x0 + x1) / 2, 44, x1, 26);
    }
    p.drawPath(fringe);
}

// One mask: a face tapering to the chin, eye holes and a mouth that smiles
// (comedy) or grieves (tragedy).
void drawMask(QPainter& p, QPointF centre, double angle, bool comedy, QColor face) {
    p.save();
    p.translate(centre);
    p.rotate(angle);
    QPainterPath outline;
    outline.moveTo(-30, -30);
    outline.cubicTo(-12, -40, 12, -40, 30, -30);
    outline.cubicTo(34, 0, 22, 30, 0, 40);
    outline.cubicTo(-22, 30, -34, 0, -30, -30);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 40, 20, 60));
    p.drawPath(outline.translated(3, 4));
    QLinearGradient shine(-30, -40, 30, 40);
    shine.setColorAt(0, face.lighter(135));
    shine.setColorAt(1, face.darker(115));
    p.setBrush(shine);
    p.setPen(QPen(face.darker(150), 1.2));
    p.drawPath(outline);

    const QColor hole(0x4a, 0x30, 0x22);
    p.setPen(Qt::NoPen);
    p.setBrush(hole);
    for (int side : {-1, 1}) {
        QPainterPath eye;
        const double x = 13 * side;
        if (comedy) {
            eye.moveTo(x - 8, -8);
            eye.quadTo(x, -18, x + 8, -8);
            eye.quadTo(x, -12, x - 8, -8);
        } else {
            eye.moveTo(x - 8, -11);
            eye.quadTo(x, -2, x + 8, -11);
            eye.quadTo(x, -6, x - 8, -11);
        }
        p.drawPath(eye);
        // Brows.
        p.save();
        p.setPen(QPen(face.darker(170), 1.6, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        QPainterPath brow;
        if (comedy) {
            brow.moveTo(x - 9, -21);
            brow.quadTo(x, -28, x + 9, -21);
        } else {
            brow.moveTo(x - 9 * side, -24);
            brow.quadTo(x, -20, x + 9 * side, -17);
        }
        p.drawPath(brow);
        p.restore();
    }
    QPainterPath mouth;
    if (comedy) {
        mouth.moveTo(-15, 10);
        mouth.quadTo(0, 32, 15, 10);
        mouth.quadTo(0, 18, -15, 10);
    } else {
        mouth.moveTo(-13, 24);
        mouth.quadTo(0, 8, 13, 24);
        mouth.quadTo(0, 17, -13, 24);
    }
    p.drawPath(mouth);
    p.restore();
}

void drawMasks(QPainter& p) {
    drawMask(p, QPointF(116, 120), -14, false, QColor(0xa9, 0xb8, 0xc8));
    drawMask(p, QPointF(174, 114), 12, true, QColor(0xe4, 0xb8, 0x54));
    // The ribbon that ties the pair, with its loose ends.
    p.setPen(QPen(QColor(0x3d, 0x6f, 0x8f), 3, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    QPainterPath ribbon;
    ribbon.moveTo(132, 94);
    ribbon.cubicTo(140, 86, 150, 88, 158, 92);
    ribbon.moveTo(145, 90);
    ribbon.cubicTo(136, 108, 146, 122, 136, 142);
    ribbon.moveTo(145, 90);
    ribbon.cubicTo(156, 110, 148, 124, 160, 140);
    p.drawPath(ribbon);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2e, 0x5a, 0x76));
    p.drawEllipse(QPointF(145, 90), 4.5, 3.5);
}

// The Russian abacus: ten beads on each wire, the fifth and sixth dark.
void drawAbacus(QPainter& p) {
    p.save();
    p.translate(150, 196);
    p.rotate(-8);
    const QRectF frame(0, 0, 118, 74);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(50, 30, 10, 60));
    p.drawRoundedRect(frame.translated(4, 5), 6, 6);
    QLinearGradient wood(0, 0, 0, 74);
    wood.setColorAt(0, QColor(0xa8, 0x6a, 0x34));
    wood.setColorAt(1, QColor(0x7a, 0x45, 0x1e));
    p.setBrush(wood);
    p.drawRoundedRect(frame, 6, 6);
    p.setBrush(QColor(0xf4, 0xe6, 0xcc));
    const QRectF inside = frame.adjusted(7, 7, -7, -7);
    p.drawRect(inside);

    const int wires = 5;
    for (int w = 0; w < wires; ++w) {
        const double y = inside.top() + (w + 0.5) * inside.height() / wires;
        p.setPen(QPen(QColor(0x8a, 0x80, 0x70), 1));
        p.drawLine(QPointF(inside.left(), y), QPointF(inside.right(), y));
        p.setPen(Qt::NoPen);
        // Beads pushed to the left, a few counted off to the right.
        const int counted = (w * 3 + 2) % 7;
        for (int b = 0; b < 10; ++b) {
            const bool right = b >= 10 - counted;
            const double x = right ? inside.right() - (10 - b) * 8.2 + 3.9 : inside.left() + b * 8.2 + 4.1;
            const bool dark = b == 4 || b == 5;
            QRadialGradient bead(x - 1.5, y - 1.5, 4.5);
            const QColor base = dark ? QColor(0x3b, 0x2a, 0x20) : QColor(0xc9, 0x5a, 0x2e);
            bead.setColorAt(0, base.lighter(160));
            bead.setColorAt(1, base);
            p.setBrush(bead);
            p.drawEllipse(QPointF(x, y), 4.1, 4.6);
        }
    }
    p.restore();
}

// The open ledger with ruled pages and columns of figures.
void drawLedger(QPainter& p) {
    p.save();
    p.translate(145, 300);
    // Shadow and cover.
    QPainterPath cover;
    cover.moveTo(-128, -48);
    cover.quadTo(-64, -58, 0, -46);
    cover.quadTo(64, -58, 128, -48);
    cover.lineTo(136, 58);
    cover.quadTo(68, 46, 0, 60);
    cover.quadTo(-68, 46, -136, 58);
    cover.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 35, 15, 70));
    p.drawPath(cover.translated(3, 5));
    p.setBrush(QColor(0x2f, 0x55, 0x6e));
    p.drawPath(cover);

    for (int side : {-1, 1}) {
        QPainterPath page;
        page.moveTo(0, -42);
        page.quadTo(60 * side, -54, 121 * side, -44);
        page.lineTo(128 * side, 52);
        page.quadTo(64 * side, 40, 0, 54);
        page.closeSubpath();
        QLinearGradient paper(0, 0, 128 * side, 0);
        paper.setColorAt(0.0, QColor(0xe6, 0xdc, 0xc6));
        paper.setColorAt(0.12, QColor(0xfd, 0xfa, 0xf2));
        paper.setColorAt(1.0, QColor(0xf7, 0xf1, 0xe3));
        p.setBrush(paper);
        p.drawPath(page);

        // Ruled lines following the page's curve.
        p.save();
        p.setClipPath(page);
        for (int row = 0; row < 10; ++row) {
            const double t = row / 9.0;
            const double yTop = -36 + t * 82;
            QPainterPath line;
            line.moveTo(0, yTop + 2);
            line.quadTo(60 * side, yTop - 9 + t * 2, 124 * side, yTop);
            p.setPen(QPen(QColor(0x9d, 0xb8, 0xd0), 0.8));
            p.setBrush(Qt::NoBrush);
            p.drawPath(line);
        }
        // Column rules and a red margin.
        p.setPen(QPen(QColor(0xd0, 0x6a, 0x6a), 0.9));
        p.drawLine(QPointF(104 * side, -52), QPointF(108 * side, 50));
        p.setPen(QPen(QColor(0x9d, 0xb8, 0xd0), 0.8));
        p.drawLine(QPointF(80 * side, -52), QPointF(83 * side, 50));

        // Figures: short strokes like handwriting.
        QRandomGenerator random(side > 0 ? 7 : 11);
        p.setPen(QPen(QColor(0x3a, 0x4a, 0x6a, 200), 1.1, Qt::SolidLine, Qt::RoundCap));
        for (int row = 0; row < 9; ++row) {
            const double t = (row + 0.5) / 9.0;
            const double y = -36 + t * 82 - 2;
            const double bend = -7 + t * 2;
            auto yAt = [&](double x) {
                const double u = std::abs(x) / 124.0;
                return y + 2 * (1 - u) * (1 - u) + 2 * u * (1 - u) * (bend + 2) + u * u * 0 - u * u * 2;
            };
            const int words = 2 + static_cast<int>(random.bounded(2));
            double x = 10;
            for (int wd = 0; wd < words && x < 74; ++wd) {
                const double len = 8 + random.bounded(14);
                const double a = x * side;
                const double b = std::min(x + len, 76.0) * side;
                p.drawLine(QPointF(a, yAt(a)), QPointF(b, yAt(b)));
                x += len + 4;
            }
            const double figure = 6 + random.bounded(12);
            const double a = (100 - figure) * side;
            const double b = 100 * side;
            p.drawLine(QPointF(a, yAt(a)), QPointF(b, yAt(b)));
            const double c = 110 * side;
            const double d = 118 * side;
            p.drawLine(QPointF(c, yAt(c)), QPointF(d, yAt(d)));
        }
        p.restore();
    }
    // The spine's shade.
    QLinearGradient spine(-8, 0, 8, 0);
    spine.setColorAt(0, QColor(0, 0, 0, 0));
    spine.setColorAt(0.5, QColor(80, 60, 30, 70));
    spine.setColorAt(1, QColor(0, 0, 0, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(spine);
    p.drawRect(QRectF(-8, -46, 16, 100));
    p.restore();
}

void drawPencil(QPainter& p) {
    p.save();
    p.translate(60, 288);
    p.rotate(-24);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 25, 10, 60));
    p.drawRoundedRect(QRectF(2, 3, 96, 7), 3, 3);
    QLinearGradient body(0, 0, 0, 7);
    body.setColorAt(0, QColor(0xf2, 0xc2, 0x4c));
    body.setColorAt(1, QColor(0xc8, 0x8e, 0x1e));
    p.setBrush(body);
    p.drawRect(QRectF(0, 0, 86, 7));
    p.setBrush(QColor(0xd9, 0xa0, 0x6c));
    QPainterPath tip;
    tip.moveTo(86, 0);
    tip.lineTo(100, 3.5);
    tip.lineTo(86, 7);
    tip.closeSubpath();
    p.drawPath(tip);
    p.setBrush(QColor(0x33, 0x33, 0x33));
    QPainterPath lead;
    lead.moveTo(96, 2.4);
    lead.lineTo(100, 3.5);
    lead.lineTo(96, 4.6);
    lead.closeSubpath();
    p.drawPath(lead);
    p.setBrush(QColor(0xc9, 0x6b, 0x6b));
    p.drawRect(QRectF(-8, 0, 8, 7));
    p.restore();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.png\n", argv[0]);
        return 2;
    }
    QGuiApplication application(argc, argv);
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    drawBackground(p);
    drawCurtain(p);
    drawMasks(p);
    drawAbacus(p);
    drawLedger(p);
    drawPencil(p);
    p.end();
    if (!image.convertToFormat(QImage::Format_RGB888).save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
