#pragma once

#include <QStringView>
#include <optional>

namespace exercise {

// How long a question waits for its answer before the clock judges it: a whole number of seconds from
// 30 to 300, or no limit at all. The adult chooses it before the game starts; 30 is the game as designed.
class TempsAccorde {
public:
    static constexpr int parDefaut = 30;
    static constexpr int minimum = 30;
    static constexpr int maximum = 300;

    constexpr TempsAccorde() = default;
    // A whole number of seconds; nullopt outside 30 to 300.
    static constexpr std::optional<TempsAccorde> enSecondes(int secondes) {
        if (secondes < minimum || secondes > maximum) {
            return std::nullopt;
        }
        return TempsAccorde(secondes);
    }
    static constexpr TempsAccorde sansLimite() { return TempsAccorde(0); }

    constexpr bool illimite() const { return secondes_ == 0; }
    // The seconds allowed; meaningless without a limit.
    constexpr int secondes() const { return secondes_; }
    constexpr bool operator==(const TempsAccorde&) const = default;

    // Reads the value as an adult writes it, on the command line or in the settings: "40", "aucune".
    // Anything else (out of range, a fraction, a word) gives nullopt.
    static std::optional<TempsAccorde> lire(QStringView texte);
    // What `lire` accepts, in words, for the one line that answers a bad value.
    static const char* valeursAcceptees();

private:
    constexpr explicit TempsAccorde(int secondes) : secondes_(secondes) {}
    int secondes_ = parDefaut;
};

} // namespace exercise
