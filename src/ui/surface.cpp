#include "surface.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace ui {

namespace {

Qt::BrushStyle brushStyle(FillStyle style) {
    switch (style) {
    case FillStyle::Solid:
        return Qt::SolidPattern;
    case FillStyle::Transparent:
        return Qt::NoBrush;
    case FillStyle::HorizontalLine:
        return Qt::HorPattern;
    case FillStyle::VerticalLine:
        return Qt::VerPattern;
    case FillStyle::UpwardDiagonal:
        return Qt::BDiagPattern;
    case FillStyle::DownwardDiagonal:
        return Qt::FDiagPattern;
    case FillStyle::Cross:
        return Qt::CrossPattern;
    case FillStyle::DiagonalCross:
        return Qt::DiagCrossPattern;
    }
    return Qt::SolidPattern;
}

bool contains(const QRectF& outer, const QRectF& inner) {
    return outer.left() <= inner.left() && outer.top() <= inner.top() && outer.right() >= inner.right() &&
           outer.bottom() >= inner.bottom();
}

} // namespace

Surface::Surface(QSizeF sizeInUnits, qreal scenePixelsPerUnit, const Settings& settings, Fonts& fonts)
    : fonts_(fonts), size_(sizeInUnits * scenePixelsPerUnit), scale_(scenePixelsPerUnit),
      background_(settings.background), fore_(settings.fore), fill_(settings.fill),
      fontName_(QString::fromUtf8(settings.font.name)), fontSize_(settings.font.size),
      fontBold_(settings.font.bold), fontItalic_(settings.font.italic),
      fontUnderline_(settings.font.underline) {}

void Surface::clear() {
    operations_.clear();
    currentX_ = 0;
    currentY_ = 0;
    if (damaged_) {
        damaged_(QRectF(QPointF(0, 0), size_));
    }
}

void Surface::fillBox(QPointF from, QPointF to, const QColor& colour) {
    Operation op{Operation::Kind::Box,
                 QRectF(toScene(from), toScene(to)).normalized(),
                 QBrush(colour),
                 {},
                 {},
                 {},
                 {}};
    add(std::move(op), colour.alpha() == 255);
}

void Surface::box(QPointF from, QPointF to, const QColor& /*edge: the line style hides it*/) {
    Operation op{
        Operation::Kind::Box, QRectF(toScene(from), toScene(to)).normalized(), fillBrush(), {}, {}, {}, {}};
    add(std::move(op), fillStyle_ == FillStyle::Solid);
}

void Surface::circle(QPointF centre, qreal radius, std::optional<QColor> /*edge*/, qreal aspect) {
    qreal rx = radius;
    qreal ry = radius;
    if (aspect < 1.0) {
        ry = radius * aspect;
    } else if (aspect > 1.0) {
        rx = radius / aspect;
    }
    const QPointF c = toScene(centre);
    const QRectF rect(c.x() - rx * scale_, c.y() - ry * scale_, 2 * rx * scale_, 2 * ry * scale_);
    add(Operation{Operation::Kind::Ellipse, rect, fillBrush(), {}, {}, {}, {}},
        fillStyle_ == FillStyle::Solid);
}

void Surface::print(const QString& text) {
    const QFont font = currentFont();
    const QFontMetricsF metrics(font);
    const QPointF topLeft = toScene(QPointF(currentX_, currentY_));
    const QPointF baseline(topLeft.x(), topLeft.y() + metrics.ascent());
    QRectF bounds = metrics.boundingRect(text).translated(baseline);
    bounds = bounds.united(QRectF(topLeft, QSizeF(metrics.horizontalAdvance(text), metrics.height())));
    add(Operation{Operation::Kind::Text, bounds.adjusted(-2, -2, 2, 2), {}, text, font, baseline, fore_},
        false);
    // Like the runtime's Print: the next line starts at the left edge, one text height lower.
    currentX_ = 0;
    currentY_ += metrics.height() / scale_;
}

qreal Surface::textWidth(const QString& text) const {
    return QFontMetricsF(currentFont()).horizontalAdvance(text) / scale_;
}

void Surface::setFontName(const QString& name) {
    fontName_ = name;
}

void Surface::setFontSize(double points) {
    fontSize_ = points;
}

QFont Surface::currentFont() const {
    return fonts_.make(fontName_, fontSize_, fontBold_, fontItalic_, fontUnderline_);
}

QBrush Surface::fillBrush() const {
    return QBrush(fill_, brushStyle(fillStyle_));
}

void Surface::add(Operation op, bool coversWhatIsBeneath) {
    if (coversWhatIsBeneath) {
        // An ellipse only surely covers what lies inside its inscribed rectangle, or an equal ellipse.
        QRectF covered = op.rect;
        if (op.kind == Operation::Kind::Ellipse) {
            const qreal k = (1.0 - M_SQRT1_2) / 2.0;
            covered = op.rect.adjusted(op.rect.width() * k, op.rect.height() * k, -op.rect.width() * k,
                                       -op.rect.height() * k);
        }
        std::erase_if(operations_, [&](const Operation& earlier) {
            const bool sameEllipse = op.kind == Operation::Kind::Ellipse &&
                                     earlier.kind == Operation::Kind::Ellipse && earlier.rect == op.rect;
            return sameEllipse || contains(covered, earlier.rect);
        });
    }
    if (damaged_) {
        damaged_(op.rect.adjusted(-1, -1, 1, 1));
    }
    operations_.push_back(std::move(op));
}

void Surface::draw(QPainter& painter, const Operation& op) const {
    switch (op.kind) {
    case Operation::Kind::Box:
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.fillRect(op.rect, op.brush);
        break;
    case Operation::Kind::Ellipse:
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setPen(Qt::NoPen);
        painter.setBrush(op.brush);
        painter.drawEllipse(op.rect);
        break;
    case Operation::Kind::Text:
        painter.setRenderHint(QPainter::TextAntialiasing, true);
        painter.setFont(op.font);
        painter.setPen(op.colour);
        painter.drawText(op.baseline, op.text);
        break;
    }
}

void Surface::paint(QPainter& painter, const QRectF& exposed) const {
    const QRectF scene(QPointF(0, 0), size_);
    painter.fillRect(exposed.isNull() ? scene : exposed.intersected(scene), background_);
    for (const Operation& op : operations_) {
        if (exposed.isNull() || op.rect.intersects(exposed)) {
            draw(painter, op);
        }
    }
}

} // namespace ui
