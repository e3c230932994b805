// A serial library built without fnXSendPacket and fnXCancel: the binding must
// name them and refuse every operation.
#define EXPORT extern "C" __attribute__((visibility("default")))

EXPORT int fnXParseFile(const char *) {
  return 0;
}
EXPORT int fnXSetBaudRate(int) {
  return 1;
}
EXPORT int fnXOpenPort(const char *) {
  return 0;
}
EXPORT int fnXClosePort() {
  return 1;
}
EXPORT int fnXWriteToPort(const void *, int) {
  return 1;
}
EXPORT char fnXReadChar(int *count) {
  *count = 1;
  return 'Y';
}
EXPORT int fnXFlushReadBuffer() {
  return 1;
}
EXPORT int fnXFlushWriteBuffer() {
  return 1;
}
EXPORT int fnXSetReadTimeout(int) {
  return 1;
}
EXPORT int fnXWriteByte(int) {
  return 1;
}
EXPORT int fnXGetCurrentPacketNumber() {
  return 0;
}
EXPORT int fnXGetNumberOfPackets() {
  return 1;
}
EXPORT int fnXGetBytes() {
  return 1;
}
EXPORT void fnXResetFilePath() {}
