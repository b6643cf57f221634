#include "recorder/ClipCatalogue.h"

#include <array>

namespace quizzolo::recorder {

namespace {

const std::array<QString, 9> units = {QStringLiteral("uno"),     QStringLiteral("due"),    QStringLiteral("tre"),
                                      QStringLiteral("quattro"), QStringLiteral("cinque"), QStringLiteral("sei"),
                                      QStringLiteral("sette"),   QStringLiteral("otto"),   QStringLiteral("nove")};

QString voxa(int n)
{
    return QStringLiteral("voxa") + QString::number(n);
}
QString va(int n)
{
    return QStringLiteral("va") + QString::number(n);
}

std::vector<ClipEntry> build()
{
    const QString domande = QStringLiteral("Domande");
    const QString numeri = QStringLiteral("Numeri");
    const QString decine = QStringLiteral("Decine");
    const QString frasi = QStringLiteral("Frasi");
    const QString inno = QStringLiteral("Inno");
    std::vector<ClipEntry> all;
    // A question: "sette per" + "otto".
    for (int n = 1; n <= 9; ++n)
        all.push_back(
            {voxa(n), domande, units[n - 1] + QStringLiteral(" per"), ClipRole::Number, {voxa(n), va(n % 9 + 1)}});
    for (int n = 1; n <= 9; ++n)
        all.push_back({va(n), numeri, units[n - 1], ClipRole::Number, {voxa(7), va(n)}});
    // Products below 20 are said whole, after their question.
    const struct {
        int product, a, b;
        const char *words;
    } small[] = {{10, 2, 5, "dieci"},    {12, 3, 4, "dodici"}, {14, 2, 7, "quattordici"},
                 {15, 3, 5, "quindici"}, {16, 2, 8, "sedici"}, {18, 2, 9, "diciotto"}};
    for (const auto &s : small)
        all.push_back({va(s.product),
                       numeri,
                       QString::fromLatin1(s.words),
                       ClipRole::Number,
                       {voxa(s.a), va(s.b), va(s.product)}});
    // Tens and units: "cinquanta" + "sei".
    const std::array<const char *, 7> tens = {"venti",    "trenta",   "quaranta", "cinquanta",
                                              "sessanta", "settanta", "ottanta"};
    for (int i = 0; i < 7; ++i) {
        const int t = (i + 2) * 10;
        all.push_back({voxa(t), decine, QString::fromLatin1(tens[i]), ClipRole::Number, {voxa(t), va(6)}});
    }
    all.push_back({QStringLiteral("voxa_dig"),
                   frasi,
                   QStringLiteral("Scrivi il risultato e premi il tasto invio."),
                   ClipRole::Prompt,
                   {voxa(7), va(8), QStringLiteral("voxa_dig")}});
    all.push_back({QStringLiteral("voxa_esatto"), frasi, QStringLiteral("Benissimo!"), ClipRole::Praise, {}});
    all.push_back(
        {QStringLiteral("voxa_ripeti"), frasi, QStringLiteral("Peccato! Alla prossima!"), ClipRole::Prompt, {}});
    all.push_back({QStringLiteral("anthem1"),
                   inno,
                   QStringLiteral("una musica breve per la moneta da un euro"),
                   ClipRole::Anthem,
                   {}});
    return all;
}

} // namespace

const std::vector<ClipEntry> &clipCatalogue()
{
    static const std::vector<ClipEntry> all = build();
    return all;
}

const ClipEntry *findClip(const QString &name)
{
    for (const ClipEntry &e : clipCatalogue()) {
        if (e.name == name)
            return &e;
    }
    return nullptr;
}

QString fileNameOf(const QString &clipName)
{
    return clipName + QStringLiteral(".wav");
}

RoleLimits limitsOf(ClipRole role)
{
    // The trainer waits for every clip: long ones slow the game down.
    switch (role) {
    case ClipRole::Number: return {2.5, 0};
    case ClipRole::Prompt: return {6.0, 0};
    case ClipRole::Praise: return {6.0, 1.0}; // heard after every right answer
    case ClipRole::Anthem: return {30.0, 0};
    }
    return {6.0, 0};
}

} // namespace quizzolo::recorder
