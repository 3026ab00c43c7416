#pragma once

#include "ui/form.h"
#include "ui/runtime.h"

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QTest>
#include <cstdint>

// What every test of the game shares: a clean program state, runtime errors that throw instead of
// stopping the process, and ways to drive and look at a window without a screen.
namespace testsupport {

// Unloads every window, empties the shared variables, injects `seed` for every reseed of the random
// source, and records the end of the program instead of leaving the event loop.
void resetProgram(std::uint32_t seed = 1);

// Whether the program has ended since the last reset.
bool programEnded();

// The colour a scene render shows at a point of the window's drawing units (points on the game's two
// big windows), at `scale` device pixels per scene pixel.
QColor colourAtUnits(const QImage& render, QPointF units, qreal scale = 1.0, qreal twipsPerUnit = 20.0);
// The same at a point given in twips.
QColor colourAtTwips(const QImage& render, QPointF twips, qreal scale = 1.0);

// A key as a player types it on the window: key-down, then the character it types, if any.
void typeKey(ui::Form& form, Qt::Key key, const QString& text = QString());
void typeText(ui::Form& form, const QString& text);
// A left click at a point of the scene given in twips, as the window currently maps it.
void clickAtTwips(ui::Form& form, QPointF twips);
// A click in the middle of a named control.
void clickControl(ui::Form& form, QStringView name, int index = 0);

} // namespace testsupport
