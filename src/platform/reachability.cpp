#include "platform/reachability.h"

#include <QCoreApplication>
#include <QDebug>
#include <QNetworkInformation>

namespace lumigrave {

namespace {

std::optional<bool> forced;

// The environment's answer, if it gives a valid one. A value it does not know is logged
// once and ignored.
std::optional<bool> environmentAnswer() {
    const QByteArray value = qgetenv("LUMIGRAVE_FORCE_NETWORK").trimmed().toLower();
    if (value.isEmpty()) {
        return std::nullopt;
    }
    if (value == "online") {
        return true;
    }
    if (value == "offline") {
        return false;
    }
    static QByteArray reported;
    if (value != reported) {
        reported = value;
        qWarning().noquote() << "LUMIGRAVE_FORCE_NETWORK is" << QString::fromLocal8Bit(value)
                             << "and not online or offline; it is ignored";
    }
    return std::nullopt;
}

// The system's network information, loaded on first use. The default backend needs
// NetworkManager; asking for the feature takes whichever backend can report it.
QNetworkInformation* information() {
    static bool tried = false;
    if (!tried && QCoreApplication::instance()) {
        tried = true;
        if (!QNetworkInformation::loadBackendByFeatures(
                QNetworkInformation::Feature::Reachability)) {
            qInfo().noquote() << "No network information is available; the computer is taken "
                                 "as connected";
        }
    }
    return QNetworkInformation::instance();
}

}  // namespace

bool Reachability::connected() {
    if (forced) {
        return *forced;
    }
    if (const std::optional<bool> answer = environmentAnswer()) {
        return *answer;
    }
    const QNetworkInformation* network = information();
    return !network || network->reachability() != QNetworkInformation::Reachability::Disconnected;
}

void Reachability::setForcedConnected(std::optional<bool> connected) {
    forced = connected;
}

}  // namespace lumigrave
