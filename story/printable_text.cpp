#include "printable_text.h"

namespace sessiya {
namespace {

// The length of the well-formed UTF-8 sequence that `text` starts with, 0 where it is not one.
std::size_t sequenceLength(std::string_view text) {
  const auto at = [text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = at(0);
  const std::size_t length = lead < 0x80                    ? 1
                             : lead >= 0xC2 && lead <= 0xDF ? 2
                             : lead >= 0xE0 && lead <= 0xEF ? 3
                             : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                            : 0;
  if (length == 0 || length > text.size()) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((at(i) & 0xC0) != 0x80) return 0;
  }
  // Overlong forms, surrogates and code points past U+10FFFF.
  if ((lead == 0xE0 && at(1) < 0xA0) || (lead == 0xED && at(1) >= 0xA0) ||
      (lead == 0xF0 && at(1) < 0x90) || (lead == 0xF4 && at(1) >= 0x90)) {
    return 0;
  }
  return length;
}

bool isControl(std::string_view sequence) {
  const auto lead = static_cast<unsigned char>(sequence[0]);
  if (sequence.size() == 1) return lead < 0x20 || lead == 0x7F;
  return lead == 0xC2 && static_cast<unsigned char>(sequence[1]) < 0xA0;  // U+0080 to U+009F
}

}  // namespace

std::string printableText(std::string_view text) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string printable;
  printable.reserve(text.size());
  while (!text.empty()) {
    const std::size_t length = sequenceLength(text);
    const std::string_view sequence = text.substr(0, length == 0 ? 1 : length);
    if (length == 0 || isControl(sequence)) {
      for (const char byte : sequence) {
        const auto value = static_cast<unsigned char>(byte);
        printable += {'\\', 'x', kDigits[value >> 4], kDigits[value & 0xF]};
      }
    } else {
      printable += sequence;
    }
    text.remove_prefix(sequence.size());
  }
  return printable;
}

}  // namespace sessiya
