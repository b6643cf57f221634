// libFuzzer target: leggiRisposta against a reading of the same rule written separately
// here. Every input is read twice, as UTF-16 (little-endian pairs) and as Latin-1.
#include "modes/AnswerReading.h"

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

bool isBlank(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}
bool isDecimal(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

// Value of c as a digit of the radix, or -1.
int digitIn(char16_t c, unsigned radix)
{
    int v = -1;
    if (c >= u'0' && c <= u'9')
        v = c - u'0';
    else if (c >= u'A' && c <= u'Z')
        v = c - u'A' + 10;
    else if (c >= u'a' && c <= u'z')
        v = c - u'a' + 10;
    return v >= 0 && static_cast<unsigned>(v) < radix ? v : -1;
}

// &H / &O: the digits wrap at 32 bits; up to 4 hex digits, or up to 6 octal digits
// worth at most 0xFFFF, make a signed 16-bit number, anything longer a signed 32-bit one.
double radixReading(const std::u16string &s, unsigned radix)
{
    std::uint32_t v = 0;
    std::size_t count = 0;
    for (std::size_t i = 2; i < s.size(); ++i, ++count) {
        const int d = digitIn(s[i], radix);
        if (d < 0)
            break;
        v = v * radix + static_cast<std::uint32_t>(d); // unsigned arithmetic wraps at 2^32
    }
    if (count == 0)
        return 0.0;
    const bool sixteenBits = radix == 16 ? count <= 4 : (count <= 6 && v < 0x10000u);
    if (sixteenBits)
        return v >= 0x8000u ? static_cast<double>(v) - 65536.0 : static_cast<double>(v);
    return v >= 0x80000000u ? static_cast<double>(v) - 4294967296.0 : static_cast<double>(v);
}

double referenceReading(const std::u16string &typed)
{
    std::u16string s;
    for (char16_t c : typed)
        if (!isBlank(c))
            s.push_back(c);

    if (s.size() >= 2 && s[0] == u'&') {
        if (s[1] == u'H' || s[1] == u'h')
            return radixReading(s, 16);
        if (s[1] == u'O' || s[1] == u'o')
            return radixReading(s, 8);
        return 0.0;
    }

    // Sign, digits with at most one point, then an exponent only if it has digits;
    // the C library does the decimal rounding (the process keeps the "C" locale).
    std::string literal;
    std::size_t i = 0;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-'))
        literal.push_back(static_cast<char>(s[i++]));
    bool anyDigit = false;
    bool seenPoint = false;
    while (i < s.size() && (isDecimal(s[i]) || (s[i] == u'.' && !seenPoint))) {
        anyDigit = anyDigit || isDecimal(s[i]);
        seenPoint = seenPoint || s[i] == u'.';
        literal.push_back(static_cast<char>(s[i++]));
    }
    if (!anyDigit)
        return 0.0;
    if (i < s.size() && (s[i] == u'E' || s[i] == u'e' || s[i] == u'D' || s[i] == u'd')) {
        std::string exponent = "e";
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == u'+' || s[j] == u'-'))
            exponent.push_back(static_cast<char>(s[j++]));
        bool exponentDigits = false;
        while (j < s.size() && isDecimal(s[j])) {
            exponent.push_back(static_cast<char>(s[j++]));
            exponentDigits = true;
        }
        if (exponentDigits)
            literal += exponent;
    }
    errno = 0;
    return std::strtod(literal.c_str(), nullptr); // overflow: +-HUGE_VAL, underflow: 0 or subnormal
}

// The text as it would be typed: printable ASCII as is, other units as \uXXXX, long
// runs of one unit shortened to "c{N}" so that a thousand zeros stay readable.
void report(const char *as, const std::u16string &text, double got, double expected)
{
    std::fprintf(stderr, "mismatch reading the input as %s (%zu units): \"", as, text.size());
    for (std::size_t i = 0; i < text.size();) {
        std::size_t run = 1;
        while (i + run < text.size() && text[i + run] == text[i])
            ++run;
        const char16_t c = text[i];
        const std::size_t shown = run > 8 ? 1 : run;
        for (std::size_t k = 0; k < shown; ++k) {
            if (c >= 0x20 && c < 0x7f && c != u'\\' && c != u'"')
                std::fputc(static_cast<int>(c), stderr);
            else
                std::fprintf(stderr, "\\u%04x", static_cast<unsigned>(c));
        }
        if (run > 8)
            std::fprintf(stderr, "{%zu}", run);
        i += run;
    }
    std::fprintf(stderr, "\"\n  leggiRisposta: %.17g\n  reference:     %.17g\n", got, expected);
}

void compare(const char *as, const std::u16string &text)
{
    const double got = quizzolo::leggiRisposta(QStringView(text.data(), static_cast<qsizetype>(text.size())));
    const double expected = referenceReading(text);
    const bool same = got == expected || (std::isnan(got) && std::isnan(expected));
    if (!same) {
        report(as, text, got, expected);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    std::u16string latin1(data, data + size);
    compare("Latin-1", latin1);

    std::u16string utf16;
    for (std::size_t i = 0; i + 1 < size; i += 2)
        utf16.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
    compare("UTF-16", utf16);
    return 0;
}
