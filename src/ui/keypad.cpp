#include "keypad.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>

namespace ui {

namespace {

// The gap between two keys, and round the grid, as a part of a key's side.
constexpr qreal gapPerKey = 1.0 / 6.0;

// A grid's extent across `cells` keys, in keys.
qreal span(int cells) {
    return cells + (cells + 1) * gapPerKey;
}

struct Candidate {
    PadPlacement placement;
    qreal sceneScale = 0;
};

Candidate arrange(QSizeF window, QSizeF scene, qreal minimumKey, QSize grid, bool beside) {
    const qreal w = window.width(), h = window.height();
    // Keys grow with the window, so that a child at the board finds them from afar; never below the
    // smallest a finger hits, unless the window is too small for it: the pad then takes at most half
    // the window, and the scene what is left.
    const qreal wanted = std::max(minimumKey, std::min(w, h) / 10.0);
    const qreal fits = beside ? std::min(h / span(grid.height()), w / 2 / span(grid.width()))
                              : std::min(w / span(grid.width()), h / 2 / span(grid.height()));
    Candidate c;
    PadPlacement& p = c.placement;
    p.beside = beside;
    p.key = std::max(0.0, std::min(wanted, fits));
    p.gap = p.key * gapPerKey;
    const QSizeF pad(span(grid.width()) * p.key, span(grid.height()) * p.key);
    if (beside) {
        p.scene = QRectF(0, 0, w - pad.width(), h);
        p.pad = QRectF(QPointF(p.scene.right(), (h - pad.height()) / 2), pad);
    } else {
        p.scene = QRectF(0, 0, w, h - pad.height());
        p.pad = QRectF(QPointF((w - pad.width()) / 2, p.scene.bottom()), pad);
    }
    c.sceneScale = std::min(p.scene.width() / scene.width(), p.scene.height() / scene.height());
    return c;
}

} // namespace

qreal smallestKeyFor(qreal dotsPerInch) {
    return 1.5 / 2.54 * dotsPerInch;
}

PadPlacement placePad(QSizeF window, QSizeF scene, qreal minimumKey, QSize besideGrid, QSize belowGrid) {
    const Candidate beside = arrange(window, scene, minimumKey, besideGrid, true);
    const Candidate below = arrange(window, scene, minimumKey, belowGrid, false);
    // Keys a finger can hit first; then the larger scene; then the larger keys.
    const auto rank = [minimumKey](const Candidate& c) {
        return std::make_tuple(c.placement.key >= minimumKey, c.sceneScale, c.placement.key);
    };
    return rank(below) > rank(beside) ? below.placement : beside.placement;
}

PadKey::PadKey(ControlHost& host, const PadKeySpec& spec, Look look)
    : Control(host, QString::fromUtf8(spec.caption), QRect()), key_(spec.key),
      caption_(QString::fromUtf8(spec.caption)), beside_(spec.beside), below_(spec.below),
      look_(std::move(look)) {
    const QString name = QString::fromUtf8(spec.name);
    accessibleName = [name] { return name; };
}

void PadKey::setDown(bool down) {
    if (down != down_) {
        down_ = down;
        changed();
    }
}

void PadKey::paint(QPainter& painter) const {
    const QRectF box = sceneRect();
    if (box.isEmpty()) {
        return;
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    const qreal border = std::max(box.width() / 30.0, 0.5);
    const qreal radius = box.width() / 8.0;
    QPen pen(look_.border, border);
    painter.setPen(pen);
    painter.setBrush(down_ ? look_.border : look_.back);
    painter.drawRoundedRect(box.adjusted(border / 2, border / 2, -border / 2, -border / 2), radius, radius);
    // The caption at the font's own size, scaled as one to fill a good part of the key: a word as wide
    // as the key allows, a digit about half its height.
    const QFontMetricsF metrics(look_.font);
    const qreal scale = std::min(box.height() * 0.5 / metrics.height(),
                                 box.width() * 0.8 / std::max(1.0, metrics.horizontalAdvance(caption_)));
    painter.translate(box.center());
    painter.scale(scale, scale);
    painter.setFont(look_.font);
    painter.setPen(down_ ? look_.back : look_.fore);
    const QSizeF text(metrics.horizontalAdvance(caption_), metrics.height());
    painter.drawText(QRectF(QPointF(-text.width() / 2, -text.height() / 2), text), Qt::AlignCenter, caption_);
    painter.restore();
    if (showsFocusMark()) {
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing, false);
        QPen mark(look_.fore, 2.0);
        mark.setCosmetic(true);
        painter.setPen(mark);
        painter.setBrush(Qt::NoBrush);
        const qreal inset = border * 3;
        painter.drawRect(box.adjusted(inset, inset, -inset, -inset));
        painter.restore();
    }
}

} // namespace ui
