#pragma once
// An owned POSIX file descriptor and the whole-buffer reads and writes the
// file operations share.

#include <string>
#include <string_view>
#include <unistd.h>

namespace bbx {

class TFileDescriptor {
public:
    explicit TFileDescriptor(int fd) : Fd(fd) {}
    TFileDescriptor(const TFileDescriptor&) = delete;
    TFileDescriptor& operator=(const TFileDescriptor&) = delete;
    ~TFileDescriptor() {
        if (Fd >= 0) ::close(Fd);
    }
    int Get() const { return Fd; }
    // Closes now so that a failing close (a delayed write error) is seen.
    int Close() {
        const int result = ::close(Fd);
        Fd = -1;
        return result;
    }

private:
    int Fd;
};

// Appends everything from the current offset to the end; false with errno
// set when a read fails.
bool ReadToEnd(int fd, std::string& out);

// Writes every byte at the current offset; false with errno set when a
// write fails.
bool WriteAll(int fd, std::string_view bytes);

}  // namespace bbx
