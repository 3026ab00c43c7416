#pragma once

// The program's six pictures, drawn as SVG in the resources.
namespace pictures {
constexpr const char* icone = ":/pictures/kovrant.svg";
constexpr const char* arret = ":/pictures/arret.svg";
constexpr const char* fleche = ":/pictures/fleche.svg";
constexpr const char* main = ":/pictures/main.svg";
constexpr const char* environ = ":/pictures/environ.svg";
constexpr const char* courrier = ":/pictures/mail.svg";
} // namespace pictures
