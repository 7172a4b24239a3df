// Saving a file so that it stays the file it was: the same inode where
// replacing it would lose links, owner, group or attributes, and a backup
// copy whenever the old contents are overwritten in place.
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <string>
#include <string_view>
#include <unistd.h>
#include <utility>

#include "core/binary_io.h"
#include "core/code_page.h"
#include "core/errors.h"
#include "core/file_descriptor.h"
#include "core/program_directory.h"

namespace bbx {
namespace {

// As many links as the system itself follows before giving up.
constexpr int kMaxSymbolicLinks = 40;

std::string DirectoryOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string BaseName(const std::string& path) { return path.substr(path.rfind('/') + 1); }

bool MayWrite(const std::string& path) { return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0; }

// The file the path names once every symbolic link on its last component is
// followed; it need not exist (a dangling link names the file to create).
std::string FollowLinks(const std::string& path) {
    std::string current = path;
    for (int hop = 0; hop < kMaxSymbolicLinks; ++hop) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return current;
        char target[PATH_MAX];
        const ssize_t n = ::readlink(current.c_str(), target, sizeof target);
        if (n < 0) ThrowSystemError(errno, path);
        if (static_cast<std::size_t>(n) == sizeof target) ThrowSystemError(ENAMETOOLONG, path);
        const std::string next(target, static_cast<std::size_t>(n));
        current = next.front() == '/' ? next : DirectoryOf(current) + "/" + next;
    }
    ThrowSystemError(ELOOP, path);
}

mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Makes sure a new or renamed directory entry is on the disk too.
void SyncDirectory(const std::string& directory) {
    TFileDescriptor fd(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.Get() >= 0) ::fsync(fd.Get());
}

// Removes a file it was given unless told to keep it.
class TRemoveUnlessKept {
public:
    explicit TRemoveUnlessKept(std::string path) : Path(std::move(path)) {}
    TRemoveUnlessKept(const TRemoveUnlessKept&) = delete;
    TRemoveUnlessKept& operator=(const TRemoveUnlessKept&) = delete;
    ~TRemoveUnlessKept() {
        if (!Kept) ::unlink(Path.c_str());
    }
    void Keep() { Kept = true; }

private:
    std::string Path;
    bool Kept = false;
};

// Copies every extended attribute of the file (the access ACL is one) to fd;
// false when one of them cannot be read or set.
bool CopyAttributes(const std::string& from, int to) {
    ssize_t size = ::listxattr(from.c_str(), nullptr, 0);
    if (size < 0) return errno == ENOTSUP;  // a file system without them has none to keep
    std::string names(static_cast<std::size_t>(size), '\0');
    size = ::listxattr(from.c_str(), names.data(), names.size());
    if (size < 0) return false;
    names.resize(static_cast<std::size_t>(size));
    for (std::size_t at = 0, end; (end = names.find('\0', at)) != std::string::npos; at = end + 1) {
        const char* name = names.c_str() + at;
        ssize_t length = ::getxattr(from.c_str(), name, nullptr, 0);
        if (length < 0) return false;
        std::string value(static_cast<std::size_t>(length), '\0');
        length = ::getxattr(from.c_str(), name, value.data(), value.size());
        if (length < 0 || ::fsetxattr(to, name, value.data(), static_cast<std::size_t>(length), 0) != 0) return false;
    }
    return true;
}

// Writes a complete new file beside the target and renames it over it. With
// an old file, false (and nothing changed) when the new one could not carry
// its owner, group, mode or attributes.
bool Replace(const std::string& target, std::string_view bytes, const struct stat* old, const std::string& shown) {
    std::string temp = DirectoryOf(target) + "/." + BaseName(target) + ".XXXXXX";
    TFileDescriptor fd(::mkostemp(temp.data(), O_CLOEXEC));
    if (fd.Get() < 0) ThrowSystemError(errno, shown);
    TRemoveUnlessKept removeTemp(temp);
    if (old) {
        struct stat made {};
        if (::fstat(fd.Get(), &made) != 0) ThrowSystemError(errno, shown);
        if ((made.st_uid != old->st_uid || made.st_gid != old->st_gid) &&
            ::fchown(fd.Get(), old->st_uid, old->st_gid) != 0)
            return false;
        if (::fchmod(fd.Get(), old->st_mode & 07777) != 0 || !CopyAttributes(target, fd.Get())) return false;
    } else if (::fchmod(fd.Get(), NewFileMode()) != 0) {
        ThrowSystemError(errno, shown);
    }
    if (!WriteAll(fd.Get(), bytes) || ::fsync(fd.Get()) != 0 || fd.Close() != 0) ThrowSystemError(errno, shown);
    if (::rename(temp.c_str(), target.c_str()) != 0) ThrowSystemError(errno, shown);
    removeTemp.Keep();
    SyncDirectory(DirectoryOf(target));
    return true;
}

// The program's own folder in the user's cache folder, made when missing;
// empty when the user has no home.
std::string CacheFolder() {
    std::string base;
    if (const char* xdg = std::getenv("XDG_CACHE_HOME"); xdg && xdg[0] == '/') {
        base = xdg;
    } else if (const char* home = std::getenv("HOME"); home && home[0] == '/') {
        base = std::string(home) + "/.cache";
    } else if (const passwd* user = ::getpwuid(::geteuid()); user && user->pw_dir) {
        base = std::string(user->pw_dir) + "/.cache";
    } else {
        return {};
    }
    ::mkdir(base.c_str(), 0700);
    const std::string folder = base + "/" + ProgramFileName();
    ::mkdir(folder.c_str(), 0700);
    return folder;
}

// A complete, synced copy of the old contents: beside the file when its
// folder may be written, else in the cache folder. Raises, with nothing
// changed, when the copy cannot be made.
std::string WriteBackup(const std::string& target, const std::string& contents, const std::string& shown) {
    const std::string directory = DirectoryOf(target);
    const std::string folder = MayWrite(directory) ? directory : CacheFolder();
    const auto fail = [&](int error) {
        throw EInOutError(error, SystemErrorMessage(error, shown) + "; no backup copy could be made in " +
                                     Utf8ToCp1250(folder.empty() ? "a cache folder" : folder) +
                                     ", the file is unchanged");
    };
    if (folder.empty()) fail(ENOENT);
    std::string backup = folder + (folder == directory ? "/." : "/") + BaseName(target) + ".backup-XXXXXX";
    TFileDescriptor fd(::mkostemp(backup.data(), O_CLOEXEC));
    if (fd.Get() < 0) fail(errno);
    TRemoveUnlessKept removeBackup(backup);
    if (!WriteAll(fd.Get(), contents) || ::fsync(fd.Get()) != 0 || fd.Close() != 0) fail(errno);
    SyncDirectory(DirectoryOf(backup));
    removeBackup.Keep();
    return backup;
}

// Overwrites the file itself, so that its inode, links, owner, group, mode
// and attributes stay, with a backup copy made first.
void WriteInPlace(const std::string& target, std::string_view bytes, const std::string& shown) {
    TFileDescriptor fd(::open(target.c_str(), O_RDWR | O_CLOEXEC));
    if (fd.Get() < 0) ThrowSystemError(errno, shown);
    std::string old;
    if (!ReadToEnd(fd.Get(), old)) ThrowSystemError(errno, shown);
    const std::string backup = WriteBackup(target, old, shown);

    const auto overwrite = [&](std::string_view contents) {
        return ::ftruncate(fd.Get(), 0) == 0 && ::lseek(fd.Get(), 0, SEEK_SET) == 0 && WriteAll(fd.Get(), contents) &&
               ::fsync(fd.Get()) == 0;
    };
    if (overwrite(bytes) && fd.Close() == 0) {
        ::unlink(backup.c_str());
        return;
    }
    const int error = errno;
    // The old contents usually fit again where they were; the copy stays in
    // any case, as the file may now hold anything.
    overwrite(old);
    throw EInOutError(error, SystemErrorMessage(error, shown) + "; the previous contents are kept in " +
                                 Utf8ToCp1250(backup));
}

}  // namespace

void WriteWholeFile(const std::string& path, std::string_view bytes) {
    struct stat info {};
    // A device, pipe or socket (/dev/stdout among them) is written as it is:
    // there is nothing to replace or back up.
    if (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode)) {
        TFileDescriptor fd(::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC));
        if (fd.Get() < 0 || !WriteAll(fd.Get(), bytes) || fd.Close() != 0) ThrowSystemError(errno, path);
        return;
    }
    const std::string target = FollowLinks(path);
    if (::stat(target.c_str(), &info) != 0) {
        if (errno != ENOENT) ThrowSystemError(errno, path);
        Replace(target, bytes, nullptr, path);
        return;
    }
    if (S_ISDIR(info.st_mode)) ThrowSystemError(EISDIR, path);
    // Renaming needs only the folder's permission; a file the user may not
    // write is refused as writing it would be.
    if (!MayWrite(target)) ThrowSystemError(errno, path);
    if (info.st_nlink == 1 && MayWrite(DirectoryOf(target)) && Replace(target, bytes, &info, path)) return;
    WriteInPlace(target, bytes, path);
}

}  // namespace bbx
