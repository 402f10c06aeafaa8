// The start-up baseline: a Qt program that shows a window with one label and ends right after the
// window's first frame has been painted.

#include "FirstFrameReporter.h"

#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    FirstFrameReporter reporter("QWidget", false);
    reporter.reportOnStandardOutput();
    app.installEventFilter(&reporter);
    QWidget window;
    (new QVBoxLayout(&window))->addWidget(new QLabel(QStringLiteral("Zelvora"), &window));
    window.resize(400, 300);
    window.show();
    return reporter.isReady() ? 0 : QApplication::exec();
}
