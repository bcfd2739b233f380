// The editor tests run as a JUCE GUI program: with an application factory set, JUCE installs
// its X error handlers, so that an error the embedding provokes (a window already gone) is
// ignored as in any JUCE host, not fatal as under Xlib's default handler. They run on an X
// server of their own: they move its one pointer and read its screen, where another program's
// window could take the click or cover the picture.

#include <juce_events/juce_events.h>

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Xvfb, set as DISPLAY; without one the tests keep the DISPLAY they were given (or skip).
class PrivateXServer : public ::testing::Environment {
public:
    void SetUp() override
    {
        int pipeEnds[2];
        if (pipe(pipeEnds) != 0)
            return;
        // Large enough for RACK at 200 % (1720 x 600) and LEGACY at 200 % (1200 x 800).
        const std::string displayFd = std::to_string(pipeEnds[1]);
        const char* arguments[] = {"Xvfb", "-displayfd", displayFd.c_str(), "-screen", "0", "1920x1200x24", nullptr};
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        if (posix_spawnp(&server, "Xvfb", &actions, nullptr, const_cast<char* const*>(arguments), environ) != 0)
            server = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(pipeEnds[1]);
        // Once it listens, the server writes its display number.
        std::string display;
        pollfd ready{pipeEnds[0], POLLIN, 0};
        for (char digit = 0; server > 0 && poll(&ready, 1, 10000) == 1 && read(pipeEnds[0], &digit, 1) == 1
                             && digit != '\n';)
            display += digit;
        close(pipeEnds[0]);
        if (display.empty())
            TearDown();
        else
            setenv("DISPLAY", (":" + display).c_str(), 1);
    }
    void TearDown() override
    {
        if (server > 0)
            kill(server, SIGTERM);
        while (server > 0 && waitpid(server, nullptr, 0) < 0 && errno == EINTR) {
        }
        server = -1;
    }

private:
    pid_t server = -1;
};

// Never called: gtest runs the tests, not JUCE's application loop.
juce::JUCEApplicationBase* noApplication() { return nullptr; }

}  // namespace

int main(int argc, char** argv)
{
    juce::JUCEApplicationBase::createInstance = &noApplication;
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new PrivateXServer);
    return RUN_ALL_TESTS();
}
