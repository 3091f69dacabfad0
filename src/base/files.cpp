#include "base/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace tessaly::base {

namespace {

// Closes a descriptor when it goes out of scope.
struct Descriptor {
    int fd = -1;
    explicit Descriptor(int d) : fd(d) {}
    ~Descriptor() {
        if (fd >= 0) ::close(fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
};

std::string folderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

void setError(std::string* error, const std::string& path, const char* what, int err) {
    if (!error) return;
    *error = "cannot write " + path + ": " + what;
    if (err) {
        *error += " (";
        *error += std::strerror(err);
        *error += ")";
    }
}

bool writeAll(int fd, const uint8_t* bytes, size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, bytes, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes += n;
        size -= size_t(n);
    }
    return true;
}

std::atomic<unsigned> s_temporaryCounter{0};

}  // namespace

const char* fileStatusText(FileStatus status) {
    switch (status) {
    case FileStatus::Ok: return "read";
    case FileStatus::Missing: return "missing";
    case FileStatus::TooLarge: return "too large";
    case FileStatus::Unreadable: return "unreadable";
    }
    return "unreadable";
}

FileStatus readWholeFile(const std::string& path, size_t maxBytes, FileBytes& out) {
    out = {};
    Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.fd < 0) return errno == ENOENT || errno == ENOTDIR ? FileStatus::Missing : FileStatus::Unreadable;
    struct stat info {};
    if (::fstat(file.fd, &info) != 0) return FileStatus::Unreadable;
    if (!S_ISREG(info.st_mode)) return S_ISDIR(info.st_mode) ? FileStatus::Missing : FileStatus::Unreadable;
    if (info.st_size < 0) return FileStatus::Unreadable;
    const auto size = size_t(info.st_size);
    if (size > maxBytes) return FileStatus::TooLarge;
    std::unique_ptr<uint8_t[]> bytes(new uint8_t[std::max<size_t>(size, 1)]);
    size_t done = 0;
    while (done < size) {
        const ssize_t n = ::read(file.fd, bytes.get() + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return FileStatus::Unreadable;  // an error, or the file shrank under us
        done += size_t(n);
    }
    out.data = std::move(bytes);
    out.size = size;
    return FileStatus::Ok;
}

bool listFolder(const std::string& folder, std::vector<std::string>& names) {
    names.clear();
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return false;
    while (const dirent* entry = ::readdir(dir)) {
        if (entry->d_name[0] == '.' && (entry->d_name[1] == 0 || (entry->d_name[1] == '.' && entry->d_name[2] == 0)))
            continue;
        const std::string name = entry->d_name;
        struct stat info {};
        if (::stat((folder + "/" + name).c_str(), &info) == 0 && S_ISREG(info.st_mode)) names.push_back(name);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    return true;
}

bool writeFileAtomic(const std::string& path, const void* data, size_t size, std::string* error) {
    if (path.empty() || path.back() == '/' || (size > 0 && !data)) {
        setError(error, path, "not a file name", 0);
        return false;
    }
    const std::string folder = folderOf(path);
    // A name of our own next to the target: the rename then stays inside one
    // file system, and two writers never share a temporary file.
    char suffix[48];
    std::snprintf(suffix, sizeof suffix, ".%d.%u.tmp", int(::getpid()), s_temporaryCounter.fetch_add(1));
    const std::string temporary = path + suffix;
    int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        setError(error, path, "cannot create a temporary file", errno);
        return false;
    }
    bool ok = writeAll(fd, static_cast<const uint8_t*>(data), size);
    int err = ok ? 0 : errno;
    if (ok && ::fsync(fd) != 0) {
        ok = false;
        err = errno;
    }
    if (::close(fd) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (ok && ::rename(temporary.c_str(), path.c_str()) != 0) {
        ok = false;
        err = errno;
    }
    if (!ok) {
        ::unlink(temporary.c_str());
        setError(error, path, "write failed", err);
        return false;
    }
    // The rename itself reaches the disk only with the folder.
    Descriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.fd >= 0) ::fsync(dir.fd);
    return true;
}

bool makeFolders(const std::string& folder, unsigned mode) {
    if (folder.empty()) return false;
    struct stat info {};
    if (::stat(folder.c_str(), &info) == 0) return S_ISDIR(info.st_mode);
    const std::string parent = folderOf(folder);
    if (parent != folder && parent != "." && parent != "/") makeFolders(parent, mode);
    if (::mkdir(folder.c_str(), mode_t(mode)) == 0) return true;
    return errno == EEXIST && ::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool fileExists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace tessaly::base
