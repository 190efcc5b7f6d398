#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <xcb/xcb.h>

// Starts a program on the X display and prints two numbers: the milliseconds from its start to the mapping
// of its first top-level window, and its resident memory in KiB once the window has been up for half a
// second. Then stops it with SIGTERM. The display must show nothing else.
//   kalvo-mesure-demarrage PROGRAM [ARGUMENTS...]

namespace {

long memoire_residente_ko(pid_t pid) {
    std::ifstream etat("/proc/" + std::to_string(pid) + "/status");
    for (std::string ligne; std::getline(etat, ligne);) {
        if (ligne.rfind("VmRSS:", 0) == 0) {
            return std::stol(ligne.substr(6));
        }
    }
    return -1;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s PROGRAM [ARGUMENTS...]\n", argv[0]);
        return 2;
    }
    xcb_connection_t* x = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(x) != 0) {
        std::fprintf(stderr, "no X display\n");
        return 2;
    }
    // Told of every window mapped on the root, from before the program starts.
    const xcb_window_t racine = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
    const std::uint32_t masque = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(x, racine, XCB_CW_EVENT_MASK, &masque);
    std::free(xcb_get_input_focus_reply(x, xcb_get_input_focus(x), nullptr)); // a round trip: it is in force

    const auto debut = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execv(argv[1], argv + 1);
        _exit(127);
    }
    bool montree = false;
    while (xcb_generic_event_t* evenement = xcb_wait_for_event(x)) {
        montree = (evenement->response_type & 0x7F) == XCB_MAP_NOTIFY;
        std::free(evenement);
        if (montree) {
            break;
        }
    }
    const std::chrono::duration<double, std::milli> duree = std::chrono::steady_clock::now() - debut;
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const long memoire = memoire_residente_ko(pid);
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    xcb_disconnect(x);
    if (!montree) {
        return 1;
    }
    std::printf("%.1f %ld\n", duree.count(), memoire);
    return 0;
}
