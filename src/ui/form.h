#pragma once

#include "accessible.h"
#include "colour.h"
#include "controls.h"
#include "fonts.h"
#include "keyboard.h"
#include "surface.h"
#include "timer.h"

#include <QImage>
#include <QString>
#include <QWidget>
#include <memory>
#include <span>
#include <vector>

namespace ui {

class FormSlot;
class Runtime;

enum class ControlKind { Label, Image, PictureBox, CheckBox, Shape };

// One row of a window's control table, as the layouts give it. Positions and sizes are in twips;
// `caption` is the picture's resource for images and picture boxes.
struct ControlSpec {
    ControlKind kind;
    const char* name;
    int left, top, width, height;
    const char* caption = "";
    FontSpec font{};
    Colour fore = colours::windowText;
    Colour back = colours::windowBackground;
    bool transparent = false;
    bool centred = false;
    bool autoSize = false;
    bool border = false;
    bool hidden = false;
    int index = 0;                // element of a control array (check boxes)
    int borderWidth = 1;          // shapes, in pixels
    bool rounded = false;         // shapes
    const char* cursor = nullptr; // a picture used as the mouse pointer over the control
    QPoint hotSpot{};
};

// A window as the layouts give it. Its client area is a fixed scene, in twips, scaled uniformly to
// fit the window and centred in it.
struct FormSpec {
    const char* name;
    const char* caption;
    int clientWidth, clientHeight; // twips
    int twipsPerUnit;              // of the drawing: 20 for points, 15 for pixels
    Colour back;
    Colour fore;
    FontSpec font;
    Colour fill = colours::black;
    std::span<const ControlSpec> controls = {}; // from the front to the back
    const char* icon = nullptr;
};

class Form : public QWidget, private ControlHost {
    Q_OBJECT
public:
    Form(Runtime& runtime, const FormSpec& design);
    ~Form() override;

    // The window's events; the screens override the ones they handle.
    virtual void load() {}
    virtual void activate() {}
    virtual void keyDown(int /*keyCode*/) {}
    virtual void keyPress(int /*charCode*/) {}

    bool isLoaded() const { return slot_ != nullptr; }
    // The runtime that delivers this window's events.
    Runtime& runtime() const;

    Control* findControl(QStringView name, int index = 0) const;
    const std::vector<std::unique_ptr<Control>>& controls() const { return controls_; }

    Surface& surface() { return surface_; }
    const Surface& surface() const { return surface_; }

    // A timer of the window, running from now on, whose ticks the runtime delivers.
    Timer& addTimer(const QString& name, int intervalMs, std::function<void()> tick);

    // The client area in scene pixels (15 twips each).
    QSizeF sceneSize() const { return sceneSize_; }
    // Renders the scene by the code that paints the window, `scale` device pixels per scene pixel.
    QImage render(qreal scale = 1.0) const;
    // Scene pixels to the widget's coordinates, as the window currently shows them.
    QTransform sceneToWidget() const;
    QPointF widgetPointForTwips(QPointF twips) const;
    // A point of the drawing, in its units, where the widget shows it.
    QPointF widgetPointForUnits(QPointF units) const;

    // How the window reads the physical keys of its key events; the platform's own unless set.
    KeyboardKind keyboard() const { return keyboard_; }
    void setKeyboard(KeyboardKind kind) { keyboard_ = kind; }

    // Maximised, shown, raised and activated, also without a window manager. The keyboard focus goes to
    // the first control that takes it, unless one has it already.
    void openWindow();
    // The window system closed the window (its frame, Alt+F4, another program destroying it): the
    // screen unloads, and the program ends with its last window.
    void closedByWindowSystem();
    // The largest client area worth having: no screen shows more than the virtual desktop, and every
    // pixel beyond it would only cost memory.
    QSize largestUsefulSize() const;
    // Where the window goes when it is not maximised: the scene at its own size or smaller, keeping
    // its proportions, with the whole frame on the screen.
    QRect normalPlacement() const;

    // The control that has the keyboard focus, if any.
    Control* focusedControl() const;
    // A click as the keyboard or a screen reader gives it: it runs after the handler that is running.
    void clickFromKeyboard(Control& control);

    // For screen readers (accessible.h): something the window paints, declared once by the screen.
    PaintedItem& addPaintedItem(QAccessible::Role role, std::function<QString()> name);
    const std::vector<std::unique_ptr<PaintedItem>>& paintedItems() const { return painted_; }
    // Says what `text()` returns through the window's notification; `text` is called only while a screen
    // reader listens.
    template <typename Text> void announce(Text&& text) {
        if (heardByAssistiveTechnology()) {
            say(text());
        }
    }
    void say(const QString& text);
    // Whether an assistive technology listens to this window's program.
    bool heardByAssistiveTechnology() const;
    // What screen readers see of the window's children; made on first use, none while it is destroyed.
    AccessibleTree* accessibleTree();
    bool hasAccessibleTree() const { return accessible_ != nullptr; }
    // Tells screen readers, if any listens, of a change to a control or a painted item.
    void accessibleChange(const void* source, QAccessible::Event what);

protected:
    // A control of the layout table, typed, for a screen to hold from its construction on: a name that
    // the table lacks, or a control of another kind, stops the program there and then, before any
    // handler can run.
    template <typename T> T& bind(const char* name, int index = 0) {
        auto* control = dynamic_cast<T*>(findControl(QString::fromUtf8(name), index));
        if (control == nullptr) {
            missingControl(name, index);
        }
        return *control;
    }

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    friend class FormSlot;
    void attach(FormSlot* slot) { slot_ = slot; }
    void detach() { slot_ = nullptr; }

    void controlChanged(const QRectF& scene) override;
    QWidget* styleWidget() override { return this; }
    void controlAccessibleChange(const Control& control, QAccessible::Event what) override {
        accessibleChange(&control, what);
    }

    void build(std::span<const ControlSpec> controls);
    [[noreturn]] void missingControl(const char* name, int index) const;
    void fitSizeLimits();
    // Controls wholly outside `exposed` (scene pixels; null for the whole scene) are left unpainted.
    void paintScene(QPainter& painter, const QRectF& exposed = QRectF()) const;
    Control* controlAt(QPointF widgetPos) const;
    void moveFocus(bool forward);
    std::vector<Control*> focusChain() const;

    Runtime& runtime_;
    FormSlot* slot_ = nullptr;
    QSizeF sceneSize_;
    qreal unitScale_; // scene pixels per drawing unit
    QColor background_;
    Surface surface_;
    std::vector<std::unique_ptr<Control>> controls_; // from the front to the back
    Control* pressed_ = nullptr;
    CheckBox* hovered_ = nullptr;
    std::vector<std::unique_ptr<PaintedItem>> painted_;
    std::unique_ptr<AccessibleTree> accessible_;
    bool dying_ = false;
    KeyboardKind keyboard_ = KeyboardKind::Unknown;
};

} // namespace ui
