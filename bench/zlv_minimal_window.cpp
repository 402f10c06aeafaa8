// The start-up baseline: a Qt program that shows one empty window (with --text: one line of text) and ends
// right after it is shown.

#include "FirstShowReporter.h"

#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    FirstShowReporter reporter("QWidget");
    app.installEventFilter(&reporter);
    QWidget window;
    if (QApplication::arguments().contains(QStringLiteral("--text")))
        (new QVBoxLayout(&window))->addWidget(new QLabel(QStringLiteral("Zelvora"), &window));
    window.resize(400, 300);
    window.show();
    return reporter.hasSeenShow() ? 0 : QApplication::exec();
}
