// How a typed (or pasted) answer is read as a number.
#include "modes/AnswerReading.h"

#include <QtTest>
#include <cmath>

using namespace quizzolo;

class AnswerReadingTest : public QObject {
    Q_OBJECT

  private slots:
    void reads_data();
    void reads();
    void ignoresTheLocale();
};

void AnswerReadingTest::reads_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    // The answers that fit the box, for the product 9.
    QTest::newRow("9") << "9" << 9.0;
    QTest::newRow("space then 9") << " 9" << 9.0;
    QTest::newRow("9 then space") << "9 " << 9.0;
    QTest::newRow("09") << "09" << 9.0;
    QTest::newRow("+9") << "+9" << 9.0;
    QTest::newRow("9 and a point") << "9." << 9.0;
    QTest::newRow("9 and a comma") << "9," << 9.0;
    QTest::newRow("9A") << "9A" << 9.0;
    QTest::newRow("-9") << "-9" << -9.0;
    QTest::newRow("A9") << "A9" << 0.0;
    QTest::newRow("single space") << " " << 0.0;
    QTest::newRow("1 then space") << "1 " << 1.0;
    // Longer texts, as pasting or other callers may give.
    QTest::newRow("blanks inside digits") << "1 2" << 12.0;
    QTest::newRow("tab inside digits") << "4\t2" << 42.0;
    QTest::newRow("line feed inside digits") << "5\n6" << 56.0;
    QTest::newRow("second decimal point stops") << "1.2.3" << 1.2;
    QTest::newRow("decimal fraction") << "0.5" << 0.5;
    QTest::newRow("leading point") << ".5" << 0.5;
    QTest::newRow("sign without digits") << "-" << 0.0;
    QTest::newRow("two signs") << "+-3" << 0.0;
    QTest::newRow("exponent E") << "1E2" << 100.0;
    QTest::newRow("exponent D lower case") << "2d1" << 20.0;
    QTest::newRow("exponent with sign") << "5E-1" << 0.5;
    QTest::newRow("E without digits") << "7E" << 7.0;
    QTest::newRow("hexadecimal") << "&H1F" << 31.0;
    QTest::newRow("hexadecimal 16-bit wraps") << "&HFFFF" << -1.0;
    QTest::newRow("hexadecimal 32-bit") << "&H10000" << 65536.0;
    QTest::newRow("octal") << "&O17" << 15.0;
    QTest::newRow("octal stops at 8") << "&O78" << 7.0;
    QTest::newRow("prefix alone") << "&H" << 0.0;
    QTest::newRow("ampersand alone") << "&" << 0.0;
    QTest::newRow("comma decimal is not read") << "3,5" << 3.0;
    QTest::newRow("accented letter stops") << QString::fromUtf8("4è") << 4.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("huge exponent") << "1E999" << HUGE_VAL;
    QTest::newRow("tiny exponent") << "1E-999" << 0.0;
    QTest::newRow("long fraction underflows") << "0." + QString(330, '0') + "1" << 0.0;
    QTest::newRow("long number overflows before a small exponent") << "1" + QString(400, '0') + "e-5" << HUGE_VAL;
}

void AnswerReadingTest::reads()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(leggiRisposta(text), value);
}

void AnswerReadingTest::ignoresTheLocale()
{
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    std::setlocale(LC_NUMERIC, "it_IT.UTF-8");
    QCOMPARE(leggiRisposta(u"2.5"), 2.5);
    QCOMPARE(leggiRisposta(u"2,5"), 2.0);
    std::setlocale(LC_NUMERIC, previous.c_str());
    QLocale::setDefault(before);
}

QTEST_GUILESS_MAIN(AnswerReadingTest)
#include "test_answer_reading.moc"
