#include "runtime_error.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <cstdio>
#include <cstdlib>

namespace ui {

namespace {

bool hasRealScreen() {
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
        return false;
    }
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

} // namespace

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

void stopProgram(const RuntimeErrorException& error) {
    const QString text = QString::fromStdString(error.what());
    std::fprintf(stderr, "Les Kovrant : %s\n", text.toLocal8Bit().constData());
    std::fflush(stderr);
    if (hasRealScreen()) {
        QMessageBox::critical(nullptr, QStringLiteral("Les Kovrant"), text);
    }
    // Not exit(): destructors would tear down windows while a handler is still on the stack.
    std::_Exit(EXIT_FAILURE);
}

} // namespace ui
