#pragma once

#include <QImage>
#include <QRectF>
#include <QSize>
#include <QString>
#include <QStringList>
#include <map>
#include <memory>

class QPainter;
class QSvgRenderer;

namespace ui {

// A picture from the resources, drawn from vector data so that it is exact at its designed pixel size
// and crisp at any larger one. Rasterisations are cached per device size.
class Picture {
public:
    explicit Picture(const QString& path);

    QSize pixelSize() const { return size_; }
    bool isNull() const { return size_.isEmpty(); }

    // Draws the picture at its own size with its top-left at `topLeft` (painter units are scene pixels).
    void paint(QPainter& painter, QPointF topLeft) const;
    QImage image(QSize deviceSize) const;

    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;
    ~Picture();

private:
    std::unique_ptr<QSvgRenderer> renderer_;
    QSize size_;
    mutable QImage cache_;
};

// The pictures of one program, each loaded once and shared by every control that shows it.
class Pictures {
public:
    Pictures() = default;
    Pictures(const Pictures&) = delete;
    Pictures& operator=(const Pictures&) = delete;

    // The picture of a resource; one that cannot be read is reported on stderr and shows as nothing.
    const Picture& get(const QString& path);
    // Checks that a picture's resource is there, without reading it.
    void checkPresent(const QString& path);
    // Resources that could not be read as pictures.
    const QStringList& failures() const { return failures_; }

private:
    void report(const QString& path, const char* why);

    std::map<QString, std::unique_ptr<Picture>> pictures_;
    QStringList failures_;
};

} // namespace ui
