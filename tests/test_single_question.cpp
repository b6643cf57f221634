// One question on request, its result on request: what is heard, seen and when.
#include "doubles/Harness.h"
#include "engine/StartUp.h"
#include "engine/Texts.h"
#include "engine/Timer1Control.h"
#include "modes/EuroHunt.h"
#include "modes/SingleQuestion.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace quizzolo;
using namespace quizzolo::test;

namespace {

// What stood on screen at the moment a clip started.
struct Seen {
    QString clip;
    QString label1;
    QString label2;
    QString answer;
};

} // namespace

class SingleQuestionTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { prepareApplication(); }

    void speaksQuestionThenResult_data();
    void speaksQuestionThenResult();
    void showsEachFactorBeforeSpeakingIt();
    void productAppearsOnlyAfterItIsSpoken();
    void buttonsLockAroundTheQuestion();
    void tableChosenDuringAQuestionAppliesToTheNext();
    void secondClickDuringTheQuestionStaysConsistent_data();
    void secondClickDuringTheQuestionStaysConsistent();
    void askingLeavesAPausedHuntBehind();
    void promptDuringAHuntQuestionOnlyRepeatsTheRequest();
};

void SingleQuestionTest::speaksQuestionThenResult_data()
{
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("second");
    QTest::addColumn<QStringList>("resultClips");
    QTest::newRow("product 81") << 9 << 9 << QStringList{"voxa80.wav", "va1.wav"};
    QTest::newRow("product 56") << 7 << 8 << QStringList{"voxa50.wav", "va6.wav"};
    QTest::newRow("product 40") << 5 << 8 << QStringList{"voxa40.wav"};
    QTest::newRow("product 20") << 4 << 5 << QStringList{"voxa20.wav"};
    QTest::newRow("product 18") << 2 << 9 << QStringList{"va18.wav"};
    QTest::newRow("product 12") << 3 << 4 << QStringList{"va12.wav"};
    QTest::newRow("product 10") << 2 << 5 << QStringList{"va10.wav"};
    QTest::newRow("product 7") << 1 << 7 << QStringList{"va7.wav"};
}

void SingleQuestionTest::speaksQuestionThenResult()
{
    QFETCH(int, first);
    QFETCH(int, second);
    QFETCH(QStringList, resultClips);
    Harness h;
    h.random.pushQuestion(first, second);
    Command1_Click(h.t);
    QCOMPARE(h.clips.files(),
             (QStringList{QStringLiteral("voxa%1.wav").arg(first), QStringLiteral("va%1.wav").arg(second)}));
    QCOMPARE(int(h.t.stato.risultato), first * second);
    QVERIFY(h.ui.Text1->text().isEmpty()); // nothing of the product yet

    h.clips.played.clear();
    Command2_Click(h.t);
    QCOMPARE(h.clips.files(), resultClips);
    for (const PlayedClip &c : h.clips.played)
        QVERIFY(c.mode == PlayMode::Sync);
    QCOMPARE(h.ui.Text1->text(), QString::number(first * second));
    QCOMPARE(h.ui.Label1->text(), QString::number(first));
    QCOMPARE(h.ui.Label2->text(), QString::number(second));
    QVERIFY(h.clips.played.front().at > 0);
}

void SingleQuestionTest::showsEachFactorBeforeSpeakingIt()
{
    Harness h;
    std::vector<Seen> seen;
    h.clips.onPlay = [&](const PlayedClip &c) {
        seen.push_back({c.file, h.ui.Label1->text(), h.ui.Label2->text(), h.ui.Text1->text()});
    };
    int pumpsBeforeFirstClip = -1;
    h.pump.atPump(1, [&] { pumpsBeforeFirstClip = int(h.clips.played.size()); });
    h.random.pushQuestion(6, 3);
    h.ui.Text1->setText(QStringLiteral("42")); // an old product is cleared
    Command1_Click(h.t);
    QCOMPARE(seen.size(), std::size_t(2));
    QCOMPARE(seen[0].clip, QStringLiteral("voxa6.wav"));
    QCOMPARE(seen[0].label1, QStringLiteral("6"));
    QCOMPARE(seen[0].label2, QString());
    QCOMPARE(seen[0].answer, QString());
    QCOMPARE(seen[1].clip, QStringLiteral("va3.wav"));
    QCOMPARE(seen[1].label2, QStringLiteral("3"));
    // The first factor is painted (events pumped) before its clip starts.
    QCOMPARE(pumpsBeforeFirstClip, 0);
    QCOMPARE(h.pump.calls, 2);
}

void SingleQuestionTest::productAppearsOnlyAfterItIsSpoken()
{
    Harness h;
    h.random.pushQuestion(8, 7);
    Command1_Click(h.t);
    QStringList answerAtEachClip;
    h.clips.onPlay = [&](const PlayedClip &) { answerAtEachClip << h.ui.Text1->text(); };
    Command2_Click(h.t);
    QCOMPARE(answerAtEachClip, (QStringList{QString(), QString()}));
    QCOMPARE(h.ui.Text1->text(), QStringLiteral("56"));
}

