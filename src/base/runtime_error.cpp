#include "runtime_error.h"

namespace base {

QString errorMessage(ErrorCode code) {
    switch (code) {
    case ErrorCode::InvalidCall:
        return QStringLiteral("Appel de procédure ou argument incorrect");
    case ErrorCode::Overflow:
        return QStringLiteral("Dépassement de capacité");
    case ErrorCode::SubscriptOutOfRange:
        return QStringLiteral("L'indice n'appartient pas à la sélection");
    case ErrorCode::DivisionByZero:
        return QStringLiteral("Division par zéro");
    }
    return QStringLiteral("Erreur inconnue");
}

void runtimeError(ErrorCode code) {
    runtimeError(code, QString());
}

void runtimeError(ErrorCode code, const QString& detail) {
    QString text =
        QStringLiteral("Erreur d'exécution %1 : %2").arg(static_cast<int>(code)).arg(errorMessage(code));
    if (!detail.isEmpty()) {
        text += QStringLiteral(" (") + detail + QLatin1Char(')');
    }
    throw RuntimeErrorException(code, text);
}

} // namespace base
