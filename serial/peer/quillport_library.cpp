#include "quillport_library.h"

#include <dlfcn.h>

namespace quillport::peer {

namespace {

template <typename Fn> bool resolve(void *handle, const char *name, Fn &slot) {
  slot = reinterpret_cast<Fn>(dlsym(handle, name));
  return slot != nullptr;
}

} // namespace

std::string QuillportLibrary::load(const std::string &path) {
  handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle_ == nullptr) {
    const char *why = dlerror();
    return "cannot load " + path + ": " + (why != nullptr ? why : "unknown error");
  }
  std::string missing;
  auto need = [&](const char *name, auto &slot) {
    if (!resolve(handle_, name, slot)) {
      missing += missing.empty() ? name : std::string(", ") + name;
    }
  };
  need("fnXSetBaudRate", setBaudRate);
  need("fnXSetBaudRateL", setBaudRateL);
  need("fnXOpenPort", openPort);
  need("fnXClosePort", closePort);
  need("fnXWriteByte", writeByte);
  need("fnXWriteToPort", writeToPort);
  need("fnXReadChar", readChar);
  need("fnXFlushReadBuffer", flushReadBuffer);
  need("fnXFlushWriteBuffer", flushWriteBuffer);
  need("fnXSetReadTimeout", setReadTimeout);
  need("fnXParseFile", parseFile);
  need("fnXResetFilePath", resetFilePath);
  need("fnXSendPacket", sendPacket);
  need("fnXGetNumberOfPackets", getNumberOfPackets);
  need("fnXGetCurrentPacketNumber", getCurrentPacketNumber);
  need("fnXCancel", cancel);
  need("fnXGetBytes", getBytes);
  need("fnXSetBytes", setBytes);
  nQuillport = static_cast<int *>(dlsym(handle_, "nQuillport"));
  if (nQuillport == nullptr) {
    missing += missing.empty() ? "nQuillport" : ", nQuillport";
  }
  return missing.empty() ? std::string() : "missing exports: " + missing;
}

} // namespace quillport::peer
