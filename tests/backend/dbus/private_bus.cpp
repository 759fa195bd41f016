#include "private_bus.h"

#include <cstdlib>

namespace tavren::dbus_tests {

void PrivateBus::SetUp() {
    if (const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS"); address && *address) return;
    daemon_.start(QStringLiteral("dbus-daemon"),
                  {QStringLiteral("--session"), QStringLiteral("--nofork"),
                   QStringLiteral("--print-address=1")});
    ASSERT_TRUE(daemon_.waitForStarted()) << "dbus-daemon cannot be started";
    QByteArray line;
    while (!line.contains('\n') && daemon_.waitForReadyRead(10000))
        line += daemon_.readAllStandardOutput();
    ASSERT_TRUE(line.contains('\n')) << "dbus-daemon printed no address";
    const auto address = line.left(line.indexOf('\n')).trimmed();
    ::setenv("DBUS_SESSION_BUS_ADDRESS", address.constData(), 1);
}

void PrivateBus::TearDown() {
    if (daemon_.state() == QProcess::NotRunning) return;
    daemon_.terminate();
    if (!daemon_.waitForFinished(5000)) daemon_.kill();
    daemon_.waitForFinished();
    ::unsetenv("DBUS_SESSION_BUS_ADDRESS");
}

} // namespace tavren::dbus_tests
