#pragma once

#include <array>

// The program's six pictures, drawn as SVG in the resources.
namespace pictures {
inline constexpr const char* icone = ":/pictures/kovrant.svg";
inline constexpr const char* arret = ":/pictures/arret.svg";
inline constexpr const char* fleche = ":/pictures/fleche.svg";
inline constexpr const char* main = ":/pictures/main.svg";
// Not `environ`: the C runtime of Windows defines that name as a macro.
inline constexpr const char* environ_egal = ":/pictures/environ.svg";
inline constexpr const char* courrier = ":/pictures/mail.svg";
inline constexpr std::array toutes{icone, arret, fleche, main, environ_egal, courrier};
} // namespace pictures
