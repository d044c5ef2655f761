#pragma once
// Durable replacement of a file: data goes to a temporary file beside the target,
// which is forced onto the disk and only then renamed over the target, so that a
// failed or interrupted save never leaves the target half written.
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

namespace file_sync {

// The file that a save to `path` really replaces: the end of a chain of
// symbolic links, so that the link itself stays a link, also when nothing
// exists there yet. `path` itself when it is no link. None when the chain
// never ends (a loop, or more links than the system would follow).
std::optional<std::string> resolveTarget(const std::string& path);

// False when the target exists but cannot be opened for writing (a read-only
// file, a folder): a save must not get around that by renaming over it.
bool canOverwrite(const std::string& target);

// A path in the target's folder that no other save of the same target uses:
// the target's name, a mark of the saver's own that no one would put in a
// file name, the writing process's id and a counter.
std::string temporaryPathFor(const std::string& target);
std::string temporaryPathFor(const std::string& target, std::uint64_t processId, unsigned counter);

// Deletes the temporary files of earlier saves of the target whose writing
// process no longer runs (a save killed part-way leaves its temporary file):
// only names that temporaryPathFor makes, and nothing when the target names
// no file (an empty path, a folder).
void removeStaleTemporaries(const std::string& target);

// Forces the file's written data onto the disk; false when the system refuses.
bool syncToDisk(std::FILE* file);

// Renames `from` over `to`, replacing `to` if it exists; `from` takes over the
// permissions of the file it replaces.
bool replace(const std::string& from, const std::string& to);

// Deletes the file if it exists; errors are ignored.
void removeQuietly(const std::string& path);

}  // namespace file_sync
