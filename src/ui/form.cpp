#include "form.h"

#include "codes.h"
#include "picture.h"
#include "runtime_error.h"
#include "units.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QResizeEvent>
#include <QScreen>
#include <QWindowStateChangeEvent>
#include <algorithm>
#include <cmath>

namespace ui {

namespace {

constexpr qreal twipsPerPixel = units::twipsPerPixel;

QCursor cursorFromPicture(const Picture& picture, QPoint hotSpot) {
    const qreal ratio = qApp != nullptr ? qApp->devicePixelRatio() : 1.0;
    const QSize device(int(std::lround(picture.pixelSize().width() * ratio)),
                       int(std::lround(picture.pixelSize().height() * ratio)));
    QPixmap pixmap = QPixmap::fromImage(picture.image(device));
    pixmap.setDevicePixelRatio(ratio);
    return QCursor(pixmap, hotSpot.x(), hotSpot.y());
}

Label::Look lookOf(const ControlSpec& row, Fonts& fonts) {
    Label::Look look;
    look.font = fonts.make(row.font);
    look.fore = toQColor(row.fore);
    look.back = toQColor(row.back);
    look.transparent = row.transparent;
    look.align = row.centred ? Align::Centre : Align::Left;
    look.autoSize = row.autoSize;
    look.border = row.border;
    return look;
}

} // namespace

Form::Form(FormHost& runtime, const FormSpec& design)
    : runtime_(runtime), sceneSize_(design.clientWidth / twipsPerPixel, design.clientHeight / twipsPerPixel),
      unitScale_(qreal(design.twipsPerUnit) / twipsPerPixel), background_(toQColor(design.back)),
      surface_(
          QSizeF(qreal(design.clientWidth) / design.twipsPerUnit,
                 qreal(design.clientHeight) / design.twipsPerUnit),
          qreal(design.twipsPerUnit) / twipsPerPixel,
          Surface::Settings{toQColor(design.back), toQColor(design.fore), toQColor(design.fill), design.font},
          runtime.fonts()) {
    setObjectName(QString::fromUtf8(design.name));
    setWindowTitle(QString::fromUtf8(design.caption));
    if (design.icon != nullptr) {
        setWindowIcon(QIcon(QString::fromUtf8(design.icon)));
    }
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAutoFillBackground(false);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    fitSizeLimits();
    if (auto* gui = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        // The limits follow the screens: one plugged in, one unplugged, a change of resolution.
        const auto follow = [this](QScreen* screen) {
            connect(screen, &QScreen::virtualGeometryChanged, this, &Form::fitSizeLimits);
            connect(screen, &QScreen::availableGeometryChanged, this, &Form::fitSizeLimits);
        };
        for (QScreen* screen : QGuiApplication::screens()) {
            follow(screen);
        }
        connect(gui, &QGuiApplication::screenAdded, this, [this, follow](QScreen* screen) {
            follow(screen);
            fitSizeLimits();
        });
        connect(gui, &QGuiApplication::screenRemoved, this, &Form::fitSizeLimits);
    }
    // No input method (Qt::WA_InputMethodEnabled stays off): the answer is read key by key, and composing
    // would swallow the key that follows a dead key (^ then the top row's 1 would type "¹").
    keyboard_ = keyboardKindOf(QGuiApplication::platformName());
    surface_.setDamageListener([this](const QRectF& scene) { controlChanged(scene); });
    build(design.controls);
}

Form::~Form() {
    // Screen readers lose the children before the controls they stand for go.
    dying_ = true;
    accessible_.reset();
}

AccessibleTree* Form::accessibleTree() {
    if (!accessible_ && !dying_) {
        accessible_ = runtime_.accessibleTreeFor(*this);
    }
    return accessible_.get();
}

void Form::accessibleChange(const void* source, QAccessible::Event what) {
    // A window still being made, or not shown, has nothing to tell yet.
    if (heardByAssistiveTechnology() && (accessible_ || isVisible())) {
        if (AccessibleTree* tree = accessibleTree()) {
            tree->changed(source, what);
        }
    }
}

PaintedItem& Form::addPaintedItem(QAccessible::Role role, std::function<QString()> name) {
    painted_.push_back(std::make_unique<PaintedItem>(*this, role, std::move(name)));
    if (accessible_) {
        accessible_->add(*painted_.back());
        accessible_->changed(painted_.back().get(), QAccessible::ObjectCreated);
    }
    return *painted_.back();
}

void Form::say(const QString& text) {
    if (AccessibleTree* tree = accessibleTree()) {
        tree->announce(text);
    }
}

PaintedItem::PaintedItem(Form& form, QAccessible::Role role, std::function<QString()> name)
    : form_(form), role_(role), name_(std::move(name)) {}

void PaintedItem::show(const QRectF& units) {
    const bool wasVisible = visible_;
    const bool moved = units != rect_;
    visible_ = true;
    rect_ = units;
    form_.accessibleChange(this, QAccessible::NameChanged);
    if (!wasVisible) {
        form_.accessibleChange(this, QAccessible::ObjectShow);
    } else if (moved) {
        form_.accessibleChange(this, QAccessible::LocationChanged);
    }
}

void PaintedItem::hide() {
    if (visible_) {
        visible_ = false;
        form_.accessibleChange(this, QAccessible::ObjectHide);
    }
}

void PaintedItem::renamed() {
    form_.accessibleChange(this, QAccessible::NameChanged);
}

FormHost& Form::runtime() const {
    return runtime_;
}

bool Form::heardByAssistiveTechnology() const {
    return runtime_.accessibilityActive();
}

void Form::build(std::span<const ControlSpec> controls) {
    ControlHost& host = *this;
    Pictures& pictures = runtime_.pictures();
    Fonts& fonts = runtime_.fonts();
    for (const ControlSpec& row : controls) {
        const QRect twips(row.left, row.top, row.width, row.height);
        const QString name = QString::fromUtf8(row.name);
        std::unique_ptr<Control> control;
        switch (row.kind) {
        case ControlKind::Label:
            control = std::make_unique<Label>(host, name, twips, QString::fromUtf8(row.caption),
                                              lookOf(row, fonts));
            break;
        case ControlKind::Image:
            control =
                std::make_unique<Image>(host, name, twips, pictures.get(QString::fromUtf8(row.caption)));
            break;
        case ControlKind::PictureBox:
            control = std::make_unique<Image>(host, name, twips, pictures.get(QString::fromUtf8(row.caption)),
                                              toQColor(row.back));
            break;
        case ControlKind::CheckBox: {
            std::optional<QCursor> cursor;
            if (row.cursor != nullptr) {
                cursor = cursorFromPicture(pictures.get(QString::fromUtf8(row.cursor)), row.hotSpot);
            }
            control = std::make_unique<CheckBox>(host, name, row.index, twips, QString::fromUtf8(row.caption),
                                                 lookOf(row, fonts), cursor);
            break;
        }
        case ControlKind::TextField:
            control = std::make_unique<TextField>(host, name, twips, lookOf(row, fonts), row.index);
            break;
        case ControlKind::Shape:
            control = std::make_unique<Shape>(
                host, name, twips,
                Shape::Look{toQColor(row.back), toQColor(row.fore), row.borderWidth, row.rounded});
            break;
        }
        control->setVisible(!row.hidden);
        if (row.kind == ControlKind::CheckBox) {
            // The boxes of an array take the keyboard focus in the order of their indexes.
            control->setTabIndex(row.index);
        }
        controls_.push_back(std::move(control));
    }
}

Control* Form::findControl(QStringView name, int index) const {
    for (const auto& control : controls_) {
        if (control->name() != name) {
            continue;
        }
        const auto* box = dynamic_cast<const CheckBox*>(control.get());
        if (box == nullptr || box->index() == index) {
            return control.get();
        }
    }
    return nullptr;
}

void Form::missingControl(const char* name, int index) const {
    base::runtimeError(base::ErrorCode::InvalidCall,
                       QStringLiteral("la fenêtre %1 n'a pas de contrôle %2(%3) de ce type")
                           .arg(objectName(), QString::fromUtf8(name))
                           .arg(index));
}

Timer& Form::addTimer(const QString& name, int intervalMs, std::function<void()> tick) {
    // A tick queued behind the handler that unloads the window is dropped, as its keys and clicks are.
    auto whileLoaded = [form = QPointer<Form>(this), tick = std::move(tick)] {
        if (form && form->isLoaded()) {
            tick();
        }
    };
    return *new Timer(this, runtime_, name, intervalMs, std::move(whileLoaded));
}

QTransform Form::sceneToWidget() const {
    const QRectF area = hasKeyPad() ? padPlacement_.scene : QRectF(rect());
    const qreal scale = std::min(area.width() / sceneSize_.width(), area.height() / sceneSize_.height());
    const qreal ratio = devicePixelRatioF();
    // Whole device pixels for the offset, so that the drawing's pixels meet the screen's one to one.
    const qreal dx =
        std::round((area.left() + (area.width() - sceneSize_.width() * scale) / 2) * ratio) / ratio;
    const qreal dy =
        std::round((area.top() + (area.height() - sceneSize_.height() * scale) / 2) * ratio) / ratio;
    return QTransform::fromTranslate(dx, dy).scale(scale, scale);
}

QPointF Form::widgetPointForTwips(QPointF twips) const {
    return sceneToWidget().map(twips / twipsPerPixel);
}

QPointF Form::widgetPointForUnits(QPointF units) const {
    return sceneToWidget().map(units * unitScale_);
}

QImage Form::render(qreal scale) const {
    QImage image(int(std::ceil(sceneSize_.width() * scale)), int(std::ceil(sceneSize_.height() * scale)),
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(background_);
    QPainter painter(&image);
    painter.scale(scale, scale);
    paintScene(painter);
    return image;
}

void Form::paintScene(QPainter& painter, const QRectF& exposed) const {
    painter.save();
    // The pad's keys lie outside the scene, which clips everything else.
    for (const PadKey* key : padKeys_) {
        if (exposed.isNull() || key->sceneRect().intersects(exposed)) {
            key->paint(painter);
        }
    }
    painter.setClipRect(QRectF(QPointF(0, 0), sceneSize_));
    surface_.paint(painter, exposed);
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (auto it = controls_.rbegin(); it != controls_.rend() - std::ptrdiff_t(padKeys_.size()); ++it) {
        // The answer clock repaints a small square every second: laying out the text of every label
        // for it would keep an idle window busy. A label's descenders may overhang its box downwards.
        const QRectF reach = (*it)->sceneRect().adjusted(-1, -1, 1, (*it)->sceneRect().height() + 1);
        if ((*it)->isVisible() && (exposed.isNull() || reach.intersects(exposed))) {
            (*it)->paint(painter);
        }
    }
    painter.restore();
}

void Form::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(rect(), background_);
    const QTransform transform = sceneToWidget();
    // The painter never scales down to a pixel ratio below 1 (a scale factor under 1): it would draw
    // logical pixels as device pixels and show a quarter of the scene. What it leaves out, we apply.
    const qreal missing = devicePixelRatioF() / painter.deviceTransform().m11();
    painter.setTransform(transform * QTransform::fromScale(missing, missing));
    paintScene(painter, transform.inverted().mapRect(QRectF(event->rect())));
}

void Form::controlChanged(const QRectF& scene) {
    update(sceneToWidget().mapRect(scene).toAlignedRect().adjusted(-2, -2, 2, 2));
}

QSize Form::largestUsefulSize() const {
    const QScreen* screen = this->screen();
    if (screen == nullptr) {
        return QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
    // Never less than a 4K screen's pixels, so that a desktop that reports itself smaller than the
    // window can be (a virtual one, a screen about to be plugged in) does not cramp it.
    const QSize uhd = (QSizeF(3840, 2160) / screen->devicePixelRatio()).toSize();
    return screen->virtualSize().expandedTo(uhd).expandedTo(minimumSize());
}

void Form::fitSizeLimits() {
    // Small enough to go whole on the smallest screen, also at a large scale factor.
    QSize smallest(320, 200);
    if (const QScreen* screen = this->screen(); screen != nullptr) {
        smallest = smallest.boundedTo(screen->availableGeometry().size() / 3);
    }
    setMinimumSize(smallest);
    setMaximumSize(largestUsefulSize());
}

QRect Form::normalPlacement() const {
    const QScreen* screen = this->screen();
    if (screen == nullptr) {
        return geometry();
    }
    const QRect area = screen->availableGeometry();
    // The frame as the window manager draws it once it has; a usual title bar before that.
    const QRect frame = frameGeometry();
    const QMargins margins =
        isVisible() && frame != geometry()
            ? QMargins(geometry().left() - frame.left(), geometry().top() - frame.top(),
                       frame.right() - geometry().right(), frame.bottom() - geometry().bottom())
            : QMargins(4, 30, 4, 4);
    const QSize room = area.size().shrunkBy(margins) * 0.9;
    const qreal scale =
        std::min({1.0, room.width() / sceneSize_.width(), room.height() / sceneSize_.height()});
    const QSize client = (sceneSize_ * scale).toSize().expandedTo(minimumSize());
    const QSize outer = client.grownBy(margins);
    // The frame's top-left: move() places windows by their frame.
    return QRect(area.topLeft() + QPoint(std::max(0, (area.width() - outer.width()) / 2),
                                         std::max(0, (area.height() - outer.height()) / 2)),
                 client);
}

void Form::openWindow() {
    if (!isVisible()) {
        fitSizeLimits();
        if (QScreen* screen = this->screen(); screen != nullptr) {
            // The whole work area, which the window manager then maximises, or which stands in for a
            // maximised window without one. Placed by its frame, so that the title bar starts on the
            // screen whatever the window manager does with the maximised state.
            const QRect area = screen->availableGeometry();
            resize(area.size());
            move(area.topLeft());
        }
        setWindowState(windowState() | Qt::WindowMaximized);
        show();
    }
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) {
        raise();
    }
    if (focusedControl() == nullptr) {
        // A pad's keys wait for Tab: until then every key keeps its meaning for the window.
        std::vector<Control*> chain = focusChain();
        std::erase_if(chain, [](const Control* c) { return dynamic_cast<const PadKey*>(c) != nullptr; });
        if (!chain.empty()) {
            chain.front()->setFocus(true);
        }
    }
    if (!isActiveWindow()) {
        runtime().expectWindowSystemActivation(*this);
    }
    // Without a window manager nothing else would give the window the keyboard.
    activateWindow();
}

Control* Form::controlAt(QPointF widgetPos) const {
    const QPointF scene = sceneToWidget().inverted().map(widgetPos);
    for (const auto& control : controls_) {
        if (control->isVisible() && control->takesMouse() && control->sceneRect().contains(scene)) {
            return control.get();
        }
    }
    return nullptr;
}

void Form::mousePressEvent(QMouseEvent* event) {
    FormHost& rt = runtime();
    if (rt.activeForm() != this && isLoaded()) {
        // A click on a window behind makes it the active one, Activate first.
        rt.dispatch([this] { runtime().activate(*this); });
    }
    pressed_ = event->button() == Qt::LeftButton ? controlAt(event->position()) : nullptr;
    if (auto* key = dynamic_cast<PadKey*>(pressed_)) {
        key->setDown(true);
    }
}

void Form::mouseReleaseEvent(QMouseEvent* event) {
    Control* control = event->button() == Qt::LeftButton ? controlAt(event->position()) : nullptr;
    const bool clicked = control != nullptr && control == pressed_;
    if (auto* key = dynamic_cast<PadKey*>(pressed_)) {
        key->setDown(false);
    }
    pressed_ = nullptr;
    if (!clicked) {
        return;
    }
    if ((dynamic_cast<CheckBox*>(control) != nullptr || dynamic_cast<TextField*>(control) != nullptr) &&
        control->tabIndex() > 0) {
        for (const auto& other : controls_) {
            other->setFocus(other.get() == control);
        }
    }
    clickFromKeyboard(*control);
}

void Form::clickFromKeyboard(Control& control) {
    runtime().dispatch([form = QPointer<Form>(this), &control] {
        if (form && form->isLoaded()) {
            control.click();
        }
    });
}

void Form::mouseMoveEvent(QMouseEvent* event) {
    Control* control = controlAt(event->position());
    auto* box = dynamic_cast<CheckBox*>(control);
    if (box != hovered_) {
        if (hovered_ != nullptr) {
            hovered_->setHovered(false);
        }
        hovered_ = box;
        if (hovered_ != nullptr) {
            hovered_->setHovered(true);
        }
    }
    if (const std::optional<QCursor> shape = control != nullptr ? control->cursor() : std::nullopt) {
        setCursor(*shape);
    } else {
        unsetCursor();
    }
}

void Form::leaveEvent(QEvent* /*event*/) {
    if (hovered_ != nullptr) {
        hovered_->setHovered(false);
        hovered_ = nullptr;
    }
}

Control* Form::focusedControl() const {
    for (const auto& control : controls_) {
        if (control->hasFocus()) {
            return control.get();
        }
    }
    return nullptr;
}

std::vector<Control*> Form::focusChain() const {
    std::vector<Control*> chain;
    for (const auto& control : controls_) {
        if (control->tabIndex() > 0 && control->isVisible()) {
            chain.push_back(control.get());
        }
    }
    std::stable_sort(chain.begin(), chain.end(),
                     [](const Control* a, const Control* b) { return a->tabIndex() < b->tabIndex(); });
    return chain;
}

void Form::moveFocus(bool forward) {
    const std::vector<Control*> chain = focusChain();
    if (chain.empty()) {
        return;
    }
    const auto current = std::find(chain.begin(), chain.end(), focusedControl());
    std::ptrdiff_t next = 0;
    if (current != chain.end()) {
        const auto n = std::ptrdiff_t(chain.size());
        next = ((current - chain.begin()) + (forward ? 1 : n - 1)) % n;
    } else if (!forward) {
        next = std::ptrdiff_t(chain.size()) - 1;
    }
    for (const auto& control : controls_) {
        if (control.get() != chain[std::size_t(next)]) {
            control->setFocus(false);
        }
    }
    chain[std::size_t(next)]->setFocus(true);
}

bool Form::focusNextPrevChild(bool /*next*/) {
    // Tab moves between the window's own check boxes, which are not widgets.
    return false;
}

void Form::keyPressEvent(QKeyEvent* event) {
    // The keys belong to the screen the program showed last, or the player clicked last, wherever the
    // window system left the keyboard: a Wayland client cannot focus its own new window, and a
    // compositor may focus it late or never.
    if (Form* active = runtime().activeForm(); active != nullptr && active != this && active->isVisible()) {
        active->keyPressEvent(event);
        return;
    }
    const bool tab = event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab;
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const bool arrow = event->key() >= Qt::Key_Left && event->key() <= Qt::Key_Down;
    Control* focused = focusedControl();
    const bool onFocus = focused != nullptr && focused->isVisible();
    // A player who points never sees the mark; one who moves the focus, or presses what it is on, sees
    // it from then on. Enter and Space on a window with nothing focused keep their own meaning.
    if (tab || arrow || (onFocus && (enter || event->key() == Qt::Key_Space))) {
        runtime().showFocusMarks();
    }
    if (tab) {
        moveFocus(event->key() == Qt::Key_Tab && !(event->modifiers() & Qt::ShiftModifier));
        focused = focusedControl();
    }
    if (auto* field = dynamic_cast<TextField*>(focused);
        field != nullptr && field->isVisible() && field->type(event->key(), event->text())) {
        return;
    }
    // Space clicks the focused control; Enter too, but where Enter is the window's key (a check box)
    // it stays the window's.
    if (focused != nullptr && focused->isVisible() &&
        (event->key() == Qt::Key_Space || (enter && !focused->keepsEnterForWindow()))) {
        if (!event->isAutoRepeat()) {
            clickFromKeyboard(*focused);
        }
        return;
    }
    pressKey(classicKeyOf(keyStrokeOf(keyboard_, *event)));
}

void Form::pressKey(ClassicKey key) {
    const int code = key.keyCode;
    const int character = key.charCode;
    QPointer<Form> form(this);
    if (code != 0) {
        runtime().dispatch([form, code] {
            if (form && form->isLoaded()) {
                form->keyDown(code);
            }
        });
    }
    if (character >= 0) {
        runtime().dispatch([form, character] {
            if (form && form->isLoaded()) {
                form->keyPress(character);
            }
        });
    }
}

void Form::addKeyPad(const KeyPadSpec& pad) {
    const PadKey::Look look{runtime_.fonts().make(pad.font), toQColor(pad.fore), toQColor(pad.back),
                            toQColor(pad.border)};
    int tab = 0;
    for (const auto& control : controls_) {
        tab = std::max(tab, control->tabIndex());
    }
    for (const PadKeySpec& spec : pad.keys) {
        ControlHost& host = *this;
        auto key = std::make_unique<PadKey>(host, spec, look);
        key->setTabIndex(++tab);
        key->onClick = [this, k = key.get()] { pressKey(k->key()); };
        besideGrid_ = besideGrid_.expandedTo(QSize(spec.beside.x() + 1, spec.beside.y() + 1));
        belowGrid_ = belowGrid_.expandedTo(QSize(spec.below.x() + 1, spec.below.y() + 1));
        padKeys_.push_back(key.get());
        // In front of the layout's controls, which they never overlap.
        controls_.insert(controls_.begin() + std::ptrdiff_t(padKeys_.size() - 1), std::move(key));
    }
    placeKeyPad();
}

void Form::placeKeyPad() {
    if (padKeys_.empty()) {
        return;
    }
    const QScreen* screen = this->screen();
    const qreal dpi = screen != nullptr ? screen->physicalDotsPerInch() : 96.0;
    padPlacement_ = placePad(size(), sceneSize_, smallestKeyFor(dpi), besideGrid_, belowGrid_);
    const PadPlacement& p = padPlacement_;
    const QTransform toScene = sceneToWidget().inverted();
    for (PadKey* key : padKeys_) {
        const QPoint cell = key->cell(p.beside);
        const QRectF widget(p.pad.left() + p.gap + cell.x() * (p.key + p.gap),
                            p.pad.top() + p.gap + cell.y() * (p.key + p.gap), p.key, p.key);
        const QRectF scene = toScene.mapRect(widget);
        // Whole twips outwards, so that a key is never smaller than it was placed.
        const QPointF topLeft = scene.topLeft() * twipsPerPixel;
        const QPointF bottomRight = scene.bottomRight() * twipsPerPixel;
        key->place(QRect(QPoint(int(std::floor(topLeft.x())), int(std::floor(topLeft.y()))),
                         QPoint(int(std::ceil(bottomRight.x())) - 1, int(std::ceil(bottomRight.y())) - 1)));
    }
    update();
}

void Form::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placeKeyPad();
    const QSize largest = largestUsefulSize();
    if (width() > largest.width() || height() > largest.height()) {
        // Without a window manager, another program can give the window any size; the window's
        // backing store would grow with it.
        resize(size().boundedTo(largest));
    }
}

