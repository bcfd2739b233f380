#include "SmallFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <optional>

namespace {

bool isSmallRegularFile(const struct stat& info, long limit)
{
    return S_ISREG(info.st_mode) && info.st_size <= limit;
}

bool writeAll(int descriptor, const std::string& text)
{
    size_t written = 0;
    while (written < text.size()) {
        const ssize_t count = write(descriptor, text.data() + written, text.size() - written);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return false;
        written += size_t(count);
    }
    return true;
}

// A new file beside `path` that no other writer uses; -1 when none can be made.
int createTemporaryBeside(const std::string& path, std::string& temporary)
{
    static std::atomic<unsigned> serial{0};
    for (int attempt = 0; attempt < 16; ++attempt) {
        temporary = path + ".tmp" + std::to_string(getpid()) + "-" + std::to_string(serial++);
        const int descriptor = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor >= 0 || errno != EEXIST)
            return descriptor;
    }
    return -1;
}

// The path a chain of symbolic links leads to, or `path` when it is no link; a missing end is
// returned too, to be created. Nullopt for a loop, a chain longer than the kernel follows, or a
// link that cannot be read.
std::optional<std::string> followLinks(std::string path)
{
    constexpr int kMaxLinks = 40; // as the kernel resolves a path
    for (int link = 0; link <= kMaxLinks; ++link) {
        struct stat info {};
        if (lstat(path.c_str(), &info) != 0)
            return errno == ENOENT ? std::optional(path) : std::nullopt;
        if (!S_ISLNK(info.st_mode))
            return path;
        char target[PATH_MAX];
        const ssize_t length = readlink(path.c_str(), target, sizeof target);
        if (length <= 0 || size_t(length) == sizeof target)
            return std::nullopt;
        const std::string next(target, size_t(length));
        path = next.front() == '/' ? next : path.substr(0, path.rfind('/') + 1) + next; // relative to the link's folder
    }
    return std::nullopt;
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

bool replaceSmallFile(const std::string& path, const std::string& bytes)
{
    const std::optional<std::string> file = followLinks(path);
    std::string temporary;
    const int descriptor = file ? createTemporaryBeside(*file, temporary) : -1;
    if (descriptor < 0)
        return false;
    struct stat existing {};
    if (stat(file->c_str(), &existing) == 0)
        fchmod(descriptor, existing.st_mode & 07777);
    bool written = writeAll(descriptor, bytes) && fsync(descriptor) == 0;
    written = close(descriptor) == 0 && written;
    if (written && rename(temporary.c_str(), file->c_str()) == 0)
        return true;
    unlink(temporary.c_str());
    return false;
}
