#include "arret_propre.h"

#include "boites_message.h"

#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int tube[2] = {-1, -1};
constexpr int signaux[] = {SIGTERM, SIGINT, SIGHUP};

// Only async-signal-safe work here: one byte into the pipe wakes the event loop.
void gestionnaire(int) {
    const char octet = 1;
    [[maybe_unused]] const ssize_t n = ::write(tube[1], &octet, 1);
}

} // namespace

arret_propre::arret_propre(QObject* parent) : QObject(parent) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, tube) == 0) {
        notificateur_ = new QSocketNotifier(tube[0], QSocketNotifier::Read, this);
        connect(notificateur_, &QSocketNotifier::activated, this, [this] {
            char octets[16];
            while (::read(tube[0], octets, sizeof octets) > 0) {
            }
            arrete();
        });
        struct sigaction action {};
        action.sa_handler = gestionnaire;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        for (int s : signaux) {
            ::sigaction(s, &action, nullptr);
        }
    }
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager&) { arrete(); });
}

arret_propre::~arret_propre() {
    for (int s : signaux) {
        std::signal(s, SIG_DFL);
    }
    for (int& fd : tube) {
        if (fd >= 0) {
            ::close(fd);
            fd = -1;
        }
    }
}

void arret_propre::arrete() {
    // A second signal while the shutdown runs ends the process at once.
    for (int s : signaux) {
        std::signal(s, SIG_DFL);
    }
    messages_sans_surveillance();
    // Ends every running event loop, the nested ones of dialogs and message boxes included.
    QCoreApplication::exit(0);
}
