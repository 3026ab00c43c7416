#include "controls.h"

#include "picture.h"
#include "units.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>
#include <algorithm>
#include <cmath>

namespace ui {

namespace {

constexpr qreal twipsPerPixel = units::twipsPerPixel;

// The box as it lands on the device's pixels, each edge moved to the nearest pixel boundary: the clip,
// the fill and a one-pixel border then agree on which pixels are the box's, at any scale. Left
// fractional, an edge can fall between two pixels and be clipped away.
QRectF onDevicePixels(const QPainter& painter, const QRectF& box) {
    const QTransform device = painter.deviceTransform();
    if (device.isRotating() || !device.isInvertible()) {
        return box;
    }
    const QRectF mapped = device.mapRect(box);
    const QRectF snapped(QPointF(std::round(mapped.left()), std::round(mapped.top())),
                         QPointF(std::round(mapped.right()), std::round(mapped.bottom())));
    return device.inverted().mapRect(snapped);
}

// The keyboard focus shows as a rectangle two device pixels wide at any scale, dark enough to stand out
// three times over from the white it is drawn on.
void paintFocusMark(QPainter& painter, const QRectF& around, const QColor& colour) {
    const qreal px = 1.0 / std::max(painter.deviceTransform().m11(), 0.01);
    QPen pen(colour, 2.0);
    pen.setCosmetic(true);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(around.adjusted(px, px, -px, -px));
    painter.restore();
}

} // namespace

Control::Control(ControlHost& host, QString name, QRect twips)
    : host_(host), name_(std::move(name)), twips_(twips) {}

QRectF Control::sceneRect() const {
    return QRectF(twips_.left() / twipsPerPixel, twips_.top() / twipsPerPixel, twips_.width() / twipsPerPixel,
                  twips_.height() / twipsPerPixel);
}

void Control::setLeft(int twips) {
    setGeometry(QRect(twips, twips_.top(), twips_.width(), twips_.height()));
}

void Control::setGeometry(QRect twips) {
    if (twips == twips_) {
        return;
    }
    changed();
    twips_ = twips;
    changed();
}

void Control::setVisible(bool visible) {
    if (visible != visible_) {
        visible_ = visible;
        changed();
        host_.controlAccessibleChange(*this, visible ? QAccessible::ObjectShow : QAccessible::ObjectHide);
    }
}

void Control::setFocus(bool focus) {
    if (focus != focus_) {
        focus_ = focus;
        changed();
        if (focus) {
            host_.controlAccessibleChange(*this, QAccessible::Focus);
        }
    }
}

Label::Label(ControlHost& host, QString name, QRect twips, QString caption, Look look)
    : Control(host, std::move(name), twips), caption_(std::move(caption)), look_(std::move(look)) {
    fitToCaption();
}

void Label::setCaption(const QString& caption) {
    if (caption == caption_) {
        return;
    }
    caption_ = caption;
    changed();
    fitToCaption();
    changed();
    host_.controlAccessibleChange(*this, QAccessible::NameChanged);
}

void Label::setFontSize(double points) {
    changed();
    Fonts::setSize(look_.font, points);
    fitToCaption();
    changed();
}

void Label::fitToCaption() {
    if (!look_.autoSize) {
        return;
    }
    // Grows right and down from the fixed top-left, like the runtime's auto-sizing labels.
    const QFontMetricsF metrics(look_.font);
    const qreal border = look_.border ? 2.0 : 0.0;
    const int w = int(std::ceil((metrics.horizontalAdvance(caption_) + border) * twipsPerPixel));
    const int h = int(std::ceil((metrics.height() + border) * twipsPerPixel));
    setGeometry(QRect(left(), top(), w, h));
}

void Label::setColours(const QColor& fore, const QColor& back) {
    if (fore != look_.fore || back != look_.back) {
        look_.fore = fore;
        look_.back = back;
        changed();
    }
}

void Label::paint(QPainter& painter) const {
    const QRectF box = onDevicePixels(painter, sceneRect());
    painter.save();
    painter.setClipRect(box);
    if (!look_.transparent) {
        painter.fillRect(box, look_.back);
    }
    QRectF textBox = box;
    if (look_.border) {
        // One pixel of the scene, never less than one of the device, on whole device pixels.
        const QTransform device = painter.deviceTransform();
        const qreal w = std::max(1.0, std::round(device.m11())) / device.m11();
        const qreal h = std::max(1.0, std::round(device.m22())) / device.m22();
        painter.fillRect(QRectF(box.left(), box.top(), box.width(), h), Qt::black);
        painter.fillRect(QRectF(box.left(), box.bottom() - h, box.width(), h), Qt::black);
        painter.fillRect(QRectF(box.left(), box.top(), w, box.height()), Qt::black);
        painter.fillRect(QRectF(box.right() - w, box.top(), w, box.height()), Qt::black);
        textBox = box.adjusted(w, h, -w, -h);
    }
    // The substitute fonts stand a little taller than the design's: descenders may overhang the box
    // rather than be cut off.
    painter.setClipRect(box.adjusted(0, 0, 0, QFontMetricsF(look_.font).descent()));
    painter.setFont(look_.font);
    painter.setPen(look_.fore);
    const int alignment =
        Qt::AlignTop | Qt::TextSingleLine | (look_.align == Align::Centre ? Qt::AlignHCenter : Qt::AlignLeft);
    painter.drawText(textBox, alignment | Qt::TextDontClip, caption_);
    painter.restore();
}

TextField::TextField(ControlHost& host, QString name, QRect twips, Label::Look look, int maxLength)
    : Control(host, std::move(name), twips), look_(std::move(look)), maxLength_(maxLength) {}

void TextField::setText(const QString& text) {
    const QString kept = text.left(maxLength_);
    if (kept == text_) {
        return;
    }
    previous_ = text_;
    text_ = kept;
    changed();
    host_.controlAccessibleChange(*this, QAccessible::TextUpdated);
    if (onChange) {
        onChange();
    }
}

bool TextField::type(int key, const QString& typed) {
    if (key == Qt::Key_Backspace) {
        setText(text_.left(text_.size() - 1));
        return true;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape || key == Qt::Key_Tab ||
        key == Qt::Key_Backtab) {
        return false;
    }
    // Letters of any alphabet, and what joins them in a name: a hyphen, an apostrophe, a blank.
    const bool printable = !typed.isEmpty() && std::all_of(typed.begin(), typed.end(), [](QChar c) {
        return c.isLetterOrNumber() || c.isMark() || c == u'-' || c == u'\'' || c == u' ' || c == u'’';
    });
    if (printable) {
        setText(text_ + typed);
    }
    // A field with the focus keeps every other key too: a letter must not also be a window's shortcut.
    return true;
}

void TextField::paint(QPainter& painter) const {
    const QRectF box = onDevicePixels(painter, sceneRect());
    painter.save();
    painter.setClipRect(box);
    painter.fillRect(box, look_.back);
    const QTransform device = painter.deviceTransform();
    const qreal w = std::max(1.0, std::round(device.m11())) / device.m11();
    const qreal h = std::max(1.0, std::round(device.m22())) / device.m22();
    painter.fillRect(QRectF(box.left(), box.top(), box.width(), h), look_.fore);
    painter.fillRect(QRectF(box.left(), box.bottom() - h, box.width(), h), look_.fore);
    painter.fillRect(QRectF(box.left(), box.top(), w, box.height()), look_.fore);
    painter.fillRect(QRectF(box.right() - w, box.top(), w, box.height()), look_.fore);
    const QFontMetricsF metrics(look_.font);
    const qreal margin = metrics.averageCharWidth() / 2;
    const QRectF textBox = box.adjusted(margin, 0, -margin, 0);
    painter.setFont(look_.font);
    painter.setPen(look_.fore);
    painter.drawText(textBox, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine, text_);
    if (hasFocus()) {
        // The caret after the last letter, and the focus mark inside the border.
        const qreal x = textBox.left() + metrics.horizontalAdvance(text_) + w;
        const qreal top = box.center().y() - metrics.height() / 2;
        painter.fillRect(QRectF(x, top, 2 * w, metrics.height()), look_.fore);
        paintFocusMark(painter, box.adjusted(2 * w, 2 * h, -2 * w, -2 * h), look_.fore);
    }
    painter.restore();
}

Image::Image(ControlHost& host, QString name, QRect twips, const Picture& picture, std::optional<QColor> back)
    : Control(host, std::move(name), twips), picture_(picture), back_(std::move(back)) {}

void Image::paint(QPainter& painter) const {
    const QRectF box = sceneRect();
    painter.save();
    painter.setClipRect(box);
    if (back_) {
        painter.fillRect(box, *back_);
    }
    picture_.paint(painter, box.topLeft());
    if (showsFocusMark()) {
        paintFocusMark(painter, box, Qt::black);
    }
    painter.restore();
}

CheckBox::CheckBox(ControlHost& host, QString name, int index, QRect twips, QString caption, Label::Look look,
                   std::optional<QCursor> cursor)
    : Control(host, std::move(name), twips), index_(index), caption_(std::move(caption)),
      look_(std::move(look)), cursor_(std::move(cursor)) {}

void CheckBox::setChecked(bool checked) {
    if (checked != checked_) {
        checked_ = checked;
        changed();
        host_.controlAccessibleChange(*this, QAccessible::StateChanged);
    }
}

void CheckBox::setHovered(bool hovered) {
    if (hovered != hovered_) {
        hovered_ = hovered;
        changed();
    }
}

void CheckBox::setLocked(bool locked) {
    if (locked == locked_) {
        return;
    }
    locked_ = locked;
    if (locked) {
        unlockedTabIndex_ = tabIndex();
        setTabIndex(0);
        setFocus(false);
    } else {
        setTabIndex(unlockedTabIndex_);
    }
    host_.controlAccessibleChange(*this, QAccessible::StateChanged);
}

void CheckBox::click() {
    if (locked_) {
        return;
    }
    setChecked(!checked_);
    if (onIndexedClick) {
        onIndexedClick(index_);
    }
}

void CheckBox::paint(QPainter& painter) const {
    const QRectF box = sceneRect();
    painter.save();
    painter.setClipRect(box);
    if (!look_.transparent) {
        painter.fillRect(box, look_.back);
    }
    QStyleOptionButton option;
    QWidget* widget = host_.styleWidget();
    option.initFrom(widget);
    // The boxes share their window: as a style object it would let a style's state animations (the
    // Windows one fades a tick in and out) take one box's state for another's.
    option.styleObject = nullptr;
    option.rect = box.toRect();
    option.text = caption_;
    option.fontMetrics = QFontMetrics(look_.font);
    option.state =
        QStyle::State_Enabled | QStyle::State_Active | (checked_ ? QStyle::State_On : QStyle::State_Off);
    if (hovered_ && !locked_) {
        option.state |= QStyle::State_MouseOver;
    }
    option.palette.setColor(QPalette::WindowText, look_.fore);
    option.palette.setColor(QPalette::ButtonText, look_.fore);
    option.palette.setColor(QPalette::Window, look_.back);
    option.palette.setColor(QPalette::Base, Qt::white);
    painter.setFont(look_.font);
    QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_CheckBox, &option, &painter, widget);
    if (showsFocusMark()) {
        // Around the caption, in the caption's colour, rather than the style's own faint mark.
        const QRectF text = style->subElementRect(QStyle::SE_CheckBoxContents, &option, widget);
        const qreal width = QFontMetricsF(look_.font).horizontalAdvance(caption_);
        paintFocusMark(painter,
                       QRectF(text.left() - 2, box.top(), std::min(width + 5, box.right() - text.left() + 2),
                              box.height()),
                       look_.fore);
    }
    painter.restore();
}

Shape::Shape(ControlHost& host, QString name, QRect twips, Look look)
    : Control(host, std::move(name), twips), look_(std::move(look)) {}

void Shape::paint(QPainter& painter) const {
    const qreal w = look_.borderWidth;
    const QRectF box = sceneRect().adjusted(w / 2, w / 2, -w / 2, -w / 2);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, look_.rounded);
    painter.setPen(QPen(look_.border, w));
    painter.setBrush(look_.fill);
    if (look_.rounded) {
        // The runtime rounds a frame's corners by a tenth of its shorter side.
        const qreal radius = std::min(box.width(), box.height()) / 10.0;
        painter.drawRoundedRect(box, radius, radius);
    } else {
        painter.drawRect(box);
    }
    painter.restore();
}

} // namespace ui
