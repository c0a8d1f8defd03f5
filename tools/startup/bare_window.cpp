// The least a Qt Widgets timer window costs: one window with one QLabel that
// a 1 s QTimer counts down (--seconds N, 1500 by default); the timer stops at
// zero. scripts/measure-startup launches it beside the program, so the
// program's start and memory read as a ratio to this floor.
//
// With --frames N the window also shows a face-sized widget that repaints
// a strip of itself N times a second (MovingStrands): the floor for what a
// running face costs, for the side-by-side measurement of the faces.
#include "MovingStrands.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>
#include <algorithm>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption secondsOption(QStringLiteral("seconds"), QStringLiteral("Seconds to count down."),
                                           QStringLiteral("N"), QStringLiteral("1500"));
    parser.addOption(secondsOption);
    const QCommandLineOption framesOption(QStringLiteral("frames"),
                                          QStringLiteral("Frames a second of a moving strip (none by default)."),
                                          QStringLiteral("N"), QStringLiteral("0"));
    parser.addOption(framesOption);
    parser.process(app);
    const qint64 total = parser.value(secondsOption).toLongLong();
    const int fps = std::clamp(parser.value(framesOption).toInt(), 0, 1000);

    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare Qt window"));
    auto *label = new QLabel(&window);
    label->setAlignment(Qt::AlignCenter);
    QFont font = label->font();
    font.setPointSize(40);
    label->setFont(font);
    auto *column = new QVBoxLayout(&window);
    column->addWidget(label);
    if (fps > 0)
        column->addWidget(new MovingStrands(fps, &window), 0, Qt::AlignHCenter);

    QElapsedTimer clock;
    clock.start();
    QTimer tick;
    tick.setInterval(1000);
    const auto show = [&] {
        const qint64 left = qMax<qint64>(0, total - clock.elapsed() / 1000);
        label->setText(QStringLiteral("%1:%2")
                           .arg(left / 60, 2, 10, QLatin1Char('0'))
                           .arg(left % 60, 2, 10, QLatin1Char('0')));
        if (left == 0)
            tick.stop();
    };
    QObject::connect(&tick, &QTimer::timeout, show);
    show();
    tick.start();

    window.resize(320, fps > 0 ? 440 : 160);
    window.show();
    return app.exec();
}
