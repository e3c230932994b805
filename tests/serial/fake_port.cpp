#include "fake_port.h"

#include "port.h"

namespace quillport {

bool portWrite(const unsigned char *data, int length) {
  auto &port = testing::FakePort::instance();
  if (port.failWrites) {
    return false;
  }
  port.events.push_back({testing::PortEvent::Kind::Write, {data, data + length}});
  return true;
}

int portReadByte(unsigned char *byte) {
  auto &port = testing::FakePort::instance();
  std::optional<std::uint8_t> answer;
  if (!port.answers.empty()) {
    answer = port.answers.front();
    port.answers.pop_front();
  }
  *byte = answer.value_or(0);
  port.events.push_back({testing::PortEvent::Kind::Read, answer ? std::vector<std::uint8_t>{*answer}
                                                                : std::vector<std::uint8_t>{}});
  return answer ? 1 : 0;
}

} // namespace quillport

namespace quillport::testing {

FakePort &FakePort::instance() {
  static FakePort port;
  return port;
}

void FakePort::reset() {
  *this = FakePort();
}

int FakePort::reads() const {
  int n = 0;
  for (const auto &e : events) {
    n += e.kind == PortEvent::Kind::Read ? 1 : 0;
  }
  return n;
}

std::vector<std::vector<std::uint8_t>> FakePort::writes() const {
  std::vector<std::vector<std::uint8_t>> out;
  for (const auto &e : events) {
    if (e.kind == PortEvent::Kind::Write) {
      out.push_back(e.bytes);
    }
  }
  return out;
}

} // namespace quillport::testing