void Form::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !isVisible()) {
        return;
    }
    const Qt::WindowStates large = Qt::WindowMaximized | Qt::WindowFullScreen;
    const Qt::WindowStates before = static_cast<QWindowStateChangeEvent*>(event)->oldState();
    if ((before & large) && !(windowState() & (large | Qt::WindowMinimized))) {
        // Un-maximised: the window manager gives back the size the window had before, the whole work
        // area, which leaves the frame no room on the screen.
        const QRect normal = normalPlacement();
        resize(normal.size());
        move(normal.topLeft());
    }
}

void Form::closeEvent(QCloseEvent* event) {
    event->ignore();
    closedByWindowSystem();
}

void Form::closedByWindowSystem() {
    if (slot_ != nullptr) {
        runtime_.closedByWindowSystem(*this);
    }
}

bool Form::event(QEvent* event) {
    if (event->type() == QEvent::ScreenChangeInternal) {
        // Another screen, another size for the same centimetres.
        placeKeyPad();
    }
    if (event->type() == QEvent::WindowActivate && isLoaded()) {
        runtime().activatedFromOutside(*this);
        // The first activation may come before anything asked about the window: its focused control
        // is news all the same.
        if (heardByAssistiveTechnology()) {
            if (AccessibleTree* tree = accessibleTree()) {
                tree->windowActivated();
            }
        }
    }
    return QWidget::event(event);
}

} // namespace ui
