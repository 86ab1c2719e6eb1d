#include "objio/portable_decimal.h"

#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "objio/obj_characters.h"

namespace calveth {
namespace {

char* copyText(char* out, std::string_view text) {
  std::memcpy(out, text.data(), text.size());
  return out + text.size();
}

// The digits and decimal exponent of printf's "%.*e" text: d.ddd...e+XX gives "dddd" and XX.
// Whatever the locale writes as the decimal point is skipped.
struct DecimalDigits {
  char digits[24];
  int count = 0;
  int exponent = 0;
};

DecimalDigits scientificDigits(double magnitude, int decimals) {
  char text[48];
  std::snprintf(text, sizeof text, "%.*e", decimals, magnitude);
  DecimalDigits result;
  const char* p = text;
  for (; *p != 'e'; ++p) {
    if (isDecimalDigit(*p)) {
      result.digits[result.count++] = *p;
    }
  }
  result.exponent = std::atoi(p + 1);
  return result;
}

// True when the digits read back as `magnitude`; `below` tells whether they are smaller. The
// text has no decimal point, so the locale does not matter.
bool readsBackAs(const DecimalDigits& d, double magnitude, bool& below) {
  char text[48];
  std::memcpy(text, d.digits, static_cast<std::size_t>(d.count));
  std::snprintf(text + d.count, sizeof text - static_cast<std::size_t>(d.count), "e%d",
                d.exponent - (d.count - 1));
  const double back = std::strtod(text, nullptr);
  below = back < magnitude;
  return back == magnitude;
}

// The next larger digit string of the same length: 1.29 gives 1.30, 9.99 gives 1.00e+1.
DecimalDigits nextUp(DecimalDigits d) {
  int k = d.count - 1;
  while (k >= 0 && d.digits[k] == '9') {
    d.digits[k--] = '0';
  }
  if (k >= 0) {
    ++d.digits[k];
  } else {
    d.digits[0] = '1';
    ++d.exponent;
  }
  return d;
}

}  // namespace

bool readDecimalPortably(const char* begin, const char* end, double& value) {
  // strtod reads the current locale's decimal point: put that in place of the point.
  const char* const point = std::localeconv()->decimal_point;
  std::string text;
  text.reserve(static_cast<std::size_t>(end - begin) + 4);
  for (const char* p = begin; p != end; ++p) {
    if (*p == '.') {
      text += point;
    } else {
      text += *p;
    }
  }
  errno = 0;
  char* stop = nullptr;
  const double parsed = std::strtod(text.c_str(), &stop);
  if (stop != text.c_str() + text.size() || std::isinf(parsed)) {
    return false;
  }
  value = parsed;
  return true;
}

char* writeFixedSixPortably(char* out, double value) {
  // printf's "%f" is exact; only the locale's decimal point is put right.
  char text[kFixedDecimalMaxChars + 8];
  const int length = std::snprintf(text, sizeof text, "%.6f", value);
  if (length <= 0) {
    return out;
  }
  const char* p = text;
  if (*p == '-') {
    *out++ = *p++;
  }
  while (isDecimalDigit(*p)) {
    *out++ = *p++;
  }
  *out++ = '.';
  return copyText(out, std::string_view(text + length - 6, 6));
}

char* writeShortestPortably(char* out, double value) {
  if (std::isnan(value)) {
    return copyText(out, std::signbit(value) ? "-nan" : "nan");
  }
  if (std::signbit(value)) {
    *out++ = '-';
  }
  const double magnitude = std::fabs(value);
  if (std::isinf(magnitude)) {
    return copyText(out, "inf");
  }
  if (magnitude == 0.0) {
    return copyText(out, "0");
  }
  // The shortest digits: the correctly rounded ones of growing length until they read back.
  // Just above a power of two the gap below is half the gap above, so the nearest digits can
  // miss while the next larger ones of the same length still read back.
  DecimalDigits d;
  for (int decimals = 0; decimals <= 16; ++decimals) {
    d = scientificDigits(magnitude, decimals);
    bool below = false;
    if (readsBackAs(d, magnitude, below)) {
      break;
    }
    if (below) {
      const DecimalDigits up = nextUp(d);
      bool ignored = false;
      if (readsBackAs(up, magnitude, ignored)) {
        d = up;
        break;
      }
    }
  }
  while (d.count > 1 && d.digits[d.count - 1] == '0') {
    --d.count;
  }
  // Plain or scientific notation, whichever is shorter; plain on a tie.
  const int exponentDigits = std::abs(d.exponent) >= 100 ? 3 : 2;
  const int scientificLength = d.count + (d.count > 1 ? 1 : 0) + 2 + exponentDigits;
  int plainLength;
  if (d.exponent >= 0) {
    plainLength = d.count > d.exponent + 1 ? d.count + 1 : d.exponent + 1;
  } else {
    plainLength = 2 - d.exponent - 1 + d.count;
  }
  const std::string_view digits(d.digits, static_cast<std::size_t>(d.count));
  if (plainLength <= scientificLength) {
    if (d.exponent < 0) {
      out = copyText(out, "0.");
      for (int k = 0; k < -d.exponent - 1; ++k) {
        *out++ = '0';
      }
      return copyText(out, digits);
    }
    const auto whole = static_cast<std::size_t>(d.exponent + 1);
    if (digits.size() < whole) {
      // A whole number written plain shows all its exact digits, not the shortest ones and
      // zeros; "%.0f" writes them exactly and has no decimal point.
      char text[kFixedDecimalMaxChars];
      const int length = std::snprintf(text, sizeof text, "%.0f", magnitude);
      return copyText(out, std::string_view(text, static_cast<std::size_t>(length)));
    }
    if (digits.size() == whole) {
      return copyText(out, digits);
    }
    out = copyText(out, digits.substr(0, whole));
    *out++ = '.';
    return copyText(out, digits.substr(whole));
  }
  *out++ = digits[0];
  if (digits.size() > 1) {
    *out++ = '.';
    out = copyText(out, digits.substr(1));
  }
  *out++ = 'e';
  *out++ = d.exponent < 0 ? '-' : '+';
  const int e = std::abs(d.exponent);
  if (e >= 100) {
    *out++ = static_cast<char>('0' + e / 100);
  }
  *out++ = static_cast<char>('0' + e / 10 % 10);
  *out++ = static_cast<char>('0' + e % 10);
  return out;
}

}  // namespace calveth
