// The window tests need one application object for the whole run, and no
// display: they draw off screen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

namespace {

QtMessageHandler qtHandler = nullptr;

// A painter without a device to paint on draws nothing, which no picture
// test would notice, and a process object gone before its process leaves the
// brain running: the warning fails the test that caused it.
void failOnPainterWarnings(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtWarningMsg &&
        (message.startsWith(QLatin1String("QPainter::")) || message.startsWith(QLatin1String("QProcess: Destroyed"))))
        ADD_FAILURE() << "Qt warned: " << message.toStdString();
    qtHandler(type, context, message);
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Nor a sound card: the silent driver, so that no audio library is
    // loaded and unloaded (which also trips the leak checker's exit scan).
    if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER"))
        qputenv("SDL_AUDIODRIVER", "dummy");
    // Settings and the kept game go to folders of the run's own, never the player's.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    QTemporaryDir data;
    qputenv("XDG_DATA_HOME", data.path().toUtf8());
    // Nor the machine's mDNS service, which would browse and announce on the
    // real network: a system bus of the test's own, or none at all.
    const QByteArray bus = qgetenv("BRINDLE_TEST_SYSTEM_BUS");
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", bus.isEmpty() ? QByteArray("unix:path=/nonexistent/brindle-test-bus") : bus);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    qtHandler = qInstallMessageHandler(failOnPainterWarnings);
    return RUN_ALL_TESTS();
}
