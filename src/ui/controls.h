#pragma once

#include "colour.h"
#include "fonts.h"

#include <QAccessible>
#include <QCursor>
#include <QFont>
#include <QRect>
#include <QRectF>
#include <QString>
#include <functional>
#include <optional>

class QPainter;
class QWidget;

namespace ui {

class Control;
class Picture;

// What a control needs from the window that holds it.
class ControlHost {
public:
    // A scene-pixel rectangle whose look changed.
    virtual void controlChanged(const QRectF& scene) = 0;
    virtual QWidget* styleWidget() = 0;
    // Something a screen reader may want to hear of: a new caption, a shown or hidden control, a tick, the
    // keyboard focus.
    virtual void controlAccessibleChange(const Control& /*control*/, QAccessible::Event /*what*/) {}
    // Whether the keyboard focus is drawn: only once the player has used the keyboard.
    virtual bool focusMarkShown() const = 0;

protected:
    ~ControlHost() = default;
};

// A control of a window: positioned and sized in twips from the client area's top-left, painted by the
// window above its drawing. Controls are light objects, not widgets, so that the whole scene scales as
// one and renders into an image by the same code that paints it.
class Control {
public:
    Control(ControlHost& host, QString name, QRect twips);
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const QString& name() const { return name_; }
    int left() const { return twips_.left(); }
    int top() const { return twips_.top(); }
    int width() const { return twips_.width(); }
    int height() const { return twips_.height(); }
    QRect twips() const { return twips_; }
    void setLeft(int twips);
    bool isVisible() const { return visible_; }
    void setVisible(bool visible);

    // The control's box in scene pixels (15 twips each).
    QRectF sceneRect() const;

    virtual void paint(QPainter& painter) const = 0;
    // Whether the control takes the mouse at all (a frame shape lets clicks through).
    virtual bool takesMouse() const { return true; }
    virtual std::optional<QCursor> cursor() const { return std::nullopt; }
    // A click inside the control; `scenePos` is in scene pixels.
    virtual void click() {
        if (onClick) {
            onClick();
        }
    }

    // The keyboard focus: the controls whose tab index is above 0 take it, in the order of their indexes.
    int tabIndex() const { return tabIndex_; }
    void setTabIndex(int index) { tabIndex_ = index; }
    bool hasFocus() const { return focus_; }
    void setFocus(bool focus);
    // Whether Enter, while the control has the focus, stays the window's key rather than clicking it.
    virtual bool keepsEnterForWindow() const { return false; }
    // Whether the control draws the mark of the keyboard focus now.
    bool showsFocusMark() const { return focus_ && host_.focusMarkShown(); }

    std::function<void()> onClick;
    // What a screen reader calls the control, when its caption does not say it or says it badly; asked
    // only while one listens.
    std::function<QString()> accessibleName;

protected:
    void setGeometry(QRect twips);
    void changed() { host_.controlChanged(sceneRect()); }
    ControlHost& host_;

private:
    QString name_;
    QRect twips_;
    bool visible_ = true;
    bool focus_ = false;
    int tabIndex_ = 0;
};

enum class Align { Left, Centre };

class Label : public Control {
public:
    struct Look {
        QFont font;
        QColor fore;
        QColor back;
        bool transparent = false;
        Align align = Align::Left;
        bool autoSize = false;
        bool border = false;
    };
    Label(ControlHost& host, QString name, QRect twips, QString caption, Look look);

    const QString& caption() const { return caption_; }
    void setCaption(const QString& caption);
    const QFont& font() const { return look_.font; }
    // The caption's size in points, the face unchanged: for a caption that outgrows its designed box.
    void setFontSize(double points);
    // The text's colour and the box's, for a label whose colour says something (a ring's).
    void setColours(const QColor& fore, const QColor& back);

    void paint(QPainter& painter) const override;

private:
    void fitToCaption();

    QString caption_;
    Look look_;
};

// An image shows its picture from its top-left corner; a picture box also paints its background.
class Image : public Control {
public:
    Image(ControlHost& host, QString name, QRect twips, const Picture& picture,
          std::optional<QColor> back = {});
    void paint(QPainter& painter) const override;
    const Picture& picture() const { return picture_; }

private:
    const Picture& picture_;
    std::optional<QColor> back_;
};

class CheckBox : public Control {
public:
    CheckBox(ControlHost& host, QString name, int index, QRect twips, QString caption, Label::Look look,
             std::optional<QCursor> cursor);

    int index() const { return index_; }
    bool isChecked() const { return checked_; }
    void setChecked(bool checked);
    void setHovered(bool hovered);
    const QString& caption() const { return caption_; }
    // A box someone else ticked: shown as it stands, it takes no click and no keyboard focus.
    bool isLocked() const { return locked_; }
    void setLocked(bool locked);

    // A click or the space bar: the mark flips, then the array's handler hears the index.
    void click() override;
    std::function<void(int)> onIndexedClick;

    void paint(QPainter& painter) const override;
    std::optional<QCursor> cursor() const override { return locked_ ? std::nullopt : cursor_; }
    bool keepsEnterForWindow() const override { return true; }

private:
    int index_;
    QString caption_;
    Label::Look look_;
    std::optional<QCursor> cursor_;
    bool checked_ = false;
    bool hovered_ = false;
    bool locked_ = false;
    int unlockedTabIndex_ = 0;
};

// A line the player types in (a first name): it takes printable characters and Backspace while it has
// the keyboard focus, up to `maxLength` characters. Enter, Escape and Tab stay the window's.
class TextField : public Control {
public:
    TextField(ControlHost& host, QString name, QRect twips, Label::Look look, int maxLength);

    const QString& text() const { return text_; }
    // The text before the last change, for screen readers to hear what changed.
    const QString& previousText() const { return previous_; }
    void setText(const QString& text);
    // A key typed while the field has the focus: true when the field took it.
    bool type(int key, const QString& typed);
    std::function<void()> onChange;

    void paint(QPainter& painter) const override;

private:
    Label::Look look_;
    int maxLength_;
    QString text_;
    QString previous_;
};

class Shape : public Control {
public:
    struct Look {
        QColor fill;
        QColor border;
        int borderWidth = 1; // pixels
        bool rounded = false;
    };
    Shape(ControlHost& host, QString name, QRect twips, Look look);
    void paint(QPainter& painter) const override;
    bool takesMouse() const override { return false; }

private:
    Look look_;
};

} // namespace ui
