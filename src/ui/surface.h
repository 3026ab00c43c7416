#pragma once

#include "fonts.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

class QPainter;

namespace ui {

enum class FillStyle {
    Solid = 0,
    Transparent = 1,
    HorizontalLine = 2,
    VerticalLine = 3,
    UpwardDiagonal = 4,
    DownwardDiagonal = 5,
    Cross = 6,
    DiagonalCross = 7,
};

// The persistent drawing of a window: what is drawn stays until cleared, under the controls. Coordinates
// are in the window's drawing units (points on the game's two big windows). Edges are never painted,
// because every window of the game has a transparent line style: boxes, circles and ellipses show only
// their insides, and printed text shows in the fore colour over whatever lies beneath.
//
// The drawing is kept as a short list of operations and replayed by each paint, clipped to what the
// window repaints: a change of window size or device pixel ratio redraws it crisp instead of stretching
// pixels, and no copy of the window's pixels is kept (a full-screen image per window would cost more
// memory than the rest of the game). An operation that paints over earlier ones completely replaces
// them, which keeps the list as short as what is visible.
class Surface {
public:
    struct Settings {
        QColor background = Qt::white;
        QColor fore = Qt::black;
        QColor fill = Qt::black;
        FontSpec font;
    };

    // `scenePixelsPerUnit`: 4/3 for a window that draws in points, 1 for one that draws in pixels.
    Surface(QSizeF sizeInUnits, qreal scenePixelsPerUnit, const Settings& settings, Fonts& fonts);

    // Told the scene-pixel rectangle that changed, so the window repaints only that.
    void setDamageListener(std::function<void(const QRectF&)> listener) { damaged_ = std::move(listener); }

    void clear();
    void fillBox(QPointF from, QPointF to, const QColor& colour);
    void box(QPointF from, QPointF to, const QColor& edge);
    // An ellipse whose vertical radius is `aspect` times the horizontal one (below 1 the radius given is
    // the horizontal one, above 1 the vertical one).
    void circle(QPointF centre, qreal radius, std::optional<QColor> edge = std::nullopt, qreal aspect = 1.0);
    void print(const QString& text);
    qreal textWidth(const QString& text) const;

    void setFontName(const QString& name);
    void setFontSize(double points);
    void setForeColour(const QColor& c) { fore_ = c; }
    void setFillColour(const QColor& c) { fill_ = c; }
    void setFillStyle(FillStyle s) { fillStyle_ = s; }
    void setDrawWidth(int w) { drawWidth_ = w; }
    void setCurrentX(qreal x) { currentX_ = x; }
    void setCurrentY(qreal y) { currentY_ = y; }

    // Paints the background and the drawing with the painter's origin at the scene's top-left, in scene
    // pixels; only the operations that reach `exposed` (scene pixels; null for all) are replayed.
    void paint(QPainter& painter, const QRectF& exposed = QRectF()) const;
    std::size_t operationCount() const { return operations_.size(); }

private:
    struct Operation {
        enum class Kind { Box, Ellipse, Text } kind;
        QRectF rect;  // scene pixels; for text, its painted bounds
        QBrush brush; // box and ellipse
        QString text;
        QFont font;
        QPointF baseline;
        QColor colour;
    };

    void add(Operation op, bool coversWhatIsBeneath);
    void draw(QPainter& painter, const Operation& op) const;
    QFont currentFont() const;
    QBrush fillBrush() const;
    QPointF toScene(QPointF units) const { return units * scale_; }

    Fonts& fonts_;
    QSizeF size_; // scene pixels
    qreal scale_;
    QColor background_;
    QColor fore_;
    QColor fill_;
    FillStyle fillStyle_ = FillStyle::Solid;
    int drawWidth_ = 1;
    qreal currentX_ = 0;
    qreal currentY_ = 0;
    QString fontName_;
    double fontSize_;
    bool fontBold_;
    bool fontItalic_;
    bool fontUnderline_;

    std::vector<Operation> operations_;
    std::function<void(const QRectF&)> damaged_;
};

} // namespace ui
