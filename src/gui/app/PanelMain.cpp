#include "app/PanelMain.h"

#include "app/ProgramRoot.h"
#include "link/QtSerialPortComponent.h"
#include "link/TracingSerialPort.h"
#include "platform/Dialogs.h"
#include "platform/Timing.h"

#include <QApplication>

#include <memory>

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
    root.start();
    return QApplication::exec();
}
