// Start-up state and the choice of the times table.
#include "doubles/Harness.h"
#include "engine/Question.h"
#include "engine/StartUp.h"
#include "engine/Timer1Control.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QtTest>

using namespace quizzolo;
using namespace quizzolo::test;

class StartUpTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { prepareApplication(); }

    void startsReadyForTheFirstQuestion();
    void optionClickStoresTheTableAndNothingElse_data();
    void optionClickStoresTheTableAndNothingElse();
    void chosenTableFixesTheFirstFactor_data();
    void chosenTableFixesTheFirstFactor();
    void drawCoversOneToNine_data();
    void drawCoversOneToNine();
};

void StartUpTest::startsReadyForTheFirstQuestion()
{
    Harness h;
    const TrainerState &s = h.t.stato;
    QCOMPARE(s.ritardoSecondi, std::int16_t(1));
    QCOMPARE(s.tabellaScelta, std::int16_t(0));
    QVERIFY(!s.fermaOperazioni && !s.conRisultato && !s.cacciaInCorso);
    QCOMPARE(s.euroVinti, 0.0f);
    QVERIFY(h.ui.Sel_Quizzolo[0]->isChecked());
    QVERIFY(h.ui.Text1->isReadOnly());
    QVERIFY(h.ui.Text1->text().isEmpty() && h.ui.Label1->text().isEmpty() && h.ui.Label2->text().isEmpty());
    QVERIFY(h.ui.Command2->isHidden());
    QVERIFY(h.ui.FrameRitardo->isHidden());
    for (QLabel *place : {h.ui.Image1, h.ui.Image2, h.ui.Image3})
        QVERIFY(place->isHidden() && place->pixmap().isNull());
    QVERIFY(!h.ui.Timer1->isEnabled());
    QCOMPARE(h.ui.Timer1->interval(), 3000);
    // The slider says 1000 (2 seconds) but the pause is 1 second until it moves.
    QCOMPARE(h.ui.variaRitardo->value(), 1000);
    QVERIFY(h.clips.played.empty());
    QCOMPARE(h.random.drawn, 0);
    QCOMPARE(h.window.windowTitle(), QStringLiteral("Form1"));
}

void StartUpTest::optionClickStoresTheTableAndNothingElse_data()
{
    QTest::addColumn<int>("index");
    for (int i : {7, 1, 9, 0})
        QTest::newRow(qPrintable(QStringLiteral("option %1").arg(i))) << i;
}

void StartUpTest::optionClickStoresTheTableAndNothingElse()
{
    QFETCH(int, index);
    Harness h;
    h.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&h.window));
    if (index == 0)
        QTest::mouseClick(h.ui.Sel_Quizzolo[3], Qt::LeftButton); // away from "tutte" first
    QTest::mouseClick(h.ui.Sel_Quizzolo[static_cast<std::size_t>(index)], Qt::LeftButton);
    QCOMPARE(h.t.stato.tabellaScelta, std::int16_t(index));
    int selected = 0;
    for (QRadioButton *option : h.ui.Sel_Quizzolo)
        selected += option->isChecked() ? 1 : 0;
    QCOMPARE(selected, 1);
    QVERIFY(h.clips.played.empty());
    QCOMPARE(h.random.drawn, 0);
    QVERIFY(h.ui.Label1->text().isEmpty());
    QVERIFY(h.ui.Command1->isEnabled());
}

void StartUpTest::chosenTableFixesTheFirstFactor_data()
{
    QTest::addColumn<int>("table");
    QTest::addColumn<float>("r1");
    QTest::addColumn<float>("r2");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("second");
    QTest::newRow("all tables: both drawn")
        << 0 << ScriptedRandom::forFactor(4) << ScriptedRandom::forFactor(4) << 4 << 4;
    QTest::newRow("table 7 replaces the first")
        << 7 << ScriptedRandom::forFactor(2) << ScriptedRandom::forFactor(9) << 7 << 9;
    QTest::newRow("table 9, lowest draw") << 9 << 0.0f << 0.0f << 9 << 1;
}

void StartUpTest::chosenTableFixesTheFirstFactor()
{
    QFETCH(int, table);
    QFETCH(float, r1);
    QFETCH(float, r2);
    QFETCH(int, first);
    QFETCH(int, second);
    Harness h;
    Sel_Quizzolo_Click(h.t, table);
    h.random.push({r1, r2});
    nuovaOperazione(h.t, h.t.stato.fattore1, h.t.stato.fattore2);
    QCOMPARE(int(h.t.stato.fattore1), first);
    QCOMPARE(int(h.t.stato.fattore2), second);
    QCOMPARE(int(h.t.stato.risultato), first * second);
    QCOMPARE(h.random.drawn, 2); // two draws whatever the table
    QCOMPARE(h.ui.Label1->text(), QString::number(first));
    QCOMPARE(h.ui.Label2->text(), QString::number(second));
}

void StartUpTest::drawCoversOneToNine_data()
{
    QTest::addColumn<float>("r");
    QTest::addColumn<int>("factor");
    QTest::newRow("0") << 0.0f << 1;
    QTest::newRow("just below 1/9") << 0.1111f << 1;
    QTest::newRow("1/9") << 1.0f / 9.0f << 2;
    QTest::newRow("middle") << 0.5f << 5;
    QTest::newRow("largest float below 1") << 0.99999994f << 9;
}

void StartUpTest::drawCoversOneToNine()
{
    QFETCH(float, r);
    QFETCH(int, factor);
    QCOMPARE(int(drawFactor(r)), factor);
}

QTEST_MAIN(StartUpTest)
#include "test_startup.moc"
