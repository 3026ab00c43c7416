#pragma once

#include "form.h"

#include <algorithm>
#include <array>

// Builders that let a window's control table read like the layout it comes from, one row per control,
// columns in the same order: name, Left, Top, Width, Height, caption or picture, font, text colour,
// background, other settings.
namespace ui::layout {

enum Setting : unsigned {
    None = 0,
    Centred = 1u << 0,
    AutoSize = 1u << 1,
    Border = 1u << 2, // a flat single-line border
    Hidden = 1u << 3,
};
constexpr Setting operator|(Setting a, Setting b) {
    return Setting(unsigned(a) | unsigned(b));
}

struct Background {
    base::Colour colour;
    bool transparent;
};
constexpr Background opaque(base::Colour c) {
    return {c, false};
}
constexpr Background transparent{base::colours::windowBackground, true};

constexpr FontSpec font(const char* name, double size) {
    return {name, size, false, false, false};
}
constexpr FontSpec bold(const char* name, double size) {
    return {name, size, true, false, false};
}

constexpr ControlSpec label(const char* name, int left, int top, int width, int height, const char* caption,
                            FontSpec font, base::Colour fore, Background back, Setting settings = None) {
    ControlSpec s{ControlKind::Label, name, left, top, width, height};
    s.caption = caption;
    s.font = font;
    s.fore = fore;
    s.back = back.colour;
    s.transparent = back.transparent;
    s.centred = (settings & Centred) != 0;
    s.autoSize = (settings & AutoSize) != 0;
    s.border = (settings & Border) != 0;
    s.hidden = (settings & Hidden) != 0;
    return s;
}

constexpr ControlSpec image(const char* name, int left, int top, int width, int height, const char* picture,
                            Setting settings = None) {
    ControlSpec s{ControlKind::Image, name, left, top, width, height};
    s.caption = picture;
    s.hidden = (settings & Hidden) != 0;
    return s;
}

constexpr ControlSpec pictureBox(const char* name, int left, int top, int width, int height,
                                 const char* picture, base::Colour back) {
    ControlSpec s{ControlKind::PictureBox, name, left, top, width, height};
    s.caption = picture;
    s.back = back;
    return s;
}

// A line to type in, `length` characters at most, in a box of its text colour.
constexpr ControlSpec textField(const char* name, int left, int top, int width, int height, int length,
                                FontSpec font, base::Colour fore, base::Colour back) {
    ControlSpec s{ControlKind::TextField, name, left, top, width, height};
    s.index = length;
    s.font = font;
    s.fore = fore;
    s.back = back;
    return s;
}

struct Pointer {
    const char* picture;
    QPoint hotSpot;
};

constexpr ControlSpec checkBox(const char* name, int index, int left, int top, int width, int height,
                               const char* caption, FontSpec font, base::Colour fore, base::Colour back,
                               Pointer pointer) {
    ControlSpec s{ControlKind::CheckBox, name, left, top, width, height};
    s.index = index;
    s.caption = caption;
    s.font = font;
    s.fore = fore;
    s.back = back;
    s.cursor = pointer.picture;
    s.hotSpot = pointer.hotSpot;
    return s;
}

constexpr ControlSpec roundedFrame(const char* name, int left, int top, int width, int height,
                                   base::Colour fill, base::Colour border, int borderWidthPixels) {
    ControlSpec s{ControlKind::Shape, name, left, top, width, height};
    s.back = fill;
    s.fore = border;
    s.borderWidth = borderWidthPixels;
    s.rounded = true;
    return s;
}

// Rows written out in a window's table, as one part of it.
template <std::size_t N> constexpr std::array<ControlSpec, N> table(const ControlSpec (&rows)[N]) {
    return std::to_array(rows);
}

// A window's control table put together from parts, in order: for rows that several windows share.
template <std::size_t... N> constexpr auto rows(const std::array<ControlSpec, N>&... parts) {
    std::array<ControlSpec, (N + ...)> all{};
    auto next = all.begin();
    ((next = std::copy(parts.begin(), parts.end(), next)), ...);
    return all;
}

} // namespace ui::layout
