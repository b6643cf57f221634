// The euro hunt: questions paced by the timer, typed answers, coins, the anthem.
#include "app/ResourceLoader.h"
#include "doubles/Harness.h"
#include "engine/Texts.h"
#include "engine/Timer1Control.h"
#include "modes/AnswerCheck.h"
#include "modes/EuroHunt.h"
#include "modes/RewardTable.h"
#include "modes/SingleQuestion.h"

#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <map>

using namespace quizzolo;
using namespace quizzolo::test;

namespace {

// Opens a question a × b and types the answer into the box, then ENTER.
void answer(Harness &h, int a, int b, const QString &typed)
{
    h.random.pushQuestion(a, b);
    Command5_Click(h.t);
    h.ui.Text1->setText(typed);
    QTest::keyClick(h.ui.Text1, Qt::Key_Return);
}

// Types each character as a key press carrying that text, as a keyboard layout would.
void type(QWidget *w, const QString &text)
{
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &release);
    }
}

// What the coins of a row add up to, in cents.
int rewardCents(const RewardRow &row)
{
    static const std::map<int, int> cents = {{0, 0},    {101, 1},  {102, 2},  {103, 5},
                                             {104, 10}, {105, 20}, {106, 50}, {107, 100}};
    int sum = 0;
    for (int id : row.ids)
        sum += cents.at(id);
    return sum;
}

bool shows(QLabel *place, int id)
{
    if (id == 0)
        return place->isHidden() && place->pixmap().isNull();
    return !place->isHidden() && place->pixmap().toImage() == loadBitmap(id).toImage();
}

} // namespace

class EuroHuntTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { prepareApplication(); }

    void keyFilter_data();
    void keyFilter();
    void composedLettersAreFilteredToo_data();
    void composedLettersAreFilteredToo();
    void deleteEditsTheAnswer();
    void questionOpensReadyForTyping();
    void countMoves_data();
    void countMoves();
    void eachCountShowsItsCoins_data();
    void eachCountShowsItsCoins();
    void coinsClimbFromOneCentToOneEuro();
    void finalStepWaitsThenCoinThenAnthem();
    void timerOpensTheNextQuestion();
    void clickDuringThePauseCancelsThePendingTick();
    void wonHuntRestartsFromZero();
    void interruptedHuntResumesItsCount();
    void emptyAnswerIsIgnored();
    void answerIsScoredOnlyWhileAQuestionIsOpen_data();
    void answerIsScoredOnlyWhileAQuestionIsOpen();
    void secondEnterInTheLastSecondIsIgnored();
    void answerBoxTakesTheFocusUnderThePointer_data();
    void answerBoxTakesTheFocusUnderThePointer();
};

void EuroHuntTest::keyFilter_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::newRow("lower-case b discarded") << "b"
                                            << "";
    QTest::newRow("x discarded") << "x"
                                 << "";
    QTest::newRow("capital B discarded") << "B"
                                         << "";
    QTest::newRow("accented letter discarded") << QString::fromUtf8("è") << "";
    QTest::newRow("capital A passes") << "A"
                                      << "A";
    QTest::newRow("digits pass") << "42"
                                 << "42";
    QTest::newRow("minus passes") << "-"
                                  << "-";
    QTest::newRow("space passes") << " "
                                  << " ";
    QTest::newRow("digit among letters") << "a7z"
                                         << "7";
}

void EuroHuntTest::keyFilter()
{
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    Harness h;
    Command5_Click(h.t);
    type(h.ui.Text1, typed);
    QCOMPARE(h.ui.Text1->text(), kept);
    // Backspace is a control key: it passes.
    int backspace = 8;
    Text1_KeyPress(h.t, backspace);
    QCOMPARE(backspace, 8);
}

void EuroHuntTest::composedLettersAreFilteredToo_data()
{
    QTest::addColumn<QString>("committed");
    QTest::addColumn<QString>("kept");
    QTest::newRow("dead key à") << QString::fromUtf8("à") << "";
    QTest::newRow("composed digit") << "7"
                                    << "7";
    QTest::newRow("mixed commit") << QString::fromUtf8("7è") << "7";
}

void EuroHuntTest::composedLettersAreFilteredToo()
{
    QFETCH(QString, committed);
    QFETCH(QString, kept);
    Harness h;
    Command5_Click(h.t);
    QInputMethodEvent compose;
    compose.setCommitString(committed);
    QApplication::sendEvent(h.ui.Text1, &compose);
    QCOMPARE(h.ui.Text1->text(), kept);
}

