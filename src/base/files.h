// The one file seam: every file the game reads whole, every folder it
// lists and every file it writes goes through these three operations, so
// size limits, error reports and crash safety are written once.
//
//  - readWholeFile: the whole file into one owned buffer, refused when it is
//    larger than the caller's limit (a damaged or hostile file cannot eat
//    the memory) or not a regular file.
//  - listFolder: the names of a folder's regular files, sorted, so loading
//    in name order does not depend on the file system.
//  - writeFileAtomic: a temporary file in the same folder, written, flushed
//    to the disk (fsync), renamed over the target, and the folder flushed:
//    a crash or a power cut at any moment leaves either the old file or the
//    new one, never a mix.
//
// Paths are plain POSIX paths. No allocation beyond the returned buffers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly::base {

// The largest file any reader takes unless it says otherwise: the biggest
// file of the data set (a pack) is a few megabytes.
constexpr size_t kDefaultReadLimit = size_t(64) << 20;

enum class FileStatus : uint8_t { Ok, Missing, TooLarge, Unreadable };
const char* fileStatusText(FileStatus status);  // "missing", "too large", ...

// A file's bytes. `data` always holds at least one byte once read, so an
// empty file still has a pointer of its own.
struct FileBytes {
    std::unique_ptr<uint8_t[]> data;
    size_t size = 0;
};

FileStatus readWholeFile(const std::string& path, size_t maxBytes, FileBytes& out);

// The regular files of `folder` (names only, no path), sorted bytewise.
// False when the folder cannot be read; `names` is then empty.
bool listFolder(const std::string& folder, std::vector<std::string>& names);

// Replaces `path` with `size` bytes as one step (see above). False with the
// reason in `error` (when given); the old file is then untouched.
bool writeFileAtomic(const std::string& path, const void* data, size_t size,
                     std::string* error = nullptr);

// Creates `folder` and its missing parents; the folders made get `mode`.
// True when the folder exists afterwards.
bool makeFolders(const std::string& folder, unsigned mode);

// True for a regular file at `path`.
bool fileExists(const std::string& path);

}  // namespace tessaly::base
