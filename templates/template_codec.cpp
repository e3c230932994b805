#include "template_codec.h"

#include <algorithm>
#include <optional>

namespace tarnwick {

namespace {

constexpr std::uint64_t kNumberLimit = std::uint64_t{1} << 63;

class BitWriter {
public:
  void write(std::uint64_t value, int bits) {
    for (int i = bits - 1; i >= 0; --i) {
      put(((value >> i) & 1U) != 0);
    }
  }

  // A field the encoding leaves out takes no bits in the stream.
  void dropped(int /*bits*/) {}

  // Appends the partial byte, also when it holds no bit; marker templates
  // keep at most 112 bytes.
  TemplateEncoding finish(TemplateKind kind) {
    TemplateEncoding encoding;
    encoding.bits = written_;
    encoding.bytes = std::move(bytes_);
    if (kind != TemplateKind::Marker || encoding.bytes.size() < kMarkerTemplateBytes) {
      encoding.bytes.push_back(static_cast<std::uint8_t>(partial_ << (8 - filled_)));
    }
    if (kind == TemplateKind::Marker && encoding.bytes.size() > kMarkerTemplateBytes) {
      encoding.bytes.resize(kMarkerTemplateBytes);
    }
    return encoding;
  }

private:
  void put(bool bit) {
    partial_ = static_cast<unsigned>((partial_ << 1) | (bit ? 1U : 0U));
    ++written_;
    if (++filled_ == 8) {
      bytes_.push_back(static_cast<std::uint8_t>(partial_));
      partial_ = 0;
      filled_ = 0;
    }
  }

  std::vector<std::uint8_t> bytes_;
  unsigned partial_ = 0;
  int filled_ = 0;
  std::size_t written_ = 0;
};

// The memory accounting: counts what the encoder writes without storing it,
// and counts a dropped field as if it had been written.
class BitCounter {
public:
  void write(std::uint64_t /*value*/, int bits) { bits_ += bits; }
  void dropped(int bits) { bits_ += bits; }
  int bits() const { return bits_; }

private:
  int bits_ = 0;
};

class BitReader {
public:
  explicit BitReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  std::size_t remaining() const { return bytes_.size() * 8 - position_; }

  std::optional<std::uint64_t> read(int bits) {
    if (bits < 0 || static_cast<std::size_t>(bits) > remaining()) {
      return std::nullopt;
    }
    std::uint64_t value = 0;
    for (int i = 0; i < bits; ++i) {
      const std::uint8_t byte = bytes_[position_ / 8];
      const int shift = 7 - static_cast<int>(position_ % 8);
      value = (value << 1) | ((byte >> shift) & 1U);
      ++position_;
    }
    return value;
  }

