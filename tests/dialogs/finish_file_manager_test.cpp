// "Find it from folder": the file is shown through the file manager's ShowItems call on the session bus
// (a private bus with a fake file manager here).
#include "dialogs/publish_actions.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QObject>
#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// Answers every call on its path; records ShowItems' arguments.
class FakeFileManager : public QDBusVirtualObject {
public:
    QStringList shown;
    QStringList startupIds;
    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        if (message.member() == QStringLiteral("ShowItems") && message.arguments().size() == 2) {
            shown << message.arguments()[0].toStringList();
            startupIds << message.arguments()[1].toString();
        }
        connection.send(message.createReply());
        return true;
    }
};

TEST(FinishFileManagerTest, ShowItemsReceivesTheFileUri) {
    QProcess daemon;
    daemon.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--session"), QStringLiteral("--nofork"),
                                                 QStringLiteral("--print-address=1")});
    ASSERT_TRUE(daemon.waitForReadyRead(10000)) << "dbus-daemon did not start";
    qputenv("DBUS_SESSION_BUS_ADDRESS", daemon.readLine().trimmed());
    QDBusConnection bus = QDBusConnection::sessionBus();
    ASSERT_TRUE(bus.isConnected());
    FakeFileManager manager;
    ASSERT_TRUE(bus.registerService(QStringLiteral("org.freedesktop.FileManager1")));
    ASSERT_TRUE(bus.registerVirtualObject(QStringLiteral("/org/freedesktop/FileManager1"), &manager));

    publish_ui::ShowInFileManager(QStringLiteral("/tmp/gifts/my gift#1.swf")); // the answer comes later
    EXPECT_TRUE(QTest::qWaitFor([&] { return !manager.shown.isEmpty(); }, 10000));
    EXPECT_EQ(manager.shown, QStringList{QStringLiteral("file:///tmp/gifts/my%20gift%231.swf")});
    EXPECT_EQ(manager.startupIds, QStringList{QString()});
    bus.unregisterObject(QStringLiteral("/org/freedesktop/FileManager1"));
    bus.unregisterService(QStringLiteral("org.freedesktop.FileManager1"));
    daemon.kill();
    daemon.waitForFinished();
}

} // namespace
