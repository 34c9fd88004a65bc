// The files a run writes besides the save: the screenshot, the state dump and the recording.
// Each is checked before the first pass and every write to it is checked, so a run never ends
// looking successful while one of them was lost.
#pragma once

#include <cstddef>
#include <string>

// Whether `path` can be written: an existing file must not be a folder and must be writable; a
// new one needs a folder that exists and takes new files. `what` names the output in *error.
bool check_output_path(const std::string& path, const char* what, std::string* error);

// Writes the bytes to `path`, checking every write and the close. On failure *error names the
// file and the reason, and a regular file left half-written is removed rather than left looking
// like a good one.
bool write_output_file(const std::string& path, const void* data, size_t size, const char* what,
                       std::string* error);