  std::optional<std::uint64_t> peek(int bits) {
    const std::size_t saved = position_;
    auto value = read(bits);
    position_ = saved;
    return value;
  }

private:
  std::span<const std::uint8_t> bytes_;
  std::size_t position_ = 0;
};

bool allDigits(std::string_view text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The digits as a value; nullopt when it does not fit 64 bits.
std::optional<std::uint64_t> digitsValue(std::string_view digits) {
  std::uint64_t value = 0;
  for (char c : digits) {
    const auto digit = static_cast<std::uint64_t>(c - '0');
    if (value > (UINT64_MAX - digit) / 10) {
      return std::nullopt;
    }
    value = value * 10 + digit;
  }
  return value;
}

// 0, and values of 2^63 or more, are written as the text "0".
std::uint64_t numberValue(std::string_view digits) {
  const auto value = digitsValue(digits);
  return value && *value < kNumberLimit ? *value : 0;
}

int bitCountFor(std::uint64_t value) {
  int n = 20;
  while (n < 63 && value >= (std::uint64_t{1} << n)) {
    ++n;
  }
  return n;
}

std::string dateDigits(std::string_view description, DateOrder order) {
  std::string digits =
      description.size() == 6 && allDigits(description) ? std::string(description) : "000000";
  if (order == DateOrder::DayMonthYear) {
    digits = digits.substr(2, 2) + digits.substr(0, 2) + digits.substr(4, 2);
  }
  return digits;
}

std::string effectiveLabel(const TemplateRow &row) {
  return row.label.empty() && !row.description.empty() ? std::string(".") : row.label;
}

std::size_t literalLabelLength(const std::string &label) {
  return std::min<std::size_t>(label.size(), kMaxLabelLength);
}

// Writes the tokens of rows into Out: a BitWriter for the bytes, a
// BitCounter for the memory accounting.
template <class Out> class Encoder {
public:
  Encoder(const Glossary &glossary, int width, DateOrder order)
      : glossary_(glossary), width_(normalisedWidth(width)), order_(order) {}

  Out &write(const std::vector<TemplateRow> &rows) {
    if (width_ == 8) {
      out_.write(token::kWideHeader, 7);
      out_.write(1, 3);
    }
    for (const TemplateRow &row : rows) {
      writeRow(row);
    }
    return out_;
  }

private:
  void code(int value) { out_.write(static_cast<std::uint64_t>(value), width_); }

  void character(char c, bool inDescription) {
    const unsigned mask = width_ == 8 ? 0xFFU : 0x7FU;
    unsigned value = static_cast<unsigned char>(c) & mask;
    // A description character that would read back as a token code would
    // corrupt everything after it.
    if (inDescription && value < token::kFirstCharacter) {
      value = '?';
    }
    out_.write(value, width_);
  }

  void writeRow(const TemplateRow &row) {
    const std::string label = effectiveLabel(row);
    if (!label.empty()) {
      writeLabel(label);
    }
    if (row.description.empty()) {
      return;
    }
    if (glossary_.isDateLabel(label)) {
      writeDate(row.description);
      return;
    }
    const GlossaryMatch match = glossary_.findDescription(row.description);
    if (match.found()) {
      code(match.code);
      out_.write(match.index, match.width);
    } else if (allDigits(row.description)) {
      writeNumber(numberValue(row.description));
    } else {
      for (char c : row.description) {
        character(c, true);
      }
    }
  }

  void writeLabel(const std::string &label) {
    const GlossaryMatch match = glossary_.findLabel(label);
    if (match.found()) {
      code(match.code);
      out_.write(match.index, match.width);
      return;
    }
    const std::size_t length = literalLabelLength(label);
    code(token::kLiteralLabel);
    out_.write(length - 1, 3);
    for (std::size_t i = 0; i < length; ++i) {
      character(label[i], false);
    }
  }

  void writeNumber(std::uint64_t value) {
    if (value <= 99) {
      for (char c : std::to_string(value)) {
        character(c, true);
      }
    } else if (value <= 1023) {
      code(token::kNumber10);
      out_.write(value, 10);
    } else if (value <= 16383) {
      code(token::kNumber14);
      out_.write(value, 14);
    } else if (value <= 1048575) {
      code(token::kNumber20);
      out_.write(value, 20);
    } else {
      const int n = bitCountFor(value);
      code(token::kNumberN);
      out_.write(static_cast<std::uint64_t>(n), 6);
      out_.write(value, n);
    }
  }

  void writeDate(const std::string &description) {
    const std::uint32_t value =
        static_cast<std::uint32_t>(std::stoul(dateDigits(description, order_)));
    if (value >= kDateLimit) {
      out_.dropped(width_ + token::kDateBits);
      return;
    }
    code(order_ == DateOrder::DayMonthYear ? token::kDateDmy : token::kDateMdy);
    out_.write(value, token::kDateBits);
  }

  const Glossary &glossary_;
  int width_;
  DateOrder order_;
  Out out_;
};

bool isLabelCode(int code) {
  return (code >= 7 && code <= 10) || code == 26 || code == 27;
}

bool isDescriptionCode(int code) {
  return (code >= 14 && code <= 25) || code == 28 || code == 29;
}

std::string zeroPadded(std::uint64_t value, std::size_t digits) {
  std::string text = std::to_string(value);
  if (text.size() < digits) {
    text.insert(0, digits - text.size(), '0');
  }
  return text;
}

class Decoder {
public:
  Decoder(const Glossary &glossary, std::span<const std::uint8_t> bytes)
      : glossary_(glossary), in_(bytes) {}

  DecodedTemplate run() {
    if (in_.peek(7) == static_cast<std::uint64_t>(token::kWideHeader)) {
      in_.read(7);
      in_.read(3);
      result_.width = 8;
    }
    while (step()) {
    }
    return std::move(result_);
  }

private:
  // False at the end of the stream.
  bool step() {
    const auto code = in_.read(result_.width);
    if (!code || *code == token::kEnd) {
      return false;
    }
    const int value = static_cast<int>(*code);
    if (value >= token::kFirstCharacter) {
      description() += static_cast<char>(value);
      return true;
    }
    if (value >= token::kNumber10 && value <= token::kNumberN) {
      return readNumber(value);
    }
    if (value == token::kDateMdy || value == token::kDateDmy) {
      return readDate(value);
    }
    if (value == token::kLiteralLabel) {
      return readLiteralLabel();
    }
    if (isLabelCode(value) || isDescriptionCode(value)) {
      const auto index = in_.read(Glossary::indexWidthOf(value));
      if (!index) {
        return false;
      }
      const std::string &text = glossary_.text(value, static_cast<int>(*index));
      if (isLabelCode(value)) {
        result_.rows.push_back({text, ""});
      } else {
        description() += text;
      }
      return true;
    }
    return false; // a code no encoder writes here
  }

  bool readNumber(int code) {
    int bits = code == token::kNumber10 ? 10 : code == token::kNumber14 ? 14 : 20;
    if (code == token::kNumberN) {
      const auto n = in_.read(6);
      if (!n) {
        return false;
      }
      bits = static_cast<int>(*n);
    }
    const auto number = in_.read(bits);
    if (!number) {
      return false;
    }
    description() += std::to_string(*number);
    return true;
  }

  bool readDate(int code) {
    const auto number = in_.read(token::kDateBits);
    if (!number) {
      return false;
    }
    std::string digits = zeroPadded(*number, 6);
    if (code == token::kDateDmy) {
      result_.dateOrder = DateOrder::DayMonthYear;
      digits = digits.substr(2, 2) + digits.substr(0, 2) + digits.substr(4);
    }
    description() += digits;
    return true;
  }

  bool readLiteralLabel() {
    const auto length = in_.read(3);
    if (!length) {
      return false;
    }
    std::string label;
    for (std::uint64_t i = 0; i <= *length; ++i) {
      const auto c = in_.read(result_.width);
      if (!c) {
        return false;
      }
      label += static_cast<char>(*c);
    }
    result_.rows.push_back({label, ""});
    return true;
  }

  std::string &description() {
    if (result_.rows.empty()) {
      result_.rows.emplace_back();
    }
    return result_.rows.back().description;
  }

  const Glossary &glossary_;
  BitReader in_;
  DecodedTemplate result_;
};

} // namespace

TemplateEncoding encodeTemplate(const Glossary &glossary, const std::vector<TemplateRow> &rows,
                                int width, DateOrder order, TemplateKind kind) {
  return Encoder<BitWriter>(glossary, width, order).write(rows).finish(kind);
}

DecodedTemplate decodeTemplate(const Glossary &glossary, std::span<const std::uint8_t> bytes,
                               TemplateKind kind) {
  if (kind == TemplateKind::Marker && bytes.size() > kMarkerTemplateBytes) {
    bytes = bytes.first(kMarkerTemplateBytes);
  }
  return Decoder(glossary, bytes).run();
}

int measureTemplate(const Glossary &glossary, const std::vector<TemplateRow> &rows, int width) {
  return Encoder<BitCounter>(glossary, width, DateOrder::MonthDayYear).write(rows).bits();
}

void TemplateContent::setRows(const std::vector<std::string> &labels,
                              const std::vector<std::string> &descriptions) {
  rows_.clear();
  const std::size_t count = std::max(labels.size(), descriptions.size());
  for (std::size_t i = 0; i < count; ++i) {
    rows_.push_back(
        {i < labels.size() ? labels[i] : "", i < descriptions.size() ? descriptions[i] : ""});
  }
}

std::vector<std::string> TemplateContent::labels() const {
  std::vector<std::string> out;
  for (const TemplateRow &row : rows_) {
    out.push_back(row.label);
  }
  return out;
}

std::vector<std::string> TemplateContent::descriptions() const {
  std::vector<std::string> out;
  for (const TemplateRow &row : rows_) {
    out.push_back(row.description);
  }
  return out;
}

const std::vector<std::uint8_t> &TemplateContent::encode(TemplateKind kind) {
  bytes_ = encodeTemplate(*glossary_, rows_, width_, dateOrder_, kind).bytes;
  return bytes_;
}

int TemplateContent::decode(std::span<const std::uint8_t> bytes, TemplateKind kind) {
  DecodedTemplate decoded = decodeTemplate(*glossary_, bytes, kind);
  rows_ = std::move(decoded.rows);
  dateOrder_ = decoded.dateOrder;
  bytes_.assign(bytes.begin(), bytes.end());
  return decoded.width;
}

} // namespace tarnwick
