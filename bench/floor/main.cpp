// The floor every figure is compared with: one white window the size of the game's scene, nothing else.
#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace {
class Window : public QWidget {
public:
    explicit Window(bool exitAfterPaint) : exitAfterPaint_(exitAfterPaint) {}

protected:
    bool event(QEvent* event) override {
        const bool handled = QWidget::event(event);
        if (event->type() == QEvent::Paint && exitAfterPaint_) {
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return handled;
    }

private:
    bool exitAfterPaint_;
};
} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    Window window(QCoreApplication::arguments().contains(QStringLiteral("--exit-after-paint")));
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, Qt::white);
    window.setPalette(palette);
    window.setAutoFillBackground(true);
    window.resize(1264, 681);
    window.show();
    return QApplication::exec();
}