void EuroHuntTest::deleteEditsTheAnswer()
{
    Harness h;
    Command5_Click(h.t);
    QTest::keyClicks(h.ui.Text1, "12");
    QTest::keyClick(h.ui.Text1, Qt::Key_Left);
    QTest::keyClick(h.ui.Text1, Qt::Key_Delete);
    QCOMPARE(h.ui.Text1->text(), QStringLiteral("1"));
}

void EuroHuntTest::questionOpensReadyForTyping()
{
    Harness h;
    QVERIFY(h.showActive());
    bool unlockedBeforeSpeaking = false;
    h.clips.onPlay = [&](const PlayedClip &) {
        unlockedBeforeSpeaking = !h.ui.Text1->isReadOnly() && h.ui.Text1->hasFocus();
    };
    Command5_Click(h.t);
    QVERIFY(unlockedBeforeSpeaking);
    QVERIFY(h.t.stato.cacciaInCorso);
    QCOMPARE(h.ui.Command2->text(), texts::scriviRisultato);
    QVERIFY(!h.ui.Command2->isHidden());
    for (QPushButton *b : {h.ui.Command1, h.ui.Command3, h.ui.command4, h.ui.Command5})
        QVERIFY(!b->isEnabled());
    QVERIFY(h.ui.fine->isEnabled());
}

void EuroHuntTest::countMoves_data()
{
    QTest::addColumn<float>("before");
    QTest::addColumn<bool>("right");
    QTest::addColumn<float>("after");
    QTest::addColumn<QString>("clip");
    QTest::newRow("right at 0") << 0.0f << true << 1.0f << "voxa_esatto.wav";
    QTest::newRow("wrong at 0 stays 0") << 0.0f << false << 0.0f << "voxa_ripeti.wav";
    QTest::newRow("wrong at 1") << 1.0f << false << 0.0f << "voxa_ripeti.wav";
    QTest::newRow("right in the middle") << 9.0f << true << 10.0f << "voxa_esatto.wav";
    QTest::newRow("wrong in the middle") << 9.0f << false << 8.0f << "voxa_ripeti.wav";
    QTest::newRow("right at 19 wins") << 19.0f << true << 20.0f << "voxa_esatto.wav";
}

void EuroHuntTest::countMoves()
{
    QFETCH(float, before);
    QFETCH(bool, right);
    QFETCH(float, after);
    QFETCH(QString, clip);
    Harness h;
    h.t.stato.euroVinti = before;
    answer(h, 6, 7, right ? "42" : "41");
    QCOMPARE(h.t.stato.euroVinti, after);
    QCOMPARE(h.clips.played[2].file, clip);
    QVERIFY(h.clips.played[2].mode == PlayMode::Async);
    QVERIFY(!h.t.stato.cacciaInCorso);
    QVERIFY(h.ui.Text1->isReadOnly());
    QVERIFY(h.ui.Command2->isHidden());
    for (QPushButton *b : {h.ui.Command1, h.ui.Command3, h.ui.command4, h.ui.Command5})
        QVERIFY(b->isEnabled());
    QCOMPARE(h.ui.Timer1->isEnabled(), after < 20.0f);
}

void EuroHuntTest::eachCountShowsItsCoins_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("id1");
    QTest::addColumn<int>("id2");
    QTest::addColumn<int>("id3");
    // clang-format off
    const int rows[21][3] = {{0, 0, 0},       {101, 0, 0},     {102, 0, 0},     {102, 101, 0},   {102, 102, 0},
                             {103, 0, 0},     {103, 101, 0},   {103, 102, 0},   {103, 102, 101}, {103, 102, 102},
                             {104, 0, 0},     {104, 103, 0},   {105, 0, 0},     {105, 104, 0},   {105, 105, 0},
                             {106, 0, 0},     {106, 104, 0},   {106, 105, 0},   {106, 105, 104}, {106, 105, 105},
                             {107, 0, 0}};
    // clang-format on
    for (int n = 0; n <= 20; ++n)
        QTest::newRow(qPrintable(QStringLiteral("count %1").arg(n))) << n << rows[n][0] << rows[n][1] << rows[n][2];
}