void SingleQuestionTest::buttonsLockAroundTheQuestion()
{
    Harness h;
    bool command2ShownWhileSpeaking = false;
    h.clips.onPlay = [&](const PlayedClip &) { command2ShownWhileSpeaking |= !h.ui.Command2->isHidden(); };
    Command1_Click(h.t);
    QVERIFY(!command2ShownWhileSpeaking);
    for (QPushButton *b : {h.ui.Command1, h.ui.Command3, h.ui.command4, h.ui.Command5})
        QVERIFY(!b->isEnabled());
    QVERIFY(!h.ui.Command2->isHidden());
    QCOMPARE(h.ui.Command2->text(), texts::fammiVedere);
    QVERIFY(h.ui.Text1->isReadOnly());
    QVERIFY(h.ui.fine->isEnabled());

    Command2_Click(h.t);
    for (QPushButton *b : {h.ui.Command1, h.ui.Command3, h.ui.command4, h.ui.Command5})
        QVERIFY(b->isEnabled());
    QVERIFY(h.ui.Command2->isHidden());
    QVERIFY(h.ui.Text1->isReadOnly());
    for (QLabel *place : {h.ui.Image1, h.ui.Image2, h.ui.Image3})
        QVERIFY(place->isHidden());
}

void SingleQuestionTest::tableChosenDuringAQuestionAppliesToTheNext()
{
    Harness h;
    h.random.pushQuestion(2, 5);
    h.pump.atPump(1, [&] { Sel_Quizzolo_Click(h.t, 3); });
    Command1_Click(h.t);
    QCOMPARE(int(h.t.stato.fattore1), 2); // already drawn when the click was handled
    Command2_Click(h.t);
    h.random.pushQuestion(8, 6);
    Command1_Click(h.t);
    QCOMPARE(int(h.t.stato.fattore1), 3);
    QCOMPARE(int(h.t.stato.fattore2), 6);
    QCOMPARE(h.clips.files().mid(h.clips.files().size() - 2), (QStringList{"voxa3.wav", "va6.wav"}));
}

void SingleQuestionTest::secondClickDuringTheQuestionStaysConsistent_data()
{
    QTest::addColumn<int>("pumpPoint");
    QTest::addColumn<QStringList>("spoken");
    // Before the first factor is spoken, the outer call goes on with the nested factors.
    QTest::newRow("before the first clip") << 1 << QStringList{"voxa4.wav", "va9.wav", "voxa4.wav", "va9.wav"};
    // After both clips, the nested question simply follows the first.
    QTest::newRow("after both clips") << 2 << QStringList{"voxa2.wav", "va3.wav", "voxa4.wav", "va9.wav"};
}

void SingleQuestionTest::secondClickDuringTheQuestionStaysConsistent()
{
    QFETCH(int, pumpPoint);
    QFETCH(QStringList, spoken);
    Harness h;
    h.random.pushQuestion(2, 3);
    h.random.pushQuestion(4, 9);
    h.pump.atPump(pumpPoint, [&] { Command1_Click(h.t); });
    Command1_Click(h.t);
    QCOMPARE(h.clips.files(), spoken);
    QCOMPARE(h.ui.Label1->text(), QStringLiteral("4"));
    QCOMPARE(h.ui.Label2->text(), QStringLiteral("9"));
    QCOMPARE(int(h.t.stato.risultato), 36);
    QCOMPARE(h.t.deepestNesting, 2);
    Command2_Click(h.t);
    QCOMPARE(h.clips.files().mid(spoken.size()), (QStringList{"voxa30.wav", "va6.wav"}));
}

void SingleQuestionTest::askingLeavesAPausedHuntBehind()
{
    Harness h;
    h.t.stato.euroVinti = 5;
    h.ui.Timer1->setEnabled(true);
    h.ui.Command2->setText(texts::scriviRisultato);
    h.ui.Image1->setVisible(true);
    Command1_Click(h.t);
    QVERIFY(!h.ui.Timer1->isEnabled());
    QVERIFY(!h.t.stato.cacciaInCorso);
    QCOMPARE(h.ui.Command2->text(), texts::fammiVedere);
    QVERIFY(h.ui.Image1->isHidden());
    QCOMPARE(h.t.stato.euroVinti, 5.0f); // a later hunt resumes from here
}

void SingleQuestionTest::promptDuringAHuntQuestionOnlyRepeatsTheRequest()
{
    Harness h;
    Command5_Click(h.t);
    const QString answerBefore = h.ui.Text1->text();
    h.clips.played.clear();
    Command2_Click(h.t);
    QCOMPARE(h.clips.files(), QStringList{"voxa_dig.wav"});
    QVERIFY(h.clips.played[0].mode == PlayMode::Async);
    QVERIFY(h.t.stato.cacciaInCorso);
    QVERIFY(!h.ui.Text1->isReadOnly());
    QCOMPARE(h.ui.Text1->text(), answerBefore);
    QVERIFY(!h.ui.Command2->isHidden());
}

QTEST_MAIN(SingleQuestionTest)
#include "test_single_question.moc"
