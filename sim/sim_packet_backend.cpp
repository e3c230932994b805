// The serial library's packet code reaches the port through these two
// functions; in the simulator they lead to the SimPort whose sendPacket() or
// cancel() is running. Outside such a call there is no port.
#include "port.h"
#include "sim_port.h"

namespace quillport {

bool portWrite(const unsigned char *data, int length) {
  tarnwick::sim::SimPort *port = tarnwick::sim::SimPort::activePacketPort();
  return port != nullptr && port->packetWrite(data, length);
}

int portReadByte(unsigned char *byte) {
  *byte = 0;
  tarnwick::sim::SimPort *port = tarnwick::sim::SimPort::activePacketPort();
  return port != nullptr ? port->packetReadByte(byte) : 0;
}

} // namespace quillport
