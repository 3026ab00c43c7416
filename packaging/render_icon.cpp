// Renders the program's SVG icon into the PNG sizes of the hicolor theme, at build time, so that the
// bitmaps always match the drawing and the build needs nothing beyond Qt.
//
//   kovrant-render-icon <icon.svg> <icons-dir> <name> <size>...
//
// writes <icons-dir>/<size>x<size>/apps/<name>.png for every size.

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>
#include <QTextStream>
#include <cstdio>

int main(int argc, char* argv[]) {
    QTextStream err(stderr);
    if (argc < 5) {
        err << "usage: kovrant-render-icon <icon.svg> <icons-dir> <name> <size>...\n";
        return 2;
    }
    const QString source = QString::fromLocal8Bit(argv[1]);
    const QString iconsDir = QString::fromLocal8Bit(argv[2]);
    const QString name = QString::fromLocal8Bit(argv[3]);

    QSvgRenderer renderer(source);
    if (!renderer.isValid()) {
        err << "cannot read " << source << '\n';
        return 1;
    }
    for (int i = 4; i < argc; ++i) {
        bool ok = false;
        const int size = QString::fromLocal8Bit(argv[i]).toInt(&ok);
        if (!ok || size <= 0 || size > 1024) {
            err << "not an icon size: " << argv[i] << '\n';
            return 2;
        }
        const QString sizeDir = QStringLiteral("%1/%2x%2/apps").arg(iconsDir, QString::number(size));
        if (!QDir().mkpath(sizeDir)) {
            err << "cannot create " << sizeDir << '\n';
            return 1;
        }
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            renderer.render(&painter, QRectF(0, 0, size, size));
        }
        const QString target = sizeDir + QLatin1Char('/') + name + QStringLiteral(".png");
        if (!image.convertToFormat(QImage::Format_ARGB32).save(target, "PNG")) {
            err << "cannot write " << target << '\n';
            return 1;
        }
    }
    return 0;
}
