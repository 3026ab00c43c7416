#include "picture.h"

#include <QFile>
#include <QPainter>
#include <QSvgRenderer>
#include <cmath>
#include <cstdio>

namespace ui {

Picture::Picture(const QString& path) : renderer_(std::make_unique<QSvgRenderer>(path)) {
    if (renderer_->isValid()) {
        size_ = renderer_->defaultSize();
    }
}

Picture::~Picture() = default;

void Pictures::report(const QString& path, const char* why) {
    if (!failures_.contains(path)) {
        failures_ << path;
        std::fprintf(stderr, "Les Kovrant : image %s %s\n", qUtf8Printable(path), why);
    }
}

void Pictures::checkPresent(const QString& path) {
    if (!QFile::exists(path)) {
        report(path, "absente du programme");
    }
}

const Picture& Pictures::get(const QString& path) {
    auto it = pictures_.find(path);
    if (it == pictures_.end()) {
        it = pictures_.emplace(path, std::make_unique<Picture>(path)).first;
        if (it->second->isNull()) {
            report(path, "illisible");
        }
    }
    return *it->second;
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
