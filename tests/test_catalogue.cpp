// The clip list, the clips shipped beside the program and what the trainer says agree.
#include "common/ClipCatalogue.h"
#include "doubles/Harness.h"

#include <QDir>

using namespace quizzolo;
using namespace quizzolo::test;

namespace {

// How an Italian says the number, spelled independently of the clips.
QString italian(int n)
{
    static const QStringList units{"",         "uno",    "due",         "tre",      "quattro",
                                   "cinque",   "sei",    "sette",       "otto",     "nove",
                                   "dieci",    "undici", "dodici",      "tredici",  "quattordici",
                                   "quindici", "sedici", "diciassette", "diciotto", "diciannove"};
    static const QStringList tens{"",          "",         "venti",    "trenta", "quaranta",
                                  "cinquanta", "sessanta", "settanta", "ottanta"};
    if (n < 20)
        return units[n];
    const QString u = units[n % 10];
    // ventuno, ventotto: the tens lose their vowel before a vowel
    return (u.startsWith('u') || u.startsWith('o') ? tens[n / 10].chopped(1) : tens[n / 10]) + u;
}

// The words heard in a row, as one would write them down.
QString heard(const QStringList &clips)
{
    QString said;
    for (const QString &name : clips) {
        QString words = findClip(name) ? findClip(name)->words : QStringLiteral("<%1?>").arg(name);
        words.remove(QLatin1Char(' '));
        if (!said.isEmpty() && (words.startsWith('u') || words.startsWith('o')) &&
            QStringLiteral("aeio").contains(said.back()))
            said.chop(1);
        said += words;
    }
    return said;
}

} // namespace

class CatalogueTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { prepareApplication(); }

    void everyQuestionIsSaidRight_data()
    {
        QTest::addColumn<int>("table");
        for (int t = 1; t <= 9; ++t)
            QTest::addRow("table %d", t) << t;
    }

    // Each question of the table and its product, as the trainer speaks them through its clips.
    void everyQuestionIsSaidRight()
    {
        QFETCH(int, table);
        Harness h;
        for (int second = 1; second <= 9; ++second) {
            h.clips.played.clear();
            h.random.pushQuestion(table, second);
            Command1_Click(h.t);
            Command2_Click(h.t);
            QStringList names = h.clips.files();
            for (QString &n : names)
                n.chop(4);
            QVERIFY(names.size() >= 3);
            QCOMPARE(heard(names.mid(0, 1)), italian(table) + "per");
            QCOMPARE(heard(names.mid(1, 1)), italian(second));
            QCOMPARE(heard(names.mid(2)), italian(table * second));
        }
    }
};

QTEST_MAIN(CatalogueTest)
#include "test_catalogue.moc"
