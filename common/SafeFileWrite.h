#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>

// Every file the programs write goes through here, so that no failed or
// interrupted write can destroy what was there before:
//
// - the content goes to a new temporary file in the target's folder, created
//   exclusively under a unique name (".NAME.XXXXXX"), so an existing file or
//   a planted symlink of any name is never opened;
// - the temporary file gets the target's permissions (and owner, where the
//   process may set it), or 0666 less the umask for a new file;
// - it is flushed to disk (fsync) and only then renamed over the target, and
//   the folder is synced after the rename;
// - a target that is a symlink is written through: its final target is
//   replaced and the link stays;
// - on any failure the temporary file is removed and the target is left as
//   it was. SIGXFSZ is ignored while writing, so a file-size limit fails the
//   write instead of ending the program.
//
// Both forms return false on failure and then put the reason into `why`
// (when given), e.g. "cannot write 'out.csv': File too large".

enum class IfTargetExists {
    Replace,
    Fail,  // leave an existing target alone and fail (numbered screenshots)
};

// Writes `bytes` as the whole content of `path`.
bool writeFileSafely(const std::string& path, std::string_view bytes, std::string* why = nullptr,
                     IfTargetExists ifExists = IfTargetExists::Replace);

// Streams the content: `produce` writes it to the stream it is given (which
// buffers and writes to the temporary file). A stream failure fails the
// write; an exception from `produce` removes the temporary file and is
// passed on.
bool writeFileSafely(const std::string& path, const std::function<void(std::ostream&)>& produce,
                     std::string* why = nullptr, IfTargetExists ifExists = IfTargetExists::Replace);