void EuroHuntTest::eachCountShowsItsCoins()
{
    QFETCH(int, count);
    QFETCH(int, id1);
    QFETCH(int, id2);
    QFETCH(int, id3);
    Harness h;
    // Reach the count by a scored answer, the way a child does: 0 only by a wrong one.
    h.t.stato.euroVinti = static_cast<float>(count == 0 ? 1 : count - 1);
    answer(h, 3, 3, count == 0 ? "8" : "9");
    QCOMPARE(h.t.stato.euroVinti, static_cast<float>(count));
    QVERIFY(shows(h.ui.Image1, id1));
    QVERIFY(shows(h.ui.Image2, id2));
    QVERIFY(shows(h.ui.Image3, id3));
}

void EuroHuntTest::coinsClimbFromOneCentToOneEuro()
{
    QList<int> amounts;
    for (int n = 0; n <= 20; ++n)
        amounts << rewardCents(*rewardRow(static_cast<float>(n)));
    QCOMPARE(amounts, (QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 15, 20, 30, 40, 50, 60, 70, 80, 90, 100}));
    QVERIFY(!rewardRow(21.0f));
    QVERIFY(!rewardRow(-1.0f));
}

void EuroHuntTest::finalStepWaitsThenCoinThenAnthem()
{
    Harness h;
    h.t.stato.euroVinti = 19;
    h.t.stato.ritardoSecondi = 7;
    bool coinDuringWait = true;
    double answeredAt = 0;
    h.random.pushQuestion(9, 9);
    Command5_Click(h.t);
    h.ui.Text1->setText("81");
    answeredAt = h.clock.now;
    h.pump.atTime(answeredAt + 0.5, [&] { coinDuringWait = !h.ui.Image1->isHidden(); });
    bool coinAtAnthem = false;
    h.clips.onPlay = [&](const PlayedClip &c) {
        if (c.file == "anthem1.wav")
            coinAtAnthem = shows(h.ui.Image1, 107) && shows(h.ui.Image2, 0) && shows(h.ui.Image3, 0);
    };
    QTest::keyClick(h.ui.Text1, Qt::Key_Return);
    QVERIFY(!coinDuringWait);
    QVERIFY(coinAtAnthem);
    QCOMPARE(h.clips.files().mid(2), (QStringList{"voxa_esatto.wav", "anthem1.wav"}));
    QCOMPARE(h.clips.played.back().at, answeredAt + 1.0);
    QVERIFY(h.clips.played.back().mode == PlayMode::Async);
    QCOMPARE(int(h.t.stato.ritardoSecondi), 1); // kept for the sequences
    QVERIFY(!h.ui.Timer1->isEnabled());
    QVERIFY(h.ui.Command5->isEnabled());
}

void EuroHuntTest::timerOpensTheNextQuestion()
{
    Harness h;
    answer(h, 2, 3, "6");
    QVERIFY(h.ui.Timer1->isEnabled());
    QVERIFY(!h.t.stato.cacciaInCorso);
    h.random.pushQuestion(4, 4);
    emit h.ui.Timer1->tick();
    QVERIFY(h.t.stato.cacciaInCorso);
    QVERIFY(!h.ui.Timer1->isEnabled()); // one tick per answer
    QCOMPARE(h.ui.Label1->text(), QStringLiteral("4"));
    QVERIFY(h.ui.Text1->text().isEmpty());
}

void EuroHuntTest::clickDuringThePauseCancelsThePendingTick()
{
    Harness h;
    answer(h, 2, 3, "6");
    QVERIFY(h.ui.Timer1->isEnabled());
    Command5_Click(h.t);
    QVERIFY(!h.ui.Timer1->isEnabled());
    QVERIFY(h.t.stato.cacciaInCorso);
    QCOMPARE(h.random.drawn, 4); // exactly one more question
}

void EuroHuntTest::wonHuntRestartsFromZero()
{
    Harness h;
    h.t.stato.euroVinti = 19;
    answer(h, 2, 2, "4");
    QVERIFY(shows(h.ui.Image1, 107));
    bool clearedBeforeSpeaking = false;
    h.clips.onPlay = [&](const PlayedClip &) {
        clearedBeforeSpeaking = h.t.stato.euroVinti == 0.0f && shows(h.ui.Image1, 0);
    };
    Command5_Click(h.t);
    QVERIFY(clearedBeforeSpeaking);
    for (QLabel *place : {h.ui.Image1, h.ui.Image2, h.ui.Image3})
        QVERIFY(shows(place, 0));
}

