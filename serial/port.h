// Port operations shared by the two halves of the library: the platform
// backend (port_posix.cpp, later port_win32.cpp) implements them, the packet
// transfer uses them. A test build may link a fake backend instead.
#pragma once

namespace quillport {

// Writes all of data within the write bound (1000 ms + 1000 ms per byte).
bool portWrite(const unsigned char *data, int length);

// The packet transfer's one-byte read: waits at most the current read
// time-out. Returns the number of bytes read (0 or 1).
int portReadByte(unsigned char *byte);

} // namespace quillport
