// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/PanelMain.h"

#include "app/ProgramRoot.h"
#include "link/QtSerialPortComponent.h"
#include "link/TracingSerialPort.h"
#include "platform/Dialogs.h"
#include "platform/TerminationSignals.h"
#include "platform/Timing.h"

#include <QApplication>

#include <memory>

void endOnTerminationSignals(ProgramRoot& root, int& endedBy) {
    auto* termination = new TerminationSignals(&root);
    QObject::connect(termination, &TerminationSignals::received, &root,
                     [&root, &endedBy](int signalNumber) {
                         if (endedBy != 0 || root.ended())
                             return;
                         endedBy = signalNumber;
                         // As Cancel in a not-responding message: the log file and the port
                         // closed, Form1 closed with the exit sequence, a run unwound.
                         root.shutdownPath();
                     });
}

int runPanel(int argc, char** argv, InstrumentVariant variant) {
    QApplication app(argc, argv);
    // Only the name: a display name would be appended to every window title on X11
    // ("Results — LR40"), and the windows carry their captions exactly.
    QApplication::setApplicationName(variant.applicationTitle);
    // The program ends through its exit sequence, not when a window happens to be the
    // last one visible (the connection window hides while the others are shown).
    QApplication::setQuitOnLastWindowClosed(false);

    // LCRPANEL_TRACE=path: every byte on the line goes to that file as well, for support.
    ProgramRoot root(std::move(variant), tracedWhenAsked(std::make_unique<QtSerialPortComponent>()),
                     std::make_unique<SystemTiming>(), std::make_unique<WidgetDialogs>());
    QObject::connect(&root, &ProgramRoot::programEnded, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    int endedBy = 0;
    endOnTerminationSignals(root, endedBy);
    root.start();
    const int status = QApplication::exec();
    return endedBy != 0 ? TerminationSignals::exitStatusFor(endedBy) : status;
}
