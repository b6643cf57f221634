// libFuzzer target: any text, read as Latin-1 and as UTF-16, reads without a crash or a
// sanitizer report and keeps the rule's properties, whatever else it holds.
#include "modes/AnswerReading.h"

#include <cmath>
#include <cstdint>
#include <string>

#include "Expect.h" // last: its macro must not meet the libraries' headers

namespace {

double read(const std::u16string &text)
{
    return quizzolo::leggiRisposta(QStringView(text.data(), static_cast<qsizetype>(text.size())));
}

bool same(double a, double b)
{
    return a == b || (std::isnan(a) && std::isnan(b));
}

void check(const std::u16string &text)
{
    const double got = read(text);
    std::u16string dense, digits;
    for (char16_t c : text) {
        if (c != u' ' && c != u'\t' && c != u'\n')
            dense.push_back(c);
        if (c >= u'0' && c <= u'9' && digits.size() < 300)
            digits.push_back(c);
    }
    expect(same(got, read(dense)), "blanks anywhere change nothing");
    // 'Z' fits no part of a number: the reading has stopped before it.
    expect(same(got, read(text + u'Z')), "a trailing letter changes nothing");
    if (!dense.empty() && (dense[0] == u'.' || (dense[0] >= u'0' && dense[0] <= u'9')))
        expect(same(-got, read(u'-' + text)), "a minus sign negates");
    if (!digits.empty()) {
        const double plain = std::strtod(std::string(digits.begin(), digits.end()).c_str(), nullptr);
        expect(same(read(digits), plain), "plain digits read as the decimal number");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    check(std::u16string(data, data + size));
    std::u16string utf16;
    for (std::size_t i = 0; i + 1 < size; i += 2)
        utf16.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
    check(utf16);
    return 0;
}