void EuroHuntTest::interruptedHuntResumesItsCount()
{
    Harness h;
    h.t.stato.euroVinti = 6;
    answer(h, 5, 5, "25");
    QVERIFY(shows(h.ui.Image1, 103) && shows(h.ui.Image2, 102));
    Command1_Click(h.t); // another mode takes over in the pause
    Command2_Click(h.t);
    QVERIFY(h.ui.Image1->isHidden());
    Command5_Click(h.t);
    QCOMPARE(h.t.stato.euroVinti, 7.0f);
    QVERIFY(h.ui.Image1->isHidden()); // hidden until the next scored answer
    h.ui.Text1->setText(QString::number(h.t.stato.risultato));
    QTest::keyClick(h.ui.Text1, Qt::Key_Return);
    QCOMPARE(h.t.stato.euroVinti, 8.0f);
    QVERIFY(shows(h.ui.Image3, 101));
}

void EuroHuntTest::emptyAnswerIsIgnored()
{
    Harness h;
    h.t.stato.euroVinti = 3;
    answer(h, 2, 2, "");
    QCOMPARE(h.clips.played.size(), std::size_t(2));
    QVERIFY(h.t.stato.cacciaInCorso);
    QVERIFY(!h.ui.Text1->isReadOnly());
    QCOMPARE(h.t.stato.euroVinti, 3.0f);
    // A box of blanks is not empty: it reads as 0, a wrong answer.
    QTest::keyClicks(h.ui.Text1, " ");
    QTest::keyClick(h.ui.Text1, Qt::Key_Return);
    QCOMPARE(h.clips.files().back(), QStringLiteral("voxa_ripeti.wav"));
    QCOMPARE(h.t.stato.euroVinti, 2.0f);
}

void EuroHuntTest::answerIsScoredOnlyWhileAQuestionIsOpen_data()
{
    QTest::addColumn<QString>("situation");
    QTest::newRow("ENTER again between hunt questions") << "pause";
    QTest::newRow("ENTER after a single-question result") << "single";
}

void EuroHuntTest::answerIsScoredOnlyWhileAQuestionIsOpen()
{
    QFETCH(QString, situation);
    Harness h;
    float countBefore = 0;
    if (situation == "pause") {
        answer(h, 3, 4, "12");
        countBefore = 1;
        h.ui.Timer1->setEnabled(false); // as if the child pressed ENTER just before the tick
    } else {
        Command1_Click(h.t);
        Command2_Click(h.t); // the product stands in the locked box
    }
    const std::size_t heard = h.clips.played.size();
    QTest::keyClick(h.ui.Text1, Qt::Key_Return);
    QTest::keyClick(h.ui.Text1, Qt::Key_Return);
    QCOMPARE(h.t.stato.euroVinti, countBefore);
    QCOMPARE(h.clips.played.size(), heard);
    QVERIFY(!h.ui.Timer1->isEnabled()); // no hunt starts by itself
}

void EuroHuntTest::secondEnterInTheLastSecondIsIgnored()
{
    Harness h;
    h.t.stato.euroVinti = 19;
    h.random.pushQuestion(7, 7);
    Command5_Click(h.t);
    h.ui.Text1->setText("49");
    h.pump.atTime(h.clock.now + 0.5, [&] { QTest::keyClick(h.ui.Text1, Qt::Key_Return); });
    QTest::keyClick(h.ui.Text1, Qt::Key_Return);
    QCOMPARE(h.t.stato.euroVinti, 20.0f);
    QCOMPARE(h.clips.files().mid(2), (QStringList{"voxa_esatto.wav", "anthem1.wav"}));
    QVERIFY(shows(h.ui.Image1, 107));
    // And the next click starts a fresh hunt.
    Command5_Click(h.t);
    QCOMPARE(h.t.stato.euroVinti, 0.0f);
}

void EuroHuntTest::answerBoxTakesTheFocusUnderThePointer_data()
{
    QTest::addColumn<bool>("questionOpen");
    QTest::newRow("during a question") << true;
    QTest::newRow("no question open") << false;
}

void EuroHuntTest::answerBoxTakesTheFocusUnderThePointer()
{
    QFETCH(bool, questionOpen);
    Harness h;
    QVERIFY(h.showActive());
    if (questionOpen)
        Command5_Click(h.t);
    h.ui.fine->setFocus();
    QTest::mouseMove(h.ui.Text1, QPoint(20, 20));
    QTest::mouseMove(h.ui.Text1, QPoint(30, 30));
    QCOMPARE(h.ui.Text1->hasFocus(), questionOpen);
}

QTEST_MAIN(EuroHuntTest)
#include "test_euro_hunt.moc"
