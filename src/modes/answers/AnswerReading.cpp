#include "modes/answers/AnswerReading.h"

#include <clocale>
#include <cstdint>
#include <cstdlib>
#include <locale.h>
#include <string>

namespace quizzolo {

namespace {

std::string withoutBlanks(QStringView text)
{
    std::string s;
    s.reserve(static_cast<std::size_t>(text.size()));
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u' ' || u == u'\t' || u == u'\n')
            continue;
        // Anything beyond ASCII cannot continue a number; keep it as a stopper.
        s.push_back(u < 128 ? static_cast<char>(u) : '\x7f');
    }
    return s;
}

int digitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return 99;
}

// &H and &O literals are whole numbers of 16 bits when they fit in 4 hex / 6 octal
// digits and of 32 bits beyond, with the sign of the top bit, as the old readers did.
double radixLiteral(const std::string &s, std::size_t pos, int radix)
{
    std::uint64_t value = 0;
    int digits = 0;
    for (; pos < s.size() && digitValue(s[pos]) < radix; ++pos, ++digits)
        value = (value * static_cast<std::uint64_t>(radix) + static_cast<std::uint64_t>(digitValue(s[pos]))) &
                0xFFFFFFFFull;
    if (digits == 0)
        return 0.0;
    const bool small = radix == 16 ? digits <= 4 : (digits <= 6 && value <= 0xFFFF);
    if (small)
        return static_cast<double>(static_cast<std::int16_t>(static_cast<std::uint16_t>(value)));
    return static_cast<double>(static_cast<std::int32_t>(static_cast<std::uint32_t>(value)));
}

// strtod in the "C" locale: '.' whatever the desktop's locale, and a literal too big
// or too small for a double reads as infinity or zero, as it should.
double readDecimal(const std::string &number)
{
#ifdef _WIN32
    static const _locale_t c = _create_locale(LC_NUMERIC, "C");
    return _strtod_l(number.c_str(), nullptr, c);
#else
    static const locale_t c = newlocale(LC_NUMERIC_MASK, "C", locale_t(nullptr));
    return strtod_l(number.c_str(), nullptr, c);
#endif
}

} // namespace

double leggiRisposta(QStringView text)
{
    const std::string s = withoutBlanks(text);
    if (s.size() >= 2 && s[0] == '&') {
        if (s[1] == 'H' || s[1] == 'h')
            return radixLiteral(s, 2, 16);
        if (s[1] == 'O' || s[1] == 'o')
            return radixLiteral(s, 2, 8);
        return 0.0;
    }

    // Collect the longest prefix that forms a number, in a form strtod reads as it is.
    std::string number;
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        number.push_back(s[i++]);
    bool digits = false;
    bool point = false;
    for (; i < s.size(); ++i) {
        if (s[i] >= '0' && s[i] <= '9') {
            number.push_back(s[i]);
            digits = true;
        } else if (s[i] == '.' && !point) {
            number.push_back('.');
            point = true;
        } else {
            break;
        }
    }
    if (!digits)
        return 0.0;
    if (i < s.size() && (s[i] == 'E' || s[i] == 'e' || s[i] == 'D' || s[i] == 'd')) {
        std::size_t j = i + 1;
        std::string exponent = "e";
        if (j < s.size() && (s[j] == '+' || s[j] == '-'))
            exponent.push_back(s[j++]);
        const std::size_t firstDigit = j;
        while (j < s.size() && s[j] >= '0' && s[j] <= '9')
            exponent.push_back(s[j++]);
        if (j > firstDigit)
            number += exponent;
    }
    return readDecimal(number);
}

} // namespace quizzolo
