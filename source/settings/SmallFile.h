// Reading a small file the user or another program may have replaced by anything: a FIFO, a
// directory, a device or a huge file is refused without waiting and without reading it. Writing
// one whole, so that a reader sees the old content or the new, never a part.
#pragma once

#include <string>

enum class ReadOutcome { read, missing, refused };

// The whole content of a regular file of at most `limit` bytes. The path is checked before
// it is opened, and the opened file again, since it may have been replaced in between; a file
// that grows past `limit` while it is read is refused. UI thread (allocates).
ReadOutcome readSmallFile(const std::string& path, long limit, std::string& bytes);

// Writes `bytes` to a new file beside the one `path` names and renames it over that file, which
// keeps its permissions. A symbolic link at `path` (and a chain of them) stays: the file it leads
// to is replaced, created when it is missing but its folder is there. False, with nothing
// changed, when no file could be written, or the chain is a loop or too long. UI thread.
bool replaceSmallFile(const std::string& path, const std::string& bytes);
