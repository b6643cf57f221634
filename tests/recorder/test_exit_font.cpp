// The exit question uses the window's face, not the desktop's default sans, which on a
// bare system may resolve to a monospace font.
#include "app/RealOutside.h"
#include "app/TabellaLayout.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

using namespace quizzolo;

class ExitFontTest : public QObject {
    Q_OBJECT
  private slots:
    void exitQuestionInWindowFace();
};

void ExitFontTest::exitQuestionInWindowFace()
{
    prepareApplication();
    MessageBoxExitQuestion question;
    QStringList families;
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        for (const QLabel *text : box->findChildren<QLabel *>()) {
            if (!text->text().isEmpty())
                families << QFontInfo(text->font()).family();
        }
        for (QAbstractButton *b : box->buttons())
            families << QFontInfo(b->font()).family();
        box->done(QMessageBox::No);
    });
    poll.start(10);
    QVERIFY(!question.confirmExit());
    QVERIFY(!families.isEmpty());
    for (const QString &family : families)
        QVERIFY2(family == QLatin1String("Arial") || family == QLatin1String("Liberation Sans"), qPrintable(family));
}

QTEST_MAIN(ExitFontTest)
#include "test_exit_font.moc"
