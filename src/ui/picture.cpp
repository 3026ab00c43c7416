#include "picture.h"

#include <QHash>
#include <QPainter>
#include <QSvgRenderer>
#include <cmath>

namespace ui {

Picture::Picture(const QString& path) : renderer_(std::make_unique<QSvgRenderer>(path)) {
    if (renderer_->isValid()) {
        size_ = renderer_->defaultSize();
    }
}

Picture::~Picture() = default;

const Picture& Picture::fromResource(const QString& path) {
    static QHash<QString, std::shared_ptr<Picture>> pictures;
    auto it = pictures.find(path);
    if (it == pictures.end()) {
        it = pictures.insert(path, std::shared_ptr<Picture>(new Picture(path)));
    }
    return **it;
}

QImage Picture::image(QSize deviceSize) const {
    if (cache_.size() != deviceSize) {
        cache_ = QImage(deviceSize, QImage::Format_ARGB32_Premultiplied);
        cache_.fill(Qt::transparent);
        QPainter p(&cache_);
        renderer_->render(&p, QRectF(QPointF(0, 0), QSizeF(deviceSize)));
    }
    return cache_;
}

void Picture::paint(QPainter& painter, QPointF topLeft) const {
    if (isNull()) {
        return;
    }
    const QRectF target(topLeft, QSizeF(size_));
    // The device transform holds the screen's pixel ratio too: the vector source is rasterised at the
    // pixels it covers, never a smaller bitmap stretched.
    const QRectF device = painter.deviceTransform().mapRect(target);
    const QSize deviceSize(std::max(1, int(std::lround(device.width()))),
                           std::max(1, int(std::lround(device.height()))));
    painter.drawImage(target, image(deviceSize));
}

} // namespace ui
