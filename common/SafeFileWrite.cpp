#include "common/SafeFileWrite.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <ostream>
#include <random>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Buffers the stream and writes it to a file descriptor; remembers the first
// error so that the caller can name it.
class DescriptorBuffer : public std::streambuf {
public:
    explicit DescriptorBuffer(int fd) : fd_(fd), buffer_(64 * 1024) {
        setp(buffer_.data(), buffer_.data() + buffer_.size());
    }
    int error() const { return error_; }

protected:
    int overflow(int c) override {
        if (!flush()) return traits_type::eof();
        if (c != traits_type::eof()) {
            *pptr() = static_cast<char>(c);
            pbump(1);
        }
        return traits_type::not_eof(c);
    }

    int sync() override { return flush() ? 0 : -1; }

    std::streamsize xsputn(const char* s, std::streamsize n) override {
        if (n < static_cast<std::streamsize>(buffer_.size())) return std::streambuf::xsputn(s, n);
        // Large blocks go out directly instead of through the buffer.
        if (!flush() || !writeAll(s, static_cast<std::size_t>(n))) return 0;
        return n;
    }

private:
    bool flush() {
        const bool ok = writeAll(pbase(), static_cast<std::size_t>(pptr() - pbase()));
        setp(buffer_.data(), buffer_.data() + buffer_.size());
        return ok;
    }

    bool writeAll(const char* data, std::size_t size) {
        if (error_ != 0) return false;
        while (size > 0) {
            const ssize_t n = ::write(fd_, data, size);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                error_ = n < 0 ? errno : EIO;
                return false;
            }
            data += n;
            size -= static_cast<std::size_t>(n);
        }
        return true;
    }

    int fd_;
    std::vector<char> buffer_;
    int error_ = 0;
};

bool fail(std::string* why, const std::string& text) {
    if (why) *why = text;
    return false;
}

std::string quoted(const std::string& path) { return "'" + path + "'"; }

std::string errorText(int code) { return std::strerror(code); }

// The file a write to `path` lands on: symlinks are followed to their end.
bool resolveTarget(const std::string& path, std::string& target, std::string* why) {
    fs::path current = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat info;
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            target = current.string();
            return true;
        }
        std::error_code ec;
        const fs::path link = fs::read_symlink(current, ec);
        if (ec) return fail(why, "cannot read the link " + quoted(current.string()) + ": " + ec.message());
        current = link.is_absolute() ? link : current.parent_path() / link;
    }
    return fail(why, "cannot write " + quoted(path) + ": " + errorText(ELOOP));
}

// Ignores SIGXFSZ while it lives, so that writing past a file-size limit
// fails with EFBIG instead of ending the process.
class FileSizeSignalIgnored {
public:
    FileSizeSignalIgnored() {
        struct sigaction ignore {};
        ignore.sa_handler = SIG_IGN;
        sigemptyset(&ignore.sa_mask);
        ::sigaction(SIGXFSZ, &ignore, &saved_);
    }
    ~FileSizeSignalIgnored() { ::sigaction(SIGXFSZ, &saved_, nullptr); }
    FileSizeSignalIgnored(const FileSizeSignalIgnored&) = delete;
    FileSizeSignalIgnored& operator=(const FileSizeSignalIgnored&) = delete;

private:
    struct sigaction saved_ {};
};

// The temporary file: closed and removed unless it was renamed.
class TemporaryFile {
public:
    // A new file ".NAME.XXXXXX" in the folder, created exclusively (never an
    // existing file, never through a symlink) with `mode` less the umask.
    bool create(const fs::path& folder, const std::string& name, mode_t mode) {
        static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
        std::random_device random;
        // Room for ".", the suffix and the folder's own limit on name length.
        const std::string stem = (folder / ("." + name.substr(0, 200) + ".")).string();
        for (int attempt = 0; attempt < 100; ++attempt) {
            std::string candidate = stem;
            for (int i = 0; i < 6; ++i) candidate += letters[random() % (sizeof letters - 1)];
            fd_ = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
            if (fd_ >= 0) {
                path_ = candidate;
                return true;
            }
            if (errno != EEXIST) return false;
        }
        return false;
    }
    ~TemporaryFile() {
        closeFile();
        if (!path_.empty()) ::unlink(path_.c_str());
    }
    TemporaryFile() = default;
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    int fd() const { return fd_; }
    const std::string& path() const { return path_; }
    bool closeFile() {
        if (fd_ < 0) return true;
        const int result = ::close(fd_);
        fd_ = -1;
        return result == 0;
    }
    void renamed() { path_.clear(); }

private:
    int fd_ = -1;
    std::string path_;
};

// Moves the finished temporary file to the target; with Fail an existing
// target (even one that appeared meanwhile) is never replaced.
int moveIntoPlace(const std::string& from, const std::string& to, IfTargetExists ifExists) {
    if (ifExists == IfTargetExists::Replace) return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS) return errno;
    // File systems without RENAME_NOREPLACE: a hard link fails on an existing name too.
    if (::link(from.c_str(), to.c_str()) != 0) return errno;
    ::unlink(from.c_str());
    return 0;
}

void syncFolder(const fs::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    // The file is in place already; a folder that cannot be synced (some
    // file systems refuse) does not undo that.
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

bool writeFileSafely(const std::string& path, std::string_view bytes, std::string* why, IfTargetExists ifExists) {
    return writeFileSafely(
        path, [bytes](std::ostream& out) { out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())); }, why,
        ifExists);
}

bool writeFileSafely(const std::string& path, const std::function<void(std::ostream&)>& produce, std::string* why,
                     IfTargetExists ifExists) {
    std::string target;
    if (!resolveTarget(path, target, why)) return false;

    struct stat existing;
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists && !S_ISREG(existing.st_mode)) return fail(why, "cannot write " + quoted(path) + ": not a regular file");
    if (exists && ifExists == IfTargetExists::Fail) return fail(why, "cannot write " + quoted(path) + ": it exists");

    fs::path folder = fs::path(target).parent_path();
    if (folder.empty()) folder = ".";
    const FileSizeSignalIgnored sizeLimitFailsTheWrite;
    TemporaryFile temporary;
    // A new file gets 0666 less the umask, as any created file; the content
    // of an existing one stays private to the owner until its mode is copied.
    if (!temporary.create(folder, fs::path(target).filename().string(), exists ? 0600 : 0666))
        return fail(why, "cannot create a file in " + quoted(folder.string()) + ": " + errorText(errno));

    DescriptorBuffer buffer(temporary.fd());
    std::ostream out(&buffer);
    produce(out);
    out.flush();
    if (!out.good()) {
        const int code = buffer.error() != 0 ? buffer.error() : EIO;
        return fail(why, "cannot write " + quoted(path) + ": " + errorText(code));
    }

    if (exists) {
        // Keeps the owner where the process may set it (root saving a user's file).
        if ((existing.st_uid != ::geteuid() || existing.st_gid != ::getegid()) &&
            ::fchown(temporary.fd(), existing.st_uid, existing.st_gid) != 0) {
        }
        ::fchmod(temporary.fd(), existing.st_mode & 07777);
    }
    if (::fsync(temporary.fd()) != 0 || !temporary.closeFile())
        return fail(why, "cannot write " + quoted(path) + ": " + errorText(errno));

    if (const int code = moveIntoPlace(temporary.path(), target, ifExists))
        return fail(why, "cannot replace " + quoted(path) + ": " + errorText(code));
    temporary.renamed();
    syncFolder(folder);
    return true;
}
