#include "recorder/CommandLine.h"

#include <QCoreApplication>
#include <optional>

int main(int argc, char *argv[])
{
    std::optional<int> status;
    {
        QCoreApplication app(argc, argv);
        status =
            quizzolo::recorder::runCommandLine(QCoreApplication::arguments(), QCoreApplication::applicationDirPath());
    }
    return status.value_or(0);
}
