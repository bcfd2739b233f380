#include "editor/private_x_server.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace probe::testing {

namespace {

constexpr int startTimeoutMs = 10000;
// Large enough for RACK at 200 % (1720 x 600) and LEGACY at 200 % (1200 x 800) whole on screen.
constexpr const char* screenGeometry = "1920x1200x24";

// The display number the server writes once it listens, or an empty text.
std::string readDisplayNumber(int fd)
{
    std::string number;
    pollfd ready{fd, POLLIN, 0};
    char digit = 0;
    while (poll(&ready, 1, startTimeoutMs) == 1 && read(fd, &digit, 1) == 1 && digit != '\n')
        number += digit;
    return number;
}

}  // namespace

void PrivateXServer::SetUp()
{
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return;
    const std::string displayFd = std::to_string(pipeEnds[1]);
    const char* arguments[] = {"Xvfb", "-displayfd", displayFd.c_str(), "-screen", "0", screenGeometry, nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    const int spawned = posix_spawnp(&server, "Xvfb", &actions, nullptr, const_cast<char* const*>(arguments), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    const std::string display = spawned == 0 ? readDisplayNumber(pipeEnds[0]) : std::string();
    close(pipeEnds[0]);
    if (spawned != 0)
        server = -1;
    else if (display.empty())
        TearDown();
    else
        setenv("DISPLAY", (":" + display).c_str(), 1);
}

void PrivateXServer::TearDown()
{
    if (server <= 0)
        return;
    kill(server, SIGTERM);
    while (waitpid(server, nullptr, 0) < 0 && errno == EINTR) {
    }
    server = -1;
}

}  // namespace probe::testing
