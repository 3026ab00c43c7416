#pragma once

#include <QImage>
#include <QRectF>
#include <QSize>
#include <QString>
#include <memory>

class QPainter;
class QSvgRenderer;

namespace ui {

// A picture from the resources, drawn from vector data so that it is exact at its designed pixel size
// and crisp at any larger one. Rasterisations are cached per device size.
class Picture {
public:
    // Pictures are shared: every control showing the same resource uses one instance.
    static const Picture& fromResource(const QString& path);

    QSize pixelSize() const { return size_; }
    bool isNull() const { return size_.isEmpty(); }

    // Draws the picture at its own size with its top-left at `topLeft` (painter units are scene pixels).
    void paint(QPainter& painter, QPointF topLeft) const;
    QImage image(QSize deviceSize) const;

    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;
    ~Picture();

private:
    explicit Picture(const QString& path);

    std::unique_ptr<QSvgRenderer> renderer_;
    QSize size_;
    mutable QImage cache_;
};

} // namespace ui
