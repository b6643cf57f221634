// libFuzzer target: any bytes as a voice pack to import: reading stays bounded, a damaged pack keeps nothing.
#include "recorder/imports/VoicePack.h"

#include <cstdint>

#include "Expect.h" // last: its macro must not meet the libraries' headers

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace quizzolo::recorder;
    const PackContents pack =
        readPackBytes(QByteArray::fromRawData(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)));
    expect(pack.why.isEmpty() || pack.members.empty(), "a damaged pack keeps nothing");
    expect(pack.members.size() <= packRule::maxEntries, "bounded members");
    qint64 kept = 0;
    for (const PackMember &m : pack.members) {
        expect(m.data.size() <= packRule::maxMemberBytes, "bounded member");
        kept += m.data.size();
    }
    expect(kept <= packRule::maxKeptBytes, "bounded memory");
    return 0;
}
