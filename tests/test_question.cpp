// Start-up, the table choice, a question and its result: what is heard and seen; every product said right.
#include "common/ClipCatalogue.h"
#include "common/DesktopStartUp.h"
#include "doubles/Harness.h"

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

class QuestionTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { prepareApplication(); }

    void speaksQuestionThenResult_data()
    {
        QTest::addColumn<int>("table");
        QTest::addColumn<QList<float>>("draws");
        QTest::addColumn<QStringList>("heard");
        const float low = 0.0f, high = 0.99999994f, f7 = ScriptedRandom::forFactor(7),
                    f8 = ScriptedRandom::forFactor(8);
        QTest::newRow("all tables, 56") << 0 << QList{f7, f8} << QStringList{"voxa7", "va8", "voxa50", "va6"};
        QTest::newRow("all tables, 1") << 0 << QList{low, low} << QStringList{"voxa1", "va1", "va1"};
        QTest::newRow("table 9, 81") << 9 << QList{low, high} << QStringList{"voxa9", "va9", "voxa80", "va1"};
    }

    // At each clip's start: both factor labels, the answer box, the result button, pumps so far.
    void speaksQuestionThenResult()
    {
        QFETCH(int, table);
        QFETCH(QList<float>, draws);
        QFETCH(QStringList, heard);
        Harness h;
        QVERIFY(h.t.stato.ritardoSecondi == 1 && h.ui.Timer1->interval() == 3000 && h.fault().isEmpty());
        h.window.show();
        QTest::mouseClick(h.ui.Sel_Quizzolo[std::size_t(table ? table : 4)], Qt::LeftButton);
        QTest::mouseClick(h.ui.Sel_Quizzolo[std::size_t(table)], Qt::LeftButton);
        QVERIFY(h.clips.played.empty() && h.random.drawn == 0 && h.t.stato.tabellaScelta == table);
        QStringList seen;
        h.clips.onPlay = [&](const PlayedClip &c) {
            seen << QStringLiteral("%1 %2|%3|%4 %5 %6")
                        .arg(c.file.chopped(4), h.ui.Label1->text(), h.ui.Label2->text(), h.ui.Text1->text())
                        .arg(h.ui.Command2->isHidden() ? "hidden" : "shown")
                        .arg(c.mode == PlayMode::Sync ? h.pump.calls : -1);
        };
        h.ui.Text1->setText(QStringLiteral("42")); // an old product is cleared
        h.random.queue.assign(draws.begin(), draws.end());
        Command1_Click(h.t);
        QCOMPARE(h.fault(), QString());
        Command2_Click(h.t);
        const QString a = h.ui.Label1->text(), b = h.ui.Label2->text();
        QStringList expected{heard[0] + " " + a + "|| hidden 1", heard[1] + " " + a + "|" + b + "| hidden 1"};
        for (const QString &clip : heard.mid(2))
            expected << clip + " " + a + "|" + b + "| shown 2";
        QCOMPARE(seen, expected);
        QCOMPARE(h.ui.Text1->text(), QString::number(a.toInt() * b.toInt()));
        QVERIFY(h.random.drawn == 2 && h.ui.Command2->isHidden());
        QCOMPARE(h.pump.calls, heard.size()); // two for the question, one for a result, one more after its units
        QCOMPARE(h.fault(), QString());
    }

    // Display names that let the window open: a local X display only with its socket (here :7), any other or Wayland.
    void displayForms_data()
    {
        QTest::addColumn<QByteArray>("display");
        QTest::addColumn<QByteArray>("wayland");
        QTest::addColumn<bool>("opens");
        // clang-format off
        QTest::newRow(":7")                   << QByteArray(":7")                    << QByteArray()            << true;
        QTest::newRow(":7.1")                 << QByteArray(":7.1")                  << QByteArray()            << true;
        QTest::newRow("unix:7.0")             << QByteArray("unix:7.0")              << QByteArray()            << true;
        QTest::newRow(":70, no server")       << QByteArray(":70")                   << QByteArray()            << false;
        QTest::newRow(":8.0, no server")      << QByteArray(":8.0")                  << QByteArray()            << false;
        QTest::newRow("unix:8, no server")    << QByteArray("unix:8")                << QByteArray()            << false;
        QTest::newRow("host name and screen") << QByteArray("aula-3.scuola.it:10.0") << QByteArray()            << true;
        QTest::newRow("host address")         << QByteArray("192.168.1.20:0")        << QByteArray()            << true;
        QTest::newRow("none")                 << QByteArray()                        << QByteArray()            << false;
        QTest::newRow("Wayland, X gone")      << QByteArray(":8")                    << QByteArray("wayland-0") << true;
        // clang-format on
    }

    void displayForms()
    {
        QFETCH(QByteArray, display);
        QFETCH(QByteArray, wayland);
        QFETCH(bool, opens);
        QTemporaryDir sockets;
        QFile socket(sockets.filePath("X7"));
        QVERIFY(socket.open(QIODevice::WriteOnly));
        const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
        qunsetenv("QT_QPA_PLATFORM");
        qputenv("DISPLAY", display);
        qputenv("WAYLAND_DISPLAY", wayland);
        const bool available = displayAvailable(sockets.path());
        qputenv("QT_QPA_PLATFORM", platform);
        QCOMPARE(available, opens);
    }

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

QTEST_MAIN(QuestionTest)
#include "test_question.moc"
