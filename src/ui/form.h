#pragma once

#include "colour.h"
#include "controls.h"
#include "fonts.h"
#include "form_host.h"
#include "keyboard.h"
#include "keypad.h"
#include "surface.h"
#include "timer.h"

#include <QAccessible>
#include <QImage>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <span>
#include <vector>

namespace ui {

class Form;
class FormSlot;

// Something the window paints rather than shows as a control (a line of text, a picture), known to
// screen readers by a role, a name and the place where it is painted. It is invisible until shown.
class PaintedItem {
public:
    PaintedItem(Form& form, QAccessible::Role role, std::function<QString()> name);
    PaintedItem(const PaintedItem&) = delete;
    PaintedItem& operator=(const PaintedItem&) = delete;

    QAccessible::Role role() const { return role_; }
    QString name() const { return name_ ? name_() : QString(); }
    bool isVisible() const { return visible_; }
    // In the window's drawing units.
    const QRectF& rect() const { return rect_; }

    // Painted there now, its name perhaps changed too.
    void show(const QRectF& units);
    // Painted over, or about to be.
    void hide();
    // Its name says something new (the place and the painting unchanged).
    void renamed();

    // A control shown over the item and part of it, as the legend of a picture: screen readers find it
    // inside the item rather than beside it. Declared with the item, before anything asks.
    void holds(Control& control) { held_.push_back(&control); }
    const std::vector<Control*>& held() const { return held_; }

private:
    Form& form_;
    QAccessible::Role role_;
    std::function<QString()> name_;
    std::vector<Control*> held_;
    QRectF rect_;
    bool visible_ = false;
};

// What a window tells screen readers: the accessibility layer (accessible.h) makes one for each window
// on first use, through the runtime, and the window knows it by this alone.
class AccessibleTree {
public:
    virtual ~AccessibleTree() = default;
    // A painted item declared after the tree was made.
    virtual void add(PaintedItem& item) = 0;
    // `source` (a control or a painted item) changed in a way that `what` tells.
    virtual void changed(const void* source, QAccessible::Event what) = 0;
    // Says `text` through the window's notification once the window is the active one.
    virtual void announce(const QString& text) = 0;
    // The window system made the window active: what waited is said, the focus told.
    virtual void windowActivated() = 0;
    // The interface of a control or a painted item of the window.
    virtual QAccessibleInterface* interfaceOf(const void* source) const = 0;
};

enum class ControlKind { Label, Image, PictureBox, CheckBox, Shape, TextField };

// One row of a window's control table, as the layouts give it. Positions and sizes are in twips;
// `caption` is the picture's resource for images and picture boxes.
struct ControlSpec {
    ControlKind kind;
    const char* name;
    int left, top, width, height;
    const char* caption = "";
    FontSpec font{};
    base::Colour fore = base::colours::windowText;
    base::Colour back = base::colours::windowBackground;
    bool transparent = false;
    bool centred = false;
    bool autoSize = false;
    bool border = false;
    bool hidden = false;
    int index = 0;                // element of a control array (check boxes); a text field's length
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
    base::Colour back;
    base::Colour fore;
    FontSpec font;
    base::Colour fill = base::colours::black;
    std::span<const ControlSpec> controls = {}; // from the front to the back
    const char* icon = nullptr;
};

class Form : public QWidget, private ControlHost {
    Q_OBJECT
public:
    Form(FormHost& runtime, const FormSpec& design);
    ~Form() override;

    // The window's events; the screens override the ones they handle.
    virtual void load() {}
    virtual void activate() {}
    virtual void keyDown(int /*keyCode*/) {}
    virtual void keyPress(int /*charCode*/) {}

    bool isLoaded() const { return slot_ != nullptr; }
    // The runtime that delivers this window's events.
    FormHost& runtime() const;

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

    // A pad of big keys beside or below the scene, whichever leaves the scene larger; the scene keeps its
    // proportions in what the pad leaves. A key of the pad types its key as the keyboard does, and the
    // keys take the keyboard focus after the window's own controls, from the first Tab on.
    void addKeyPad(const KeyPadSpec& pad);
    bool hasKeyPad() const { return !padKeys_.empty(); }
    const std::vector<PadKey*>& padKeys() const { return padKeys_; }
    // Where the scene and the pad go in the window as it is now.
    const PadPlacement& padPlacement() const { return padPlacement_; }
    // A key typed: key-down, then the character, each after the handler that is running, as the
    // keyboard's keys are.
    void pressKey(ClassicKey key);

    // The control that has the keyboard focus, if any.
    Control* focusedControl() const;
    // A click as the keyboard or a screen reader gives it: it runs after the handler that is running.
    void clickFromKeyboard(Control& control);

    // For screen readers: something the window paints, declared once by the screen.
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
    bool focusMarkShown() const override { return runtime_.focusMarksShown(); }

    void build(std::span<const ControlSpec> controls);
    [[noreturn]] void missingControl(const char* name, int index) const;
    void fitSizeLimits();
    // Controls wholly outside `exposed` (scene pixels; null for the whole scene) are left unpainted.
    void paintScene(QPainter& painter, const QRectF& exposed = QRectF()) const;
    Control* controlAt(QPointF widgetPos) const;
    void moveFocus(bool forward);
    void placeKeyPad();
    std::vector<Control*> focusChain() const;

    FormHost& runtime_;
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
    std::vector<PadKey*> padKeys_;
    QSize besideGrid_, belowGrid_;
    PadPlacement padPlacement_;
};

} // namespace ui
