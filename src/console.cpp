#include "console.h"

#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include "decimal_format.h"

namespace {

// The output layer's whole state: where text goes and whether a write has failed.
std::string* capture_sink = nullptr;
int first_failure = 0;

constexpr int DEFAULT_DECIMALS = 6;  // what a bare %lf prints

struct conversion {
  int width = 0;
  int decimals = DEFAULT_DECIMALS;
  bool is_integer = false;
};

// Reads "[width][.decimals]l(f|d)" from the text just past a '%'. Returns its length,
// or 0 when it is not one of the three conversions the program uses.
std::size_t parse_conversion(std::string_view text, conversion& c) {
  std::size_t i = 0;
  auto read_number = [&](int& target) {
    int value = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9' && value < MAX_WIDTH)
      value = value * 10 + (text[i++] - '0');
    target = value;
  };
  read_number(c.width);
  if (i < text.size() && text[i] == '.') {
    ++i;
    read_number(c.decimals);
  }
  if (i + 2 > text.size() || text[i] != 'l') return 0;
  if (text[i + 1] == 'f') return i + 2;
  if (text[i + 1] == 'd') {
    c.is_integer = true;
    return i + 2;
  }
  return 0;
}

constexpr int STDOUT_FD = 1;
constexpr int STDERR_FD = 2;

#ifdef _WIN32
// The descriptors are in binary mode (see main), so the C runtime passes the bytes on
// unchanged. It takes an unsigned count; the program's texts are far below its limit.
long write_some(int fd, const char* data, std::size_t length) {
  return _write(fd, data, static_cast<unsigned>(length));
}
#else
long write_some(int fd, const char* data, std::size_t length) {
  return static_cast<long>(::write(fd, data, length));
}
#endif

bool write_all(int fd, const char* data, std::size_t length) {
  while (length > 0) {
    const long written = write_some(fd, data, length);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += written;
    length -= static_cast<std::size_t>(written);
  }
  return true;
}

}  // namespace

std::size_t format_text(std::string_view format, std::initializer_list<print_arg> args, char* out) {
  std::size_t length = 0;
  const print_arg* next = args.begin();
  // Room for the longest number keeps every append in bounds.
  const std::size_t limit = MAX_FORMATTED_LENGTH - FIXED_TEXT_CAPACITY;
  for (std::size_t i = 0; i < format.size() && length < limit; ++i) {
    conversion c;
    std::size_t used = format[i] == '%' ? parse_conversion(format.substr(i + 1), c) : 0;
    if (used == 0) {
      out[length++] = format[i];
      continue;
    }
    i += used;
    if (next == args.end() || next->is_integer != c.is_integer) continue;
    length += c.is_integer ? format_integer(next->integer, out + length)
                           : format_fixed(next->real, c.decimals, c.width, out + length);
    ++next;
  }
  return length;
}

void console_print(std::string_view format, std::initializer_list<print_arg> args) {
  char text[MAX_FORMATTED_LENGTH];
  const std::size_t length = format_text(format, args, text);
  char wire[2 * MAX_FORMATTED_LENGTH];
  std::size_t wire_length = 0;
  for (std::size_t i = 0; i < length; ++i) {
    if (text[i] == '\n') wire[wire_length++] = '\r';
    wire[wire_length++] = text[i];
  }
  if (capture_sink != nullptr) {
    capture_sink->append(wire, wire_length);
    return;
  }
  // Once a line is lost, later lines would only make the output look complete.
  if (first_failure != 0) return;
  if (!write_all(STDOUT_FD, wire, wire_length)) first_failure = errno != 0 ? errno : EIO;
}

int console_failure() { return first_failure; }

void console_diagnose(std::string_view text) {
  (void)write_all(STDERR_FD, text.data(), text.size());
  (void)write_all(STDERR_FD, "\n", 1);
}

void console_capture(std::string* sink) {
  capture_sink = sink;
  first_failure = 0;
}
