#pragma once

#include "colour.h"
#include "controls.h"
#include "keyboard.h"

#include <QFont>
#include <QPoint>
#include <QRectF>
#include <QSize>
#include <QSizeF>
#include <span>

namespace ui {

// One key of an on-screen pad: what it shows, what a screen reader calls it, the key it types, and its
// place (column, row) in the pad's grid when the pad stands beside the scene and when it lies below.
struct PadKeySpec {
    const char* caption;
    const char* name; // for screen readers
    ClassicKey key;
    QPoint beside;
    QPoint below;
};

// A pad of big keys that a finger or a whiteboard's pen can hit, for a window whose game is played
// with keys. Each key types its key exactly as the keyboard types it.
struct KeyPadSpec {
    std::span<const PadKeySpec> keys;
    FontSpec font;
    base::Colour fore, back, border;
};

// A key of the pad. It is a control of the window, placed outside the scene, beside or below it, and
// moved there again whenever the window's size changes.
class PadKey : public Control {
public:
    struct Look {
        QFont font;
        QColor fore, back, border;
    };
    PadKey(ControlHost& host, const PadKeySpec& spec, Look look);

    const ClassicKey& key() const { return key_; }
    const QString& caption() const { return caption_; }
    QPoint cell(bool beside) const { return beside ? beside_ : below_; }
    // Where the key goes now, in twips of the scene (outside its box).
    void place(QRect twips) { setGeometry(twips); }
    // Held down by the mouse or a finger, drawn pushed in.
    void setDown(bool down);

    void paint(QPainter& painter) const override;
    // On a window that reads its keys, Enter stays the window's key: it confirms what the pad keyed.
    bool keepsEnterForWindow() const override { return true; }

private:
    ClassicKey key_;
    QString caption_;
    QPoint beside_, below_;
    Look look_;
    bool down_ = false;
};

// Where the scene and a pad go in a window: the pad beside the scene or below it, whichever leaves the
// scene larger, with keys at least `minimumKey` wide where the window has room for them, and as large
// as the window allows where it has not. Widget coordinates.
struct PadPlacement {
    bool beside = true;
    QRectF scene; // the area the scene is fitted into, keeping its proportions
    QRectF pad;   // the keys' grid, centred in what the scene leaves
    qreal key = 0;
    qreal gap = 0;
};
PadPlacement placePad(QSizeF window, QSizeF scene, qreal minimumKey, QSize besideGrid, QSize belowGrid);

// The size of one key of a physical screen: 1.5 cm, at `dotsPerInch` logical pixels to the inch.
qreal smallestKeyFor(qreal dotsPerInch);

} // namespace ui
