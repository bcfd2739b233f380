#include "SmallFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace {

bool isSmallRegularFile(const struct stat& info, long limit)
{
    return S_ISREG(info.st_mode) && info.st_size <= limit;
}

} // namespace

ReadOutcome readSmallFile(const std::string& path, long limit, std::string& bytes)
{
    bytes.clear();
    struct stat info {};
    if (stat(path.c_str(), &info) != 0)
        return errno == ENOENT ? ReadOutcome::missing : ReadOutcome::refused;
    if (!isSmallRegularFile(info, limit))
        return ReadOutcome::refused;
    // Without blocking: a FIFO put in the file's place never waits for a writer.
    const int descriptor = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (descriptor < 0)
        return errno == ENOENT ? ReadOutcome::missing : ReadOutcome::refused;
    bool complete = fstat(descriptor, &info) == 0 && isSmallRegularFile(info, limit);
    char buffer[4096];
    while (complete) {
        const ssize_t count = read(descriptor, buffer, sizeof buffer);
        if (count == 0)
            break;
        if (count < 0 && errno == EINTR)
            continue;
        complete = count > 0 && long(bytes.size()) + count <= limit; // it may have grown meanwhile
        if (complete)
            bytes.append(buffer, size_t(count));
    }
    close(descriptor);
    if (!complete)
        bytes.clear();
    return complete ? ReadOutcome::read : ReadOutcome::refused;
}
