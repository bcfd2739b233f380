// Reading a small file the user or another program may have replaced by anything: a FIFO, a
// directory, a device or a huge file is refused without waiting and without reading it.
#pragma once

#include <string>

enum class ReadOutcome { read, missing, refused };

// The whole content of a regular file of at most `limit` bytes. The path is checked before
// it is opened, and the opened file again, since it may have been replaced in between; a file
// that grows past `limit` while it is read is refused. UI thread (allocates).
ReadOutcome readSmallFile(const std::string& path, long limit, std::string& bytes);
