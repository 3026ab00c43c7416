#include "window_system.h"

#include "form.h"

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QPointer>
#include <QSet>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace ui {

namespace {

// The two X protocol events read here, as they come off the wire (the layout is the protocol's).
constexpr std::uint8_t xError = 0;
constexpr std::uint8_t xDestroyNotify = 17;

struct XDestroyNotify {
    std::uint8_t responseType;
    std::uint8_t pad;
    std::uint16_t sequence;
    std::uint32_t event;
    std::uint32_t window;
};

struct XError {
    std::uint8_t responseType;
    std::uint8_t errorCode;
    std::uint16_t sequence;
    std::uint32_t resource;
};

class DestroyedWindows : public QAbstractNativeEventFilter {
public:
    bool nativeEventFilter(const QByteArray& type, void* message, qintptr* /*result*/) override {
        if (type != "xcb_generic_event_t") {
            return false;
        }
        const std::uint8_t kind = *static_cast<const std::uint8_t*>(message) & 0x7f;
        if (kind == xDestroyNotify) {
            XDestroyNotify event;
            std::memcpy(&event, message, sizeof event);
            if (event.event == event.window) {
                destroyed(event.window);
            }
        } else if (kind == xError) {
            XError error;
            std::memcpy(&error, message, sizeof error);
            // The toolkit goes on addressing the window until its screen unloads: nothing to report.
            return gone_.contains(error.resource);
        }
        return false;
    }

private:
    void destroyed(std::uint32_t id) {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* form = qobject_cast<Form*>(widget);
            if (form == nullptr || form->internalWinId() != id || !form->isLoaded()) {
                continue;
            }
            gone_.insert(id);
            std::fprintf(stderr, "Les Kovrant : la fenêtre « %s » a été détruite par un autre programme.\n",
                         form->objectName().toUtf8().constData());
            std::fflush(stderr);
            // Not from inside the toolkit's event reading: the window is deleted when its screen
            // unloads.
            QMetaObject::invokeMethod(
                form,
                [form = QPointer<Form>(form)] {
                    if (form) {
                        form->closedByWindowSystem();
                    }
                },
                Qt::QueuedConnection);
        }
    }

    QSet<std::uint32_t> gone_;
};

// The message handler is the process's, so the watch it serves is found through the application object.
constexpr char proprieteAdieu[] = "kovrant.avantDeQuitter";

void onMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    // The platform plugins' own words when the display goes away; they then leave with exit(), which
    // would run the static destructors against a display that is gone.
    if (text.startsWith(QLatin1String("The X11 connection broke")) ||
        text.startsWith(QLatin1String("The Wayland connection broke"))) {
        std::fputs("Les Kovrant : la connexion à l'affichage est perdue ; le jeu s'arrête.\n", stderr);
        std::fflush(stderr);
        if (QCoreApplication* app = QCoreApplication::instance()) {
            if (auto* adieu =
                    static_cast<std::function<void()>*>(app->property(proprieteAdieu).value<void*>());
                adieu != nullptr && *adieu) {
                (*adieu)();
            }
        }
        std::fflush(nullptr);
        std::_Exit(EXIT_FAILURE);
    }
    // Everything else as the toolkit would write it itself.
    std::fprintf(stderr, "%s\n", qUtf8Printable(qFormatLogMessage(type, context, text)));
    std::fflush(stderr);
    if (type == QtFatalMsg) {
        std::abort();
    }
}

} // namespace

WindowSystemWatch::WindowSystemWatch(std::function<void()> avantDeQuitter)
    : destroyedWindows_(std::make_unique<DestroyedWindows>()), avantDeQuitter_(std::move(avantDeQuitter)) {
    QCoreApplication::instance()->installNativeEventFilter(destroyedWindows_.get());
    QCoreApplication::instance()->setProperty(proprieteAdieu, QVariant::fromValue<void*>(&avantDeQuitter_));
    qInstallMessageHandler(onMessage);
}

WindowSystemWatch::~WindowSystemWatch() {
    qInstallMessageHandler(nullptr);
    if (QCoreApplication* app = QCoreApplication::instance()) {
        app->setProperty(proprieteAdieu, QVariant());
        app->removeNativeEventFilter(destroyedWindows_.get());
    }
}

} // namespace ui
