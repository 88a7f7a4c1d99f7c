// Log files read whole, from a path a person typed: a FIFO, a device or a
// file that never ends must not hang the reader, and a huge file must not
// eat the machine.
#pragma once

#include <cstddef>
#include <string>

// Logs of a long study stay far below this; anything larger is no log.
inline constexpr size_t maxLogBytes = size_t(256) << 20;

// The whole of the regular file at `path`. False, with the reason in
// `error` ("No such file or directory", "not a regular file", ...), for
// anything else; never waits for a writer.
bool readLogFile(const std::string& path, std::string* text,
                 std::string* error);
